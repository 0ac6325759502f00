"""Hostile arguments: each is refused with its own exception or kept intact, and
a refusal changes no stored value and keeps no reference to what it was given."""

import operator
import os
import sys

import pytest

import tolva

V = tolva.package.version
Version, SemVer, DotSeparated, Other = V.Version, V.SemVer, V.DotSeparated, V.Other

TEN_MB = 10 * 1024 * 1024
MILLION = 1_000_000


class Text(str):
    pass


class Unnamed(type):
    @property
    def __name__(cls):
        raise LookupError("no name")


class Nameless(metaclass=Unnamed):
    pass


def fresh(error):
    """A new exception like `error`: a raised instance keeps its traceback, and
    with it the frames and objects it passed through."""
    return type(error)(*error.args)


class Index:
    def __init__(self, result):
        self.result = result

    def __index__(self):
        if isinstance(self.result, BaseException):
            raise fresh(self.result)
        return self.result


class Seq:
    """A sequence that may misreport its length and fail at item `fail_at`."""

    def __init__(self, items, length=None, fail_at=None, error=None):
        self.items, self.length, self.fail_at, self.error = items, length, fail_at, error

    def __len__(self):
        if isinstance(self.length, BaseException):
            raise fresh(self.length)
        return len(self.items) if self.length is None else self.length

    def __getitem__(self, i):
        if i == self.fail_at:
            raise fresh(self.error)
        return self.items[i]


class BadIter(list):
    """A list whose __iter__ hands back `result`, or raises it."""

    def __init__(self, result):
        super().__init__(["a"])
        self.result = result

    def __iter__(self):
        if isinstance(self.result, BaseException):
            raise fresh(self.result)
        return self.result


def interrupted_after_one():
    yield "a"
    raise KeyboardInterrupt


class Interrupting(list):
    def __iter__(self):
        return interrupted_after_one()


def outcome(call, *watched):
    """(exception type, message) of `call`, or None when it succeeds; asserts
    that the reference counts of `watched` are the same afterwards."""
    before = [sys.getrefcount(obj) for obj in watched]
    try:
        call()
        result = None
    except BaseException as error:  # KeyboardInterrupt included: it must arrive unchanged
        result = (type(error), str(error))
    assert [sys.getrefcount(obj) for obj in watched] == before, "a reference was kept"
    return result


# Each field is reached through its constructor keyword (errors unchanged) and
# its setter (TypeError prefixed), and a refused setter leaves the field as it was.
LIST_FIELDS = [
    (lambda v: DotSeparated(parts=v), DotSeparated("x.y"), "parts", "parts", "new_parts"),
    (lambda v: SemVer(major=1, minor=2, patch=3, rc=v), SemVer("1.2.3-x"), "rc", "rc", "new_rc"),
]
NUMBER_FIELDS = [(lambda v: SemVer(major=v, minor=0, patch=0), SemVer("7.0.0"),
                  "major", "major", "new_major")]
TEXT_FIELDS = [(lambda v: Other(value=v), Other("keep"), "parts", "value", "new_value")]


def refuse_both_ways(field, value, exc, message):
    """`message` None: the interpreter's own wording, not compared. Where the
    interpreter's own wording is passed on, the table asks the interpreter for
    it, as it changes between versions."""
    build, obj, attr, read, argname = field
    stored = getattr(obj, read)
    by_keyword = outcome(lambda: build(value), value)
    by_setter = outcome(lambda: setattr(obj, attr, value), value)
    assert getattr(obj, read) == stored
    assert by_keyword[0] is exc and by_setter[0] is exc
    if exc is TypeError:
        assert by_setter[1] == f"argument '{argname}': {by_keyword[1]}"
    else:
        assert by_setter[1] == by_keyword[1]
    assert message is None or by_keyword[1] == message


