"""The language ecosystems' schemes on the command line: pypi's filter against
packaging's (tests/data/schemes/pypi/ranges.tsv, mode "f", which keeps
pre-releases when nothing else matches), pypi's normal forms and parts
against packaging's (parse.tsv), and the orders and refusals every command
shares."""

import json
import pathlib

import pytest

DATA = pathlib.Path(__file__).resolve().parent.parent / "data/schemes"


def table(scheme, name):
    return [line.split("\t") for line in (DATA / scheme / name).read_text().split("\n")[:-1]]


def test_pypi_filter_as_packaging(tolva):
    rows = table("pypi", "ranges.tsv")
    versions = "".join(v + "\n" for v in rows[0]).encode()
    cases = [(r, kept) for r, mode, kept in rows[1:] if mode == "f" and "===" not in r]
    wrong = []
    for r, kept in cases:
        got = tolva("filter", "--scheme", "pypi", r, input=versions).stdout.decode().split()
        if got != kept.split():
            wrong.append((r, kept, got))
    assert len(cases) > 150 and wrong == []


# Ranges Maven reads that tolva refuses: none at all, a bare version beside
# ']' or an interval, a bound holding a comma, and the empty version "[]".
MAVEN_REFUSED = {"", "1.0]", ",[1.0,2.0)", "[1.0,2.0,3.0]", "[]", "[],[1.0-sp]",
                 "[],(1.0-sp,2.0-alpha]"}


def test_maven_filter_as_maven(tolva):
    rows = table("maven", "ranges.tsv")
    versions = "".join(v + "\n" for v in rows[0]).encode()
    cases = [(r, kept) for r, _, kept in rows[1:] if r not in MAVEN_REFUSED]
    wrong = [(r, kept) for r, kept in cases
             if tolva("filter", "--scheme", "maven", r, input=versions).stdout.decode().split()
             != kept.split()]
    refused = [r for r, in table("maven", "invalid_ranges.tsv")] + sorted(MAVEN_REFUSED)
    accepted = [r for r in refused
                if tolva("filter", "--scheme", "maven", r, input=b"1\n").returncode != 2]
    assert len(cases) > 100 and wrong == [] and accepted == []


def test_pypi_parts_as_packaging(tolva):
    rows = table("pypi", "parse.tsv")
    out = tolva("parse", "--json", "--scheme", "pypi", *[r[0] for r in rows]).stdout.decode()
    fields = ["normal", "epoch", "release", "pre", "post", "dev", "local"]
    got = [json.loads(line) for line in out.splitlines()]
    want = [dict(zip(fields, [normal, int(epoch), release.split("."), pre or None,
                              int(post) if post else None, int(dev) if dev else None,
                              local or None]))
            for _, normal, epoch, release, pre, post, dev, local in rows]
    assert len(rows) > 500 and [{k: g[k] for k in fields} for g in got] == want


@pytest.mark.parametrize("scheme, lines, out", [
    ("pypi", "1.0+local 1.0.post1 1!0.1 1.0 1.0rc1 1.0b2.post3 1.0a1 2.0 1.0.dev0",
     "1.0.dev0 1.0a1 1.0b2.post3 1.0rc1 1.0 1.0+local 1.0.post1 2.0 1!0.1"),
    ("cargo", "1.0.0+b 1.0.0 1.0.0-rc.1 1.0.0+a 0.9.18446744073709551615",
     "0.9.18446744073709551615 1.0.0-rc.1 1.0.0 1.0.0+a 1.0.0+b"),
    ("gem", "1.0 1.0.a 1-1 0.9.z 1.0.b1", "0.9.z 1.0.a 1.0.b1 1-1 1.0"),
    # A branch below every number, the default branch as 9999999-dev.
    ("composer", "master 2010-01-02 v1.0.1 1.0.1-alpha 1.0-patch1 1.0 1.0-beta1 1.0-dev dev-main",
     "dev-main 1.0-dev 1.0-beta1 1.0 1.0-patch1 1.0.1-alpha v1.0.1 2010-01-02 master"),
    ("maven", "1-sp 1-xyz 1.0 1-ga 1-SNAPSHOT 1-rc1 1-cr2 1-m1 1-beta 1a1 1-0.1 1.0.1 1-1",
     "1a1 1-beta 1-m1 1-rc1 1-cr2 1-SNAPSHOT 1.0 1-ga 1-sp 1-xyz 1-0.1 1-1 1.0.1"),
])
def test_classic_orders(tolva, scheme, lines, out):
    result = tolva("sort", "--scheme", scheme, input="\n".join(lines.split()).encode() + b"\n")
    assert (result.stdout.decode().split(), result.returncode) == (out.split(), 0)


