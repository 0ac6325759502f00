"""Speed and size of tolva from Python, as ratios against peers measured in the same run.

Run: PYTHONPATH=build /usr/bin/python3 bench/python_bench.py [--quick]

The peers are the newest `packaging` and `semver`, read from the folder named
by TOLVA_PEERS (default: ../shared/anchors beside the project, whose README
describes it); without it, Debian's older python3-packaging and python3-semver.
The floor is int("123"). Times are the best of several repeats. Sizes are the
growth of resident memory per object while a list of a million is built, the
list's own pointer included. The real-data part reads every version that
`apt-cache dumpavail` lists, when apt-cache is there.
"""

import os
import random
import subprocess
import sys
import timeit

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
PEERS = os.environ.get("TOLVA_PEERS", os.path.join(ROOT, "..", "shared", "anchors"))
PEER_PATHS = [os.path.join(PEERS, name) for name in ("packaging", "semver")]
sys.path[:0] = [p for p in PEER_PATHS if os.path.isdir(p)]

import packaging  # noqa: E402
import packaging.version  # noqa: E402
import semver  # noqa: E402

import tolva  # noqa: E402

Version = tolva.package.version.Version
QUICK = "--quick" in sys.argv

# Builds a million objects from one text in a fresh interpreter and prints
# the resident memory growth per object.
MEMORY_PROBE = """
import gc, sys
{setup}
count = 1_000_000
texts = [{text!r}] * count
def resident():
    with open("/proc/self/statm") as f:
        return int(f.read().split()[1]) * {page}
gc.collect()
before = resident()
held = [None] * count
for i in range(count):
    held[i] = make(texts[i])
gc.collect()
print((resident() - before) / count)
"""

TOLVA_KINDS = "import tolva\nmake = getattr(tolva.package.version, {kind!r})"
PACKAGING = "sys.path[:0] = {paths!r}\nimport packaging.version\nmake = packaging.version.Version"


def best_ns(stmt, number, setup="pass", namespace=None):
    timer = timeit.Timer(stmt, setup=setup, globals=namespace)
    return min(timer.repeat(repeat=3 if QUICK else 7, number=number)) / number * 1e9


def bytes_per_object(setup, text):
    probe = MEMORY_PROBE.format(setup=setup, text=text, page=os.sysconf("SC_PAGE_SIZE"))
    out = subprocess.run([sys.executable, "-c", probe], check=True, capture_output=True, text=True)
    return float(out.stdout)


def sample_versions(count):
    rng = random.Random(7)
    out = []
    for _ in range(count):
        text = f"{rng.randrange(20)}.{rng.randrange(50)}.{rng.randrange(100)}"
        if rng.random() < 0.3:
            text += f"rc{rng.randrange(5)}"  # a form both libraries read
        out.append(text)
    return out


def debian_versions():
    try:
        listing = subprocess.run(["apt-cache", "dumpavail"], check=True, capture_output=True,
                                 text=True).stdout
    except (OSError, subprocess.CalledProcessError):
        return []
    return [line[9:] for line in listing.splitlines() if line.startswith("Version: ")]


def read_all(make, reject, texts):
    """The values `make` accepts, the rest skipped as `reject` is raised."""
    out = []
    for text in texts:
        try:
            out.append(make(text))
        except reject:
            pass
    return out


