#!/usr/bin/env python3
"""Regenerates tests/data/schemes/cargo/ from the reference comparison of
the cargo scheme, as Debian ships its source, compiled offline with the
ecosystem's own compiler:

    python3 tools/oracles/cargo.py [SOURCE_DIR]

(the source folder defaults to the newest 1.x in Debian's offline
registry). order.tsv and invalid.tsv as tables.py says; in
ranges.tsv the one mode "m" is VersionReq::matches, one version at a time.
"""
import glob
import random
import subprocess
import sys
import tempfile
from pathlib import Path

import language_tables as tables

rng = random.Random(2018)
NUMBERS = ["0", "1", "2", "3", "9", "10", "00", "01", "18446744073709551615",
           "18446744073709551616", "99999999999999999999"]
IDS = ["alpha", "beta", "rc", "0", "1", "2", "10", "01", "00", "0a", "a-b", "-", "x", "Alpha",
       "RC", "11", "1a", "a1", "--", "z", "18446744073709551616", ""]


def number():
    return rng.choice(NUMBERS) if rng.random() < 0.2 else str(rng.randrange(4))


def idents(count):
    return ".".join(rng.choice(IDS) if rng.random() < 0.9 else number() for _ in range(count))


def version_text():
    text = ".".join(number() for _ in range(3))
    if rng.random() < 0.5:
        text += "-" + idents(rng.choice([1, 1, 2, 2, 3]))
    if rng.random() < 0.15:
        text += "+" + idents(rng.choice([1, 2]))
    if rng.random() < 0.04:
        text = rng.choice(["v", "=", " ", "V"]) + text
    if rng.random() < 0.06:
        text = ".".join(text.split(".")[:rng.choice([1, 2])])
    return text


HAND = ["1.0.0-alpha", "1.0.0-alpha.1", "1.0.0-alpha.beta", "1.0.0-beta", "1.0.0-beta.2",
        "1.0.0-beta.11", "1.0.0-rc.1", "1.0.0", "1.0.0+a", "1.0.0+b", "1.0.0+1", "1.0.0+01",
        "1.0.0+a.1", "1.0.0+a.01", "1.0.0+1.1", "1.0.0+10", "1.0.0+2", "1.0.0+A", "1.0.0-A",
        "0.0.0", "0.0.0-0", "1.0.0-1", "1.0.0-a", "1.0.0-1.a", "1.0.0-a.1", "1.0.0-2",
        "1.0.0-10", "1.0.0-a-b", "1.0.0--", "1.0.0-0a", "1.0.0+-",
        "", "1", "1.0", "1.0.0.0", "01.0.0", "1.00.0", "1.0.0-", "1.0.0+", "1.0.0-01",
        "1.0.0-a..b", "1.0.0+a..b", "v1.0.0", " 1.0.0", "1.0.0 ", "=1.0.0", "1.0.0-é",
        "1.0.0-a_b", "1.0.0+a_b", "1.0.0-+", "1.0.0+a+b", "1.0.0-a+b", "-1.0.0", "1.-1.0",
        "18446744073709551615.0.0", "18446744073709551616.0.0", "1.0.0-18446744073709551616"]

RANGE_VERSIONS = ["0.0.1", "0.0.2", "0.0.3", "0.0.3-alpha", "0.1.0", "0.1.1", "0.1.2-beta",
                  "0.2.0", "0.3.0-rc.1", "1.0.0-alpha", "1.0.0", "1.0.0+build", "1.1.0",
                  "1.2.0", "1.2.3-alpha", "1.2.3-alpha.1", "1.2.3-beta", "1.2.3", "1.2.4-alpha",
                  "1.2.4", "1.2.10", "1.3.0-rc.1", "1.3.0", "1.9.9", "2.0.0-0", "2.0.0-alpha",
                  "2.0.0", "2.1.0", "10.0.0", "18446744073709551615.0.0"]


