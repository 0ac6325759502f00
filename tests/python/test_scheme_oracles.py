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
