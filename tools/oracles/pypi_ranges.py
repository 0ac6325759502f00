"""Asks packaging's SpecifierSet how generated range pairs relate, for
tests/data/ranges/pypi_relations.tsv.

    usage: PYTHONPATH=PACKAGING python3 tools/oracles/pypi_ranges.py OUTDIR

PACKAGING holds packaging 26.3 or newer (is_subset, is_disjoint). A fixed
seed makes the table again.
"""

import random
import sys
from pathlib import Path

import packaging
from packaging.specifiers import SpecifierSet

rng = random.Random(35)


def version():
    v = ".".join(str(rng.randrange(3)) for _ in range(rng.choice((1, 2, 3))))
    suffix = rng.choice(("", "", "", "a1", "b2", "rc1", ".post1", ".dev0"))
    return ("1!" if rng.randrange(20) == 0 else "") + v + suffix


def specifier():
    op = rng.choice(("<", "<=", ">", ">=", "==", "!=", "~=", "==*", "!=*"))
    if op.endswith("*"):
        prefix = ".".join(str(rng.randrange(3)) for _ in range(rng.choice((1, 2))))
        return op[:2] + prefix + ".*"
    if op == "~=":
        # A compatible release names at least two release numbers.
        return f"~={rng.randrange(3)}.{rng.randrange(3)}" + rng.choice(("", ".1", "rc1"))
    return op + version()


def specifier_set():
    return ",".join(specifier() for _ in range(rng.choice((1, 1, 2, 3))))


def valid():
    while True:
        text = specifier_set()
        try:
            SpecifierSet(text)
        except ValueError:
            continue
        return text


def main():
    out = Path(sys.argv[1])
    rows = [f"# packaging {packaging.__version__}", "a\tb\tintersects\tsubset"]
    for _ in range(1500):
        a, b = valid(), valid()
        sa, sb = SpecifierSet(a), SpecifierSet(b)
        rows.append(f"{a}\t{b}\t{int(not sa.is_disjoint(sb))}\t{int(sa.is_subset(sb))}")
    (out / "pypi_relations.tsv").write_text("\n".join(rows) + "\n")


main()
