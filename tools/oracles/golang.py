#!/usr/bin/env python3
"""Writes tests/data/schemes/golang/ from golang.org/x/mod/semver's own answers.

Needs golang-go and golang-golang-x-mod-dev (tools/deps.sh oracles)."""

import os
import pathlib
import random
import tempfile

import driver

HERE = pathlib.Path(__file__).resolve().parent
rng = random.Random(5)

NUMBERS = ["0", "1", "2", "9", "10", "11", "99", "100", "4294967296", "18446744073709551615",
           "18446744073709551616", "18446744073709551617", "123456789012345678901234567890"]
BAD_NUMBERS = ["01", "00", "", "-1", "1a", "x", "１"]
IDENTIFIERS = ["alpha", "beta", "rc", "pre", "0", "1", "2", "10", "11", "0a", "a0", "a-b", "-",
               "x-", "-1", "A", "Z", "a", "z", "RC", "18446744073709551616", "incompatible"]
BAD_IDENTIFIERS = ["01", "", "a_b", "é", "a b", "00"]
BUILDS = ["incompatible", "build.1", "01", "001.a", "x-y", "sha.5114f85", "0"]


def number():
    return rng.choice(NUMBERS[:6]) if rng.random() < 0.7 else rng.choice(NUMBERS)


def identifiers(pool, most=3):
    return ".".join(rng.choice(pool) for _ in range(rng.randint(1, most)))


def pseudo_version():
    """The three shapes the go command writes for a commit without a tag."""
    stamp = f"{rng.randint(2017, 2025)}{rng.randint(1, 12):02}{rng.randint(1, 28):02}" \
            f"{rng.randint(0, 23):02}{rng.randint(0, 59):02}{rng.randint(0, 59):02}"
    commit = "".join(rng.choice("0123456789abcdef") for _ in range(12))
    major, minor, patch = number(), number(), number()
    shape = rng.randrange(3)
    if shape == 0:
        return f"v{major}.0.0-{stamp}-{commit}"
    if shape == 1:
        return f"v{major}.{minor}.{patch}-{identifiers(IDENTIFIERS[:4], 2)}.0.{stamp}-{commit}"
    return f"v{major}.{minor}.{patch}-0.{stamp}-{commit}"


def valid_version():
    shape = rng.random()
    if shape < 0.1:
        return f"v{number()}"
    if shape < 0.2:
        return f"v{number()}.{number()}"
    if shape < 0.35:
        return pseudo_version() + ("+incompatible" if rng.random() < 0.2 else "")
    text = f"v{number()}.{number()}.{number()}"
    if rng.random() < 0.6:
        text += "-" + identifiers(IDENTIFIERS)
    if rng.random() < 0.2:
        text += "+" + identifiers(BUILDS, 2)
    return text


def invalid_version():
    """A valid text with one fault put in."""
    text = valid_version()
    fault = rng.randrange(10)
    if fault == 0:
        return text[1:]
    if fault == 1:
        return "V" + text[1:]
    if fault == 2:
        return f"v{rng.choice(BAD_NUMBERS)}.{number()}.{number()}"
    if fault == 3:
        return f"v{number()}.{number()}.{number()}.{number()}"
    if fault == 4:
        return f"v{number()}" + rng.choice(["", f".{number()}"]) + "-" + identifiers(IDENTIFIERS)
    if fault == 5:
        return f"v{number()}.{number()}.{number()}-{identifiers(BAD_IDENTIFIERS + IDENTIFIERS)}"
    if fault == 6:
        return text + rng.choice(["+", "-", ".", "+a+b", " ", "+a_b", "+é", "+a..b"])
    if fault == 7:
        return rng.choice([" ", "=", "v.", "vv"]) + text[1:]
    if fault == 8:
        return rng.choice(["", "v", "v.", "v1.", "v1.2.", "v1..2", "v1.2.3-", "v1.2.3+", "-v1",
                           "v1.2.3-+a", "v1.2-0", "v1+a", "latest", "master"])
    return text.replace(".", rng.choice(["", "_", "-", ".."]), 1)


def range_text(versions):
    def comparator():
        return rng.choice(["=", "!=", "<", "<=", ">", ">="]) + rng.choice(versions)
    alternatives = []
    for _ in range(rng.choice([1, 1, 1, 2])):
        alternatives.append(rng.choice([" ", ", ", ","]).join(
            comparator() for _ in range(rng.choice([1, 1, 2]))))
    return " || ".join(alternatives)


def main():
    work = tempfile.mkdtemp(prefix="golang-oracle-")
    env = dict(os.environ, GO111MODULE="off", GOPATH=f"/usr/share/gocode:{work}",
               GOCACHE=os.path.join(work, "cache"), GOFLAGS="")
    binary = os.path.join(work, "golang-oracle")
    driver.subprocess.run(["go", "build", "-o", binary, str(HERE / "golang.go"),
                           str(HERE / "oracle_lines.go")], env=env, check=True)
    oracle = lambda mode, lines: driver.ask([binary, mode], lines, env)

    texts = driver.unique([valid_version() for _ in range(3000)] +
                          [invalid_version() for _ in range(1500)])
    verdicts = oracle("valid", texts)
    valid = [t for t, ok in zip(texts, verdicts) if ok == "1"]
    invalid = [t for t, ok in zip(texts, verdicts) if ok == "0"]
    order = [line.split("\t") for line in oracle("order", valid)]
    driver.write("golang", "order.tsv", order)
    driver.write("golang", "invalid.tsv", [[t] for t in invalid])

    bounds = [rng.choice(valid) for _ in range(120)]
    cases = [[range_text(bounds), rng.choice(valid)] for _ in range(2000)]
    answers = oracle("ranges", ["\t".join(case) for case in cases])
    driver.write("golang", "ranges.tsv", [case + [a] for case, a in zip(cases, answers)])


if __name__ == "__main__":
    main()
