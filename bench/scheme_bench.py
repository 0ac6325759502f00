"""Speed of `tolva --scheme` against the standard tools, as ratios from one
run, on one million lines for each scheme but tolva's own (bench/cli_bench.py
measures that one).

Run: /usr/bin/python3 bench/scheme_bench.py [path to tolva]   (default build/src/cli/tolva)

debian: the versions of `apt-cache dumpavail` as they are, repeated with the
leading number shifted and shuffled. natural: a mix of the same Debian
versions, tags (v1.2.3), Python releases (1.0rc1, 2.0.post1), dates
(2026.05.20), letter suffixes (1.0a) and words. semver: the random semantic
versions of cli_bench.py, which cargo reads too. rpm, apk, alpm: generated
versions of the shapes their distributions use (2:1.18.4-3.el9_2,
1.2.3_rc1-r4, 1:2.40.0-1). pypi: random PEP 440 versions in their many
spellings; gem: random RubyGems versions. Each scheme's sort is set against
GNU sort (LC_ALL=C sort, and sort -V, which orders versions), its newest and
filter against its check, which reads the same lines and keeps nothing. Where
the ecosystem's own comparison is installed (tools/deps.sh oracles), its sort
is set against tolva's: of the first 100,000 lines for librpm's rpm.ver and
libalpm's alpm_pkg_vercmp through Python and the Go port of apk-tools'
comparison; of all lines in one process for packaging and RubyGems.

golang and nuget: generated versions of each ecosystem's shapes (Go's
pseudo-versions and +incompatible; NuGet's four numbers and labels of any
case), set against golang.org/x/mod/semver's Sort and NuGet.Core's
SemanticVersion where tools/deps.sh oracles has installed them; that ratio
counts the program's start.

composer: generated Composer versions (tags with a 'v', stabilities in their
spellings, dates, numbered and named branches), set against composer/semver's
Semver::sort of all lines in one PHP process.

maven: generated versions of Maven Central's shapes (-SNAPSHOT, .RELEASE,
.Final, -jre, -M1, dates), set against Maven's ComparableVersion (the driver
in tools/oracles/Maven.java, whose sort also groups equal versions; the
ratio counts the Java program's start).
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
    "rpm": ">= 1.0-1 < 3:0 || > 20",
    "apk": ">=1.0 <3 || ~20.1",
    "alpm": ">=1.0-1 <2:0 || >20",
    "pypi": ">=1.2,!=2.*,<20",
    "cargo": ">=1.2, <25",
    "gem": "~> 1.2, != 1.5",
    "golang": ">=v1.2 <v3 || >=v20.0.0-0",
    "nuget": "[1.2,3.0)",
    "composer": "^1.2 || ~20.1 || 5.* || >=25@beta, !=25.1",
    "maven": "[1.2,3.0),[20,)",
}
# Each tool's own sort of the lines of a file named by its first argument.
ORACLE_SORTS = {
    "pypi": [sys.executable, "-c", "import sys; from packaging.version import Version; "
             "sys.stdout.writelines(sorted(open(sys.argv[1]), key=lambda l: Version(l)))"],
    "composer": ["php", "-r", "require '/usr/share/php/Composer/Semver/autoload.php'; "
                 "echo implode('', Composer\\Semver\\Semver::sort(file($argv[1])));"],
    "gem": ["ruby", "-e", "$stdout.write(File.readlines(ARGV[0]).sort_by { |l| Gem::Version.new(l) }.join)"],
}
ORACLE_LINES = 100_000
HERE = os.path.dirname(os.path.abspath(__file__))


def distro(scheme, rng):
    def n(top):
        return str(rng.randint(0, top))

    def dotted():
        return ".".join(n(30) for _ in range(rng.randint(1, 4)))

    def rpm():
        epoch = rng.choice(["", "", "", "1:", "2:"])
        tail = rng.choice(["", "~rc" + n(3), "^git" + n(99) + "g" + n(9999), "a"])
        release = f"{n(20)}{rng.choice(['.el9', '.el9_2', '.fc40', '.mga9', '.1', ''])}"
        return f"{epoch}{dotted()}{tail}-{release}"

    def apk():
        letter = rng.choice(["", "", "", "a", "b"])
        suffix = rng.choice(["", "", "_rc" + n(5), "_p" + n(20), "_git2026" + n(1231), "_alpha"])
        return f"{dotted()}{letter}{suffix}-r{n(12)}"

    def alpm():
        epoch = rng.choice(["", "", "", "1:", "2:"])
        tail = rng.choice(["", "", "rc" + n(3), ".r" + n(999) + ".g" + n(99999), "+" + n(9)])
        return f"{epoch}{dotted()}{tail}-{n(5)}{rng.choice(['', '', '.1'])}"

    make = {"rpm": rpm, "apk": apk, "alpm": alpm}[scheme]
    return [make() for _ in range(COUNT)]


def oracle_sort(scheme, data, tmp):
    """The argv that sorts `data` with the ecosystem's own comparison, or None
    when it is not installed."""
    python = ["/usr/bin/python3", "-c"]
    if scheme == "rpm":
        code = ("import functools,sys;sys.path.pop(0);import rpm;"
                "v=[l.rstrip('\\n') for l in open(sys.argv[1])];"
                "o=sorted(v,key=lambda t:rpm.ver(t));sys.stdout.write('\\n'.join(o))")
        probe = subprocess.run([*python[:1], "-c", "import rpm"], capture_output=True)
        return None if probe.returncode else [*python, code, data]
    if scheme == "alpm":
        code = ("import ctypes,functools,sys;a=ctypes.CDLL('libalpm.so.13').alpm_pkg_vercmp;"
                "a.argtypes=[ctypes.c_char_p]*2;v=[l.rstrip(b'\\n') for l in open(sys.argv[1],'rb')];"
                "o=sorted(v,key=functools.cmp_to_key(a));sys.stdout.buffer.write(b'\\n'.join(o))")
        probe = subprocess.run([*python, "import ctypes;ctypes.CDLL('libalpm.so.13')"],
                               capture_output=True)
        return None if probe.returncode else [*python, code, data]
    program = os.path.join(tmp, "apk_oracle")
    env = dict(os.environ, GO111MODULE="off", GOPATH=f"/usr/share/gocode:{tmp}/gopath",
               GOCACHE=f"{tmp}/gocache")
    built = subprocess.run(["go", "build", "-o", program, os.path.join(ORACLES, "apk_oracle.go"),
                            os.path.join(ORACLES, "oracle_lines.go")], env=env, capture_output=True)
    return None if built.returncode else ["sh", "-c", f'exec "$0" sort < "$1"', program, data]
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


def composer_versions(rng):
    def n(top=30):
        return str(rng.randint(0, top))

    def one():
        shape = rng.random()
        if shape < 0.05:
            return rng.choice(["dev-master", "dev-main", "dev-feature/" + n(99), "master"])
        if shape < 0.1:
            return f"{n()}.{n()}.x-dev"
        if shape < 0.15:
            return f"20{rng.randint(10, 26)}.{rng.randint(1, 12):02}.{rng.randint(1, 28):02}"
        text = rng.choice(["", "", "v"]) + ".".join(n() for _ in range(rng.randint(1, 4)))
        if rng.random() < 0.3:
            text += rng.choice(["-alpha", "-beta", "-RC", "-rc", "-b", "-patch", "-pl"])
            text += rng.choice(["", n(9), "." + n(9)])
        return text + ("-dev" if rng.random() < 0.05 else "")

    return [one() for _ in range(COUNT)]


def maven_versions(rng):
    def n():
        return str(rng.choice([0, 1, 2, rng.randint(0, 30), rng.randint(0, 99999)]))

    # The shapes of Maven Central: Spring's .RELEASE and .M1, Hibernate's
    # .Final, Guava's -jre, snapshots, alpha-1 and rc1 qualifiers, dates.
    tails = ["", "", "", "-SNAPSHOT", ".RELEASE", ".Final", "-jre", "-android", "-alpha-1",
             "-beta2", "-M1", "-rc1", ".CR2", "-sp1"]
    lines = []
    for _ in range(COUNT):
        if rng.random() < 0.05:
            lines.append(f"20{rng.randint(10, 26)}{rng.randint(1, 12):02}{rng.randint(1, 28):02}")
            continue
        lines.append(".".join(n() for _ in range(rng.choice([1, 2, 3, 3, 3, 4]))) + rng.choice(tails))
    return lines


def compiled_oracle_sort(scheme, tmp):
    """The command that sorts lines as the ecosystem does, if it can be built."""
    source = os.path.join(ORACLES, scheme + (".go" if scheme == "golang" else ".cs"))
    exe = os.path.join(tmp, scheme + "-oracle")
    if scheme == "golang" and shutil.which("go"):
        env = {**os.environ, "GO111MODULE": "off", "GOPATH": f"/usr/share/gocode:{tmp}",
               "GOCACHE": os.path.join(tmp, "gocache")}
        made = subprocess.run(["go", "build", "-o", exe, source,
                               os.path.join(ORACLES, "oracle_lines.go")], env=env, capture_output=True)
        return [exe] if made.returncode == 0 else None
    if scheme == "nuget" and shutil.which("mcs") and shutil.which("mono"):
        library = "/usr/lib/nuget/NuGet.Core.dll"
        made = subprocess.run(["mcs", "-nologo", f"-r:{library}", source, f"-out:{exe}.exe"],
                              capture_output=True)
        return ["env", f"MONO_PATH={os.path.dirname(library)}", "mono", exe + ".exe"] \
            if made.returncode == 0 else None
    jar = "/usr/share/java/maven-artifact-3.x.jar"
    if scheme == "maven" and shutil.which("java") and os.path.exists(jar):
        return ["java", "-cp", jar, os.path.join(ORACLES, "Maven.java"), "sort"]
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
                  "pypi": pypi_versions(rng), "gem": gem_versions(rng),
                  "golang": golang_versions(rng), "nuget": nuget_versions(rng),
                  "composer": composer_versions(rng), "maven": maven_versions(rng)}
        inputs.update((d, distro(d, rng)) for d in ("rpm", "apk", "alpm"))
        for scheme in ("debian", "natural", "semver", "rpm", "apk", "alpm", "pypi", "cargo", "gem",
                       "golang", "nuget", "composer", "maven"):
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
            oracle = oracle_sort(scheme, data, tmp) if scheme in ("rpm", "apk", "alpm") else None
            if oracle:
                with open(data) as whole:
                    head = [next(whole) for _ in range(ORACLE_LINES)]
                part = os.path.join(tmp, scheme + ".head.txt")
                with open(part, "w") as out:
                    out.writelines(head)
                oracle[-1] = part
                t["oracle sort 100k"] = best_seconds(oracle)
                t["sort 100k"] = best_seconds([tolva, "sort", *s, part])
                rows.append((f"{scheme}: oracle sort / tolva sort", t["oracle sort 100k"],
                             t["sort 100k"], "for the record"))
            if scheme in ORACLE_SORTS and subprocess.run(
                    ORACLE_SORTS[scheme] + [os.devnull], capture_output=True).returncode == 0:
                t["own tool's sort"] = best_seconds(ORACLE_SORTS[scheme] + [data])
            oracle = compiled_oracle_sort(scheme, tmp)
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
            if "own tool's sort" in t:
                rows.append((f"{scheme}: own tool's sort / tolva sort", t["own tool's sort"],
                             t["sort"], "a ratio"))
            if "oracle sort" in t:
                rows.append((f"{scheme}: tolva sort / its own sort", t["sort"], t["oracle sort"],
                              "a ratio"))
    print(f"  {'ratio':38} {'wall':>6} {'processor':>10}")
    for name, top, bottom, target in rows:
        print(f"  {name:38} {top[0] / bottom[0]:6.2f} {top[1] / bottom[1]:10.2f}   target {target}")


if __name__ == "__main__":
    main()
