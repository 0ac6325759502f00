"""Speed of `tolva --scheme` against the standard tools, as ratios from one
run, on one million lines for each scheme but tolva's own (bench/cli_bench.py
measures that one).

Run: /usr/bin/python3 bench/scheme_bench.py [path to tolva]   (default build/src/cli/tolva)

debian: the versions of `apt-cache dumpavail` as they are, repeated with the
leading number shifted and shuffled. natural: a mix of the same Debian
versions, tags (v1.2.3), Python releases (1.0rc1, 2.0.post1), dates
(2026.05.20), letter suffixes (1.0a) and words. semver: the random semantic
versions of cli_bench.py. Each scheme's sort is set against GNU sort
(LC_ALL=C sort, and sort -V, which orders versions), its newest and filter
against its check, which reads the same lines and keeps nothing.

golang and nuget: generated versions of each ecosystem's shapes (Go's
pseudo-versions and +incompatible; NuGet's four numbers and labels of any
case). Their sort is also set against the ecosystem's own sort of the same
lines (golang.org/x/mod/semver's Sort, NuGet.Core's SemanticVersion) when
tools/deps.sh oracles has installed it; the ratio counts that program's start.
"""

import os
import random
import shutil
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from cli_bench import COUNT, LEADING_NUMBER, REPEATS, best_seconds, make_semver_input  # noqa: E402

RANGES = {
    "debian": ">= 1.0 << 3:0 || >> 20",
    "natural": ">=1.2 <3 || >=2026",
    "semver": "^1.2 || >=20.0.0 <25",
    "golang": ">=v1.2 <v3 || >=v20.0.0-0",
    "nuget": "[1.2,3.0)",
}
ORACLES = os.path.join(os.path.dirname(os.path.abspath(__file__)), os.pardir, "tools", "oracles")


def apt_versions():
    listing = subprocess.run(["apt-cache", "dumpavail"], capture_output=True, text=True,
                             check=True).stdout
    found = sorted({line[9:] for line in listing.splitlines() if line.startswith("Version: ")})
    if len(found) < 1000:
        sys.exit(f"only {len(found)} versions from apt-cache dumpavail; run apt-get update first")
    return found


def shifted(base, rng):
    lines = []
    shift = 0
    while len(lines) < COUNT:
        lines += [LEADING_NUMBER.sub(lambda m: str(int(m.group()) + shift), t, count=1)
                  for t in base]
        shift += 1
    lines = lines[:COUNT]
    rng.shuffle(lines)
    return lines


def mixed(base, rng):
    def n(top):
        return str(rng.randint(0, top))

    makers = [
        lambda: rng.choice(base),
        lambda: f"v{n(9)}.{n(30)}.{n(99)}",
        lambda: f"{n(9)}.{n(30)}{rng.choice(['a', 'b', 'rc', '.post', '.dev'])}{n(5)}",
        lambda: f"20{n(26)}.{n(12)}.{n(31)}",
        lambda: f"{n(9)}.{n(9)}{rng.choice('abcp')}",
        lambda: f"{n(5)}_{n(20)}_{n(9)}",
        lambda: rng.choice(["latest", "stable", "nightly-" + n(9999), "r" + n(9999)]),
    ]
    return [rng.choice(makers)() for _ in range(COUNT)]


def golang_versions(rng):
    def n():
        return str(rng.choice([0, 1, 2, rng.randint(0, 30), rng.randint(0, 999)]))

    def one():
        shape = rng.random()
        if shape < 0.2:
            stamp = f"20{rng.randint(10, 26)}{rng.randint(1, 12):02}{rng.randint(1, 28):02}" \
                    f"{rng.randint(0, 235959):06}"
            return f"v{n()}.0.0-{stamp}-{rng.getrandbits(48):012x}"
        text = f"v{n()}.{n()}.{n()}"
        if shape < 0.4:
            text += "-" + rng.choice(["alpha", "beta.1", "rc.2", "pre", "0.1"])
        elif shape < 0.5:
            text += "+incompatible"
        return text

    return [one() for _ in range(COUNT)]


