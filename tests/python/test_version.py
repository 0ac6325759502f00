import itertools
import operator
import re

import pytest

import tolva

V = tolva.package.version
Version, SemVer, DotSeparated, Other = V.Version, V.SemVer, V.DotSeparated, V.Other

SEMVER_123 = "Version::SemVer { major: 1, minor: 2, patch: 3, rc: None, meta: None }"


class Text(str):
    pass


class Named(type):
    """A metaclass whose classes cannot tell their name."""

    @property
    def __name__(cls):
        raise LookupError("no name here")


class Nameless(metaclass=Named):
    pass


@pytest.fixture(params=["call", "__new__"])
def construct(request):
    """Both ways into the constructor: a plain call and an explicit __new__."""
    if request.param == "call":
        return Version
    return lambda *args, **kwargs: Version.__new__(Version, *args, **kwargs)


@pytest.mark.parametrize("text, text_form, debug_form", [
    ("1.2.3", "1.2.3", SEMVER_123),
    ("v1.2.3", "1.2.3", SEMVER_123),
    (Text("1.2.3"), "1.2.3", SEMVER_123),
    ("1.2.3-rc.1+b.5", "1.2.3-rc.1+b.5",
     'Version::SemVer { major: 1, minor: 2, patch: 3, rc: Some(["rc", "1"]), meta: Some(["b", "5"]) }'),
    ("1.2", "1.2", 'Version::DotSeparated { parts: ["1", "2"] }'),
    ("nightly", "nightly", 'Version::DotSeparated { parts: ["nightly"] }'),
    ("", "", "Version::DotSeparated { parts: [] }"),
    ("foo_bar", "foo_bar", 'Version::Other { value: "foo_bar" }'),
])
def test_text_decides_the_kind(construct, text, text_form, debug_form):
    v = construct(text)
    assert type(v) is Version
    assert str(v) == text_form
    assert repr(v) == debug_form


@pytest.mark.parametrize("args, kwargs, exc, message", [
    ((), {}, ValueError, "Version() requires arguments"),
    (("1", "2"), {}, ValueError, "Version() requires arguments"),
    (("1.0",), {"strict": True}, TypeError,
     "Version.__new__() got an unexpected keyword argument 'strict'"),
    # Keywords are refused before the positional arguments are counted.
    ((), {"x": 1}, TypeError, "Version.__new__() got an unexpected keyword argument 'x'"),
    (("1", "2"), {"b": 1, "a": 2}, TypeError,
     "Version.__new__() got an unexpected keyword argument 'b'"),
    ((5,), {}, TypeError, "Cannot construct Version from type 'int'"),
    ((None,), {}, TypeError, "Cannot construct Version from type 'NoneType'"),
    ((["1", "2"],), {}, TypeError, "Cannot construct Version from type 'list'"),
    ((b"1.2.3",), {}, TypeError, "Cannot construct Version from type 'bytes'"),
    ((Nameless(),), {}, LookupError, "no name here"),
    (("\ud800",), {}, UnicodeEncodeError, None),
    (("1.2.3 ",), {}, RuntimeError, None),
])
def test_refusals(construct, args, kwargs, exc, message):
    with pytest.raises(exc) as caught:
        construct(*args, **kwargs)
    assert type(caught.value) is exc
    if message is not None:
        assert caught.value.args == (message,)


def test_empty_keyword_dict_is_no_keywords(construct):
    assert construct("1.2", **{}) == Version("1.2")


def test_rejected_text_raises_the_report(run_python):
    ran = run_python("""
        import sys
        from tolva import package
        try:
            package.version.Version(" 1.2.3")
        except RuntimeError as error:
            assert len(error.args) == 1
            sys.stdout.write(error.args[0])
    """)
    assert ran.returncode == 0, ran.stderr
    assert ran.stdout == (
        "Error: \n"
        "   ╭─[ tolva::package::version::Version:1:1 ]\n"
        "   │\n"
        " 1 │  1.2.3\n"
        "   │ ┬  \n"
        "   │ ╰── found ' ' expected 'v', integer, dot-separated list, end of input, or identifier\n"
        "───╯\n")


def set_patch(s):
    s.patch = 9


def set_parts(d):
    d.parts = ["9"]


def set_rc(s):
    s.rc = ["x"]


def unchanged(_):
    pass


@pytest.mark.parametrize("make_source, change_source, text_form, debug_prefix", [
    (lambda: SemVer("1.2.3"), set_patch, "1.2.3", "Version::SemVer {"),
    (lambda: SemVer("1.2.3-rc.1"), set_rc, "1.2.3-rc.1", "Version::SemVer {"),
    (lambda: DotSeparated("1.2.3"), set_parts, "1.2.3", "Version::DotSeparated {"),
    (lambda: Other("foo_bar"), unchanged, "foo_bar", "Version::Other {"),
    (lambda: Version("1.2"), unchanged, "1.2", "Version::DotSeparated {"),
])
def test_objects_are_deep_copied(construct, make_source, change_source, text_form, debug_prefix):
    source = make_source()
    v = construct(source)
    assert v is not source and type(v) is Version
    change_source(source)
    assert str(v) == text_form
    assert repr(v).startswith(debug_prefix)


def test_copy_of_a_semver_equals_the_parsed_text():
    assert Version(SemVer("1.2.3")) == Version("1.2.3")
    original = Version("1.2")
    copy = Version(original)
    assert copy == original and copy is not original


# Sorted groups: versions in one group are equal, earlier groups are less.
ORDERED = [
    [lambda: Version(SemVer(major=1, minor=0, patch=0, rc=[]))],
    [lambda: Version("1.0.0-alpha.10")],
    [lambda: Version("1.0.0-alpha.9")],
    [lambda: Version("1.0.0"), lambda: Version("1.0.0+a"), lambda: Version("1.0.0+b")],
    [lambda: Version("1.2.3")],
    [lambda: Version("99.0.0")],
    [lambda: Version("")],
    [lambda: Version("0")],
    [lambda: Version("1.2")],
    [lambda: Version(DotSeparated("1.2.3"))],
    [lambda: Version("zzz")],
    [lambda: Version("a_b")],
    [lambda: Version(Other("b"))],
]
OPERATORS = {
    operator.lt: lambda c: c < 0, operator.le: lambda c: c <= 0,
    operator.eq: lambda c: c == 0, operator.ne: lambda c: c != 0,
    operator.gt: lambda c: c > 0, operator.ge: lambda c: c >= 0,
}


def test_every_pair_of_a_sorted_sequence():
    ranked = [(rank, make()) for rank, group in enumerate(ORDERED) for make in group]
    for (rank_a, a), (rank_b, b) in itertools.product(ranked, repeat=2):
        for op, expected in OPERATORS.items():
            assert op(a, b) is expected(rank_a - rank_b), (repr(a), op.__name__, repr(b))


@pytest.mark.parametrize("other", [
    SemVer("1.2.3"), DotSeparated("1.2.3"), Other("foo_bar"), "1.2.3", 1, None,
])
def test_only_versions_compare(other):
    v = Version("1.2.3")
    assert (v == other) is False
    assert (v != other) is True
    for op in (operator.lt, operator.le, operator.gt, operator.ge):
        with pytest.raises(TypeError, match=re.escape("not supported between")):
            op(v, other)
    assert v.__eq__(other) is NotImplemented
    assert v.__lt__(other) is NotImplemented
