"""The shared conversion rules, seen through the constructors' keyword forms
(which raise conversion errors unchanged) and through one setter per rule
(which adds the argument name)."""

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


class Text(str):
    pass


class Outer:
    class Inner:
        pass


class Unnamed(type):
    """A metaclass whose classes cannot tell their qualified name."""

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
    (major, 0, 0),
    (major, 4294967295, 4294967295),
    (major, True, 1),
    (major, Index(7), 7),
    # An int is read as an int; its own __index__ is not consulted.
    (major, IntWithOwnIndex(5), 5),
    (value, "abc", "abc"),
    (value, Text("abc"), "abc"),
    (value, "é€😀", "é€😀"),
    (parts, ["a", "b"], ["a", "b"]),
    (parts, ("a", "b"), ["a", "b"]),
    (parts, [], []),
    (parts, range(0), []),
    (parts, ["", "a.b", "a", "a"], ["", "a.b", "a", "a"]),
    (parts, [Text("x")], ["x"]),
    # The reported length only sizes a reservation; iteration decides.
    (parts, HugeLength(["a"]), ["a"]),
    (parts, BrokenLength(["a", "b"]), ["a", "b"]),
])
def test_accepted(convert, given, expected):
    result = convert(given)
    assert result == expected
    assert type(result) is type(expected)


@pytest.mark.parametrize("convert, given, exc, message", [
    (major, -1, OverflowError, OUT_OF_RANGE),
    (major, 4294967296, OverflowError, OUT_OF_RANGE),
    (major, Index(-1), OverflowError, OUT_OF_RANGE),
    (major, 2 ** 70, OverflowError, None),
    (major, -2 ** 70, OverflowError, None),
    (major, 3.0, TypeError, None),
    (major, "3", TypeError, None),
    (major, Index(ValueError("from index")), ValueError, "from index"),
    (value, 5, TypeError, "'int' object cannot be converted to 'PyString'"),
    (value, b"abc", TypeError, "'bytes' object cannot be converted to 'PyString'"),
    (value, Outer.Inner(), TypeError, "'Outer.Inner' object cannot be converted to 'PyString'"),
    (value, Anonymous(), TypeError,
     "'<failed to extract type name>' object cannot be converted to 'PyString'"),
    (value, "a\ud800", UnicodeEncodeError, None),
    (parts, "ab", TypeError, "Can't extract `str` to `Vec`"),
    (parts, Text("ab"), TypeError, "Can't extract `str` to `Vec`"),
    (parts, {"a": 1}, TypeError, "'dict' object cannot be converted to 'Sequence'"),
    (parts, {"a"}, TypeError, "'set' object cannot be converted to 'Sequence'"),
    (parts, None, TypeError, "'NoneType' object cannot be converted to 'Sequence'"),
    (parts, iter(["a"]), TypeError, "'list_iterator' object cannot be converted to 'Sequence'"),
    (parts, (p for p in ["a"]), TypeError, "'generator' object cannot be converted to 'Sequence'"),
    (parts, ["a", 1], TypeError, "'int' object cannot be converted to 'PyString'"),
    (parts, b"ab", TypeError, "'int' object cannot be converted to 'PyString'"),
    (parts, ["a", "\ud800"], UnicodeEncodeError, None),
    (parts, BrokenIteration(["a"]), KeyError, "stopped"),
])
def test_refused_unchanged(convert, given, exc, message):
    with pytest.raises(exc) as caught:
        convert(given)
    assert type(caught.value) is exc
    if message is not None:
        assert caught.value.args == (message,)


class SubTypeError(TypeError):
    pass


CAUSE = KeyError("the cause")


def type_error_with_cause():
    error = TypeError("inner")
    error.__cause__ = CAUSE
    return error


@pytest.mark.parametrize("given, exc, message, cause", [
    ("1", TypeError, "argument 'new_major': 'str' object cannot be interpreted as an integer", None),
    (Index(type_error_with_cause()), TypeError, "argument 'new_major': inner", CAUSE),
    # Only an exact TypeError gets the argument name.
    (Index(SubTypeError("inner")), SubTypeError, "inner", None),
    (Index(ValueError("inner")), ValueError, "inner", None),
    (-1, OverflowError, OUT_OF_RANGE, None),
])
def test_setter_adds_the_argument_name_to_type_errors(given, exc, message, cause):
    s = V.SemVer("1.2.3")
    with pytest.raises(exc) as caught:
        s.major = given
    assert type(caught.value) is exc
    assert caught.value.args == (message,)
    assert caught.value.__cause__ is cause
    assert str(s) == "1.2.3"


def test_list_setter_adds_the_argument_name():
    d = V.DotSeparated("1.2")
    with pytest.raises(TypeError) as caught:
        d.parts = 1
    assert caught.value.args == ("argument 'new_parts': 'int' object cannot be converted to 'Sequence'",)
    assert d.parts == ["1", "2"]
