"""vers texts and range operations on the command line, against the vers
notation's own cases and the ecosystems' range libraries
(tests/data/ranges/, made by tools/range_oracles.sh)."""

import json
import pathlib

import pytest

DATA = pathlib.Path(__file__).resolve().parents[1] / "data" / "ranges"


def table(name):
    lines = (DATA / name).read_text().splitlines()
    return [line.split("\t") for line in lines if not line.startswith("#")]


CONFORMANCE = table("vers_conformance.tsv")[1:]


@pytest.mark.parametrize("strict", [False, True])
@pytest.mark.parametrize("text,read,strict_read", CONFORMANCE, ids=[c[0] for c in CONFORMANCE])
def test_conformance(tolva, text, read, strict_read, strict):
    expected = strict_read if strict else read
    r = tolva("vers", *(["--strict"] if strict else []), text)
    if expected.startswith("error "):
        assert r.returncode == 2, r.stdout
        assert r.stderr.decode().rstrip().endswith(f"({expected[6:]})")
    else:
        assert (r.returncode, r.stdout.decode()) == (0, expected + "\n"), r.stderr


@pytest.mark.parametrize("text,version,held", table("vers_contains.tsv"))
def test_filter_by_vers(tolva, text, version, held):
    r = tolva("filter", text, input=version.encode() + b"\n")
    assert r.returncode == 0, r.stderr
    assert r.stdout == (version.encode() + b"\n" if held == "1" else b"")


@pytest.mark.parametrize("args,out", [
    (["--scheme", "debian", ">= 1:1.2 << 1:1.3 || = 2.0-1"], "vers:deb/2.0-1|>=1:1.2|<1:1.3"),
    (["--scheme", "semver", "^1.2.3 || 0.5.x"], "vers:npm/>=0.5.0|<0.6.0-0|>=1.2.3|<2.0.0-0"),
    (["--scheme", "semver", "*"], "vers:npm/*"),
    (["--scheme", "semver", ">=0.0.0"], "vers:npm/*"),
    (["--scheme", "natural", ">=1.0 !=1.5"], "vers:natural/>=1.0|!=1.5"),
    (["vers:npm/<1.0.0|<2.0.0|>=3|1.0.0"], None),
])
def test_native_to_vers(tolva, args, out):
    r = tolva("vers", *args)
    assert r.returncode == (0 if out else 2), r.stderr
    if out:
        assert r.stdout.decode() == out + "\n"


def test_json_names_a_bare_version_by_equals(tolva):
    r = tolva("vers", "--json", "vers:lexicographic/a|>=b%3C")
    assert json.loads(r.stdout) == {"scheme": "lexicographic",
                                    "version_constraints": [["=", "a"], [">=", "b<"]]}


@pytest.mark.parametrize("args,status,out", [
    (["intersects", "vers:npm/>=1.0.0|<2.0.0", "vers:npm/>=2.0.0"], 1, ""),
    (["intersects", "vers:npm/>=1.0.0|<=2.0.0", "vers:npm/>=2.0.0"], 0, ""),
    (["disjoint", "vers:npm/>=1.0.0|<2.0.0", "vers:npm/>=2.0.0"], 0, ""),
    (["subset", "--scheme", "debian", ">= 1.2 << 1.3", "vers:deb/>=1.2~|<1.3"], 0, ""),
    (["subset", "--scheme", "debian", ">= 1.2~ << 1.3", "vers:deb/>=1.2|<1.3"], 1, ""),
    (["subset", "--scheme", "natural", "vers:deb/1.0", "vers:deb/*"], 2, ""),
    (["subset", "vers:deb/1.0", "vers:npm/*"], 2, ""),
    (["union", "--scheme", "semver", "^1.0.0", "^2.0.0"], 0, "vers:npm/>=1.0.0|<3.0.0-0\n"),
    (["union", "vers:deb/<1.0", "vers:deb/>1.0"], 0, "vers:deb/!=1.0\n"),
    (["union", "vers:deb/<1.0", "vers:all/*"], 0, "vers:deb/*\n"),
    (["intersection", "vers:deb/<1.0", "vers:deb/>=1.0"], 0, "vers:none/*\n"),
    (["intersection", "--native", "vers:deb/<1.0|>2", "vers:deb/>0.5"], 0,
     ">>0.5 <<1.0 || >>2\n"),
    (["intersection", "--native", "--scheme", "semver", "^1.0.0", ">=1.5.0 || <0.1"], 0,
     ">=1.5.0 <2.0.0-0\n"),
    # npm's ends let in the pre-releases of their own release only: no vers
    # text says ^1.0.0 with 1.5.0-beta added.
    (["union", "--scheme", "semver", "^1.0.0", "1.5.0-beta"], 2, ""),
    (["union", "--native", "--scheme", "semver", "^1.0.0", "1.5.0-beta"], 0,
     ">=1.0.0 <2.0.0-0 || 1.5.0-beta\n"),
    (["union", "--native", "--scheme", "semver", "vers:npm/*", "vers:npm/>=1.0.0"], 0, "*\n"),
])
def test_range(tolva, args, status, out):
    r = tolva("range", *args)
    assert (r.returncode, r.stdout.decode()) == (status, out), r.stderr


