"""tolva check: exit statuses, where reports point, and hostile input."""

import json
import os
import select
import subprocess
import sys
import textwrap
import time

import pytest

REPORT_END = "───╯\n"


@pytest.mark.parametrize("data, args, status, headers", [
    (b"1.2.3\nv2.0.0-rc.1\n1.2\nfoo_bar\n", [], 0, []),
    (b"1.0\r\n2.0\r\n", [], 0, []),
    (b"1.0.0\n2.0", [], 0, []),                                       # no final line feed
    (b"", [], 0, []),
    (b"1.2.3\n1.2.3!\n", [], 1, [":2:6 ]"]),
    (b"1.2.3\n1.2\nx y\n", ["--kind", "semver"], 1, [":2:4 ]", ":3:1 ]"]),
    (b"1.0\n\n", ["--kind=other"], 1, [":1:1 ]", ":2:1 ]"]),
    (b"1.0\n1.\xff\xfe\n2.0\n", [], 1, [":2:"]),                         # invalid UTF-8
    (b"1.0\n\x00\x01\x02\x7fELF\n", [], 1, [":2:1 ]"]),                  # NUL and binary bytes
    (b"1.0\r\r\n", [], 1, [":1:4 ]"]),
    (b"a.b-c.0\nZ\n-\n", ["--kind", "dot-separated"], 0, []),
    (b"1..2\n1_2\n.a\na.\n", ["--kind", "dot-separated"], 1,
     [":1:3 ]", ":2:2 ]", ":3:1 ]", ":4:3 ]"]),                                  # only one CR is dropped
])
def test_statuses_and_report_headers(tolva, write, data, args, status, headers):
    path = write("versions.txt", data)
    result = tolva("check", *args, path)
    assert result.returncode == status
    assert result.stdout == b""
    err = result.stderr.decode("utf-8", "replace")
    assert err.count("Error: \n") == len(headers)
    for header in headers:
        assert f"╭─[ {path}{header}" in err
    assert not headers or err.endswith(REPORT_END)


def test_report_shows_the_real_line_number_in_its_gutter(tolva):
    lines = b"1.0\n" * 11 + b"1.2.3!\n"
    result = tolva("check", input=lines)
    assert result.returncode == 1
    err = result.stderr.decode()
    assert "╭─[ <stdin>:12:6 ]" in err
    assert "\n 12 │ 1.2.3!\n" in err


@pytest.mark.parametrize("name, reason", [
    ("missing.txt", "No such file or directory"),
    (".", "Is a directory"),
    ("good.txt/inside", "Not a directory"),
])
def test_unreadable_input_is_named_and_the_others_still_checked(tolva, write, tmp_path,
                                                                 name, reason):
    good = write("good.txt", b"1.0\n")
    bad = write("bad.txt", b"1.2.3!\n")
    unreadable = str(tmp_path / name)
    result = tolva("check", good, unreadable, bad)
    assert result.returncode == 2
    err = result.stderr.decode()
    assert f"tolva: cannot read {unreadable}: {reason}\n" in err
    assert f"{bad}:1:6" in err


@pytest.mark.skipif(os.geteuid() == 0, reason="root reads any file")
def test_file_without_read_permission(tolva, write):
    path = write("secret.txt", b"1.0\n")
    os.chmod(path, 0)
    result = tolva("check", path)
    assert result.returncode == 2
    assert b"Permission denied" in result.stderr


def test_file_name_that_is_not_utf8_keeps_its_report(tolva, tmp_path):
    path = os.path.join(os.fsencode(tmp_path), b"v\xff\xc0.txt")
    with open(path, "wb") as file:
        file.write(b"1.0 x\n")
    result = tolva("check", path)
    assert result.returncode == 1
    assert "v\ufffd\ufffd.txt:1:4 ]".encode() in result.stderr


def test_standard_input_by_dash_and_by_default(tolva, write):
    path = write("a.txt", b"1.0\n")
    assert tolva("check", input=b"x y\n").stderr.decode().count("<stdin>:1:2") == 1
    result = tolva("check", path, "-", input=b"1.2.3!\n")
    assert result.returncode == 1 and b"<stdin>:1:6" in result.stderr


