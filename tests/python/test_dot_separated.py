import re

import pytest

import tolva

V = tolva.package.version
DotSeparated, Version = V.DotSeparated, V.Version


def exactly(text):
    return "^" + re.escape(text) + "$"


@pytest.mark.parametrize("text, parts, debug", [
    ("1.2.x", ["1", "2", "x"], 'DotSeparated { parts: ["1", "2", "x"] }'),
    ("", [], "DotSeparated { parts: [] }"),
    ("007.-rc", ["007", "-rc"], 'DotSeparated { parts: ["007", "-rc"] }'),
])
def test_text_is_parsed(text, parts, debug):
    d = DotSeparated(text)
    assert d.parts == parts
    assert str(d) == text
    assert repr(d) == debug


@pytest.mark.parametrize("text", ["1..2", "a_b", "1 2", " 1.2", "é"])
def test_rejected_text_raises_runtime_error(text):
    with pytest.raises(RuntimeError) as info:
        DotSeparated(text)
    assert "tolva::package::version::dot_separated::DotSeparated" in str(info.value)


@pytest.mark.parametrize("given, parts, text", [
    (["1", "2"], ["1", "2"], "1.2"),
    (("a",), ["a"], "a"),
    ([], [], ""),
    (["a.b", ""], ["a.b", ""], "a.b."),
    (["x", "x"], ["x", "x"], "x.x"),
])
def test_keyword_parts_are_stored_unchanged(given, parts, text):
    d = DotSeparated(parts=given)
    assert d.parts == parts
    assert str(d) == text
    assert d == DotSeparated(parts=list(parts))


@pytest.mark.parametrize("args, kwargs, exc, message", [
    ((), dict(parts="1.2"), TypeError, "Can't extract `str` to `Vec`"),
    ((), dict(parts=None), TypeError, "'NoneType' object cannot be converted to 'Sequence'"),
    ((), dict(parts=[1, 2]), TypeError, "'int' object cannot be converted to 'PyString'"),
    ((), dict(parts=["1"], extra=1), ValueError,
     "'extra' is an invalid keyword argument for DotSeparated()"),
    ((), dict(extra=1), ValueError, "invalid input to argument 'parts'"),
    ((), {}, ValueError, "invalid input to argument 'parts'"),
    (("1.2",), dict(parts=["1"]), TypeError, "Constructor expects *args or **kwargs, but not both"),
])
def test_keyword_form_refusals(args, kwargs, exc, message):
    with pytest.raises(exc, match=exactly(message)):
        DotSeparated(*args, **kwargs)


def test_copies_are_independent():
    source = DotSeparated("1.2")
    copy = DotSeparated(source)
    assert copy == source and copy is not source
    copy.parts = ["9"]
    assert source.parts == ["1", "2"]
    source.parts.append("3")
    assert source.parts == ["1", "2"]
    assert DotSeparated(Version("1.2")).parts == ["1", "2"]


