#!/usr/bin/env python3
"""Writes tests/data/schemes/composer/ from composer/semver's own answers.

Besides the tables driver.py names: normalized.tsv (VERSION<TAB>NORMALISED,
Composer's normal form of each accepted version), branches.tsv (VERSION, a
branch Composer orders below every numbered version and beside no other
branch) and invalid_ranges.tsv (RANGE, a constraint Composer refuses).

Needs php-cli and php-composer-semver (tools/deps.sh oracles)."""

import pathlib
import random

import driver

HERE = pathlib.Path(__file__).resolve().parent
rng = random.Random(6)

NUMBERS = ["0", "1", "2", "9", "10", "11", "99", "00", "01", "007", "99999", "100000",
           "9999999", "10000000", "18446744073709551616"]
STABILITIES = ["alpha", "a", "beta", "b", "RC", "rc", "c", "pl", "p", "patch", "stable", "dev",
               "ALPHA", "Beta", "Dev", "pre", "final", "foo", "A", "B"]
BRANCHES = ["dev-master", "dev-main", "dev-trunk", "dev-default", "dev-feature/foo", "dev-1.0",
            "dev-MASTER", "dev-a", "dev-b", "dev-2.x", "dev-fix_1", "master", "trunk", "default",
            "main", "dev-", "dev-a b"]


def number():
    return rng.choice(NUMBERS[:7]) if rng.random() < 0.8 else rng.choice(NUMBERS)


def release(most=4):
    return ".".join(number() for _ in range(rng.randint(1, most)))


def suffix():
    text = rng.choice(["-", ".", "_", "", "-", "-"]) + rng.choice(STABILITIES)
    text += rng.choice(["", "", "1", "2", "10", ".1", "1.2", "-1", "01", ".1.2", "0"])
    if rng.random() < 0.15:
        text += rng.choice(["-dev", ".dev", "dev"])
    return text


def version():
    shape = rng.random()
    prefix = rng.choice(["", "", "", "v", "V"])
    if shape < 0.08:
        return rng.choice(BRANCHES)
    if shape < 0.16:
        return prefix + ".".join(number() for _ in range(rng.randint(1, 3))) + \
            rng.choice([".x-dev", ".X-dev", ".*-dev", "-dev", ".x"])
    if shape < 0.22:
        date = f"{rng.randint(1999, 2025)}{rng.choice(['', '-', '.'])}{rng.randint(1, 12):02}" \
               f"{rng.choice(['', '-', '.'])}{rng.randint(1, 28):02}"
        return prefix + date + rng.choice(["", "", f".{rng.randint(0, 99):02}", suffix()])
    text = prefix + release(rng.choice([3, 4, 4, 4, 5]))
    if rng.random() < 0.5:
        text += suffix()
    if rng.random() < 0.1:
        text += "+" + rng.choice(["build", "a.b", "001", "a+b", ""])
    if rng.random() < 0.03:
        text = rng.choice([" ", "=", "v.", "vv", ""]) + text + rng.choice(["", " ", "@dev", ".", "-"])
    return text


def bound():
    shape = rng.random()
    if shape < 0.2:
        return rng.choice(NUMBERS[:6]) + rng.choice(["", ".*", ".x", ".0.*"])
    return release(rng.choice([1, 2, 3, 4])) + (suffix() if rng.random() < 0.15 else "")


def atom():
    kind = rng.random()
    flag = rng.choice(["@dev", "@alpha", "@beta", "@RC", "@stable", "@foo"]) \
        if rng.random() < 0.1 else ""
    if kind < 0.05:
        return rng.choice(["*", "*@dev", "@dev", "x", "dev-master", "dev-feature/foo", "1.x-dev"])
    if kind < 0.15:
        return f"{bound()} - {bound()}" + flag
    op = rng.choice(["^", "~", "", "=", "==", "!=", "<>", "<", "<=", ">", ">=", ">= ", "< "])
    return op + rng.choice(["", "", "v"]) + bound() + flag


def constraint():
    ands = lambda: rng.choice([" ", ",", ", ", "  "]).join(atom() for _ in range(rng.choice([1, 1, 2, 3])))
    return rng.choice(["||", " || ", " | "]).join(ands() for _ in range(rng.choice([1, 1, 2])))


def main():
    oracle = lambda mode, lines: driver.ask(["php", str(HERE / "composer.php"), mode], lines)
    texts = driver.unique(version() for _ in range(4000))
    normal = [line.split("\t") for line in oracle("normalize", texts)]
    valid = [[t, n] for t, (ok, n) in zip(texts, normal) if ok == "1"]
    order = [line.split("\t") for line in oracle("order", [t for t, _ in valid])]
    driver.write("composer", "order.tsv", [row for row in order if row[0] != "B"])
    driver.write("composer", "branches.tsv", [row[1:] for row in order if row[0] == "B"])
    driver.write("composer", "normalized.tsv", valid)
    driver.write("composer", "invalid.tsv", [[t] for t, (ok, _) in zip(texts, normal) if ok == "0"])

    ranges = driver.unique(constraint() for _ in range(800))
    cases = [[r, rng.choice(valid)[0]] for r in ranges for _ in range(3)]
    answers = oracle("ranges", ["\t".join(case) for case in cases])
    driver.write("composer", "ranges.tsv", [c + [a] for c, a in zip(cases, answers) if a != "E"])
    driver.write("composer", "invalid_ranges.tsv",
                 [[r] for r in driver.unique(c[0] for c, a in zip(cases, answers) if a == "E")])


if __name__ == "__main__":
    main()
