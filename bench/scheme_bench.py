"""Speed of `tolva --scheme` against the standard tools, as ratios from one
run, on one million lines for each scheme but tolva's own (bench/cli_bench.py
measures that one).

Run: /usr/bin/python3 bench/scheme_bench.py [path to tolva]   (default build/src/cli/tolva)

debian: the versions of `apt-cache dumpavail` as they are, repeated with the
leading number shifted and shuffled. natural: a mix of the same Debian
versions, tags (v1.2.3), Python releases (1.0rc1, 2.0.post1), dates
(2026.05.20), letter suffixes (1.0a) and words. semver: the random semantic
versions of cli_bench.py, which cargo reads too. pypi: random PEP 440
versions in their many spellings; gem: random RubyGems versions. Each
scheme's sort is set against GNU sort (LC_ALL=C sort, and sort -V, which
orders versions), its newest and filter against its check, which reads the
same lines and keeps nothing; pypi's and gem's sort against their own tools'
sort of the same lines in one process, where those are installed
(`packaging` on PYTHONPATH, ruby).
"""

import os
import random
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from cli_bench import COUNT, LEADING_NUMBER, REPEATS, best_seconds, make_semver_input  # noqa: E402

RANGES = {
    "debian": ">= 1.0 << 3:0 || >> 20",
    "natural": ">=1.2 <3 || >=2026",
    "semver": "^1.2 || >=20.0.0 <25",
    "pypi": ">=1.2,!=2.*,<20",
    "cargo": ">=1.2, <25",
    "gem": "~> 1.2, != 1.5",
}
# Each tool's own sort of the lines of a file named by its first argument.
ORACLE_SORTS = {
    "pypi": [sys.executable, "-c", "import sys; from packaging.version import Version; "
             "sys.stdout.writelines(sorted(open(sys.argv[1]), key=lambda l: Version(l)))"],
    "gem": ["ruby", "-e", "$stdout.write(File.readlines(ARGV[0]).sort_by { |l| Gem::Version.new(l) }.join)"],
}


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


def pypi_versions(rng):
    def n(top):
        return str(rng.randint(0, top))

    parts = [lambda: "", lambda: rng.choice(["a", "b", "rc", "alpha", "-beta.", "c"]) + n(5),
             lambda: rng.choice([".post", "-", "_r"]) + n(9), lambda: rng.choice([".dev", "dev"]) + n(9),
             lambda: "+" + rng.choice(["ubuntu", "local", n(9)]) + "." + n(20)]
    return [rng.choice(["", "", "", "v", "1!"]) + ".".join(n(30) for _ in range(rng.randint(1, 4)))
            + rng.choice(parts)() for _ in range(COUNT)]


def gem_versions(rng):
    def n(top):
        return str(rng.randint(0, top))

    suffixes = ["", "", "", ".pre", ".rc" + n(3), ".beta." + n(3), "-" + n(9), ".a"]
    return [".".join(n(30) for _ in range(rng.randint(1, 4))) + rng.choice(suffixes)
            for _ in range(COUNT)]


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
                  "pypi": pypi_versions(rng), "gem": gem_versions(rng)}
        for scheme in ("debian", "natural", "semver", "pypi", "cargo", "gem"):
            data = os.path.join(tmp, scheme + ".txt")
            if scheme in ("semver", "cargo"):
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
            if scheme in ORACLE_SORTS and subprocess.run(
                    ORACLE_SORTS[scheme] + [os.devnull], capture_output=True).returncode == 0:
                t["own tool's sort"] = best_seconds(ORACLE_SORTS[scheme] + [data])
            print(f"{scheme}: {COUNT} lines, best of {REPEATS}")
            for name, (wall, cpu) in t.items():
                print(f"  {name:14} {wall * 1000:8.1f} ms wall {cpu * 1000:9.1f} ms processor")
            rows += [
                (f"{scheme}: tolva sort / LC_ALL=C sort", t["sort"], t["LC_ALL=C sort"], "at most 0.8"),
                (f"{scheme}: sort -V / tolva sort", t["sort -V"], t["sort"], "at least 5"),
                (f"{scheme}: newest -n 10 / check", t["newest"], t["check"], "at most 1.5"),
                (f"{scheme}: filter / check", t["filter"], t["check"], "at most 1.5"),
            ]
            if "own tool's sort" in t:
                rows.append((f"{scheme}: own tool's sort / tolva sort", t["own tool's sort"],
                             t["sort"], "a ratio"))
    print(f"  {'ratio':38} {'wall':>6} {'processor':>10}")
    for name, top, bottom, target in rows:
        print(f"  {name:38} {top[0] / bottom[0]:6.2f} {top[1] / bottom[1]:10.2f}   target {target}")


if __name__ == "__main__":
    main()