def test_long_line(tolva, write):
    path = write("long.txt", b"1.0\n" + b"a" * 100_000_000 + b"\n1.2.3!\n")
    result = tolva("check", path)
    assert result.returncode == 1
    assert f"{path}:3:6".encode() in result.stderr


@pytest.mark.parametrize("command", ["check", "sort"])
@pytest.mark.parametrize("data, out, header", [
    (b"2.0\n1.0\n1.2.3!", b"1.0\n2.0\n", ":3:6 ]"),
    (b"2.0\n\nx y", b"\n2.0\n", ":3:2 ]"),
    (b"1.2.3!", b"", ":1:6 ]"),
    (b"2.0\n1.0", b"1.0\n2.0\n", None),
])
def test_final_line_without_a_line_feed(tolva, write, command, data, out, header):
    """A rejected last line is reported with its number; the others are kept."""
    for source in (["-"], [write("v.txt", data)]):
        result = tolva(command, "--scheme", "tolva", *source, input=data)
        assert result.returncode == (1 if header else 0)
        assert result.stdout == (out if command == "sort" else b"")
        err = result.stderr.decode()
        assert err.count("Error: \n") == (1 if header else 0)
        assert header is None or header in err.split("\n")[1]


def test_each_report_is_written_when_its_line_is_read(tolva_exe):
    """The next bad line is written only once the last one's report is seen."""
    proc = subprocess.Popen([tolva_exe, "check"], stdin=subprocess.PIPE,
                            stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
    err = b""
    try:
        for n in range(1, 4):
            proc.stdin.write(b"1.0\n1.2.3!\n")
            proc.stdin.flush()
            header = f"<stdin>:{2 * n}:6 ]".encode()
            deadline = time.monotonic() + 60
            while header not in err or not err.endswith(REPORT_END.encode()):
                left = max(0, deadline - time.monotonic())
                assert select.select([proc.stderr], [], [], left)[0], f"no report of line {2 * n}"
                err += os.read(proc.stderr.fileno(), 65536)
    finally:
        proc.stdin.close()
        proc.stderr.close()
        status = proc.wait(timeout=60)
    assert status == 1


def peak_kib(pid):
    with open(f"/proc/{pid}/status") as status:
        return next(int(line.split()[1]) for line in status if line.startswith("VmHWM:"))


def test_memory_does_not_grow_with_the_input(tolva_exe):
    """Ten million lines through a pipe: the peak resident size stays small."""
    proc = subprocess.Popen([tolva_exe, "check"], stdin=subprocess.PIPE,
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    block = b"1.2.3-rc.1\nfoo_bar\n1.2.3.4.5\n0.0.0\n" * 25_000
    for _ in range(100):
        proc.stdin.write(block)
    proc.stdin.flush()
    peak = peak_kib(proc.pid)  # all but the last pipe's worth is read by now
    proc.stdin.close()
    assert proc.wait() == 0
    assert peak < 16 * 1024  # the input is 130 MB


def peak_bytes(args):
    """The peak resident size of one run of `args`, which must succeed. A child
    counts the resident size of the process it was forked from, so the run is
    started from a small interpreter rather than from this one."""
    ran = subprocess.run([sys.executable, "-c", textwrap.dedent("""
        import resource, subprocess, sys
        subprocess.run(sys.argv[1:], stdout=subprocess.DEVNULL, check=True)
        print(resource.getrusage(resource.RUSAGE_CHILDREN).ru_maxrss * 1024)
    """), *args], capture_output=True, text=True, check=True)
    return int(ran.stdout)


@pytest.mark.parametrize("kind, head, part", [
    ("version", b"1.2.3-", b"a"), ("semver", b"1.2.3+", b"a"), ("dot-separated", b"", b"1"),
])
def test_memory_does_not_grow_past_a_long_line(tolva_exe, write, kind, head, part):
    """Checking builds no value: an accepted line of 16 MB of one-byte parts,
    which as a value would take twelve bytes a byte, costs only its buffer."""
    line = head + (part + b".") * 8_000_000 + part
    small = peak_bytes([tolva_exe, "check", "--kind", kind, write("small.txt", b"1.0.0\n")])
    large = peak_bytes([tolva_exe, "check", "--kind", kind, write("large.txt", line + b"\n")])
    assert (large - small) / len(line) < 4


@pytest.mark.parametrize("args", [
    ["check", "--bogus"], ["check", "-r"], ["sort", "-x"], ["sort", "--json"],
    ["compare", "1.0"], ["compare", "1", "lt", "2", "3"], ["parse"], ["parse", "--unique", "1"],
    ["check", "--kind"], ["check", "--kind", "nope"], ["check", "--color=sometimes"],
    ["bogus"], ["--bogus"], [],
])
def test_usage_errors(tolva, args):
    result = tolva(*args)
    assert result.returncode == 2
    assert result.stdout == b""
    assert result.stderr.startswith(b"tolva: ") and b"usage: tolva" in result.stderr


@pytest.mark.parametrize("command", [None, "check", "sort", "compare", "parse", "filter", "newest",
                                     "oldest"])
def test_help_is_the_named_commands(tolva, command):
    before = [command] if command else []
    short, long = tolva(*before, "-h"), tolva(*before, "--help")
    assert (short.returncode, short.stderr) == (long.returncode, long.stderr) == (0, b"")
    assert short.stdout == long.stdout
    lines = short.stdout.decode().split("\n")
    if command:
        usage = short.stdout.decode().split("\n\n")[0].split("\n")
        assert usage[0].startswith(f"usage: tolva {command} [--kind K]")
        indent = " " * len(f"usage: tolva {command} ")
        assert all(line.startswith(indent + "[") or line.endswith("...") for line in usage[1:])
    else:
        assert lines[1].startswith("       tolva sort ")
    assert max(map(len, lines)) <= 79


def test_version(tolva):
    result = tolva("--version")
    assert result.returncode == 0
    assert result.stdout.startswith(b"tolva ") and result.stdout.count(b".") == 2


@pytest.mark.parametrize("args, env, coloured", [
    (["--color=always"], {}, True),
    (["--color"], {}, True),
    (["--color=never"], {"CLICOLOR_FORCE": "1"}, False),
    ([], {"CLICOLOR_FORCE": "1"}, True),
    ([], {}, False),                         # standard error is a pipe
])
def test_colour(tolva, args, env, coloured):
    result = tolva("check", *args, input=b"1.2.3!\n", env=env)
    assert result.returncode == 1
    assert (b"\x1b[" in result.stderr) == coloured


BANG = "found '!' expected digit, '-', '+', end of input, alphanumeric or '-', or '.'"
NUL = "found '␀' expected 'v', integer, dot-separated list, end of input, or identifier"


@pytest.mark.parametrize("args, status, out, err", [
    (["-q", "{a}", "{missing}"], 1, "", ""),               # stops before opening the next
    (["-q", "--count", "--json", "{b}"], 0, "", ""),
    (["--count", "{a}"], 1, "2 accepted, 2 rejected\n", 2),
    (["--count", "{a}", "{b}"], 1, "{a}: 2 accepted, 2 rejected\n{b}: 1 accepted, 0 rejected\n", 2),
    (["--count", "-"], 0, "0 accepted, 0 rejected\n", 0),
    (["--format=short", "{a}"], 1, "", f"{{a}}:2:6: {BANG}\n{{a}}:4:1: {NUL}\n"),
    (["--format", "SHORT", "{b}", "{a}"], 1, "", f"{{a}}:2:6: {BANG}\n{{a}}:4:1: {NUL}\n"),
    (["--count", "--json", "{b}"], 2, "", "tolva: --count and --json"),
    (["--format=brief", "{b}"], 2, "", "tolva: option '--format': 'brief' is not one of full or short"),
])
def test_script_forms(tolva, tmp_path, args, status, out, err):
    """a: a rejected line amid accepted ones, a last line with a NUL and invalid
    UTF-8 and no line feed, under a name with odd bytes; b: one accepted line."""
    a = os.path.join(os.fsencode(tmp_path), b"v\x1b\xff.txt")
    with open(a, "wb") as file:
        file.write(b"1.0\n1.2.3!\n2.0\n\x00x\xff")
    b = tmp_path / "b.txt"
    b.write_bytes(b"3.0\n")
    names = {"a": str(tmp_path / "v\u241b\ufffd.txt"), "b": str(b),
             "missing": str(tmp_path / "missing")}
    argv = [a if arg == "{a}" else arg.format(**names) for arg in args]
    result = tolva("check", *argv)
    assert result.returncode == status
    assert result.stdout.decode() == out.format(**names)
    stderr = result.stderr.decode()
    if isinstance(err, int):
        assert stderr.count("Error: \n") == err
    else:
        assert stderr.startswith(err.format(**names))


def test_json_is_valid_for_any_bytes(tolva):
    result = tolva("check", "--json", input=b"1.0\n1.2.3!\n\x00x\xff\n\"\\\xc3\xa9 \x1b")
    assert (result.returncode, result.stderr) == (1, b"")
    rows = [json.loads(line) for line in result.stdout.decode("utf-8").splitlines()]
    assert rows[0] == {"file": "<stdin>", "line": 2, "column": 6, "found": "'!'",
                       "expected": ["digit", "'-'", "'+'", "end of input",
                                    "alphanumeric or '-'", "'.'"], "text": "1.2.3!"}
    assert [(r["line"], r["column"], r["found"], r["text"]) for r in rows[1:]] == [
        (3, 1, "'\x00'", "\x00x\ufffd"), (4, 1, "'\"'", "\"\\é \x1b")]


# Each string is the very name or character, never a terminal's stand-in for
# it: a control, a format character, a separator, one past the Basic
# Multilingual Plane (a surrogate pair), and the first character left as it is.
@pytest.mark.parametrize("char, escaped", [
    ("\x1b", b"\\u001b"), ("\u202e", b"\\u202e"), ("\u2028", b"\\u2028"),
    ("\U000e0001", b"\\udb40\\udc01"), ("\u00a0", "\u00a0".encode()),
])
def test_json_names_each_character_itself(tolva, tmp_path, char, escaped):
    path = tmp_path / f"a{char}b"
    path.write_bytes(f"1.0-{char}\n".encode())
    checked = tolva("check", "--json", str(path))
    parsed = tolva("parse", "--json", f"1.0-{char}")
    row = json.loads(checked.stdout)
    assert (row["file"], row["found"], row["text"]) == (str(path), f"'{char}'", f"1.0-{char}")
    assert json.loads(parsed.stdout)["error"]["found"] == f"'{char}'"
    assert escaped in checked.stdout and escaped in parsed.stdout


@pytest.mark.parametrize("command", ["check", "parse"])
def test_json_escapes_the_c0_and_c1_controls_and_del(tolva, command):
    text = b"\x1f\x7f\xc2\x80\xc2\x9f\xc2\xa0 !"
    result = tolva(command, "--json", *([text] if command == "parse" else []), input=text)
    assert b'"\\u001f\\u007f\\u0080\\u009f\xc2\xa0 !"' in result.stdout


CLOSED_OUTPUT = b"tolva: cannot write to standard output: Bad file descriptor\n"


@pytest.mark.parametrize("args, data, status, err", [
    (["check"], b"1.0\n", 0, b""),                           # writes nothing: closed is fine
    (["check", "-q"], b"1.2.3!\n", 1, b""),
    (["check", "--count"], b"1.0\n", 2, CLOSED_OUTPUT),      # its count would be lost
    (["sort"], b"", 0, b""),
    (["sort"], b"1.0\n", 2, CLOSED_OUTPUT),
    (["compare", "1.0", "lt", "2.0"], b"", 0, b""),
])
def test_closed_standard_output_fails_only_what_would_write_to_it(tolva_exe, args, data,
                                                                  status, err):
    result = subprocess.run([tolva_exe, *args], input=data, stdout=None, stderr=subprocess.PIPE,
                            preexec_fn=lambda: os.close(1), timeout=60)
    assert (result.returncode, result.stderr) == (status, err)
