"""The version schemes of the C++ core against their peers: debian against
Debian's own comparison (python3-apt) on every version apt knows, semver's
ranges against npm's semver command (its answers are committed, made by
tools/node_semver_cases.py). The natural scheme's rules are a table in
tests/cpp/scheme/."""

import functools
import os
import random
import subprocess
from pathlib import Path

import pytest

import tolva

PROBE = Path(os.environ.get("TOLVA_SCHEME_PROBE") or
             Path(tolva.__file__).parent / "tests/cpp/scheme/scheme_probe")
pytestmark = pytest.mark.skipif(not PROBE.exists(), reason="the build tree's scheme_probe")


def probe(requests):
    out = subprocess.run([str(PROBE)], input="".join("\t".join(r) + "\n" for r in requests),
                         capture_output=True, text=True, check=True).stdout
    return out.split("\n")[:len(requests)]


@pytest.fixture(scope="module")
def apt_versions():
    apt_pkg = pytest.importorskip("apt_pkg")
    apt_pkg.init()
    dump = subprocess.run(["apt-cache", "dumpavail"], capture_output=True, text=True).stdout
    versions = sorted({line[9:] for line in dump.splitlines() if line.startswith("Version: ")})
    if len(versions) < 1000:
        pytest.skip("apt's package lists are empty (apt-get update)")
    return apt_pkg, versions


def test_debian_orders_as_apt(apt_versions):
    apt_pkg, versions = apt_versions
    rng = random.Random(27)
    mark = lambda c: "<" if c < 0 else ">" if c > 0 else "="  # noqa: E731
    # Every version beside its neighbour in apt's order, where the close
    # calls are, and beside a random one; then random edits of them.
    ordered = sorted(versions, key=functools.cmp_to_key(apt_pkg.version_compare))
    pairs = list(zip(ordered, ordered[1:])) + [(v, rng.choice(versions)) for v in versions]
    edits = ["~", "~~", "-1", "+b1", ".0", "a", "0"]
    pairs += [(v, v + rng.choice(edits)) for v in rng.sample(versions, 5000)]
    pairs += [("0:" + v, v) for v in rng.sample([v for v in versions if ":" not in v], 500)]
    answers = probe([("compare", "debian", a, b) for a, b in pairs])
    wrong = [(a, b, got) for (a, b), got in zip(pairs, answers)
             if got != " ".join(2 * mark(apt_pkg.version_compare(a, b)))]
    assert len(pairs) > 2 * len(versions) and wrong == []


@pytest.mark.parametrize("a, b, want", [
    ("1.0", "0:1.0", "="), ("1.0~~", "1.0~", "<"), ("1.0~", "1.0", "<"),
    ("1.001", "1.1", "="), ("1.18446744073709551616", "1.18446744073709551615", ">"),
    ("18446744073709551616:1", "18446744073709551615:9", ">"), ("1.0-1", "1.0-", "!"),
])
def test_debian_edges_as_apt(apt_versions, a, b, want):
    apt_pkg, _ = apt_versions
    got = probe([("compare", "debian", a, b)])[0]
    assert got == (want if want == "!" else f"{want} {want}")
    if want != "!":
        c = apt_pkg.version_compare(a, b)
        assert want == ("<" if c < 0 else ">" if c > 0 else "=")


def test_semver_ranges_as_npm():
    rows = (Path(__file__).parent / "data/node_semver_ranges.tsv").read_text().split("\n")
    versions = rows[0].split("\t")
    cases = [row.split("\t") for row in rows[1:] if row]
    answers = probe([("range", "semver", include, r, *versions) for r, include, _ in cases])
    wrong = [(r, include, want, got) for (r, include, want), got in zip(cases, answers)
             if set(got.split()) != set(want.split())]
    assert len(cases) > 400 and wrong == []
