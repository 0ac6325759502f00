"""The language ecosystems' schemes against their own tools' answers, kept in
tests/data/schemes/SCHEME/ by tools/oracles/SCHEME.py: every version against
its neighbours in the tool's order, its own class and random others, by
compare() and by the keys; the texts the tool refuses; each range over the
table's versions."""

import random
from pathlib import Path

import pytest

from test_scheme_orders import probe, pytestmark  # noqa: F401

DATA = Path(__file__).resolve().parent.parent / "data/schemes"
SCHEMES = ["pypi", "cargo", "gem"]


def rows(scheme, name):
    path = DATA / scheme / name
    return [line.split("\t") for line in path.read_text().split("\n")[:-1]] if path.exists() else []


def mark(c):
    return "<" if c < 0 else ">" if c > 0 else "="


@pytest.mark.parametrize("scheme", SCHEMES)
def test_order_as_the_tool(scheme):
    flat = [(i, t) for i, members in enumerate(rows(scheme, "order.tsv")) for t in members]
    rng = random.Random(34)
    pairs = list(zip(flat, flat[1:])) + [(a, rng.choice(flat)) for a in flat]
    answers = probe([("compare", scheme, a, b) for (_, a), (_, b) in pairs])
    wrong = [(a, b, got) for ((i, a), (j, b)), got in zip(pairs, answers)
             if got != " ".join(2 * mark(i - j))]
    assert len(flat) > 1000 and wrong == []


@pytest.mark.parametrize("scheme", SCHEMES)
def test_refusals_as_the_tool(scheme):
    texts = [r[0] for r in rows(scheme, "invalid.tsv")]
    answers = probe([("compare", scheme, t, "1.0.0") for t in texts])
    assert len(texts) > 60 and [t for t, got in zip(texts, answers) if got != "!"] == []


@pytest.mark.parametrize("scheme", SCHEMES)
def test_ranges_as_the_tool(scheme):
    table = rows(scheme, "ranges.tsv")
    versions = table[0]
    # "f" (pypi's filter, which keeps pre-releases when nothing else matches)
    # belongs to the tool's filter command; every other mode is per version.
    cases = [(r, mode, kept) for r, mode, kept in table[1:] if mode != "f" and "===" not in r]
    answers = probe([("range", scheme, "0" if mode == "m" else "1", r, *versions)
                     for r, mode, _ in cases])
    wrong = [(r, mode, want, got) for (r, mode, want), got in zip(cases, answers) if got != want]
    refused = [r[0] for r in rows(scheme, "invalid_ranges.tsv")] + [r for r, *_ in table if "===" in r]
    accepted = [r for r, got in zip(refused, probe([("range", scheme, "0", r) for r in refused]))
                if got != "!"]
    assert len(cases) > 200 and wrong == [] and accepted == []


def maven_items(text):
    """Maven's ComparableVersion reading, as its documentation describes it:
    numbers, qualifiers (ranked by their place in QUALIFIERS, others after,
    by name) and sublists, each list without the nulls it ends with."""
    known = ["alpha", "beta", "milestone", "rc", "snapshot", "", "sp"]
    aliases = {"ga": "", "final": "", "release": "", "cr": "rc", "a1": "alpha",
               "b1": "beta", "m1": "milestone"}

    def item(run, digits, before_digit=False):
        if digits:
            return int(run)
        run = aliases.get(run + "1" if before_digit and len(run) == 1 else run, run)
        return (known.index(run), "") if run in known else (len(known), run)

    lists = [[]]
    digits, start, text = False, 0, text.lower()
    for i, c in enumerate(text + "."):
        if c in ".-" or i == len(text):
            if i > start or (c in ".-" and i < len(text)):
                if i == len(text) and not digits and lists[-1]:
                    lists.append([])
                lists[-1].append(item(text[start:i], digits) if i > start else 0)
            if c == "-" and i < len(text):
                lists.append([])
            start = i + 1
        elif c.isdigit() != digits and i > start:
            if not digits and lists[-1]:
                lists.append([])
            lists[-1].append(item(text[start:i], digits, True))
            lists.append([])
            start = i
        if c not in ".-":
            digits = c.isdigit()
    tree = []
    for items in reversed(lists):
        items = items + ([tree] if tree else [])
        while items and items[-1] in (0, (5, ""), []) or (len(items) > 1 and items[-2] in (0, (5, ""))
                                                           and isinstance(items[-1], list)):
            del items[-1 if items[-1] in (0, (5, ""), []) else -2]
        tree = items
    return tree


def maven_compare(a, b):
    """Maven's comparison of two items (None: absent), which is not transitive."""
    kind = lambda x: 0 if isinstance(x, tuple) else 1 if isinstance(x, list) else 2  # noqa: E731
    if b is None and a is None:
        return 0
    if a is None:
        return -maven_compare(b, None)
    if b is None:
        if isinstance(a, list):
            return next((c for c in (maven_compare(x, None) for x in a) if c), 0)
        return (a > 0) - (a < 0) if kind(a) == 2 else (a > (5, "")) - (a < (5, ""))
    if kind(a) != kind(b):
        return -1 if kind(a) < kind(b) else 1
    if kind(a) != 1:
        return (a > b) - (a < b)
    for x, y in zip(a + [None] * len(b), b + [None] * len(a)):
        if c := maven_compare(x, y):
            return c
    return 0


def test_maven_order_as_the_tool():
    # Maven's order is cyclic where an item compares with a missing one by
    # its sign but with another item by kind (1.sp.1 < 1-alpha < 1 < 1.sp.1);
    # tolva's order may differ only on a pair that some prefix of either text
    # proves cyclic by Maven's own comparison.
    order = lambda a, b: maven_compare(maven_items(a), maven_items(b))  # noqa: E731
    flat = [(i, t) for i, members in enumerate(rows("maven", "order.tsv")) for t in members]
    rng = random.Random(34)
    pairs = [(a, b, (i > j) - (i < j)) for (i, a), (j, b) in
             list(zip(flat, flat[1:])) + [(x, rng.choice(flat)) for x in flat for _ in range(5)]]
    pairs += [(a, b, int(c)) for a, b, c in rows("maven", "pairs.tsv")]
    answers = probe([("compare", "maven", a, b) for a, b, _ in pairs])
    assert [p for p in pairs if order(p[0], p[1]) != p[2]] == []
    cyclic = lambda a, b, c: any(order(b, w) == c and order(w, a) == c  # noqa: E731
                                 for w in {t[:n] for t in (a, b) for n in range(1, len(t))})
    wrong = [(a, b, c, got) for (a, b, c), got in zip(pairs, answers)
             if got != " ".join(2 * mark(c)) and not (c and cyclic(a, b, c))]
    assert len(pairs) > 8000 and wrong == []