@pytest.mark.parametrize("field", LIST_FIELDS)
@pytest.mark.parametrize("value, exc, message", [
    (BadIter(5), TypeError, outcome(lambda: iter(BadIter(5)))[1]),
    (BadIter(KeyError("no iterator")), KeyError, "'no iterator'"),
    (Interrupting(), KeyboardInterrupt, ""),
    (Seq(["a", "b"], fail_at=1, error=KeyboardInterrupt()), KeyboardInterrupt, ""),
    (Seq(["a", 2], length=0), TypeError, "'int' object cannot be converted to 'PyString'"),
    (Seq(["a", "\ud800"]), UnicodeEncodeError, None),
])
def test_text_list_refusals(field, value, exc, message):
    refuse_both_ways(field, value, exc, message)


@pytest.mark.parametrize("field", LIST_FIELDS)
@pytest.mark.parametrize("error", [KeyboardInterrupt(), SystemExit(3)])
def test_interrupt_while_asking_the_length_is_not_swallowed(field, error):
    # Any Exception from __len__ only costs the reservation; these must arrive.
    refuse_both_ways(field, Seq(["a"], length=error), type(error), str(error))


@pytest.mark.parametrize("field", NUMBER_FIELDS)
@pytest.mark.parametrize("value, exc, message", [
    pytest.param(10 ** 10000, OverflowError, None, id="10000 digits"),
    pytest.param(-(10 ** 10000), OverflowError, None, id="-10000 digits"),
    (Index(10 ** 10000), OverflowError, None),
    (Index("3"), TypeError, outcome(lambda: operator.index(Index("3")))[1]),
    (Index(3.0), TypeError, outcome(lambda: operator.index(Index(3.0)))[1]),
    (Index(KeyboardInterrupt()), KeyboardInterrupt, ""),
])
def test_number_refusals(field, value, exc, message):
    refuse_both_ways(field, value, exc, message)


@pytest.mark.parametrize("field", TEXT_FIELDS)
@pytest.mark.parametrize("value, exc, message", [
    (Nameless(), TypeError, "'Nameless' object cannot be converted to 'PyString'"),
    (Text("\udcff"), UnicodeEncodeError, None),
])
def test_text_refusals(field, value, exc, message):
    refuse_both_ways(field, value, exc, message)


@pytest.mark.parametrize("make, read, expected", [
    # A length that lies, or cannot be given, does not decide what is read.
    (lambda: DotSeparated(parts=Seq(["a", "b", "c"], length=0)).parts, None, ["a", "b", "c"]),
    (lambda: DotSeparated(parts=Seq(["a"], length=-1)).parts, None, ["a"]),
    (lambda: DotSeparated(parts=Seq(["a"], length="many")).parts, None, ["a"]),
    # NUL and astral characters are data like any other.
    (lambda: Other(value="a\x00b"), "value", "a\x00b"),
    (lambda: DotSeparated(parts=["\x00", ""]), "parts", ["\x00", ""]),
    (lambda: SemVer(major=0, minor=0, patch=0, meta=["\x00\U0010ffff"]), "meta",
     ["\x00\U0010ffff"]),
    (lambda: str(DotSeparated(parts=["a\x00b", "c"])), None, "a\x00b.c"),
    # A str subclass is read as the text it holds, never through its methods.
    (lambda: str(SemVer(Text("1.2.3"))), None, "1.2.3"),
    (lambda: str(DotSeparated(Text("1.x"))), None, "1.x"),
    (lambda: Other(Text("foo_bar")), "value", "foo_bar"),
])
def test_kept_intact(make, read, expected):
    made = make()
    assert (getattr(made, read) if read else made) == expected


@pytest.mark.parametrize("call, exc, message", [
    (lambda: SemVer("\ud800"), UnicodeEncodeError, None),
    (lambda: DotSeparated(Text("1.\udcff")), UnicodeEncodeError, None),
    (lambda: Other("a\udfff"), UnicodeEncodeError, None),
    (lambda: SemVer(Nameless()), LookupError, "no name"),
    (lambda: DotSeparated(Nameless()), LookupError, "no name"),
    (lambda: Other(Nameless()), LookupError, "no name"),
    (lambda: tolva.test_function(Nameless()), TypeError,
     "argument 'version': 'Nameless' object cannot be converted to 'Version'"),
])
def test_positional_refusals(call, exc, message):
    caught = outcome(call)
    assert caught[0] is exc and (message is None or caught[1] == message)


