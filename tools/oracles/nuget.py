#!/usr/bin/env python3
"""Writes tests/data/schemes/nuget/ from NuGet.Core's own answers.

NuGet.Core 2.8, the NuGet that Debian ships, reads SemVer 1.0.0 with a fourth
number; NuGet 4.3 and later read SemVer 2.0.0: a single number, dotted
pre-release labels (numeric identifiers compared as numbers), labels that
begin with a digit, and build metadata (ignored by the order). The tables
hold only what both read alike: a text that uses a SemVer 2.0.0 form is left
out rather than listed as refused, and so is a range written "(1.0)", which
NuGet.Core reads as empty and the documented syntax refuses. docs_order.tsv,
the documentation's own example of the order, covers the rest.

Besides the tables driver.py names: normalized.tsv (VERSION<TAB>NORMALISED)
and invalid_ranges.tsv (RANGE, a range NuGet refuses).

Needs mono-runtime, mono-mcs and libnuget-core-cil (tools/deps.sh oracles)."""

import os
import pathlib
import random
import re
import subprocess
import tempfile

import driver

HERE = pathlib.Path(__file__).resolve().parent
LIBRARY = pathlib.Path("/usr/lib/nuget/NuGet.Core.dll")
rng = random.Random(7)

NUMBERS = ["0", "1", "2", "9", "10", "11", "00", "01", "007", "2147483647", "2147483648",
           "4294967296", "18446744073709551616"]
LABELS = ["alpha", "ALPHA", "Alpha", "beta", "rc", "RC", "rc1", "rc2", "rc10", "a-b", "a--b",
          "a-", "A-", "zzz", "aaa", "open", "pre-release", "a0", "A0", "z", "Z", "b", "beta2",
          "beta-09", "beta-10"]
SEMVER2_LABELS = ["1", "0", "01", "0a", "alpha.1", "rc.2", "rc.10", "a.b"]

IDENTIFIER = r"[0-9A-Za-z-]+"
DOCUMENTED = re.compile(rf"(\d+)(?:\.(\d+))?(?:\.(\d+))?(?:\.(\d+))?"
                        rf"(-{IDENTIFIER}(?:\.{IDENTIFIER})*)?(\+{IDENTIFIER}(?:\.{IDENTIFIER})*)?")
SEMVER1 = re.compile(r"\d+(\.\d+){1,3}(-[A-Za-z][0-9A-Za-z-]*)?")


def semver2_form(text):
    """Whether NuGet's documented rules read the text where SemVer 1.0.0 does not."""
    m = DOCUMENTED.fullmatch(text)
    return bool(m) and all(int(n) < 2**31 for n in m.groups()[:4] if n) \
        and not SEMVER1.fullmatch(text)


def number():
    return rng.choice(NUMBERS[:8]) if rng.random() < 0.85 else rng.choice(NUMBERS)


def version():
    text = ".".join(number() for _ in range(rng.choice([1, 2, 2, 3, 3, 3, 4, 4, 5])))
    if rng.random() < 0.5:
        text += "-" + (rng.choice(LABELS) if rng.random() < 0.85 else rng.choice(SEMVER2_LABELS))
    if rng.random() < 0.05:
        text += "+" + rng.choice(["meta", "a.b", "01"])
    if rng.random() < 0.1:
        fault = rng.randrange(6)
        if fault == 0:
            return rng.choice(["v", "V", ".", "-", "=", "+"]) + text
        if fault == 1:
            return text + rng.choice([".", "-", "+", "..", "-a_b", "-é", "-a.", " x", ",0"])
        if fault == 2:
            return text.replace(".", rng.choice(["..", ",", "_", " ", ".-"]), 1)
        if fault == 3:
            return rng.choice(["", "1.", ".1", "1.0-", "a.b", "1.a", "latest", "1.0.0.0.0"])
        return text.replace(".", ".-", 1)
    return text


