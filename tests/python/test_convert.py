"""The shared conversion rules, through the constructors' keyword forms (errors
unchanged) and one setter (TypeErrors named after the argument)."""

import pytest

import tolva

V = tolva.package.version
OUT_OF_RANGE = "out of range integral type conversion attempted"


class Index:
    def __init__(self, result):
        self.result = result

    def __index__(self):
        if isinstance(self.result, BaseException):
            raise self.result
        return self.result


class IntWithOwnIndex(int):
    def __index__(self):
        return 99


class Outer:
    class Inner:
        pass


class Unnamed(type):
    def __getattribute__(cls, name):
        if name == "__qualname__":
            raise LookupError("no name here")
        return super().__getattribute__(name)


class Anonymous(metaclass=Unnamed):
    pass


class HugeLength(list):
    def __len__(self):
        return 2 ** 62


class BrokenLength(list):
    def __len__(self):
        raise RuntimeError("no length")


class BrokenIteration(list):
    def __iter__(self):
        yield "a"
        raise KeyError("stopped")


def major(value):
    return V.SemVer(major=value, minor=0, patch=0).major


def value(obj):
    return V.Other(value=obj).value


def parts(obj):
    return V.DotSeparated(parts=obj).parts


@pytest.mark.parametrize("convert, given, expected", [
    (major, 4294967295, 4294967295),
    (major, True, 1),
    (major, Index(7), 7),
    (major, IntWithOwnIndex(5), 5),  # an int is read as an int, not through __index__
    (value, type("Text", (str,), {})("é€😀"), "é€😀"),
    (parts, ("a", "b"), ["a", "b"]),
    (parts, ["", "a.b", "a"], ["", "a.b", "a"]),
    # The reported length only sizes a reservation; iteration decides.
    (parts, HugeLength(["a"]), ["a"]),
    (parts, BrokenLength(["a", "b"]), ["a", "b"]),
])
def test_accepted(convert, given, expected):
    assert convert(given) == expected


@pytest.mark.parametrize("convert, given, exc, message", [
    (major, -1, OverflowError, OUT_OF_RANGE),
    (major, 4294967296, OverflowError, OUT_OF_RANGE),
    (major, Index(-1), OverflowError, OUT_OF_RANGE),
    (major, 2 ** 70, OverflowError, None),
    (major, 3.0, TypeError, None),
    (major, Index(ValueError("from index")), ValueError, "from index"),
    (value, Outer.Inner(), TypeError, "'Outer.Inner' object cannot be converted to 'PyString'"),
    (value, Anonymous(), TypeError,
     "'<failed to extract type name>' object cannot be converted to 'PyString'"),
    (value, "a\ud800", UnicodeEncodeError, None),
    (parts, "ab", TypeError, "Can't extract `str` to `Vec`"),
    (parts, {"a": 1}, TypeError, "'dict' object cannot be converted to 'Sequence'"),
    (parts, iter(["a"]), TypeError, "'list_iterator' object cannot be converted to 'Sequence'"),
    (parts, b"ab", TypeError, "'int' object cannot be converted to 'PyString'"),
    (parts, BrokenIteration(["a"]), KeyError, "stopped"),
])
def test_refused_unchanged(convert, given, exc, message):
    with pytest.raises(exc) as caught:
        convert(given)
    assert type(caught.value) is exc
    assert message is None or caught.value.args == (message,)


CAUSE = KeyError("the cause")
WITH_CAUSE = TypeError("inner")
WITH_CAUSE.__cause__ = CAUSE


@pytest.mark.parametrize("given, exc, message, cause", [
    ("1", TypeError, "argument 'new_major': 'str' object cannot be interpreted as an integer", None),
    (Index(WITH_CAUSE), TypeError, "argument 'new_major': inner", CAUSE),
    # Only an exact TypeError is renamed.
    (Index(type("SubTypeError", (TypeError,), {})("inner")), TypeError, "inner", None),
    (-1, OverflowError, OUT_OF_RANGE, None),
])
def test_setter_names_the_argument(given, exc, message, cause):
    s = V.SemVer("1.2.3")
    with pytest.raises(exc) as caught:
        s.major = given
    assert (caught.value.args, caught.value.__cause__) == ((message,), cause)
    assert str(s) == "1.2.3"
