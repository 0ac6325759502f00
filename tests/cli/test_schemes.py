"""--scheme on every command: each scheme's order through sort's options,
newest, oldest, filter and compare, its refusals, parse's parts, the note on
mixed kinds, and the manual page's examples on the README's versions.txt."""

import functools
import os
import pathlib
import pty
import random
import re
import subprocess

import pytest

LIST = b"1.10\n1.9\n1.0\n1.0rc1\n1.0.post1\n1.0a\n1.0-1\n1.0~rc1\n2.0.0-beta.1\nv2.0.0\n1.0.0\n"


@pytest.mark.parametrize("args, out, status", [
    (["sort", "--scheme", "natural"],
     "1.0rc1 1.0~rc1 1.0 1.0.0 1.0.post1 1.0-1 1.0a 1.9 1.10 2.0.0-beta.1 v2.0.0", 0),
    (["sort", "--scheme", "natural", "-r", "-u"],
     "v2.0.0 2.0.0-beta.1 1.10 1.9 1.0a 1.0-1 1.0.post1 1.0 1.0rc1", 0),
    (["sort", "--scheme", "debian"],
     "1.0~rc1 1.0 1.0-1 1.0a 1.0rc1 1.0.0 1.0.post1 1.9 1.10 2.0.0-beta.1", 1),
    (["sort", "--scheme", "semver", "--keep-rejected"],
     "1.0.0 2.0.0-beta.1 1.10 1.9 1.0 1.0rc1 1.0.post1 1.0a 1.0-1 1.0~rc1 v2.0.0", 1),
    (["newest", "--scheme", "natural", "-n", "2"], "v2.0.0 2.0.0-beta.1", 0),
    (["oldest", "--scheme", "debian", "-n", "2", "--range", ">>1.0~rc1"], "1.0 1.0-1", 1),
    (["filter", "--scheme", "natural", ">=1.0 <<1"], "", 2),
    (["filter", "--scheme", "natural", ">=1.0 <1.9 || >2.0.0beta"],
     "1.0 1.0.post1 1.0a 1.0-1 2.0.0-beta.1 v2.0.0 1.0.0", 0),
    (["filter", "--scheme", "semver", "--include-prerelease", "<2.0.0"], "2.0.0-beta.1 1.0.0", 1),
    (["filter", "--scheme", "semver", "<2.0.0 || <2"], "1.0.0", 1),
    (["filter", "--scheme", "debian", ">= 1.0, << 1.9"], "1.0 1.0rc1 1.0.post1 1.0a 1.0-1 1.0.0", 1),
    (["check", "--scheme", "natural", "-q"], "", 0),
    (["check", "--scheme", "semver", "--count"], "2 accepted, 9 rejected", 1),
])
def test_commands_under_each_scheme(tolva, args, out, status):
    result = tolva(*args, input=LIST)
    assert (result.stdout.decode().split(), result.returncode) == (out.split(), status)


@pytest.mark.parametrize("args, out, status", [
    (["--scheme", "debian", "1.2.3-1", "1.2.3"], ">", 0),
    (["--scheme", "debian", "1.2.3-1", "1.2.3-1+deb12u1"], "<", 0),
    (["--scheme", "natural", "2.0.0", "gt", "1.9"], "", 0),
    # fewer zeros before a number: the later version
    (["--scheme", "natural", "1.0.1", "gt", "1.0.0.1"], "", 0),
    (["--scheme", "natural", "1.0.0.1", "ge", "1.0.1"], "", 1),
    (["--scheme", "natural", "0.1a", "lt", "0.0.1a"], "", 1),
    (["--scheme", "debian", "1.0", "<<", "1.0"], "", 1),
    (["--scheme", "debian", "1.0~rc1", "<<", "1.0"], "", 0),
    (["--scheme", "debian", "1.0", ">>", "1.0~rc1"], "", 0),
    (["--scheme", "natural", "1.0", ">>", "1.0"], "", 1),
    (["--scheme", "debian", "1.0", "<", "1.1"], "", 2),
    (["--scheme", "debian", "1.1", ">", "1.0"], "", 2),
    (["--scheme", "semver", "1.0.0+a", "eq", "1.0.0+b"], "", 0),
    (["--scheme", "semver", "v1.0.0", "lt", "2.0.0"], "", 2),
    (["--scheme", "natural", "--kind", "semver", "1", "2"], "", 2),
    (["--scheme", "debian", "--numeric-parts", "1", "2"], "", 2),
])
def test_compare(tolva, args, out, status):
    result = tolva("compare", *args)
    assert (result.stdout.decode().strip(), result.returncode) == (out, status)


@pytest.mark.parametrize("args, told", [
    (["filter", "--scheme", "debian", "<2"], "found '<' expected '<<', or '<='"),
    (["filter", "--scheme", "debian", ">=1, >2"], "found '>' expected '>=', or '>>'"),
    (["filter", "--scheme", "natural", "^1.2"], "found '^' expected '<', '<=', '=', '!=', "),
    (["compare", "--scheme", "debian", "1", "<", "2"],
     "'<' is ambiguous under --scheme debian, where dpkg reads it as <=; write << or <="),
    (["compare", "--scheme", "debian", "1", ">", "2"],
     "'>' is ambiguous under --scheme debian, where dpkg reads it as >=; write >> or >="),
])
def test_operators_a_scheme_lacks_are_refused(tolva, args, told):
    result = tolva(*args, input=b"1\n")
    assert (result.returncode, result.stdout) == (2, b"")
    assert told in result.stderr.decode()


