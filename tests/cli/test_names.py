"""File names and arguments of any bytes, as messages and report headers show
them: one line of well-formed UTF-8 that no terminal takes for a command."""

import os
import re

import pytest

HOSTILE_NAMES = [
    b"nofile\x1b]0;pwned\x07",           # a terminal title sequence
    b"a\nb",                             # a line feed would split the header
    b"\t\r\x01\x1f",                     # the first and last C0 controls
    b"\x7f\xc2\x80\xc2\x9f\xc2\xa0",     # DEL, the first and last C1 controls, then none
    b"v\xc0\xaf.txt",                    # an overlong '/'
    b"\xed\xa0\x80\xf4\x90\x80\x80",     # a surrogate, a value past U+10FFFF
    b"cut\xe2\x82",                      # a sequence cut short
]


def shown(name):
    """`name` with ill-formed UTF-8 replaced and controls as stand-ins."""
    def one(ch):
        c = ord(ch)
        if c < 0x20:
            return chr(0x2400 + c)
        if c == 0x7F:
            return "\u2421"
        return "\ufffd" if 0x80 <= c <= 0x9F else ch
    return "".join(map(one, name.decode("utf-8", "replace")))


def safe_lines(err):
    """Standard error as text, asserting it is well-formed UTF-8 with no
    control character but line feeds."""
    text = err.decode("utf-8")
    assert not re.search("[\x00-\x09\x0b-\x1f\x7f-\x9f]", text)
    return text.split("\n")


@pytest.mark.parametrize("args, message", [
    (["check"], "cannot read"), (["sort", "-S1K", "-T"], "cannot create temporary file")])
@pytest.mark.parametrize("name", HOSTILE_NAMES)
def test_missing_file_or_folder_is_named_on_one_line(tolva, tmp_path, name, args, message):
    path = os.fsencode(tmp_path) + b"/" + name
    result = tolva(*args, path, input=b"1.0\n" * 1000)
    assert result.returncode == 2
    assert f"tolva: {message} {shown(path)}: No such file or directory" in safe_lines(
        result.stderr)


@pytest.mark.parametrize("command", ["check", "sort"])
@pytest.mark.parametrize("name", HOSTILE_NAMES)
def test_report_header_shows_the_name_on_one_line(tolva, tmp_path, command, name):
    path = os.fsencode(tmp_path) + b"/" + name
    with open(path, "wb") as file:
        file.write(b"1.0\n1.0 x\n")
    result = tolva(command, "--scheme", "tolva", path)
    assert result.returncode == 1
    assert f"   ╭─[ {shown(path)}:2:4 ]" in safe_lines(result.stderr)


@pytest.mark.parametrize("args, message", [
    (["sort", "-é"], "unknown option '-é'"),
    (["sort", "-ru\xff".encode("latin-1")], "unknown option '-\ufffd'"),
    (["sort", b"-r\xe2\x82"], "unknown option '-\ufffd'"),
    ([b"bo\x1bgus\n"], "unknown command 'bo\u241bgus\u240a'"),
    ([b"-\x07"], "unknown option '-\u2407'"),
    (["check", b"--\x9b\xc2\x9b"], "unknown option '--\ufffd\ufffd'"),
    (["check", b"--kind=a\nb"], "option '--kind': 'a\u240ab' is not one of version, semver, dot-separated or other"),
    (["check", "--kind", b"\x1b[2J"], "option '--kind': '\u241b[2J' is not one of version, semver, dot-separated or other"),
    (["check", b"--color=\r\x7f"], "option '--color': '\u240d\u2421' is not one of auto, always or never"),
    (["parse", b"--json\x1b=1", "1"], "unknown option '--json\u241b' (did you mean '--json'?)"),
])
def test_usage_error_shows_the_argument_on_one_line(tolva, args, message):
    result = tolva(*args)
    assert result.returncode == 2
    assert safe_lines(result.stderr)[0] == f"tolva: {message}"
