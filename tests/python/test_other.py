import re

import pytest

import tolva

V = tolva.package.version
Other, Version = V.Other, V.Version


def exactly(text):
    return "^" + re.escape(text) + "$"


@pytest.mark.parametrize("text, debug", [
    ("foo_bar", 'Other { value: "foo_bar" }'),
    ("_1", 'Other { value: "_1" }'),
    ("été", 'Other { value: "été" }'),
])
def test_text_is_parsed(text, debug):
    o = Other(text)
    assert o.value == text
    assert str(o) == text
    assert repr(o) == debug


@pytest.mark.parametrize("text", ["1.2", "", "foo bar", "foo-bar", "1abc"])
def test_rejected_text_raises_runtime_error(text):
    with pytest.raises(RuntimeError) as info:
        Other(text)
    assert "tolva::package::version::other::Other" in str(info.value)


@pytest.mark.parametrize("value", ["anything at all", "", "1.2", 'quote " and \\'])
def test_keyword_value_is_stored_unparsed(value):
    o = Other(value=value)
    assert o.value == value
    assert str(o) == value


@pytest.mark.parametrize("args, kwargs, exc, message", [
    ((), dict(value=5), TypeError, "'int' object cannot be converted to 'PyString'"),
    ((), dict(value=None), TypeError, "'NoneType' object cannot be converted to 'PyString'"),
    ((), dict(parts="x"), ValueError, "invalid input to argument 'value'"),
    ((), {}, ValueError, "invalid input to argument 'value'"),
    ((), dict(value="x", parts="y"), ValueError,
     "'parts' is an invalid keyword argument for Other()"),
    (("x",), dict(value="x"), TypeError, "Constructor expects *args or **kwargs, but not both"),
])
def test_keyword_form_refusals(args, kwargs, exc, message):
    with pytest.raises(exc, match=exactly(message)):
        Other(*args, **kwargs)


def test_copies_are_independent():
    source = Other("alpha")
    copy = Other(source)
    assert copy == source and copy is not source
    copy.parts = "beta"
    assert source.value == "alpha"
    assert Other(Version("foo_bar")).value == "foo_bar"


def test_value_is_read_only_and_parts_write_only():
    o = Other("alpha")
    with pytest.raises(AttributeError):
        o.value = "beta"
    with pytest.raises(AttributeError):
        del o.value
    with pytest.raises(AttributeError):
        o.parts
    assert o.value == "alpha"


