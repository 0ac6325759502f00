import operator
import sys

import pytest

import tolva

V = tolva.package.version
Version, SemVer, DotSeparated, Other = V.Version, V.SemVer, V.DotSeparated, V.Other
SEMVER_123 = "Version::SemVer { major: 1, minor: 2, patch: 3, rc: None, meta: None }"


class Text(str):
    pass


class Named(type):
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


@pytest.mark.parametrize("given, text_form, debug_form", [
    ("v1.2.3", "1.2.3", SEMVER_123),
    (Text("1.2.3"), "1.2.3", SEMVER_123),
    ("1.2", "1.2", 'Version::DotSeparated { parts: ["1", "2"] }'),
    ("", "", "Version::DotSeparated { parts: [] }"),
    ("foo_bar", "foo_bar", 'Version::Other { value: "foo_bar" }'),
    (SemVer("1.2.3"), "1.2.3", SEMVER_123),
    (DotSeparated("1.2.3"), "1.2.3", 'Version::DotSeparated { parts: ["1", "2", "3"] }'),
    (Other("x"), "x", 'Version::Other { value: "x" }'),
    (Version("1.2.3"), "1.2.3", SEMVER_123),
])
def test_construction(construct, given, text_form, debug_form):
    v = construct(given, **{})
    assert type(v) is Version and v is not given
    assert (str(v), repr(v)) == (text_form, debug_form)


@pytest.mark.parametrize("args, kwargs, exc, message", [
    ((), {}, ValueError, "Version() requires arguments"),
    (("1", "2"), {}, ValueError, "Version() requires arguments"),
    # Keywords are refused first, naming the first one given.
    (("1", "2"), {"b": 1, "a": 2}, TypeError,
     "Version.__new__() got an unexpected keyword argument 'b'"),
    ((), {"x": 1}, TypeError, "Version.__new__() got an unexpected keyword argument 'x'"),
    ((5,), {}, TypeError, "Cannot construct Version from type 'int'"),
    ((b"1.2.3",), {}, TypeError, "Cannot construct Version from type 'bytes'"),
    ((Nameless(),), {}, LookupError, "no name here"),
    (("\ud800",), {}, UnicodeEncodeError, None),
    (("1.2.3 ",), {}, RuntimeError, None),
])
def test_refusals(construct, args, kwargs, exc, message):
    with pytest.raises(exc) as caught:
        construct(*args, **kwargs)
    assert type(caught.value) is exc
    assert message is None or caught.value.args == (message,)


def test_rejected_text_raises_the_report(run_python):
    ran = run_python("""
        import sys, tolva
        try:
            tolva.package.version.Version(" 1.2.3")
        except RuntimeError as error:
            sys.stdout.write(repr(error.args))
    """)
    assert ran.stdout == repr((
        "Error: \n"
        "   ╭─[ tolva::package::version::Version:1:1 ]\n"
        "   │\n"
        " 1 │  1.2.3\n"
        "   │ ┬  \n"
        "   │ ╰── found ' ' expected 'v', integer, dot-separated list, end of input, or identifier\n"
        "───╯\n",)), ran.stderr


def test_copies_are_deep():
    s = SemVer("1.2.3-rc.1")
    v = Version(s)
    s.patch, s.rc = 9, ["x"]
    assert str(v) == "1.2.3-rc.1"


# Sorted groups: versions in one group are equal, earlier groups are less.
@pytest.mark.parametrize("other", [SemVer("1.2.3"), Other("x"), "1.2.3", None])
def test_only_versions_compare(other):
    v = Version("1.2.3")
    assert (v == other, v != other, v.__eq__(other)) == (False, True, NotImplemented)
    with pytest.raises(TypeError, match="not supported between"):
        operator.lt(v, other)


@pytest.mark.skipif(sys.version_info < (3, 10),
                    reason="an extension class can be made immutable only from CPython 3.10 on")
@pytest.mark.parametrize("cls, text", [
    (Version, "1.2"), (SemVer, "1.2.3"), (DotSeparated, "1.2"), (Other, "x"),
])
@pytest.mark.parametrize("name, replacement", [
    ("__new__", staticmethod(lambda cls, *args: None)),
    ("__str__", lambda self: "changed"),
])
def test_classes_cannot_be_rewritten(cls, text, name, replacement):
    with pytest.raises(TypeError, match="immutable type"):
        setattr(cls, name, replacement)
    assert str(cls(text)) == text
