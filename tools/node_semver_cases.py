#!/usr/bin/env python3
"""Regenerates tests/python/data/node_semver_ranges.tsv: generated ranges of
the semver scheme and the versions npm's semver command finds in each, with
and without --include-prerelease.

    npm install semver            # in a scratch folder outside the tree
    python3 tools/node_semver_cases.py SCRATCH/node_modules/semver/bin/semver.js

The first line lists the versions; every other line is the range, 1 or 0
(pre-releases included), and the versions the command printed for it.
"""
import random
import subprocess
import sys
from pathlib import Path

OUT = Path(__file__).resolve().parent.parent / "tests/python/data/node_semver_ranges.tsv"
PRE = ["", "-0", "-alpha", "-alpha.1", "-alpha.beta", "-beta.2", "-rc.1", "-1"]


def versions(rng):
    out = {f"{a}.{b}.{c}{p}" for a in (0, 1, 2) for b in (0, 1, 3) for c in (0, 1, 5)
           for p in ("", rng.choice(PRE[1:]))}
    out |= {"10.0.0", "9007199254740990.0.0", "1.10.0", "2.0.10-rc.1", "0.0.0-0", "3.0.0"}
    return sorted(out)


def number(rng):
    return str(rng.choice([0, 0, 1, 1, 2, 3, 5, 10]))


def partial(rng, full_only=False):
    parts = [number(rng) for _ in range(3)]
    cut = 3 if full_only else rng.choice([1, 2, 3, 3, 3])
    wild = rng.random() < 0.3 and not full_only
    text = ".".join(parts[:cut] + ([rng.choice("xX*")] * (3 - cut) if wild else []))
    if cut == 3 and not wild and rng.random() < 0.35:
        text += rng.choice(PRE[1:])
    if cut == 3 and not wild and rng.random() < 0.1:
        text += "+b.1"
    if rng.random() < 0.1:
        text = "v" + text
    if rng.random() < 0.05:
        text = rng.choice("xX*")
    return text


def simple(rng):
    op = rng.choice(["", "", "=", "<", "<=", ">", ">=", "~", "~>", "^", "^"])
    gap = " " if op and rng.random() < 0.15 else ""
    return op + gap + partial(rng)


def alternative(rng):
    kind = rng.random()
    if kind < 0.05:
        return ""
    if kind < 0.2:
        return f"{partial(rng)} - {partial(rng)}"
    return " ".join(simple(rng) for _ in range(rng.choice([1, 1, 2, 2, 3])))


def ranges(rng, count):
    out = ["2.3", ">=1", "<1.2", "~>1", "1 ||", "|| 1", "*", "", ">2.x", "<=1.x", "^0.0", "^0.x"]
    while len(out) < count:
        out.append(" || ".join(alternative(rng) for _ in range(rng.choice([1, 1, 2, 3]))))
    return out


def main():
    command = sys.argv[1]
    rng = random.Random(27)
    vs = versions(rng)
    lines = ["\t".join(vs)]
    for r in ranges(rng, 260):
        for include in ("0", "1"):
            args = ["node", command] + (["-p"] if include == "1" else []) + ["-r", r] + vs
            found = subprocess.run(args, capture_output=True, text=True).stdout.split()
            lines.append("\t".join([r, include, " ".join(found)]))
    OUT.write_text("\n".join(lines) + "\n")


if __name__ == "__main__":
    main()
