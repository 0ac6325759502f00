"""Argument conversion through property setters and constructor keywords.

Each case is run both ways: the keyword form reports a conversion error
unchanged, the setter prefixes exactly-TypeError messages with its argument
name, and a failed setter leaves the stored field as it was.
"""
import pytest

import tolva

V = tolva.package.version
SemVer, DotSeparated, Other = V.SemVer, V.DotSeparated, V.Other

RANGE = "out of range integral type conversion attempted"


class Index:
    def __init__(self, value):
        self.value = value

    def __index__(self):
        return self.value


class BadIndex:
    def __index__(self):
        raise KeyError("no index")


class Text(str):
    def __str__(self):
        return "not the text"


class Seq:
    """A user sequence: passes the sequence check through __getitem__."""

    def __init__(self, items, fail_at=None, error=None, len_error=None):
        self.items, self.fail_at, self.error, self.len_error = items, fail_at, error, len_error

    def __len__(self):
        if self.len_error:
            raise self.len_error
        return len(self.items)

    def __getitem__(self, i):
        if i == self.fail_at:
            raise self.error
        return self.items[i]


def chained_type_error():
    try:
        raise KeyError("inner")
    except KeyError as inner:
        error = TypeError("outer")
        error.__cause__ = inner
        return error


class TypeErrorSubclass(TypeError):
    pass


# (object factory, attribute written, attribute read, setter argument name, keyword constructor)
NUMBER_TARGETS = [
    (lambda: SemVer("1.2.3"), name, name, "new_" + name,
     lambda v, name=name: SemVer(**{"major": 1, "minor": 2, "patch": 3, name: v}))
    for name in ("major", "minor", "patch")
]
LIST_TARGETS = [
    (lambda: DotSeparated("1.2"), "parts", "parts", "new_parts",
     lambda v: DotSeparated(parts=v)),
    (lambda: SemVer("1.2.3-a"), "rc", "rc", "new_rc",
     lambda v: SemVer(major=1, minor=2, patch=3, rc=v)),
    (lambda: SemVer("1.2.3+b"), "meta", "meta", "new_meta",
     lambda v: SemVer(major=1, minor=2, patch=3, meta=v)),
]
TEXT_TARGETS = [(lambda: Other("alpha"), "parts", "value", "new_value", lambda v: Other(value=v))]


def accept(target, value):
    """Stores `value` both ways; returns what the setter's field reads back."""
    make, attr, read, _, build = target
    obj = make()
    setattr(obj, attr, value)
    assert getattr(build(value), read) == getattr(obj, read)
    return getattr(obj, read)


def refuse(target, value):
    """Refuses `value` both ways; returns the keyword form's exception."""
    make, attr, read, argname, build = target
    obj = make()
    before = getattr(obj, read)
    with pytest.raises(BaseException) as kw_info:
        build(value)
    with pytest.raises(BaseException) as set_info:
        setattr(obj, attr, value)
    assert getattr(obj, read) == before
    kw, st = kw_info.value, set_info.value
    if type(kw) is TypeError:
        assert type(st) is TypeError
        assert str(st) == f"argument '{argname}': {kw}"
        assert st.__cause__ is kw.__cause__  # KeyError for chained_type_error()
    else:
        assert type(st) is type(kw) and str(st) == str(kw)
    return kw


@pytest.mark.parametrize("target", NUMBER_TARGETS)
@pytest.mark.parametrize("value, expected", [
    (0, 0), (4294967295, 4294967295), (True, 1), (False, 0), (Index(7), 7),
])
def test_number_accepted(target, value, expected):
    assert accept(target, value) == expected


@pytest.mark.parametrize("target", NUMBER_TARGETS)
@pytest.mark.parametrize("value, exc, message", [
    (-1, OverflowError, RANGE),
    (4294967296, OverflowError, RANGE),
    (2**40, OverflowError, RANGE),
    (Index(-5), OverflowError, RANGE),
    (2**70, OverflowError, None),
    (-(2**70), OverflowError, None),
    ("1", TypeError, "'str' object cannot be interpreted as an integer"),
    (3.0, TypeError, "'float' object cannot be interpreted as an integer"),
    (None, TypeError, None),
    (BadIndex(), KeyError, None),
])
def test_number_refused(target, value, exc, message):
    error = refuse(target, value)
    assert type(error) is exc
    if message is not None:
        assert str(error) == message


