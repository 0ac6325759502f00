"""tolva compare and tolva parse."""

import json
import re

import pytest


@pytest.mark.parametrize("args, out", [
    (["1.2.3", "1.10.0"], "<"),
    (["1.0.0+build.1", "1.0.0+build.2"], "="),
    (["1.0.0", "1.0.0-rc.1"], ">"),
    (["99.0.0", "0"], "<"),                                   # kind first
    (["--kind", "dot-separated", "1.2.3", "1.10"], ">"),
    (["--", "-.-", "-"], ">"),
])
def test_compare(tolva, args, out):
    result = tolva("compare", *args)
    assert (result.returncode, result.stdout, result.stderr) == (0, f"{out}\n".encode(), b"")


@pytest.mark.parametrize("args, reports", [
    (["1.2.3!", "1.0"], 1),
    (["--kind", "semver", "1.0", "1.0.x"], 2),
])
def test_compare_rejected(tolva, args, reports):
    result = tolva("compare", *args)
    assert result.returncode == 1 and result.stdout == b""
    assert result.stderr.count(b"Error: \n") == reports


@pytest.mark.parametrize("args, out", [
    (["v1.2.3-rc.1+b"],
     'Version::SemVer { major: 1, minor: 2, patch: 3, rc: Some(["rc", "1"]), meta: Some(["b"]) }'),
    (["--kind", "semver", "1.2.3"],
     "SemVer { major: 1, minor: 2, patch: 3, rc: None, meta: None }"),
    (["1.2", "x_y"],
     'Version::DotSeparated { parts: ["1", "2"] }\nVersion::Other { value: "x_y" }'),
])
def test_parse_debug_form(tolva, args, out):
    result = tolva("parse", *args)
    assert (result.returncode, result.stdout.decode(), result.stderr) == (0, out + "\n", b"")


def test_parse_json(tolva):
    result = tolva("parse", "--json", "1.2.3-", "4294967295.0.0+a.b", "", "ünï_cödé")
    assert result.returncode == 0
    rows = [json.loads(line) for line in result.stdout.decode().splitlines()]
    assert [next(iter(row)) for row in rows] == ["input"] * 4
    assert rows == [
        {"input": "1.2.3-", "kind": "semver", "major": 1, "minor": 2, "patch": 3, "rc": [],
         "meta": None},
        {"input": "4294967295.0.0+a.b", "kind": "semver", "major": 4294967295, "minor": 0,
         "patch": 0, "rc": None, "meta": ["a", "b"]},
        {"input": "", "kind": "dot-separated", "parts": []},
        {"input": "ünï_cödé", "kind": "other", "value": "ünï_cödé"},
    ]


def test_parse_reports_rejected_texts_and_goes_on(tolva):
    result = tolva("parse", "1.0", "a b", "2.0", "c d")
    assert result.returncode == 1
    assert len(result.stdout.splitlines()) == 2
    assert re.findall(rb"\[ (.*) \]", result.stderr) == [b"argument 2:1:2", b"argument 4:1:2"]


def test_parse_json_of_rejected_texts(tolva):
    result = tolva("parse", "--json", "--kind=semver", "1.0", b"\x01\xff", "1.0.0", "1.0.99999999999")
    assert (result.returncode, result.stderr) == (1, b"")
    rows = [json.loads(line) for line in result.stdout.decode().splitlines()]
    assert [(row["input"], row.get("error")) for row in rows] == [
        ("1.0", {"column": 4, "found": "end of input", "expected": ["digit", "'.'"]}),
        ("\x01\ufffd", {"column": 1, "found": "'␁'", "expected": ["'v'", "integer"]}),
        ("1.0.0", None),
        ("1.0.99999999999", {"column": 5, "found": "99999999999 (above 4294967295)",
                             "expected": ["integer"]}),
    ]


@pytest.mark.parametrize("a, op, b, holds", [
    ("1.0", "lt", "1.0.0", False),      # kind first: a SemVer is less
    ("1.0.0", "lt", "1.0", True),
    ("1.0.0", "le", "1.0.0+b", True),
    ("1.0.1", "<=", "1.0.0", False),
    ("1.0.0+a", "eq", "1.0.0+b", True),
    ("1.0.0", "==", "1.0.1", False),
    ("1.0", "ne", "1.1", True),
    ("1.0", "!=", "1.0", False),
    ("1.0.0", "GT", "1.0.0-rc.1", True),
    ("1.0.0", ">", "1.0.0", False),
    ("1.0.0", "ge", "1.0.0", True),
    ("1.0.0-rc.1", ">=", "1.0.0", False),
    ("1.10", "gt", "1.9", False),
    ("1.10 --numeric-parts", "gt", "1.9", True),  # options may follow an operand
])
def test_compare_by_exit_status(tolva, a, op, b, holds):
    result = tolva("compare", *a.split(), op, b)
    assert (result.returncode, result.stdout, result.stderr) == (0 if holds else 1, b"", b"")


@pytest.mark.parametrize("args, status, err", [
    (["1.0", "lq", "2.0"], 2, "tolva: 'lq' is not a comparison; OP is one of lt, le, eq, ne, gt, "
                              "ge, <, <=, ==, !=, >, >=, <<, >>\nusage: tolva compare"),
    (["1.0", "=", "x y"], 2, "tolva: '=' is not a comparison"),
    (["1.2.3", "lt"], 2, "tolva: 'lt' is a comparison and a version is missing; compare takes "
                         "A OP B\nusage: tolva compare"),
    ([">=", "1.0"], 2, "tolva: '>=' is a comparison and a version is missing"),
    (["Ne", "1.0"], 2, "tolva: 'Ne' is a comparison and a version is missing"),
    (["1.0", "lt", "x y"], 2, "Error: \n   ╭─[ argument 2:1:2 ]"),
    (["x y", "1.0"], 1, "Error: \n   ╭─[ argument 1:1:2 ]"),
])
def test_compare_refused(tolva, args, status, err):
    result = tolva("compare", *args)
    assert (result.returncode, result.stdout) == (status, b"")
    assert result.stderr.decode().startswith(err)
