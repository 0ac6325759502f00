"""The ecosystems' schemes on the command line against their own tools'
answers, committed under tests/data/schemes/ by tools/oracles/: check,
filter and parse --json (the order of every pair is tests/cpp/scheme's)."""

import json
import pathlib
import random

import pytest

TABLES = pathlib.Path(__file__).resolve().parents[1] / "data" / "schemes"
SCHEMES = ["golang", "nuget"]


def rows(scheme, name):
    path = TABLES / scheme / name
    return [line.split("\t") for line in path.read_text().splitlines()] if path.exists() else []


@pytest.mark.parametrize("scheme", SCHEMES)
def test_check_reports_each_refusal(tolva, scheme):
    refused = [text for text, in rows(scheme, "invalid.tsv")]
    result = tolva("check", "--scheme", scheme, "--format=short",
                   input="".join(t + "\n" for t in refused).encode())
    reports = result.stderr.decode().splitlines()
    assert result.returncode == 1 and len(reports) == len(refused)
    assert all(line.startswith(f"<stdin>:{n}:") for n, line in enumerate(reports, 1))


@pytest.mark.parametrize("scheme", SCHEMES)
def test_filter_keeps_what_the_oracle_holds(tolva, scheme):
    by_range = {}
    for text, version, inside in rows(scheme, "ranges.tsv"):
        by_range.setdefault(text, []).append((version, inside == "1"))
    for text in random.Random(4).sample(sorted(by_range), 60):
        cases = by_range[text]
        result = tolva("filter", "--scheme", scheme, text,
                       input="".join(v + "\n" for v, _ in cases).encode())
        assert result.stdout.decode().splitlines() == [v for v, inside in cases if inside], text


def test_nuget_parse_gives_the_normal_form(tolva):
    cases = rows("nuget", "normalized.tsv")[::7]
    result = tolva("parse", "--scheme", "nuget", "--json", *[text for text, _ in cases])
    got = [json.loads(line)["normalized"] for line in result.stdout.decode().splitlines()]
    assert got == [normal for _, normal in cases]
