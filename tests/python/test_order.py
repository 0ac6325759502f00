"""Each class's order, as one table: values ascending, those of a group equal,
and every pair of a row compared with all six operators, not only
neighbours."""

import itertools

import pytest

import tolva

V = tolva.package.version
Version, SemVer, DotSeparated, Other = V.Version, V.SemVer, V.DotSeparated, V.Other


def each(make, values):
    return [[make(v)] for v in values]


ORDERED = {
    # Every SemVer, then every DotSeparated, then every Other; within a kind
    # the kind's own order; meta takes no part.
    "Version": [
        [Version(SemVer(major=1, minor=0, patch=0, rc=[]))],
        [Version("1.0.0-alpha.10")],
        [Version("1.0.0-alpha.9")],
        [Version("1.0.0"), Version("1.0.0+a"), Version("1.0.0+b")],
        [Version("99.0.0")],
        [Version("")],
        [Version("1.2")],
        [Version(DotSeparated("1.2.3"))],
        [Version("a_b")],
        [Version(Other("b"))],
    ],
    # Numbers first, rc parts by bytes, a release after its pre-releases.
    "SemVer": each(SemVer, ["1.0.0-", "1.0.0-RC.1", "1.0.0-alpha", "1.0.0-alpha.1",
                            "1.0.0-alpha.10", "1.0.0-alpha.9", "1.0.0", "1.2.3", "1.10.0",
                            "2.0.0"]),
    # Lists by bytes, part by part, a proper prefix first.
    "DotSeparated": each(lambda parts: DotSeparated(parts=parts), [
        [], ["0"], ["1"], ["1", "10"], ["1", "2"], ["1", "2", "0"], ["1", "9"], ["10"], ["9"],
        ["B"], ["a"], ["é"]]),
    # By bytes.
    "Other": each(lambda value: Other(value=value),
                  ["", "B", "Zeta", "a", "ab", "abc", "abd", "b", "é"]),
}


@pytest.mark.parametrize("name", ORDERED)
def test_every_pair_of_an_ascending_row(name):
    ranked = [(rank, v) for rank, group in enumerate(ORDERED[name]) for v in group]
    for (i, a), (j, b) in itertools.product(ranked, repeat=2):
        assert (a < b, a <= b, a == b, a != b, a > b, a >= b) == (
            i < j, i <= j, i == j, i != j, i > j, i >= j), (a, b)
