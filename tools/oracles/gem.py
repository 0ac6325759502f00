#!/usr/bin/env python3
"""Regenerates tests/data/schemes/gem/ from RubyGems (Debian's ruby):

    python3 tools/oracles/gem.py

order.tsv and invalid.tsv as tables.py says (Gem::Version.correct? and <=>);
in ranges.tsv the one mode "m" is Gem::Requirement#satisfied_by?, the range's
requirements joined by commas.
"""
import random
from pathlib import Path

import language_tables as tables

ORACLE = ["ruby", str(Path(__file__).with_name("gem.rb"))]
rng = random.Random(1998)
NUMBERS = ["0", "1", "2", "3", "9", "10", "00", "01", "007", "18446744073709551615",
           "18446744073709551616", "340282366920938463463374607431768211457"]
WORDS = ["a", "b", "pre", "rc", "alpha", "beta", "A", "Z", "zz", "RC", "dev", "1a", "a1",
         "0b2", "rc1", "x10y"]


def segment():
    r = rng.random()
    if r < 0.65:
        return rng.choice(NUMBERS) if rng.random() < 0.2 else str(rng.randrange(4))
    return rng.choice(WORDS)


def version_text():
    text = segment() if rng.random() < 0.05 else str(rng.randrange(4))
    for _ in range(rng.choice([0, 1, 1, 2, 2, 3, 4])):
        text += rng.choice([".", ".", ".", "-"]) + segment()
    if rng.random() < 0.15:
        text += ".0" * rng.randrange(1, 3)
    return text


HAND = ["1.0.a", "1.0", "1.0.0", "1", "1.0.b", "1.0.a.1", "1.0.a1", "1.0a", "1.0-1",
        "1.0.pre.1", "1.0-a", "1.0.A", "1.0.a.0", "1.0.a.0.0", "1.0.1.a", "1.0.0.1",
        "0", "0.0", "00", "1.01", "1.1", "1.0-pre-1", "1.0.pre.pre.1", "1-1-1", "1.0-", "-1",
        "1.0--1", "1.0-.1", "1..0", "1.", ".1", "a", "a.1", "1 0", "1_0", "1.0_1", "1.0+1",
        "1.0.é", "v1.0", "1.0-a.b-c", "1.0-a.b.", "1.0.-1", "1.0a-b", "1.0-A", "1.0-Z",
        "1.0.Z", "1.0.z", "2.0.0.a", "2", "1.9.a", "1.10", "1.9"]

RANGE_VERSIONS = ["0.9", "1", "1.0.a", "1.0.0", "1.0.1", "1.1.a", "1.1", "1.2", "1.2.0.1",
                  "1.2.a", "1.2.3", "1.2.3.a", "1.2.4", "1.3", "1.9.9", "1.10", "2.0.a",
                  "2.0", "2.0.0.0", "2.1", "3", "10.0", "1.0-1", "1.2.b.2"]


def req_text():
    ops = ["", "= ", "!= ", "> ", "< ", ">= ", "<= ", "~> ", "~> ", "~>", ">=", "="]
    bases = ["1", "1.0", "1.2", "1.2.3", "2", "2.0", "1.0.a", "1.2.a", "0", "1.2.3.a", "1.9",
             "1.10", "2.0.a", "3"]
    parts = [rng.choice(ops) + rng.choice(bases) for _ in range(rng.choice([1, 1, 2, 2, 3]))]
    return rng.choice([",", ", "]).join(parts)


REQ_HAND = ["~> 1.2", "~> 1.2.3", "~> 1", "~> 1.0.a", "~> 2.0.a", "= 1.0", "!= 1.0",
            "> 1.2", "< 1.2", ">= 1.2", "<= 1.2", "1.2", ">= 1, < 2", "~> 1.2, >= 1.2.3",
            "> 1.0.a", "< 2.0.a", "< 2", ">= 0", "~> 0", ">= 1.0.0.a", "=1.2", ">1", " = 1",
            "~>1.2", "1.2.3.a", "~> 1.2.a", "== 1.0", "=> 1.0", "~ 1.0", "> ", ">= a",
            "1.0 2.0", ">= 1.0,", ",", "!=1.0.0", "~> 1.0.0.a", "~> 1.0.5", "~> 1.a",
            "~> 0.9"]


def main():
    texts = set(HAND)
    while len(texts) < 2500:
        texts.add(version_text())
    # RubyGems strips blanks around a text and reads "" as 0; tolva reads the
    # text as given, so neither is asked
    texts = sorted(t for t in texts if t and t == t.strip())
    ok = tables.ask(ORACLE, "valid", texts)
    valid = [t for t, v in zip(texts, ok) if v == "1"]
    tables.write_order("gem", tables.oracle_classes(ORACLE, valid, rng))
    tables.write_invalid("gem", [t for t, v in zip(texts, ok) if v == "0"])

    reqs = list(dict.fromkeys(REQ_HAND + [req_text() for _ in range(300)]))
    answers = tables.ask(ORACLE, "range", ["\t".join([r] + RANGE_VERSIONS) for r in reqs])
    rows = [(r, "m", a.split("\t") if a else []) for r, a in zip(reqs, answers) if a != "!"]
    tables.write_ranges("gem", RANGE_VERSIONS, rows)
    tables.write_rows("gem", "invalid_ranges.tsv", [[r] for r, a in zip(reqs, answers) if a == "!"])


main()
