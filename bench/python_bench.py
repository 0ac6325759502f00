"""Speed of tolva from Python, as ratios against alternatives timed in the same run.

Run: PYTHONPATH=build /usr/bin/python3 bench/python_bench.py
The alternatives are Debian's python3-packaging and python3-semver; the floor is
int("123"). Each figure is the best of several repeats, in nanoseconds per call.
"""

import random
import sys
import timeit

import packaging.version
import semver

import tolva

Version = tolva.package.version.Version


def best_ns(stmt, number, setup="pass", namespace=None):
    timer = timeit.Timer(stmt, setup=setup, globals=namespace)
    return min(timer.repeat(repeat=7, number=number)) / number * 1e9


def sample_versions(count):
    rng = random.Random(7)
    out = []
    for _ in range(count):
        text = f"{rng.randrange(20)}.{rng.randrange(50)}.{rng.randrange(100)}"
        if rng.random() < 0.3:
            text += f"rc{rng.randrange(5)}"  # a form both libraries read
        out.append(text)
    return out


def main():
    ns = {"Version": Version, "PVersion": packaging.version.Version, "SVersion": semver.VersionInfo}
    results = []

    floor = best_ns('int("123")', 200_000, namespace=ns)
    ours = best_ns('Version("1.2.3")', 200_000, namespace=ns)
    theirs = best_ns('PVersion("1.2.3")', 20_000, namespace=ns)
    sv = best_ns('SVersion.parse("1.2.3")', 20_000, namespace=ns)
    results.append(("construct", f'Version("1.2.3") / int("123")', ours / floor, "<= 3", ours / floor <= 3))
    results.append(("construct", f'packaging Version("1.2.3") / Version("1.2.3")', theirs / ours, ">= 20", theirs / ours >= 20))
    results.append(("construct", f'semver VersionInfo.parse("1.2.3") / Version("1.2.3")', sv / ours, "(info)", None))

    setup = 'a = Version("1.2.3"); b = Version("1.2.4"); pa = PVersion("1.2.3"); pb = PVersion("1.2.4")'
    lt_ours = best_ns("a < b", 500_000, setup, ns)
    lt_theirs = best_ns("pa < pb", 200_000, setup, ns)
    results.append(("compare", "Version a < b / packaging a < b", lt_ours / lt_theirs, "<= 0.5", lt_ours / lt_theirs <= 0.5))

    texts = sample_versions(100_000)
    ours_list = [Version(t.replace("rc", "-rc.")) for t in texts]
    theirs_list = [packaging.version.Version(t) for t in texts]
    sort_ours = min(timeit.repeat(lambda: sorted(ours_list), repeat=5, number=1))
    sort_theirs = min(timeit.repeat(lambda: sorted(theirs_list), repeat=5, number=1))
    results.append(("sort", "sorted(100k packaging) / sorted(100k Version)", sort_theirs / sort_ours, ">= 5", sort_theirs / sort_ours >= 5))

    print(f"python {sys.version.split()[0]}")
    print(f"int(\"123\"): {floor:.1f} ns; Version(\"1.2.3\"): {ours:.1f} ns; "
          f"packaging: {theirs:.1f} ns; semver: {sv:.1f} ns")
    print(f"a < b: Version {lt_ours:.1f} ns, packaging {lt_theirs:.1f} ns; "
          f"sorted 100k: Version {sort_ours * 1e3:.1f} ms, packaging {sort_theirs * 1e3:.1f} ms")
    print()
    print(f"{'what':10} {'ratio':>8}  {'target':8} {'':4} measure")
    for what, label, ratio, target, ok in results:
        verdict = "" if ok is None else ("ok" if ok else "MISS")
        print(f"{what:10} {ratio:8.2f}  {target:8} {verdict:4} {label}")


if __name__ == "__main__":
    main()
