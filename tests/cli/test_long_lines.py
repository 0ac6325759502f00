"""Reports of the tool over long lines, and which descriptor decides their colour."""

import os
import subprocess
import sys

import pytest

SIXTEEN_MB = 16 * 1024 * 1024
UNDER_ASAN = "ASAN_OPTIONS" in os.environ or "libasan" in os.environ.get("LD_PRELOAD", "")


@pytest.mark.skipif(UNDER_ASAN, reason="the sanitizers' shadow memory grows with the input")
@pytest.mark.parametrize("colour", ["always", "never"])
@pytest.mark.parametrize("line", [b"1.2.3-" + b"a" * SIXTEEN_MB + b"!", b"a" + b"\t" * SIXTEEN_MB + b"b c"],
                         ids=["letters", "tabs"])
def test_long_line_memory_does_not_grow_with_the_report(tolva_exe, write, colour, line):
    # A small interpreter starts the tool, so that the peak it reads is the tool's own.
    path = write("long", line + b"\n")
    measure = ("import resource, subprocess, sys\n"
               "run = subprocess.run(sys.argv[1:], stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)\n"
               "print(run.returncode, len(run.stderr), resource.getrusage(resource.RUSAGE_CHILDREN).ru_maxrss)")
    ran = subprocess.run([sys.executable, "-c", measure, tolva_exe, "check", f"--color={colour}", path],
                         capture_output=True, text=True, check=True)
    status, size, peak_kib = map(int, ran.stdout.split())
    assert status == 1 and size < SIXTEEN_MB // 256
    assert peak_kib * 1024 < 4 * SIXTEEN_MB


@pytest.mark.parametrize("terminal_fd, extra, coloured", [
    (2, {}, True), (1, {}, False), (1, {"CLICOLOR_FORCE": "1"}, True),
    (1, {"CLICOLOR_FORCED": "1"}, False), (2, {"NO_COLOR": "1"}, False), (2, {"NO_COLOUR": "1"}, True),
])
def test_colour_decision_asks_standard_error(tolva_exe, run_on_terminal, terminal_fd, extra,
                                            coloured):
    env = {k: v for k, v in os.environ.items() if k not in ("CLICOLOR", "CLICOLOR_FORCE", "NO_COLOR")}
    status, written = run_on_terminal([tolva_exe, "parse", "--kind", "semver", "x"],
                                      {**env, "TERM": "xterm", **extra}, terminal_fd)
    assert status == 1
    assert b"Error:" in written and (b"\x1b[" in written) == coloured


PEAK_OF_CHILD = ("import resource, subprocess, sys\n"
                 "subprocess.run(sys.argv[1:], stdout=subprocess.DEVNULL, check=True)\n"
                 "print(resource.getrusage(resource.RUSAGE_CHILDREN).ru_maxrss * 1024)")


@pytest.mark.skipif(UNDER_ASAN, reason="the sanitizers' shadow memory grows with the input")
@pytest.mark.parametrize("args", [
    ["sort", "-S", "1M"], ["sort", "-S", "1M", "-u", "-r"], ["sort", "-S", "1M", "-k", "1"], ["sort", "-c"],
    ["newest"], ["oldest", "-n", "2"], ["filter", ">=a"], ["filter", "--numeric-parts", ">=a"],
])
def test_a_long_line_costs_three_times_its_length(tolva_exe, write, tmp_path, args):
    """A line of 16 MB of one-letter parts, which as a value takes twelve bytes a
    byte, costs the line read, its key and its copy: at most three times its
    length, and the 1 MiB the sorts are given."""
    line = b"a." * (SIXTEEN_MB // 2) + b"a"
    command = [tolva_exe, *args[:1], "-T", str(tmp_path), *args[1:]] if args[0] == "sort" else [tolva_exe, *args]

    def peak(path):
        ran = subprocess.run([sys.executable, "-c", PEAK_OF_CHILD, *command, path],
                             capture_output=True, text=True, check=True)
        return int(ran.stdout)

    extra = peak(write("long", line + b"\n")) - peak(write("short", b"a\n"))
    assert extra < 3 * len(line) + 1024 * 1024
