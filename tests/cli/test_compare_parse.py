"""tolva compare and tolva parse."""

import json

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
    assert [json.loads(line) for line in result.stdout.decode().splitlines()] == [
        {"kind": "semver", "major": 1, "minor": 2, "patch": 3, "rc": [], "meta": None},
        {"kind": "semver", "major": 4294967295, "minor": 0, "patch": 0, "rc": None, "meta": ["a", "b"]},
        {"kind": "dot-separated", "parts": []},
        {"kind": "other", "value": "ünï_cödé"},
    ]


def test_parse_reports_rejected_texts_and_goes_on(tolva):
    result = tolva("parse", "--json", "1.0", "a b", "2.0")
    assert result.returncode == 1
    assert len(result.stdout.splitlines()) == 2
    assert b"tolva::package::version::Version:1:2 ]" in result.stderr
