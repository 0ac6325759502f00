"""How options read: where values come from, their bounds, and what a
misplaced or mistyped option is told."""

import pytest


@pytest.mark.parametrize("args", [
    ["sort", "-S", "1b"], ["sort", "-S1b"], ["sort", "--buffer-size=1b"], ["sort", "-S", "100%"],
    ["sort", "-S", "17179869183G"], ["sort", "-S", "18014398509481983"],
    ["sort", "-S", "20000000000000000b"], ["sort", "-k1"], ["sort", "-rk", "1"], ["sort", "-t,"],
    ["sort", "--parallel=1"], ["sort", "--parallel=1024"], ["check", "--kind=SEMVER"],
    ["check", "--kind", "Dot-Separated"], ["check", "--color=NEVER"], ["check", "--format=Short"],
    ["sort", "-S", "1%"],
])
def test_accepted(tolva, args):
    result = tolva(*args)
    assert (result.returncode, result.stderr) == (0, b"")


@pytest.mark.parametrize("args, message", [
    (["sort", "-S", "0"], "option '-S': '0' is not a buffer size (zero)"),
    (["sort", "-S", "0%"], "option '-S': '0%' is not a buffer size (zero)"),
    (["sort", "-S", "101%"], "option '-S': '101%' is not a buffer size (more than 100%)"),
    (["sort", "-S", "17179869184G"], "option '-S': '17179869184G' is not a buffer size (too large)"),
    # Without a suffix the number counts kibibytes.
    (["sort", "-S", "18014398509481984"],
     "option '-S': '18014398509481984' is not a buffer size (too large)"),
    (["sort", "-S", "1KB"], "option '-S': '1KB' is not a buffer size (not a size)"),
    (["sort", "-S", "-1"], "option '-S': '-1' is not a buffer size (not a size)"),
    (["sort", "--key=0"], "option '--key': '0' is not a field number (less than 1)"),
    (["sort", "-t"], "option '-t' needs a value"),
    (["sort", "-t", ""], "option '-t': '' is not one byte"),
    (["sort", "--parallel=1025"], "option '--parallel': '1025' is not a thread count from 1 to 1024"),
    (["check", "-r"], "option '-r' is for sort, not check"),
    (["sort", "--json"], "option '--json' is for check, parse and vers, not sort"),
    (["check", "--numeric-parts"],
     "option '--numeric-parts' is for sort, compare, filter, newest and oldest, not check"),
    (["sort", "--version"], "option '--version' goes before the command"),
    (["check", "--colour"], "unknown option '--colour' (did you mean '--color'?)"),
    (["sort", "--revrese"], "unknown option '--revrese' (did you mean '--reverse'?)"),
    (["check", "--ab"], "unknown option '--ab'"),
    (["check", "--kind", "semver2"],
     "option '--kind': 'semver2' is not one of version, semver, dot-separated or other"),
    (["check", "--format=long"], "option '--format': 'long' is not one of full or short"),
])
def test_refused(tolva, args, message):
    result = tolva(*args)
    assert result.returncode == 2 and result.stdout == b""
    assert result.stderr.decode().split("\n")[0] == f"tolva: {message}"