def main():
    semver_class = getattr(semver, "Version", None) or semver.VersionInfo
    ns = {"Version": Version, "PVersion": packaging.version.Version, "SVersion": semver_class}
    results = []

    def add(what, label, ratio, target=None):
        results.append((what, label, ratio, target))

    floor = best_ns('int("123")', 200_000, namespace=ns)
    ours = best_ns('Version("1.2.3")', 200_000, namespace=ns)
    theirs = best_ns('PVersion("1.2.3")', 20_000, namespace=ns)
    sv = best_ns('SVersion.parse("1.2.3")', 20_000, namespace=ns)
    add("construct", 'Version("1.2.3") / int("123")', ours / floor, ("<=", 1.0))
    add("construct", 'packaging Version("1.2.3") / Version("1.2.3")', theirs / ours)
    add("construct", 'semver Version.parse("1.2.3") / Version("1.2.3")', sv / ours)

    setup = 'a = Version("1.2.3"); b = Version("1.2.4"); pa = PVersion("1.2.3"); pb = PVersion("1.2.4")'
    lt_ours = best_ns("a < b", 500_000, setup, ns)
    lt_theirs = best_ns("pa < pb", 200_000, setup, ns)
    add("compare", "Version a < b / packaging a < b", lt_ours / lt_theirs, ("<=", 0.15))
    lt_int = best_ns("x < y", 500_000, "x = 123; y = 124", ns)
    add("compare", "Version a < b / int a < b", lt_ours / lt_int, ("<=", 1.3))

    texts = sample_versions(100_000)
    ours_list = [Version(t.replace("rc", "-rc.")) for t in texts]
    theirs_list = [packaging.version.Version(t) for t in texts]
    sort_ours = min(timeit.repeat(lambda: sorted(ours_list), repeat=5, number=1))
    sort_theirs = min(timeit.repeat(lambda: sorted(theirs_list), repeat=5, number=1))
    add("sort", "sorted(100k packaging) / sorted(100k Version)", sort_theirs / sort_ours, (">=", 10))
    # The interpreter's floor: random x.y.z against random ints, both sorted
    # through their types' own comparison fast paths.
    pick = random.Random(7)
    triples = [Version(f"{pick.randrange(100)}.{pick.randrange(100)}.{pick.randrange(100)}")
               for _ in range(100_000)]
    numbers = [pick.randrange(1_000_000) for _ in range(100_000)]
    sort_triples = min(timeit.repeat(lambda: sorted(triples), repeat=7, number=1))
    sort_numbers = min(timeit.repeat(lambda: sorted(numbers), repeat=7, number=1))
    add("sort", "sorted(100k random x.y.z) / sorted(100k random int)", sort_triples / sort_numbers,
        ("<=", 1.5))

    sizes = []
    for kind, text, limit in [("Version", "1.2.3", 56), ("SemVer", "1.2.3", 56),
                              ("DotSeparated", "1.2", None), ("Other", "x_y", 56),
                              ("SemVer", "1.2.3-rc.1", None)]:
        size = bytes_per_object(TOLVA_KINDS.format(kind=kind), text)
        sizes.append((f'{kind}("{text}")', size))
        if limit is not None:
            # Whole bytes: the allocator's pool headers add about 0.2 per object.
            add("memory", f'whole bytes per {kind}("{text}")', round(size), ("<=", limit))
    sizes.append(('packaging Version("1.2.3")',
                  bytes_per_object(PACKAGING.format(paths=PEER_PATHS), "1.2.3")))

    debian = debian_versions()
    if debian:
        started = timeit.default_timer()
        ours_read = read_all(Version, RuntimeError, debian)
        read_ours = timeit.default_timer() - started
        started = timeit.default_timer()
        theirs_read = read_all(packaging.version.Version, packaging.version.InvalidVersion, debian)
        read_theirs = timeit.default_timer() - started
        sort_real_ours = min(timeit.repeat(lambda: sorted(ours_read), repeat=3, number=1))
        sort_real_theirs = min(timeit.repeat(lambda: sorted(theirs_read), repeat=3, number=1))
        add("debian", "read every version: packaging / Version", read_theirs / read_ours)
        add("debian", "sort what each read: packaging / Version",
            sort_real_theirs / sort_real_ours)

    print(f"python {sys.version.split()[0]}, packaging {packaging.__version__}, "
          f"semver {semver.__version__}")
    print(f"int(\"123\"): {floor:.1f} ns; Version(\"1.2.3\"): {ours:.1f} ns; "
          f"packaging: {theirs:.1f} ns; semver: {sv:.1f} ns")
    print(f"a < b: Version {lt_ours:.1f} ns, packaging {lt_theirs:.1f} ns; "
          f"sorted 100k: Version {sort_ours * 1e3:.1f} ms, packaging {sort_theirs * 1e3:.1f} ms")
    print("bytes per object in a list of a million: "
          + ", ".join(f"{name} {size:.1f}" for name, size in sizes))
    if debian:
        print(f"apt-cache dumpavail: {len(debian)} versions; Version read {len(ours_read)} "
              f"in {read_ours * 1e3:.0f} ms, packaging {len(theirs_read)} in "
              f"{read_theirs * 1e3:.0f} ms; sorted in {sort_real_ours * 1e3:.1f} ms and "
              f"{sort_real_theirs * 1e3:.1f} ms")
    else:
        print("apt-cache dumpavail gave nothing: the real-data part is skipped")
    print()
    print(f"{'what':10} {'ratio':>8}  {'target':8} {'':4} measure")
    for what, label, ratio, target in results:
        if target is None:
            shown, verdict = "(info)", ""
        else:
            sign, limit = target
            ok = ratio <= limit if sign == "<=" else ratio >= limit
            shown, verdict = f"{sign} {limit:g}", "ok" if ok else "MISS"
        print(f"{what:10} {ratio:8.2f}  {shown:8} {verdict:4} {label}")


if __name__ == "__main__":
    main()