@pytest.mark.parametrize("target", LIST_TARGETS)
@pytest.mark.parametrize("value, expected", [
    (["a", "b"], ["a", "b"]),
    (("a", "b"), ["a", "b"]),
    ([], []),
    (["", "a.b", "a.b"], ["", "a.b", "a.b"]),
    ([Text("x")], ["x"]),
    (Seq(["a", "b"]), ["a", "b"]),
    (Seq(["a"], len_error=ValueError("length")), ["a"]),
    (Seq(["a"], len_error=OverflowError("huge")), ["a"]),
])
def test_text_list_accepted(target, value, expected):
    assert accept(target, value) == expected


@pytest.mark.parametrize("target", LIST_TARGETS)
@pytest.mark.parametrize("value, exc, message", [
    ("ab", TypeError, "Can't extract `str` to `Vec`"),
    (Text("ab"), TypeError, "Can't extract `str` to `Vec`"),
    ({"a": 1}, TypeError, "'dict' object cannot be converted to 'Sequence'"),
    ({"a"}, TypeError, "'set' object cannot be converted to 'Sequence'"),
    (iter(["a"]), TypeError, "'list_iterator' object cannot be converted to 'Sequence'"),
    (5, TypeError, "'int' object cannot be converted to 'Sequence'"),
    (["a", 1], TypeError, "'int' object cannot be converted to 'PyString'"),
    (b"ab", TypeError, "'int' object cannot be converted to 'PyString'"),
    (range(2), TypeError, "'int' object cannot be converted to 'PyString'"),
    (["a", ["b"]], TypeError, "'list' object cannot be converted to 'PyString'"),
    (["a", "\ud800"], UnicodeEncodeError, None),
    (Seq(["a", "b"], fail_at=1, error=ValueError("midway")), ValueError, "midway"),
    (Seq(["a", "b"], fail_at=1, error=chained_type_error()), TypeError, "outer"),
    (Seq(["a"], fail_at=0, error=TypeErrorSubclass("sub")), TypeErrorSubclass, "sub"),
])
def test_text_list_refused(target, value, exc, message):
    error = refuse(target, value)
    assert type(error) is exc
    if message is not None:
        assert str(error) == message


@pytest.mark.parametrize("target", LIST_TARGETS[1:])
def test_none_makes_semver_list_absent(target):
    assert accept(target, None) is None


@pytest.mark.parametrize("target", TEXT_TARGETS)
@pytest.mark.parametrize("value, expected", [
    ("beta", "beta"), ("", ""), ("1.2 not parsed", "1.2 not parsed"), (Text("sub"), "sub"),
])
def test_text_accepted(target, value, expected):
    assert accept(target, value) == expected


@pytest.mark.parametrize("target", TEXT_TARGETS)
@pytest.mark.parametrize("value, exc, message", [
    (5, TypeError, "'int' object cannot be converted to 'PyString'"),
    (b"x", TypeError, "'bytes' object cannot be converted to 'PyString'"),
    (["x"], TypeError, "'list' object cannot be converted to 'PyString'"),
    (None, TypeError, "'NoneType' object cannot be converted to 'PyString'"),
    ("\udcff", UnicodeEncodeError, None),
])
def test_text_refused(target, value, exc, message):
    error = refuse(target, value)
    assert type(error) is exc
    if message is not None:
        assert str(error) == message


@pytest.mark.parametrize("target", NUMBER_TARGETS + LIST_TARGETS + TEXT_TARGETS)
def test_deletion_is_refused(target):
    make, attr, read, _, _ = target
    obj = make()
    before = getattr(obj, read)
    with pytest.raises(AttributeError) as info:
        delattr(obj, attr)
    assert str(info.value) == "can't delete attribute"
    assert getattr(obj, read) == before


def test_setters_touch_only_their_field():
    s = SemVer("1.2.3-a+b")
    s.minor = 7
    s.rc = ("x", "y")
    s.meta = []
    assert str(s) == "1.7.3-x.y+"
    s.rc = None
    assert (s.major, s.minor, s.patch, s.rc, s.meta) == (1, 7, 3, None, [])
