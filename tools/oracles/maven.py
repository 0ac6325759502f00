#!/usr/bin/env python3
"""Regenerates tests/data/schemes/maven/ from Maven's own ComparableVersion
and VersionRange (Debian's libmaven3-core-java, a JDK to run Maven.java):

    python3 tools/oracles/maven.py

ComparableVersion reads every text, so there is no invalid.tsv. Its order is
not transitive on some texts (an empty sub-list such as "2-0.0.0" equals "2"
yet sorts before a qualifier "2.b" that "2" sorts after): order.tsv as
tables.py says holds the texts on which it is total, and pairs.tsv the others,
each beside some of order.tsv's texts, with the oracle's answer (A, B, -1, 0
or 1), where no total order can agree with every line. In ranges.tsv the one mode "m" is VersionRange's
containsVersion; invalid_ranges.tsv lists the ranges createFromVersionSpec
refuses.
"""
import random
from pathlib import Path

import language_tables as tables

ORACLE = ["java", "-cp", "/usr/share/java/maven-artifact-3.x.jar:/usr/share/java/commons-lang3.jar",
          str(Path(__file__).with_name("Maven.java"))]
rng = random.Random(2002)
NUMBERS = ["0", "1", "2", "3", "9", "10", "00", "01", "007", "2147483647", "2147483648",
           "9223372036854775807", "9223372036854775808", "18446744073709551616"]
QUALIFIERS = ["alpha", "a", "beta", "b", "milestone", "m", "rc", "cr", "snapshot", "ga", "final",
              "release", "sp", "foo", "jre", "xyz", "ALPHA", "Final", "SNAPSHOT", "RC", "Sp",
              "GA", "b2", "rc1", "alpha1", "a1", "m3", "sp1", "cr2", "abc1def", "1a", "RELEASE",
              "android", "M1", "pre", "dev"]


def item():
    if rng.random() < 0.6:
        return rng.choice(NUMBERS) if rng.random() < 0.2 else str(rng.randrange(4))
    return rng.choice(QUALIFIERS)


def version_text():
    text = str(rng.randrange(4)) if rng.random() < 0.95 else item()
    for _ in range(rng.choice([0, 1, 1, 2, 2, 3, 4])):
        text += rng.choice([".", ".", "-", "-", ""]) + item()
    if rng.random() < 0.15:
        text += rng.choice([".0", "-0", ".0.0", "-ga", "-final", "-0.0"])
    return text


HAND = ["1-alpha", "1-a1", "1a1", "1-beta", "1-b1", "1-milestone", "1-m1", "1-rc", "1-cr",
        "1-snapshot", "1", "1-ga", "1-final", "1-release", "1-sp", "1-foo", "1.0", "1.0.0",
        "1-0", "1.0-0", "1.0.0-0.0", "1-1", "1.1", "1-sp-1", "1-foo-1", "1.ga", "1.final.1",
        "1-a", "1-b", "1-m", "1-c", "1.a", "1.alpha", "1a", "1-alpha-1", "1.0-alpha.1",
        "1.0-SNAPSHOT", "1-0.1", "1.0.1", "1-1.0", "1.0.0.0.0.1", "1..0", "1.-1", "-1", ".1",
        "1-", "1.", "1--1", "a", "alpha", "0", "0.0", "2147483648", "9223372036854775808",
        "1.2147483647", "1.2147483648", "1.9223372036854775807", "1.9223372036854775808",
        "1-xyz", "1-XYZ", "1-abc", "1.0.RELEASE", "1.0.Final", "1.0.GA", "1-jre", "1-android",
        "1.0-rc1-SNAPSHOT", "1.0-alpha-SNAPSHOT", "2.0", "2.0.1-1", "1-é"]

RANGE_VERSIONS = ["0.9", "1.0-alpha-1", "1.0-SNAPSHOT", "1.0", "1.0.0", "1.0-sp", "1.0.1",
                  "1.1", "1.2-rc1", "1.2", "1.5", "1.5.0", "1.5-foo", "1.10", "2.0-SNAPSHOT",
                  "2.0-alpha", "2.0", "2.0.1", "3.0", "10.0"]


def range_text():
    bases = ["1.0", "1.2", "1.5", "2.0", "1.0-SNAPSHOT", "2.0-alpha", "1.0-sp", "3.0", "", "1"]
    parts = []
    for _ in range(rng.choice([1, 1, 1, 2, 2])):
        lo, hi = rng.choice(bases), rng.choice(bases)
        if rng.random() < 0.15:
            parts.append("[" + lo + "]")
        else:
            parts.append(rng.choice("[(") + lo + "," + hi + rng.choice("])"))
    return ",".join(parts)


RANGE_HAND = ["[1.0,2.0)", "(,1.0]", "[1.5]", "(,1.0],[1.2,)", "[1.0,2.0],[3.0,)", "1.0",
              "[1.0,)", "(1.0,)", "(,2.0)", "[1.0]", "(1.0)", "[1.0,1.0]", "(1.0,1.0)",
              "[2.0,1.0]", "[1.0,2.0),[1.5,3.0)", "[,]", "[1.0", "1.0]", "[1.0,2.0,3.0]", "",
              "[1.0-SNAPSHOT,1.0]", "[1.0,2.0-SNAPSHOT)", "[ 1.0 , 2.0 ]", "(,)", "[1.0,2.0)x",
              "[1.0,2.0),", ",[1.0,2.0)", "[1,2)", "[1.0.0,1.10]"]


def total_part(texts):
    """The oracle's classes of the texts less those left out, chosen greedily
    by how many wrong-way pairs they are in until no such pair is left."""
    odd = set()
    while True:
        groups = [l.split("\t") for l in tables.ask(ORACLE, "sort", sorted(set(texts) - odd))]
        bad = [l.split("\t")[:2] for l in tables.ask(ORACLE, "violations", ["\t".join(g) for g in groups])]
        if not bad:
            return groups, sorted(odd)
        while bad:
            counts = {}
            for pair in bad:
                for t in pair:
                    counts[t] = counts.get(t, 0) + 1
            worst = max(sorted(counts), key=counts.get)
            odd.add(worst)
            bad = [p for p in bad if worst not in p]


def main():
    texts = set(HAND)
    while len(texts) < 2500:
        texts.add(version_text())
    # ComparableVersion reads "" and blanks as they come; tolva refuses them,
    # so neither is asked
    texts = sorted(t for t in texts if t and not any(c.isspace() for c in t))
    groups, odd = total_part(texts)
    tables.write_order("maven", tables.oracle_classes(ORACLE, sum(groups, []), rng))
    kept = sum(groups, [])
    pairs = [(a, b) for a in odd for b in rng.sample(kept, 6) + rng.sample(odd, 2)]
    answers = tables.ask(ORACLE, "compare", [f"{a}\t{b}" for a, b in pairs])
    tables.write_rows("maven", "pairs.tsv", [(a, b, c) for (a, b), c in zip(pairs, answers)])

    ranges = list(dict.fromkeys(RANGE_HAND + [range_text() for _ in range(250)]))
    answers = tables.ask(ORACLE, "range", ["\t".join([r] + RANGE_VERSIONS) for r in ranges])
    rows = [(r, "m", a.split("\t") if a else []) for r, a in zip(ranges, answers) if a != "!"]
    tables.write_ranges("maven", RANGE_VERSIONS, rows)
    tables.write_rows("maven", "invalid_ranges.tsv",
                      [[r] for r, a in zip(ranges, answers) if a == "!"])


main()