@pytest.mark.parametrize("scheme, spec, out", [
    ("pypi", "~=1.4.5", "1.4.5 1.4.9"),
    ("pypi", "==1.4.*", "1.4 1.4.5 1.4.9"),
    ("pypi", "<1.4", "1.3"),
    ("cargo", "1.4.5", "1.4.5 1.4.9 1.5.0"),
    ("gem", "~> 1.4.5", "1.4.5 1.4.9"),
    ("composer", "^1.4 <1.4.9 || 1.3.*", "1.3 1.4 1.4.5"),
    ("composer", "1.4 - 1.4.5", "1.4 1.4.5"),
    # Only != holds for a branch among the comparisons.
    ("composer", "!=1.4", "1.3 1.4.5 1.4.9 1.5 dev-x"),
    ("composer", "<1.4.5 || >=dev-x", "1.3 1.4"),
    ("maven", "(,1.4],[1.4.9]", "1.3 1.4 1.4.9"),
    ("maven", "(1.4,1.4.9)", "1.4.5"),
    ("maven", "[1.4.5,1.5)", "1.4.5 1.4.9"),
    ("maven", "1.4", "1.3 1.4 1.4.5 1.4.9 1.5"),
])
def test_classic_ranges(tolva, scheme, spec, out):
    lines = b"1.3\n1.4\n1.4.5\n1.4.9\n1.5\n" if scheme != "cargo" else b"1.3.0\n1.4.5\n1.4.9\n1.5.0\n2.0.0\n"
    lines += b"dev-x\n" if scheme == "composer" else b""
    result = tolva("filter", "--scheme", scheme, spec, input=lines)
    assert result.stdout.decode().split() == out.split()


@pytest.mark.parametrize("scheme, text, report", [
    ("pypi", "1.0-", "<stdin>:1:4: found '-' expected '.', a release label, '+' or end of input"),
    ("pypi", "1.0+a..b", "<stdin>:1:7: found '.' expected letter or digit"),
    ("cargo", "18446744073709551616.0.0",
     "<stdin>:1:1: found '1' expected a number up to 18446744073709551615"),
    ("gem", "1..0", "<stdin>:1:3: found '.' expected letter or digit"),
    ("composer", "1.0-pre",
     "<stdin>:1:4: found '-' expected '.', a stability (alpha, beta, RC, patch, stable), 'dev' "
     "or end of input"),
    ("maven", "1.0 final", "<stdin>:1:4: found ' ' expected character other than a blank"),
])
def test_refusals_are_reports(tolva, scheme, text, report):
    result = tolva("check", "--scheme", scheme, "--format=short", input=text.encode() + b"\n")
    assert (result.stderr.decode().strip(), result.returncode) == (report, 1)


# Where Composer reads a text other than as a constraint.
@pytest.mark.parametrize("spec", ["~>1.0", "1.0 -2.0", "1.0- 2.0", "1.0,", ">=1 ||", "^ 1.0",
                                  "1 - 2@dev", "1.2.3.4.*"])
def test_composer_refused_constraints(tolva, spec):
    result = tolva("filter", "--scheme", "composer", spec, input=b"1.0\n")
    assert (result.stdout, result.returncode) == (b"", 2) and b"does not read" in result.stderr


# Composer's normal forms at the bounds of its grammar: a first number of
# five digits (else a date), a date of six pairs and a last group of three
# digits, a numbered branch of four numbers.
@pytest.mark.parametrize("text, normal", [
    ("12345.1", "12345.1.0.0"), ("123456.1", "123456.1"), ("1234567.1", None),
    ("2010.01.01.01.01.01.01.001", "2010.01.01.01.01.01.01.001"),
    ("2010.01.01.01.01.01.01.0001", None), ("2010.01.01.01.01.01.01.01.01", None),
    ("1.2.x.4-dev", "1.2.9999999.4-dev"), ("1.2.3.4.x-dev", None),
    ("1.0-stable-dev", "1.0.0.0"), ("v1.0.-dev", "1.0.0.0-dev"), ("1.0.0-1", None),
])
def test_composer_normal_forms_at_bounds(tolva, text, normal):
    result = tolva("parse", "--json", "--scheme", "composer", text)
    got = json.loads(result.stdout)["normalized"] if result.returncode == 0 else None
    assert got == normal