def test_nul_is_shown_in_the_report_and_not_a_terminator():
    with pytest.raises(RuntimeError) as caught:
        Version("1.2\x003")
    report = str(caught.value)
    assert " 1 │ 1.2\u24003\n" in report
    assert "found '\u2400'" in report


class EvilKey(str):
    """A keyword name equal in hash to a real one, whose comparison fails."""

    def __hash__(self):
        return hash(str(self))

    def __eq__(self, other):
        raise KeyError("compared")


def test_failing_keyword_comparison_propagates():
    kwargs = {EvilKey("major"): 1, "minor": 2, "patch": 3}
    assert outcome(lambda: SemVer(**kwargs)) == (KeyError, "'compared'")


def test_ten_megabyte_texts():
    text = "a" * TEN_MB
    assert str(Version(text)) == text
    assert Other(value=text).value == text
    # The report names the failing position at the end of the long line.
    with pytest.raises(RuntimeError) as caught:
        Version("1" * TEN_MB + " ")
    assert f"tolva::package::version::Version:1:{TEN_MB + 1} ]" in str(caught.value)


@pytest.mark.parametrize("cls", ["Version", "SemVer", "DotSeparated", "Other"])
def test_report_memory_follows_the_line_drawn(run_python, cls):
    # The report draws one line of a ten-megabyte text of line feeds; the peak
    # may grow by a small multiple of the text at most, not by its decoding.
    ran = run_python(f"""
        import resource, tolva
        text = "\\n" * {TEN_MB}
        before = resource.getrusage(resource.RUSAGE_SELF).ru_maxrss
        try:
            tolva.package.version.{cls}(text)
        except RuntimeError as error:
            assert ":1:1 ]" in str(error)
        grown_kb = resource.getrusage(resource.RUSAGE_SELF).ru_maxrss - before
        print(grown_kb)
    """)
    assert ran.returncode == 0, ran.stderr
    assert int(ran.stdout) * 1024 < 3 * TEN_MB


@pytest.mark.skipif("libasan" in os.environ.get("LD_PRELOAD", ""),
                    reason="the sanitizer's allocator holds freed memory back")
@pytest.mark.parametrize("cls, text", [
    ("Version", "'1.2.3-' + 'a.' * N + 'a'"),
    ("SemVer", "'1.2.3+' + 'a.' * N + 'a'"),
    ("DotSeparated", "'1.' * N + '1'"),
])
def test_memory_does_not_grow_past_the_value_of_a_long_list(run_python, cls, text):
    # A part takes 24 bytes, so the value of one-byte parts keeps twelve bytes
    # a byte of text; reading builds it once, with no second copy beside it.
    ran = run_python(f"""
        import resource, tolva
        N = {TEN_MB // 2}
        text = {text}
        before = resource.getrusage(resource.RUSAGE_SELF).ru_maxrss
        value = tolva.package.version.{cls}(text)
        grown_kb = resource.getrusage(resource.RUSAGE_SELF).ru_maxrss - before
        print(grown_kb)
    """)
    assert ran.returncode == 0, ran.stderr
    assert int(ran.stdout) * 1024 < 16 * TEN_MB


@pytest.mark.parametrize("field", LIST_FIELDS)
def test_a_million_parts(field):
    build, obj, attr, read, _ = field
    parts = [str(i % 10) for i in range(MILLION)]
    assert getattr(build(parts), read) == parts
    setattr(obj, attr, parts)
    assert getattr(obj, read) == parts
    assert len(str(obj).split(".")) >= MILLION
    setattr(obj, attr, ["x"])


@pytest.mark.parametrize("setup, message", [
    ("r, w = os.pipe(); os.close(r); os.dup2(w, 1)", "Broken pipe"),
    ("os.dup2(os.open('/dev/full', os.O_WRONLY), 1)", "No space left on device"),
])
def test_unwritable_descriptor_1(run_python, setup, message):
    ran = run_python(f"""
        import os, sys, tolva
        v = tolva.package.version.Version("1.2.3")
        {setup}
        try:
            tolva.test_function(v)
        except Exception as error:
            sys.stderr.write(repr((type(error).__name__, error.args)))
    """)
    assert ran.stderr == repr(("InternalError", (f"failed printing to stdout: {message}",)))
