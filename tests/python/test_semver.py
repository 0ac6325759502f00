import re

import pytest

import tolva

V = tolva.package.version
SemVer, DotSeparated, Other, Version = V.SemVer, V.DotSeparated, V.Other, V.Version


def exactly(text):
    return "^" + re.escape(text) + "$"


def fields(s):
    return (s.major, s.minor, s.patch, s.rc, s.meta)


@pytest.mark.parametrize("kwargs, expected_fields, text", [
    (dict(major=1, minor=2, patch=3), (1, 2, 3, None, None), "1.2.3"),
    (dict(major=1, minor=2, patch=3, rc=None, meta=None), (1, 2, 3, None, None), "1.2.3"),
    (dict(major=1, minor=2, patch=3, rc=["alpha", "1"], meta=("b",)),
     (1, 2, 3, ["alpha", "1"], ["b"]), "1.2.3-alpha.1+b"),
    (dict(major=1, minor=2, patch=3, rc=[]), (1, 2, 3, [], None), "1.2.3-"),
    (dict(major=True, minor=0, patch=4294967295), (1, 0, 4294967295, None, None),
     "1.0.4294967295"),
    (dict(meta=["x"], patch=0, minor=0, major=0), (0, 0, 0, None, ["x"]), "0.0.0+x"),
])
def test_keyword_form(kwargs, expected_fields, text):
    s = SemVer(**kwargs)
    assert fields(s) == expected_fields
    assert str(s) == text


def test_text_form_and_debug_form():
    s = SemVer("1.2.3")
    assert fields(s) == (1, 2, 3, None, None)
    assert str(s) == "1.2.3"
    assert repr(s) == "SemVer { major: 1, minor: 2, patch: 3, rc: None, meta: None }"
    assert fields(SemVer("1.2.3-rc.1+b.5")) == (1, 2, 3, ["rc", "1"], ["b", "5"])


@pytest.mark.parametrize("args, kwargs, exc, message", [
    (("1.2.3",), dict(major=1), TypeError, "Constructor expects *args or **kwargs, but not both"),
    (("1.2.3",), {}, TypeError, "Constructor expects *args or **kwargs, but not both"),
    ((), {}, TypeError, "Missing required keyword argument 'major'"),
    ((), dict(major=1, minor=2), TypeError, "Missing required keyword argument 'patch'"),
    ((), dict(major=1, build=4), TypeError, "Missing required keyword argument 'minor'"),
    ((), dict(major=1, minor=2, patch=3, build=4), ValueError,
     "'build' is an invalid keyword argument for SemVer()"),
    ((), dict(major=1, minor=2, patch=3, Major=4), ValueError,
     "'Major' is an invalid keyword argument for SemVer()"),
    ((), dict(major=-1, minor=2, patch=3), OverflowError,
     "out of range integral type conversion attempted"),
    ((), dict(major=1, minor=4294967296, patch=3), OverflowError,
     "out of range integral type conversion attempted"),
    # Conversion errors are checked before unknown keys and carry no argument name.
    ((), dict(major=1, minor=2, patch=3, rc="rc1", extra=1), TypeError,
     "Can't extract `str` to `Vec`"),
    ((), dict(major=1, minor=2, patch=3, meta=5), TypeError,
     "'int' object cannot be converted to 'Sequence'"),
])
def test_keyword_form_refusals(args, kwargs, exc, message):
    with pytest.raises(exc, match=exactly(message)):
        SemVer(*args, **kwargs)


@pytest.mark.parametrize("cls", [SemVer, DotSeparated, Other])
@pytest.mark.parametrize("args, exc_name, message", [
    ((), "ValueError", "{}() requires arguments"),
    (("1.2.3", "1.2.4"), "internal", "not yet implemented"),
    ((1, 2, 3), "internal", "not yet implemented"),
    ((5,), "TypeError", "Cannot construct {} from type 'int'"),
    ((None,), "TypeError", "Cannot construct {} from type 'NoneType'"),
    ((b"1.2.3",), "TypeError", "Cannot construct {} from type 'bytes'"),
    ((["1", "2"],), "TypeError", "Cannot construct {} from type 'list'"),
])
def test_positional_refusals_shared_by_typed_classes(cls, args, exc_name, message):
    with pytest.raises(Exception) as info:
        cls(*args)
    assert str(info.value) == message.format(cls.__name__)
    if exc_name == "internal":
        assert type(info.value) not in (TypeError, ValueError, RuntimeError)
    else:
        assert type(info.value).__name__ == exc_name


