"""Writes a scheme's tables from its oracle's answers; shared by the scripts
beside it. The tables live in tests/data/schemes/SCHEME/ and are read by the
tests, so that no oracle need be installed to run them.

order.tsv    one line per class of equal versions, the classes in ascending
             order, the versions of a class joined by tabs
pairs.tsv    "A<TAB>B<TAB>ANSWER" for every pair the oracle answers otherwise
             than the classes' order would (ANSWER is <, = or >)
invalid.tsv  one refused text a line, escaped (see escape)
ranges.tsv   the first line lists the versions tried; every other line is a
             range, a tab, and the versions it contains, joined by blanks

Lines starting with "#" are comments. Every text is escaped: backslash,
tab, newline and the other control characters are written as \\\\, \\t,
\\n and \\xHH; anything else, non-ASCII included, is written as it is.
"""
import functools
import random
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent.parent
DATA = ROOT / "tests/data/schemes"


def escape(text):
    out = []
    for ch in text:
        if ch == "\\":
            out.append("\\\\")
        elif ch == "\t":
            out.append("\\t")
        elif ch == "\n":
            out.append("\\n")
        elif ord(ch) < 0x20 or ord(ch) == 0x7F:
            out.append(f"\\x{ord(ch):02x}")
        else:
            out.append(ch)
    return "".join(out)


def rng(scheme):
    return random.Random(f"tolva-{scheme}-oracle")


def sign(n):
    return (n > 0) - (n < 0)


def write(scheme, name, header, lines):
    folder = DATA / scheme
    folder.mkdir(parents=True, exist_ok=True)
    text = "".join(f"# {h}\n" for h in header) + "".join(line + "\n" for line in lines)
    (folder / name).write_text(text, encoding="utf-8")
    print(f"{scheme}/{name}: {len(lines)} lines, {len(text.encode())} bytes")


def write_order(scheme, header, versions, matrix, tie=lambda a, b: 0):
    """Sorts versions by the oracle's answers (matrix[i][j] is the sign of
    compare(versions[i], versions[j])), breaking the oracle's ties by `tie`,
    then checks every pair against the classes' order. Pairs the order does
    not predict go to pairs.tsv; an oracle whose comparison is a total order
    leaves that table empty."""
    index = {v: i for i, v in enumerate(versions)}

    def compare(a, b):
        return matrix[index[a]][index[b]] or tie(a, b)

    ordered = sorted(versions, key=functools.cmp_to_key(compare))
    classes, rank = [], {}
    for v in ordered:
        if not classes or compare(classes[-1][0], v) != 0:
            classes.append([])
        classes[-1].append(v)
        rank[v] = len(classes) - 1
    symbol = {-1: "<", 0: "=", 1: ">"}
    pairs = []
    for i, a in enumerate(ordered):
        for b in ordered[i + 1:]:
            want = matrix[index[a]][index[b]]
            if want != sign(rank[a] - rank[b]):
                pairs.append(f"{escape(a)}\t{escape(b)}\t{symbol[want]}")
    write(scheme, "order.tsv", header, ["\t".join(escape(v) for v in c) for c in classes])
    write(scheme, "pairs.tsv", header, pairs)
    return classes, pairs


def write_invalid(scheme, header, texts):
    write(scheme, "invalid.tsv", header, [escape(t) for t in texts])


def write_ranges(scheme, header, versions, ranges, contains):
    """contains(range, version) is the oracle's answer."""
    lines = ["\t".join(escape(v) for v in versions)]
    for r in ranges:
        lines.append(r + "\t" + " ".join(escape(v) for v in versions if contains(r, v)))
    write(scheme, "ranges.tsv", header, lines)


# Numbers where comparisons go wrong: leading zeros, and past 64 bits.
NUMBERS = ["0", "1", "2", "9", "10", "01", "007", "00", "18446744073709551615",
           "18446744073709551616", "100000000000000000000000"]


def segment(r, words):
    """A part of a version: mostly a small number, sometimes a long one, a
    word, or a number and a word."""
    kind = r.random()
    if kind < 0.6:
        return r.choice(NUMBERS[:8])
    if kind < 0.65:
        return r.choice(NUMBERS[8:])
    if kind < 0.85:
        return r.choice(words)
    return r.choice(NUMBERS[:5]) + r.choice(words)


def alternatives(r, comparator, count=260):
    """`count` ranges of one or two alternatives joined by " || ", each one
    to three of comparator()'s comparators joined by blanks."""
    out = []
    for _ in range(count):
        alts = [" ".join(comparator() for _ in range(r.choice([1, 1, 2, 2, 3])))
                for _ in range(r.choice([1, 1, 1, 2]))]
        out.append(" || ".join(alts))
    return out


def write_epoch_ranges(scheme, header, good, cores, ranges, contains):
    """Writes ranges.tsv over a pool of versions: each of `cores` with and
    without the epoch 1: and with no release, -1 and -2, then 30 of the good
    versions; ranges(pool) gives the ranges."""
    r = rng(scheme + "-pool")
    pool = dedupe([e + c + rel for c in cores for e in ("", "1:") for rel in ("", "-1", "-2")]
                  + r.sample(good, 30))
    write_ranges(scheme, header, pool, ranges(pool), contains)


def dedupe(items):
    return list(dict.fromkeys(items))