def test_relations_agree_with_node_semver(tolva):
    """Exactly what node-semver's satisfies() says over a dense grid; node's
    own intersects() and subset() answer otherwise in a few pairs, each one
    where they disagree with its satisfies()."""
    rows = table("npm_relations.tsv")[1:]
    for a, b, node_meets, node_within, meets, within in rows:
        got = [tolva("range", q, "--scheme", "semver", a, b).returncode
               for q in ("intersects", "subset")]
        assert got == [0 if meets == "1" else 1, 0 if within == "1" else 1], (a, b)
    assert sum(r[2] != r[4] for r in rows) + sum(r[3] != r[5] for r in rows) < 60


def test_simplify_keeps_the_same_versions(tolva, write):
    grid = (DATA / "npm_grid.txt").read_bytes()
    versions = write("grid", grid)
    for text, node in table("npm_simplify.tsv")[1:]:
        r = tolva("range", "simplify", "--native", "--scheme", "semver", text, versions)
        assert r.returncode == 0, r.stderr
        simple = r.stdout.decode().rstrip("\n")
        # node-semver simplifies a range that keeps none of the versions to
        # "", which is npm's "*".
        kept = [tolva("filter", "--scheme", "semver", t, versions).stdout
                for t in (text, node or "<0.0.0-0", simple)]
        assert kept[0] == kept[1] == kept[2], (text, node, simple)
        assert len(simple) <= len(text)


@pytest.mark.parametrize("scheme,name", [
    ("pypi", "pypi_relations.tsv"),
    ("composer", "composer_relations.tsv")])
def test_relations_agree_with_the_ecosystem(tolva, scheme, name):
    if tolva("vers", "--scheme", scheme, "*").returncode == 2 and b"not one of" in tolva(
            "vers", "--scheme", scheme, "*").stderr:
        pytest.skip(f"no {scheme} scheme in this build")
    for a, b, meets, within in table(name)[1:]:
        got = [tolva("range", q, "--scheme", scheme, a, b).returncode
               for q in ("intersects", "subset")]
        # Composer's Intervals call a range that holds no version ("<0.0")
        # a subset of no other; it is a subset of every range.
        if tolva("range", "intersects", "--scheme", scheme, a, a).returncode == 1:
            within = "1"
        assert got == [0 if meets == "1" else 1, 0 if within == "1" else 1], (a, b)


# Native ranges as vers: an operand without a release stands for every
# release of it in rpm and alpm, and one with a release lets that version
# without a release in; an end above every release of a version, or at the
# start of apk's "~" or past gem's "~>", or past cargo's build metadata, has
# no version to name.
@pytest.mark.parametrize("scheme,text,printed", [
    ("rpm", ">= 1.0-1", "vers:rpm/1.0|>=1.0-1"),
    ("rpm", "< 1.0-1", "vers:rpm/!=1.0|<1.0-1"),
    ("rpm", "< 1.0", "vers:rpm/<1.0"),
    ("rpm", "<= 1.0", "(unnamed)"),
    ("alpm", ">=1:1.0", "vers:alpm/>=1:1.0"),
    ("apk", ">=1.2 <2", "vers:apk/>=1.2|<2"),
    ("apk", "~1.2", "(unnamed)"),
    ("gem", ">= 1.2, != 1.5", "vers:gem/>=1.2|!=1.5"),
    ("gem", "~> 1.2", "(unnamed)"),
    ("pypi", "~=1.4,!=1.4.2", "vers:pypi/>=1.4|<1.4.2|>=1.4.2.post0.dev0|<2.dev0"),
    ("pypi", "==1.4.*", "vers:pypi/>=1.4.dev0|<1.5.dev0"),
    ("pypi", "<=1.4.post1", "(unnamed)"),
    ("cargo", "^1.2", "vers:cargo/>=1.2.0|<2.0.0-0"),
    ("cargo", ">=1.0.0-alpha, <2", "vers:cargo/>=1.0.0-alpha|<2.0.0-0"),
    ("cargo", "<=1.5.0", "(unnamed)"),
])
def test_native_ranges_as_vers(tolva, scheme, text, printed):
    r = tolva("vers", "--scheme", scheme, text)
    if printed.startswith("vers:"):
        assert (r.returncode, r.stdout.decode()) == (0, printed + "\n"), r.stderr
    else:
        assert r.returncode == 2 and r.stdout == b"" and printed.encode() in r.stderr


# Set operations hold for ranges whose ends name no version.
@pytest.mark.parametrize("scheme,question,a,b,answer", [
    ("rpm", "intersects", "<= 1.0", ">= 1.0-5", 0),
    ("rpm", "intersects", "< 1.0", "> 1.0", 1),
    ("rpm", "subset", "= 1.0-1", ">= 1.0", 0),
    ("rpm", "subset", ">= 1.0", "= 1.0-1", 1),
    ("apk", "intersects", "~1.2", ">=1.2.9", 0),
    ("apk", "intersects", "~1.2", ">=1.3", 1),
    ("gem", "subset", "~> 1.2", ">= 1.2, < 2", 0),
    ("gem", "subset", ">= 1.2, < 2", "~> 1.2", 1),
    # cargo's pre-releases only where a comparator names one of their release
    ("cargo", "intersects", ">1.0.0, <1.0.1", "*", 1),
    ("cargo", "intersects", ">=1.0.0-alpha, <2", "=1.0.0-beta", 0),
    ("cargo", "intersects", ">=1.0.0, <2", "=1.0.0-beta", 1),
    ("cargo", "subset", "<=1.2.3", "<1.2.4", 0),
    ("cargo", "subset", "<=1.2.4", "<1.2.4", 1),
])
def test_native_set_operations(tolva, scheme, question, a, b, answer):
    assert tolva("range", question, "--scheme", scheme, a, b).returncode == answer
