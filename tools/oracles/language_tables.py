"""What every oracle script in this folder shares: a seeded generator of
version texts and the writers of the tables under tests/data/schemes/SCHEME/.

order.tsv    one line per class of equal versions, the classes in ascending
             order, the members of a class separated by tabs
invalid.tsv  one refused text a line
ranges.tsv   the first line lists the versions, tab-separated; every other
             line is a range, a mode and the versions the oracle kept, in the
             first line's order (mode says which question was asked; each
             script's docstring names its modes)
"""
import functools
import os
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent.parent


def table_dir(scheme):
    # ORACLE_OUT puts the tables elsewhere, to set two releases of an oracle side by side
    out = Path(os.environ.get("ORACLE_OUT") or ROOT / "tests/data/schemes") / scheme
    out.mkdir(parents=True, exist_ok=True)
    return out


def check_text(text):
    assert "\t" not in text and "\n" not in text and "\r" not in text, repr(text)
    return text


def classes(texts, compare):
    """The texts sorted by compare and grouped into classes of equals."""
    ordered = sorted(texts, key=functools.cmp_to_key(compare))
    groups = []
    for t in ordered:
        if groups and compare(groups[-1][0], t) == 0:
            groups[-1].append(t)
        else:
            groups.append([t])
    return groups


def check_total(groups, compare, rng, samples=200000):
    """Asks compare again on a sample of pairs and on every neighbour pair:
    each must agree with the classes' positions, or the order is not total."""
    flat = [(i, t) for i, g in enumerate(groups) for t in g]
    pairs = [(flat[k], flat[k + 1]) for k in range(len(flat) - 1)]
    pairs += [(rng.choice(flat), rng.choice(flat)) for _ in range(samples)]
    sign = lambda x: (x > 0) - (x < 0)  # noqa: E731
    bad = [(a, b) for (i, a), (j, b) in pairs if sign(compare(a, b)) != sign(i - j)]
    assert not bad, f"the oracle's order is not total here: {bad[:5]}"


def write_order(scheme, groups):
    text = "".join("\t".join(check_text(t) for t in g) + "\n" for g in groups)
    (table_dir(scheme) / "order.tsv").write_text(text)


def write_invalid(scheme, texts):
    text = "".join(check_text(t) + "\n" for t in sorted(set(texts)))
    (table_dir(scheme) / "invalid.tsv").write_text(text)


def write_ranges(scheme, versions, rows):
    """rows: (range, mode, kept versions)."""
    lines = ["\t".join(check_text(v) for v in versions)]
    lines += ["\t".join([check_text(r), mode, " ".join(kept)]) for r, mode, kept in rows]
    (table_dir(scheme) / "ranges.tsv").write_text("\n".join(lines) + "\n")


def write_rows(scheme, name, rows):
    text = "".join("\t".join(check_text(str(f)) for f in row) + "\n" for row in rows)
    (table_dir(scheme) / name).write_text(text)


def ask(command, mode, lines):
    """Runs an oracle driver (cargo.rs, gem.rb, Maven.java speak alike): MODE
    is its first argument, one question a line on its input, one answer a
    line on its output.

    valid    TEXT            -> 1 or 0
    compare  A<tab>B         -> -1, 0 or 1
    sort     TEXT            -> (all at once) one line per class of equals,
                                ascending, the members tab-separated
    range    R<tab>V1<tab>.. -> the Vi the range holds, tab-separated, or !
                                when the range is refused
    """
    import subprocess

    out = subprocess.run(command + [mode], input="".join(l + "\n" for l in lines),
                         capture_output=True, text=True, check=True).stdout
    return out.split("\n")[:-1]


def oracle_classes(command, texts, rng):
    """The classes from the driver's sort, checked for totality by its compare."""
    groups = [line.split("\t") for line in ask(command, "sort", texts)]
    flat = [(i, t) for i, g in enumerate(groups) for t in g]
    assert sorted(t for _, t in flat) == sorted(texts)
    pairs = [(flat[k], flat[k + 1]) for k in range(len(flat) - 1)]
    pairs += [(rng.choice(flat), rng.choice(flat)) for _ in range(100000)]
    answers = ask(command, "compare", [f"{a}\t{b}" for (_, a), (_, b) in pairs])
    sign = lambda x: (x > 0) - (x < 0)  # noqa: E731
    bad = [(a, b, c) for ((i, a), (j, b)), c in zip(pairs, answers) if int(c) != sign(i - j)]
    assert not bad, f"the oracle's order is not total here: {bad[:5]}"
    return groups
