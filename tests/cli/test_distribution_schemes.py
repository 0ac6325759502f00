"""The rpm, apk and alpm schemes on every command (their orders against the
oracles in full are tests/cpp/scheme/oracle_tables_test.cpp): what a user of
each distribution's versions meets first."""

import pytest

LISTS = {
    "rpm": "1.0-1 1:0.9-1 1.0~rc1-1 1.0^git1-1 1.0-2 1.0 1.0a-1 1.0.1-1",
    "apk": "1.0-r1 1.0_rc1 1.0 1.0_p1 1.0a 1.0.1 1.00 1.01 1.0.0_alpha 2.0_beta2",
    "alpm": "1.0-1 1:0.9-1 1.0a 1.0 1.0.a 1.0.1 1.0~rc1 1.0-2",
}


def lines(scheme):
    return "".join(v + "\n" for v in LISTS[scheme].split()).encode()


@pytest.mark.parametrize("scheme, args, out, status", [
    ("rpm", ["sort"], "1.0~rc1-1 1.0 1.0-1 1.0-2 1.0^git1-1 1.0a-1 1.0.1-1 1:0.9-1", 0),
    ("apk", ["sort", "-r"],
     "2.0_beta2 1.01 1.0.1 1.0.0_alpha 1.0a 1.0_p1 1.0-r1 1.0 1.0_rc1 1.00", 0),
    ("alpm", ["sort"], "1.0a 1.0 1.0-1 1.0-2 1.0.a 1.0~rc1 1.0.1 1:0.9-1", 0),
    ("rpm", ["newest", "-n", "2"], "1:0.9-1 1.0.1-1", 0),
    ("apk", ["oldest"], "1.00", 0),
    # a bound without a release holds for every release; a version without
    # one meets a bound with one by epoch and version
    ("rpm", ["filter", "=1.0"], "1.0-1 1.0-2 1.0", 0),
    ("rpm", ["filter", ">=1.0-2 <1.0^, !=1.0-1"], "1.0-2", 0),
    ("alpm", ["filter", "<1.0-2 >=1.0"], "1.0-1", 0),
    # apk's tokens: a dotted number's zeros are one of their own
    ("apk", ["filter", "~1.0"], "1.0-r1 1.0_rc1 1.0 1.0_p1 1.0a 1.0.1 1.01 1.0.0_alpha", 0),
    ("apk", ["filter", "~1.0_rc || >2"], "1.0_rc1 2.0_beta2", 0),
    ("alpm", ["filter", "!=1.0"], "", 2),
    ("rpm", ["filter", "~1.0"], "", 2),
    ("apk", ["check", "--count"], "10 accepted, 0 rejected", 0),
])
def test_commands(tolva, scheme, args, out, status):
    result = tolva(args[0], "--scheme", scheme, *args[1:], input=lines(scheme))
    assert (result.stdout.decode().split(), result.returncode) == (out.split(), status)


@pytest.mark.parametrize("scheme, a, op, b, status", [
    ("rpm", "1.0", "<", "1.0-1", 0),
    ("rpm", "1:1.0", "gt", "2.0", 0),
    ("rpm", "1.0~rc1", "lt", "1.0", 0),
    ("rpm", "1.00", "eq", "1.0", 0),
    ("apk", "1.0_rc1", "lt", "1.0", 0),
    ("apk", "1.00", "lt", "1.0", 0),
    ("apk", "1.0-r1", "gt", "1.0", 0),
    ("alpm", "1.0a", "lt", "1.0", 0),
    ("alpm", "1.0", "lt", "1.0~rc1", 0),
    ("alpm", "1.0..1", "gt", "1.0.1", 0),
    ("alpm", "1.0", "lt", "1.0-1", 0),
    ("alpm", "1.0.", "lt", "1.0", 2),
    ("apk", "v1.0", "lt", "1.0", 2),
    ("rpm", "1.0-1-1", "lt", "1.0", 2),
])
def test_compare(tolva, scheme, a, op, b, status):
    assert tolva("compare", "--scheme", scheme, a, op, b).returncode == status


@pytest.mark.parametrize("scheme, text, fields", [
    ("rpm", "01:2.3~rc1-4.el9", '"epoch":1,"version":"2.3~rc1","release":"4.el9"'),
    ("apk", "1.2.03a_rc1_p-r02",
     '"numbers":["1","2","03"],"letter":"a","suffixes":["rc1","p"],"revision":2'),
    ("apk", "1.2", '"numbers":["1","2"],"letter":null,"suffixes":null,"revision":null'),
    ("alpm", ":1.0.a", '"epoch":0,"version":"1.0.a","release":null'),
])
def test_parse_fields(tolva, scheme, text, fields):
    out = tolva("parse", "--scheme", scheme, "--json", text).stdout.decode().strip()
    assert out == f'{{"input":"{text}","scheme":"{scheme}",{fields}}}'