def range_text(bounds):
    low, high = rng.choice(bounds), rng.choice(bounds)
    blank = lambda: rng.choice(["", "", "", " "])
    shape = rng.randrange(12)
    if shape == 0:
        return low
    if shape == 1:
        return f"[{blank()}{low}{blank()}]"
    if shape == 2:
        return rng.choice(["[", "("]) + f"{blank()}{low}{blank()},{blank()}" + rng.choice(["]", ")"])
    if shape == 3:
        return rng.choice(["[", "("]) + f"{blank()},{blank()}{high}{blank()}" + rng.choice(["]", ")"])
    if shape == 4:
        return rng.choice(["(,)", "[,]", "[]", "()", "", f"[{low},{high},{low}]", f"({low}",
                           f"{low})", f"[{low}", f"{low},{high}", f"[{low};{high}]",
                           f"[{low} {high}]", f"<{low}", f"{{{low},{high}}}"])
    return rng.choice(["[", "("]) + f"{blank()}{low},{blank()}{high}{blank()}" + rng.choice(["]", ")"])


# The order NuGet's documentation gives as its example, oldest first, and the
# SemVer 2.0.0 rules it follows: metadata is ignored, numeric identifiers are
# numbers and come before alphanumeric ones, a shorter label first.
DOCS_ORDER = [["1.0.1-aaa"], ["1.0.1-alpha10"], ["1.0.1-alpha2"], ["1.0.1-beta"],
              ["1.0.1-open"], ["1.0.1-rc.2"], ["1.0.1-rc.10"], ["1.0.1-zzz"],
              ["1.0.1", "1.0.1+r3456", "1.0.1.0", "01.0.1"]]
DOCS_LABELS = [["1-1"], ["1-2"], ["1-10"], ["1-a"], ["1-a.1", "1-A.1+b"], ["1-a.1.0"],
               ["1-a.b"], ["1", "1.0.0.0+b.1"]]


def main():
    driver.write("nuget", "docs_order.tsv", [[rank, v] for rank, group in
                                             enumerate(DOCS_LABELS + DOCS_ORDER) for v in group])

    work = tempfile.mkdtemp(prefix="nuget-oracle-")
    exe = os.path.join(work, "nuget.exe")
    subprocess.run(["mcs", "-nologo", f"-r:{LIBRARY}", str(HERE / "nuget.cs"), f"-out:{exe}"],
                   check=True)
    env = dict(os.environ, MONO_PATH=str(LIBRARY.parent))
    oracle = lambda mode, lines: driver.ask(["mono", exe, mode], lines, env)

    texts = [t for t in driver.unique(version() for _ in range(3500)) if not semver2_form(t)]
    answers = [line.split("\t") for line in oracle("valid", texts)]
    valid = [[t, n] for t, (ok, n) in zip(texts, answers) if ok == "1"]
    invalid = [[t] for t, (ok, _) in zip(texts, answers) if ok == "0"]
    driver.write("nuget", "order.tsv", [line.split("\t") for line in oracle("order", [t for t, _ in valid])])
    driver.write("nuget", "normalized.tsv", valid)
    driver.write("nuget", "invalid.tsv", invalid)

    bounds = [rng.choice(valid)[0] for _ in range(150)]
    ranges = [r for r in driver.unique(range_text(bounds) for _ in range(900))
              if not re.fullmatch(r"\(\s*[^,]*\)", r)]
    cases = [[r, rng.choice(valid if rng.random() < 0.5 else [[b] for b in bounds])[0]]
             for r in ranges for _ in range(3)]
    answers = oracle("ranges", ["\t".join(case) for case in cases])
    driver.write("nuget", "ranges.tsv", [c + [a] for c, a in zip(cases, answers) if a != "E"])
    driver.write("nuget", "invalid_ranges.tsv",
                 [[r] for r in driver.unique(c[0] for c, a in zip(cases, answers) if a == "E")])


if __name__ == "__main__":
    main()