def test_a_refused_line_gets_the_report(tolva):
    result = tolva("check", "--scheme", "debian", "--format=short", input=b"1.0\n1.0-\na:1\n")
    assert result.stdout.decode() == ""
    assert result.stderr.decode() == (
        "<stdin>:2:5: found end of input expected alphanumeric or one of . + ~\n"
        "<stdin>:3:1: found 'a' expected digit, or ':'\n")


def test_parse_gives_each_schemes_parts(tolva):
    result = tolva("parse", "--json", "--scheme", "semver", "1.0.0-rc.1+b", "v1")
    assert result.stdout.decode().splitlines()[0] == (
        '{"input":"1.0.0-rc.1+b","scheme":"semver","major":1,"minor":0,"patch":0,'
        '"prerelease":["rc","1"],"build":["b"]}')
    assert '"error":{"column":1' in result.stdout.decode().splitlines()[1]
    result = tolva("parse", "--scheme", "natural", "v1.0alpha-1", "1.0a.1")
    assert result.stdout.decode().splitlines() == [
        'natural { runs: ["1", "0", "alpha", "1"], kinds: ["number", "zero", "pre-release", '
        '"number"] }',
        'natural { runs: ["1", "0", "a", "1"], kinds: ["number", "zero", "letter suffix", '
        '"number"] }']


def run_with_terminal_stderr(exe, args, data):
    main, secondary = pty.openpty()
    proc = subprocess.Popen([exe, *args], stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                            stderr=secondary)
    os.close(secondary)
    out, _ = proc.communicate(data)
    written = b""
    try:
        while chunk := os.read(main, 65536):
            written += chunk
    except OSError:  # the terminal is gone once the tool has exited
        pass
    os.close(main)
    return out, written


@pytest.mark.parametrize("args, data, told", [
    (["sort"], b"2.0.0\n1.9\n1.10\n", True),
    (["newest", "-n", "3"], b"2.0.0\n1.9\n1.8\n", True),
    (["filter", "*"], b"2.0.0\n1.9\n", True),
    (["sort"], b"2.0.0\n1.9.0\n", False),
    (["sort", "--scheme", "natural"], b"2.0.0\n1.9\n", False),
    (["check"], b"2.0.0\n1.9\n", False),
])
def test_mixed_kinds_are_told_once_on_a_terminal(tolva_exe, tolva, args, data, told):
    _, written = run_with_terminal_stderr(tolva_exe, args, data)
    assert written.count(b"--scheme natural") == told and written.count(b"\n") == told
    assert tolva(*args, input=data).stderr == b""


def test_man_page_examples_print_what_they_say(tolva_exe, tmp_path):
    page = pathlib.Path(tolva_exe).parent / "docs" / "tolva.1"
    readme = (pathlib.Path(__file__).resolve().parents[2] / "README.md").read_text()
    if not page.is_file():
        pytest.skip("no generated manual page")
    lines = re.search(r"printf '(.*)' > versions.txt", readme)[1].encode().decode("unicode_escape")
    (tmp_path / "versions.txt").write_text(lines)
    examples = re.findall(r"^tolva (filter|newest) (.*)$", page.read_text(), re.M)
    outputs = {command: subprocess.run(
        f"{pathlib.Path(tolva_exe).resolve()} {command} {args.replace(chr(92) + '-', '-')}", shell=True,
        cwd=tmp_path, capture_output=True, text=True).stdout.split("\n")[:-1]
        for command, args in examples}
    assert outputs == {"filter": ["1.10.0", "1.2.3", "v1.9.0", "2.0 beta"],
                       "newest": ["1.10.0", "v1.9.0", "1.2.3"]}


def test_debian_sort_spilled_agrees_with_apt(tolva, write):
    apt_pkg = pytest.importorskip("apt_pkg")
    apt_pkg.init()
    dump = subprocess.run(["apt-cache", "dumpavail"], capture_output=True, text=True).stdout
    versions = [line[9:] for line in dump.splitlines() if line.startswith("Version: ")]
    if len(versions) < 1000:
        pytest.skip("apt's package lists are empty (apt-get update)")
    random.Random(27).shuffle(versions)
    path = write("debian.txt", "".join(v + "\n" for v in versions).encode())
    result = tolva("sort", "--scheme", "debian", "-u", "-S", "200K", "--parallel", "2", path)
    got = result.stdout.decode().split("\n")[:-1]
    assert result.returncode == 0
    # In order, and one line of each group apt holds equal.
    assert all(apt_pkg.version_compare(a, b) < 0 for a, b in zip(got, got[1:]))
    ordered = sorted(versions, key=functools.cmp_to_key(apt_pkg.version_compare))
    groups = 1 + sum(apt_pkg.version_compare(a, b) != 0 for a, b in zip(ordered, ordered[1:]))
    assert len(got) == groups