@pytest.mark.parametrize("source, cls, expected", [
    ("1.2", SemVer, 'Expected SemVer; found Version::DotSeparated { parts: ["1", "2"] }'),
    ("foo_bar", SemVer, 'Expected SemVer; found Version::Other { value: "foo_bar" }'),
    ("1.2.3", DotSeparated, "Expected DotSeparated; found Version::SemVer "
                            "{ major: 1, minor: 2, patch: 3, rc: None, meta: None }"),
    ("1.2", Other, 'Expected Other; found Version::DotSeparated { parts: ["1", "2"] }'),
])
def test_version_of_another_kind_is_refused(source, cls, expected):
    with pytest.raises(TypeError, match=exactly(expected)):
        cls(Version(source))


def test_other_typed_object_is_refused_by_type_name():
    message = "Cannot construct SemVer from type 'DotSeparated'"
    with pytest.raises(TypeError, match=exactly(message)):
        SemVer(DotSeparated("1.2"))


@pytest.mark.parametrize("text", ["not a version", " 1.2.3", "1.2", "1.2.3.4"])
def test_rejected_text_raises_runtime_error(text):
    with pytest.raises(RuntimeError) as info:
        SemVer(text)
    assert "tolva::package::version::semver::SemVer" in str(info.value)


def test_copies_are_independent():
    source = SemVer("1.2.3-rc.1")
    copy = SemVer(source)
    assert copy == source and copy is not source
    copy.rc = ["x"]
    copy.major = 9
    assert str(source) == "1.2.3-rc.1"
    from_version = SemVer(Version("1.2.3+b"))
    assert fields(from_version) == (1, 2, 3, None, ["b"])
    wrapped = Version(source)
    source.patch = 9
    assert str(wrapped) == "1.2.3-rc.1"


def test_read_lists_are_fresh():
    s = SemVer("1.2.3-a+b")
    s.rc.append("x")
    s.meta.clear()
    assert fields(s) == (1, 2, 3, ["a"], ["b"])
    assert s.rc is not s.rc


def test_meta_takes_no_part_in_comparison():
    assert SemVer("1.0.0+a") == SemVer("1.0.0+b")
    assert SemVer("1.0.0-rc.1+a") <= SemVer("1.0.0-rc.1")
    assert not SemVer("1.0.0+x") != SemVer("1.0.0")


@pytest.mark.parametrize("obj, others", [
    (SemVer("1.2.3"), ["1.2.3", Version("1.2.3"), DotSeparated("1.2.3"), 1]),
    (DotSeparated("1.2.3"), ["1.2.3", ["1", "2", "3"], SemVer("1.2.3"), Version("1.2.3")]),
    (Other("foo_bar"), ["foo_bar", Version("foo_bar"), DotSeparated("foo")]),
])
def test_only_the_same_class_compares(obj, others):
    for other in others:
        assert (obj == other) is False
        assert (obj != other) is True
        with pytest.raises(TypeError):
            obj < other
        with pytest.raises(TypeError):
            other >= obj


@pytest.mark.parametrize("cls, doc, sample", [
    (SemVer, "Python wrapper type for [`SemVer`]", "1.2.3"),
    (DotSeparated, "Python wrapper around [`DotSeparated`]", "1.2"),
    (Other, "Python wrapper around the [`Other`] version type", "foo_bar"),
])
def test_class_shape(cls, doc, sample):
    assert cls.__module__ == "builtins"
    assert cls.__qualname__ == cls.__name__
    assert cls.__doc__ == doc
    assert cls.__text_signature__ == "(*args, **kwargs)"
    obj = cls(sample)
    with pytest.raises(TypeError):
        hash(obj)
    with pytest.raises(AttributeError):
        obj.__dict__
    with pytest.raises(TypeError):
        type("Derived", (cls,), {})
