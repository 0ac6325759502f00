"""tolva newest and tolva oldest."""


import pytest

A = b"2.0.0+b1\n1.0\n2.0.0\nx y\n1.0.0-rc.1\n0\n"
B = b"v2.0.0\n1.0\n2.0.0+b2\n3.0 beta"          # the last line rejected, with no line feed
ACCEPTED = 8


@pytest.mark.parametrize("command, sort_args", [("newest", ["-r"]), ("oldest", [])])
@pytest.mark.parametrize("n", [0, 1, ACCEPTED, ACCEPTED + 1, 10**18])
def test_the_head_of_a_stable_sort(tolva, write, command, sort_args, n):
    files = [write("a.txt", A), write("b.txt", B)]
    result = tolva(command, "--scheme", "tolva", "-n", str(n), *files)
    sorted_lines = tolva("sort", "--scheme", "tolva", *sort_args, *files).stdout.splitlines(
        keepends=True)
    assert result.stdout == b"".join(sorted_lines[:n])
    assert result.returncode == 1
    err = result.stderr.decode()
    assert f"╭─[ {files[0]}:4:2 ]" in err and f"╭─[ {files[1]}:4:4 ]" in err


@pytest.mark.parametrize("args, status, out, err", [
    (["newest"], 0, b"1.9\n", b""),                      # a list's parts compare as text
    (["newest", "--numeric-parts"], 0, b"1.10\n", b""),
    (["newest", "--range", ">=1.0.0"], 0, b"2.0.0+b1\n", b""),  # equal versions: the first read
    (["oldest", "-n", "2"], 0, b"1.0.0-rc.1\n2.0.0+b1\n", b""),
    (["oldest", "--kind=dot-separated"], 1, b"1.0.0-rc.1\n", b"<stdin>:1:6 ]"),
    (["oldest", "--range", "<2.0.0"], 0, b"", b""),       # a pre-release the range does not name
    (["oldest", "--range", "<2.0.0", "--include-prerelease"], 0, b"1.0.0-rc.1\n", b""),
    (["newest", "--range", ">=1.0!"], 2, b"", b"tolva: the range does not read\n"),
    (["newest", "-n", "-1"], 2, b"", b"tolva: option '-n': '-1' is not a count"),
])
def test_options(tolva, args, status, out, err):
    result = tolva(args[0], "--scheme", "tolva", *args[1:],
                   input=b"2.0.0+b1\n1.0.0-rc.1\n2.0.0\n1.9\n1.10\n")
    assert (result.returncode, result.stdout) == (status, out)
    assert err in result.stderr


@pytest.mark.parametrize("command", ["newest", "oldest"])
def test_memory_does_not_grow_with_the_lines_read(tolva_exe, peak_kib, command):
    """Two million distinct versions kept to ten: the peak is that of half a
    million, past the buffers' growth (which differs between standard libraries)."""
    lines = b"".join(b"%d.%d.%d\n" % (i % 7, i, i % 13) for i in range(2_000_000))
    quarter = lines[:lines.index(b"\n", len(lines) // 4) + 1]
    medium = peak_kib([tolva_exe, command, "-n", "10"], quarter)
    large = peak_kib([tolva_exe, command, "-n", "10"], lines)
    assert large < 1.5 * medium


@pytest.mark.parametrize("args, data, status, out, err", [
    (["newest", "-n", "2", "-u"], b"1\n2\n3\n3.0\n2.0\n", 0, b"3\n2\n", b""),  # 3.0 = 3, kept
    (["oldest", "-n", "2", "-u"], b"2.0\n1.0\n1\n3\n", 0, b"1.0\n2.0\n", b""),
    (["newest", "-n", "3", "-u"], b"1\n1.0\n", 0, b"1\n", b""),
    (["newest", "-n", "2"], b"1\n1.0\n", 0, b"1\n1.0\n", b""),
    (["newest", "-k", "2"], b"a 1.9\nb 1.10\n", 0, b"b 1.10\n", b""),
    (["oldest", "-k", "2", "-t", ","], b"a,1.9,x\nb,1.10\nc\n", 1, b"a,1.9,x\n",
     b"tolva: <stdin>:3: no field 2\n"),
    (["newest", "-z", "-n", "2"], b"1.9\x001.10\x001.2", 0, b"1.10\x001.9\x00", b""),
])
def test_unique_fields_and_terminators(tolva, args, data, status, out, err):
    result = tolva(*args, input=data)
    assert (result.returncode, result.stdout, result.stderr) == (status, out, err)


# The best lines are found from a prefix of each later key where the scheme
# can tell: lines equal to the worst kept, one step either side of it in the
# last number, and lines that do not read however early their key falls short.
@pytest.mark.parametrize("scheme, lines, rejected", [
    ("debian", ["1:2.0-1", "1:2.0-2", "0:9.9", "1:2.0-1", "1:2.0-0", "2.0-", "1:2.0-3", "9.9",
                "0:1.0_x", "1:2.0.1~", "1:2.1", "2:0"], [6, 9]),
    ("semver", ["2.0.0", "2.0.1", "1.9.9", "2.0.0", "2.0.2-rc.1", "1.0.0-", "2.0.2", "0.0.1",
                "01.0.0", "2.0.1", "3.0.0", "10.0.0"], [6, 9]),
])
@pytest.mark.parametrize("command, sort_args", [("newest", ["-r"]), ("oldest", [])])
@pytest.mark.parametrize("n", [1, 2, 3, 9])
def test_a_key_that_falls_short_is_still_read(tolva, scheme, lines, rejected, command,
                                               sort_args, n):
    data = "".join(line + "\n" for line in lines).encode()
    result = tolva(command, "--scheme", scheme, "-n", str(n), input=data)
    sorted_lines = tolva("sort", "--scheme", scheme, *sort_args, input=data).stdout
    assert result.stdout == b"".join(sorted_lines.splitlines(keepends=True)[:n])
    assert result.returncode == 1
    assert [f"<stdin>:{number}:" in result.stderr.decode() for number in rejected] == [True] * 2