def nuget_versions(rng):
    def n():
        return str(rng.choice([0, 1, 2, rng.randint(0, 30), rng.randint(0, 99999)]))

    # Labels NuGet.Core 2.8 reads too (no dots), so that its sort takes the same lines.
    labels = ["alpha", "Beta", "rc1", "RC10", "preview2", "beta-09", "ci20260520"]
    lines = []
    for _ in range(COUNT):
        text = ".".join(n() for _ in range(rng.choice([2, 3, 3, 3, 4])))
        if rng.random() < 0.3:
            text += "-" + rng.choice(labels)
        lines.append(text)
    return lines


def oracle_sort(scheme, tmp):
    """The command that sorts lines as the ecosystem does, if it can be built."""
    source = os.path.join(ORACLES, scheme + (".go" if scheme == "golang" else ".cs"))
    exe = os.path.join(tmp, scheme + "-oracle")
    if scheme == "golang" and shutil.which("go"):
        env = {**os.environ, "GO111MODULE": "off", "GOPATH": f"/usr/share/gocode:{tmp}",
               "GOCACHE": os.path.join(tmp, "gocache")}
        made = subprocess.run(["go", "build", "-o", exe, source], env=env, capture_output=True)
        return [exe] if made.returncode == 0 else None
    if scheme == "nuget" and shutil.which("mcs") and shutil.which("mono"):
        library = "/usr/lib/nuget/NuGet.Core.dll"
        made = subprocess.run(["mcs", "-nologo", f"-r:{library}", source, f"-out:{exe}.exe"],
                              capture_output=True)
        return ["env", f"MONO_PATH={os.path.dirname(library)}", "mono", exe + ".exe"] \
            if made.returncode == 0 else None
    return None


def write(path, lines):
    with open(path, "w") as out:
        out.writelines(line + "\n" for line in lines)


def main():
    tolva = sys.argv[1] if len(sys.argv) > 1 else "build/src/cli/tolva"
    rng = random.Random(27)
    base = apt_versions()
    c = {"LC_ALL": "C"}
    rows = []
    with tempfile.TemporaryDirectory() as tmp:
        inputs = {"debian": shifted(base, rng), "natural": mixed(base, rng),
                  "golang": golang_versions(rng), "nuget": nuget_versions(rng)}
        for scheme in ("debian", "natural", "semver", "golang", "nuget"):
            data = os.path.join(tmp, scheme + ".txt")
            if scheme == "semver":
                make_semver_input(data)
            else:
                write(data, inputs.pop(scheme))
            s = ["--scheme", scheme]
            t = {
                "sort": best_seconds([tolva, "sort", *s, data]),
                "LC_ALL=C sort": best_seconds(["sort", data], c),
                "sort -V": best_seconds(["sort", "-V", data], c),
                "check": best_seconds([tolva, "check", *s, data]),
                "newest": best_seconds([tolva, "newest", *s, "-n", "10", data]),
                "filter": best_seconds([tolva, "filter", *s, RANGES[scheme], data]),
            }
            oracle = oracle_sort(scheme, tmp)
            if oracle:
                t["oracle sort"] = best_seconds(["sh", "-c", '"$@" sort < "$0"', data, *oracle])
            print(f"{scheme}: {COUNT} lines, best of {REPEATS}")
            for name, (wall, cpu) in t.items():
                print(f"  {name:14} {wall * 1000:8.1f} ms wall {cpu * 1000:9.1f} ms processor")
            rows += [
                (f"{scheme}: tolva sort / LC_ALL=C sort", t["sort"], t["LC_ALL=C sort"], "at most 0.8"),
                (f"{scheme}: sort -V / tolva sort", t["sort -V"], t["sort"], "at least 5"),
                (f"{scheme}: newest -n 10 / check", t["newest"], t["check"], "at most 1.5"),
                (f"{scheme}: filter / check", t["filter"], t["check"], "at most 1.5"),
            ]
            if "oracle sort" in t:
                rows.append((f"{scheme}: tolva sort / its own sort", t["sort"], t["oracle sort"],
                              "a ratio"))
    print(f"  {'ratio':38} {'wall':>6} {'processor':>10}")
    for name, top, bottom, target in rows:
        print(f"  {name:38} {top[0] / bottom[0]:6.2f} {top[1] / bottom[1]:10.2f}   target {target}")


if __name__ == "__main__":
    main()
