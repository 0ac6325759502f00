"""tolva filter: which lines a range lets through, its options, and reports."""

import subprocess

import pytest

LINES = b"1.2.3\n1.2\n1.9\n1.10\n2.0.0\n1.10.0\n1.2.4-rc.1\n1.2.4-rc.10\nnightly\n"


@pytest.mark.parametrize("args, out, reports", [
    (["^1.2"], b"1.2.3\n1.10.0\n", 0),
    (["^1.2", "--include-prerelease"], b"1.2.3\n1.10.0\n1.2.4-rc.1\n1.2.4-rc.10\n", 0),
    (["~1.2.4-rc.2"], b"", 0),                                 # rc.10 sorts before rc.2 as text
    (["~1.2.4-rc.2", "--numeric-parts"], b"1.2.4-rc.10\n", 0),
    ([">=1.9"], b"1.9\nnightly\n", 0),                         # dot-separated lines, as text
    ([">=1.9", "--numeric-parts"], b"1.9\n1.10\nnightly\n", 0),
    ([">=1.2.0"], b"1.2.3\n2.0.0\n1.10.0\n", 0),               # never the dot-separated 1.2
    (["1.2.x || nightly"], b"1.2.3\nnightly\n", 0),
    (["^1.2", "--kind", "semver"], b"1.2.3\n1.10.0\n", 4),
    (["*", "--kind=dot-separated"], b"", 0),
])
def test_lines_in_the_range_in_input_order(tolva, args, out, reports):
    result = tolva("filter", "--scheme", "tolva", *args, input=LINES)
    assert (result.stdout, result.returncode) == (out, 1 if reports else 0)
    assert result.stderr.count(b"Error: \n") == reports


@pytest.mark.parametrize("range_text, header, label", [
    (">=1 ||", "<range>:1:7 ]", "found end of input expected comparator"),
    ("^foo", "<range>:1:2 ]", "found 'f' expected 'v', or integer"),
    (">=1.2.3 | 2", "<range>:1:10 ]", "found ' ' expected '|'"),
])
def test_a_range_that_does_not_read_is_a_usage_error(tolva, write, range_text, header, label):
    result = tolva("filter", "--scheme", "tolva", range_text, write("v.txt", LINES))
    assert (result.returncode, result.stdout) == (2, b"")
    err = result.stderr.decode()
    assert err.startswith("tolva: the range does not read\n")
    assert f"╭─[ {header}" in err and label in err and "usage: tolva filter" in err
    colour = tolva("filter", "--scheme", "tolva", "--color=always", range_text, input=LINES)
    assert b"\x1b[" in colour.stderr


def test_rejected_lines_are_reported_and_the_rest_filtered(tolva, write):
    path = write("v.txt", b"1.0.0\n1.0 x\n2.0.0\n")
    result = tolva("filter", "--scheme", "tolva", ">=1.0.0", path, "-")
    assert (result.stdout, result.returncode) == (b"1.0.0\n2.0.0\n", 1)
    assert f"╭─[ {path}:2:4 ]".encode() in result.stderr


def test_an_accepted_line_comes_before_a_later_report_through_one_pipe(tolva_exe):
    result = subprocess.run([tolva_exe, "filter", "--scheme", "tolva", "*"],
                            input=b"1.0.0\nbad..\n", stdout=subprocess.PIPE,
                            stderr=subprocess.STDOUT)
    assert result.stdout.startswith(b"1.0.0\nError: \n")


def test_filter_memory_does_not_grow_with_the_input(tolva_exe, peak_kib):
    """A hundred times the lines, half of them written, in the memory of one."""
    block = b"1.2.3-rc.1\n1.2.3.4.5\n2.0.0\n0.9.9\n" * 50_000
    args = [tolva_exe, "filter", "--scheme", "tolva", "^1 || ^2"]
    assert peak_kib(args, block, 100) < 1.5 * peak_kib(args, block)


@pytest.mark.parametrize("args, data, status, out, err", [
    (["filter", "-k", "2", ">=1.10"], b"a 1.9\nb 1.10\nc\n", 1, b"b 1.10\n",
     "tolva: <stdin>:3: no field 2\n"),
    (["filter", "-t", ":", "-k", "1", "<2"], b"1.9:x\n2:y\n", 0, b"1.9:x\n", ""),
    (["filter", "-z", ">=1.10"], b"1.9\x001.10\n\x00", 0, b"1.10\n\x00", ""),
    (["check", "-z"], b"1.0\x001.2.3!\x00", 1, b"", "╭─[ <stdin>:2:6 ]"),
    (["check", "-z"], b"1.0\n", 1, b"", "╭─[ <stdin>:1:4 ]"),   # a line feed is text
    (["check", "-z"], b"1.0\r\x00", 1, b"", "╭─[ <stdin>:1:4 ]"),
])
def test_fields_and_terminators(tolva, args, data, status, out, err):
    result = tolva(*args, input=data)
    assert (result.returncode, result.stdout) == (status, out)
    assert err in result.stderr.decode()