def req_text():
    ops = ["", "", "^", "~", "=", ">", ">=", "<", "<=", "^", "~"]
    bases = ["1", "1.2", "1.2.3", "0", "0.0", "0.0.3", "0.1", "0.1.1", "1.2.3-alpha",
             "1.2.3-beta", "0.1.2-beta", "1.0.0-alpha", "2", "2.0.0-alpha", "1.*", "1.2.*", "*",
             "1.x", "1.2.x", "0.3.0-rc", "1.2.4-alpha", "0.0.3-alpha"]
    parts = []
    for _ in range(rng.choice([1, 1, 1, 2, 2, 3])):
        parts.append(rng.choice(ops) + rng.choice(["", "", " "]) + rng.choice(bases))
    return rng.choice([",", ", ", " , "]).join(parts)


REQ_HAND = ["*", "1", "1.2", "1.2.3", "^1.2.3", "^0.1.1", "^0.0.3", "^0.0", "^0", "~1",
            "~1.2", "~1.2.3", "~0.1.2-beta", "=1.2.3", ">1.2.3", ">=1.2.3-alpha", "<1.3.0",
            "<=1.2.3", ">=1.2, <1.5", "1.*", "1.2.*", "*.*", "^1.2.3-alpha", ">1.2.3-alpha",
            "<2.0.0", "<2", ">=1.0.0, <2.0.0-0", "=1.0.0+build", "^1.0.0+build", "",
            "1.2.3, 2.0", "> 1", ">= 1.2.3-alpha.1", "^18446744073709551615",
            "1 || 2", ">=1 <2", "=*", "^*", "~*", "1.2.3.4", "1.*.3", "v1.2.3", "^1.2.3-01",
            ">=1.2.3-alpha,<1.2.3", "=1.2.3-beta", "1.2.3-beta", "~1.2.3-alpha",
            # which comparators with numbers left out hold back the pre-releases
            # another comparator lets in
            "~0.1, 0.1.2-beta", ">=0.0,=0.0.3-alpha", ">=1.2.3-alpha,1.2", "<=1.2,=1.2.3-alpha",
            "1.2.*,=1.2.3-alpha", "=1,>=1.2.3-alpha", "^1,=1.2.3-alpha", ">1.1,=1.2.3-alpha",
            "<1.3,=1.2.3-alpha", "~1,=1.2.3-alpha", ">=1.2,=1.2.3-alpha", "1.*,=1.2.3-alpha"]


# The ecosystem's compiler and the offline registry's copies of the reference
# comparison, as tools/deps.sh oracles installs them.
COMPILER = "rustc"
SOURCES = "/usr/share/cargo/registry/semver-1.*"


def build(source_dir, work):
    subprocess.run([COMPILER, "--edition", "2018", "--crate-type", "rlib", "--crate-name",
                    "semver", "--cfg", 'feature="std"', "-O", "--out-dir", work,
                    f"{source_dir}/src/lib.rs"], check=True)
    exe = f"{work}/cargo-oracle"
    subprocess.run([COMPILER, "--edition", "2018", "-O", "-o", exe, "--extern",
                    f"semver={work}/libsemver.rlib", "-L", work,
                    str(Path(__file__).with_name("cargo.rs"))], check=True)
    return [exe]


def main():
    source = sys.argv[1] if len(sys.argv) > 1 else sorted(glob.glob(SOURCES))[-1]
    print("reference comparison from", source, file=sys.stderr)
    with tempfile.TemporaryDirectory() as work:
        oracle = build(source, work)
        texts = set(HAND)
        while len(texts) < 2500:
            texts.add(version_text())
        texts = sorted(t for t in texts if "\t" not in t)
        ok = tables.ask(oracle, "valid", texts)
        valid = [t for t, v in zip(texts, ok) if v == "1"]
        tables.write_order("cargo", tables.oracle_classes(oracle, valid, rng))
        tables.write_invalid("cargo", [t for t, v in zip(texts, ok) if v == "0"])

        reqs = list(dict.fromkeys(REQ_HAND + [req_text() for _ in range(300)]))
        answers = tables.ask(oracle, "range", ["\t".join([r] + RANGE_VERSIONS) for r in reqs])
        rows = [(r, "m", a.split("\t") if a else []) for r, a in zip(reqs, answers) if a != "!"]
        tables.write_ranges("cargo", RANGE_VERSIONS, rows)
        tables.write_rows("cargo", "invalid_ranges.tsv",
                          [[r] for r, a in zip(reqs, answers) if a == "!"])


main()
