"""tolva sort: stable and reversed order, -u, lines as read, rejected lines."""

import os
import random
import re
import subprocess
import sys

import pytest

MIXED = ["x_y", "1.10", "1.2.3", "v1.2.3-rc.1", "1.9", "01.2.3", "", "1.2.3+b", "abc"]


@pytest.mark.parametrize("args, lines, expected", [
    ([], MIXED, ["v1.2.3-rc.1", "1.2.3", "01.2.3", "1.2.3+b", "", "1.10", "1.9", "abc", "x_y"]),
    (["-r"], MIXED, ["x_y", "abc", "1.9", "1.10", "", "1.2.3", "01.2.3", "1.2.3+b",
                     "v1.2.3-rc.1"]),
    (["-u"], MIXED, ["v1.2.3-rc.1", "1.2.3", "", "1.10", "1.9", "abc", "x_y"]),
    (["-ru"], MIXED, ["x_y", "abc", "1.9", "1.10", "", "1.2.3", "v1.2.3-rc.1"]),
    (["--reverse", "--unique"], ["1.0.0+b", "1.0.0+a", "1.0.0-rc"], ["1.0.0+b", "1.0.0-rc"]),
    (["--kind", "dot-separated"], ["1.2.3", "1.10.0", "1.2"], ["1.10.0", "1.2", "1.2.3"]),
    (["--kind", "other"], ["b", "a_", "Z"], ["Z", "a_", "b"]),
    ([], ["1.0.0-alpha.10", "1.0.0-alpha.9", "1.0.0-", "1.0.0"],
     ["1.0.0-", "1.0.0-alpha.10", "1.0.0-alpha.9", "1.0.0"]),
])
def test_order(tolva, write, args, lines, expected):
    path = write("v.txt", "".join(line + "\n" for line in lines).encode())
    result = tolva("sort", "--scheme", "tolva", *args, path)
    assert (result.returncode, result.stderr) == (0, b"")
    assert result.stdout.decode().split("\n") == expected + [""]


def test_lines_are_written_as_read_and_rejected_ones_reported(tolva, write):
    first = write("a.txt", b"2.0\r\nv1.0.0\r\n1.2.3!\r\n")
    second = write("b.txt", b"1.5\nbad line\n")
    result = tolva("sort", "--scheme", "tolva", first, second)
    assert result.returncode == 1
    assert result.stdout == b"v1.0.0\n1.5\n2.0\n"
    err = result.stderr.decode()
    assert f"{first}:3:6 ]" in err and f"{second}:2:4 ]" in err


def test_semver_kind_rejects_what_it_cannot_read(tolva):
    result = tolva("sort", "--kind", "semver", input=b"1.0\n2.0.0\n1.0.0\n")
    assert result.returncode == 1
    assert result.stdout == b"1.0.0\n2.0.0\n"
    assert b"<stdin>:1:4 ]" in result.stderr


def test_unreadable_input_still_sorts_the_others(tolva, write, tmp_path):
    path = write("a.txt", b"2.0\n1.0\n")
    result = tolva("sort", str(tmp_path), path)
    assert result.returncode == 2
    assert result.stdout == b"1.0\n2.0\n"
    assert b"Is a directory" in result.stderr


def test_long_line(tolva, write):
    long = b"a" * 100_000_000
    result = tolva("sort", write("long.txt", long + b"\n1.0\n"))
    assert result.returncode == 0
    assert result.stdout == long + b"\n1.0\n"  # a word orders before any number


@pytest.mark.parametrize("shell_prefix, status", [
    ("", 141),                  # killed by SIGPIPE, as any filter
    ("trap '' PIPE; ", 141),    # SIGPIPE ignored: the closed pipe still ends it quietly
])
def test_reader_that_goes_away_ends_it_quietly(tolva_exe, write, shell_prefix, status):
    path = write("big.txt", b"1.2.3\n2.0\n" * 500_000)
    script = f'{shell_prefix}"{tolva_exe}" sort "{path}" | head -1; exit ${{PIPESTATUS[0]}}'
    pipeline = subprocess.run(["bash", "-c", script], capture_output=True, timeout=60)
    assert (pipeline.returncode, pipeline.stdout, pipeline.stderr) == (status, b"1.2.3\n", b"")


def test_output_that_cannot_be_written_is_a_failure(tolva_exe, write):
    with open("/dev/full", "wb") as full:
        result = subprocess.run([tolva_exe, "sort", write("v.txt", b"1.0\n")], stdout=full,
                                stderr=subprocess.PIPE, timeout=60)
    assert result.returncode == 2
    assert result.stderr == b"tolva: cannot write to standard output: No space left on device\n"


def random_versions(count, seed):
    """Texts of every kind, built to tie and to differ just before and after
    the first sixteen bytes, with many equal versions."""
    rng = random.Random(seed)
    numbers = [0, 1, 9, 239, 240, 255, 256, 65535, 65536, 4294967295]
    parts = ["a", "A", "-", "0", "00", "10", "9", "rc", "b-c", "x" * 11, "x" * 12, "x" * 13]

    def part_list(most):
        return ".".join(rng.choice(parts) for _ in range(rng.randint(0, most)))

    def one():
        kind = rng.random()
        if kind < 0.5:
            text = rng.choice(["", "v"]) + ".".join(str(rng.choice(numbers)) for _ in range(3))
            if rng.random() < 0.6:
                text += "-" + part_list(4)
            if rng.random() < 0.3:
                text += "+" + part_list(2)
            return text
        if kind < 0.85:
            return part_list(6)
        return "_".join(rng.choice(["", "a", "Z", "é", "x" * 14]) for _ in range(rng.randint(2, 5)))

    return [one() for _ in range(count)]


def assert_sorted_as_the_module(tolva, write, lines, flags):
    module = pytest.importorskip("tolva")
    result = tolva("sort", "--scheme", "tolva", *flags, write("v.txt", "\n".join(lines).encode()))
    assert (result.returncode, result.stderr) == (0, b"")

    Version = module.package.version.Version
    expected = sorted(lines, key=Version, reverse="-r" in flags)
    if "-u" in flags:
        expected = [line for i, line in enumerate(expected)
                    if i == 0 or Version(line) != Version(expected[i - 1])]
    assert result.stdout.decode().splitlines() == expected


@pytest.mark.parametrize("flags", [[], ["-r"], ["-u"], ["-r", "-u"]])
def test_order_matches_the_module(tolva, write, flags):
    lines = random_versions(20_000, seed=len(flags) * 2 + ("-r" in flags))
    assert_sorted_as_the_module(tolva, write, lines, flags)


BOUNDS = [0, 1, 239, 240, 250, 255, 256, 511, 512, 65535, 65536, 16777215, 16777216, 4294967295]


@pytest.mark.parametrize("flags", [[], ["-r", "-u"]])
def test_numbers_at_byte_length_bounds_order_as_the_module(tolva, write, flags):
    """Each number against its neighbours, as any of the three fields, and with
    the sixteen bytes of the order prefix filled exactly."""
    lines = []
    for n in BOUNDS:
        for m in (0, 255, 256, 4294967295):
            lines += [f"{n}.{m}.0", f"0.{n}.{m}", f"{m}.{m}.{n}", f"{n}.{m}.{m}-", f"{m}.{n}.{m}-0",
                      f"{m}.{m}.{n}+b", f"{n}", f"{n}.{m}"]
    random.Random(7).shuffle(lines)
    assert_sorted_as_the_module(tolva, write, lines, flags)


# Runs a command and prints the peak resident size of that command alone.
PEAK_OF_CHILD = """
import resource, subprocess, sys
subprocess.run(sys.argv[1:], stdout=subprocess.DEVNULL, check=True)
print(resource.getrusage(resource.RUSAGE_CHILDREN).ru_maxrss)
"""


def test_memory_does_not_grow_by_a_buffer_per_operand(tolva_exe, tmp_path):
    """20,000 operands of one six-byte file cost well under 1 KiB each."""
    (tmp_path / "v").write_bytes(b"1.2.3\n")

    def peak_kib(count):
        command = [os.path.abspath(tolva_exe), "sort", *["v"] * count]
        run = subprocess.run([sys.executable, "-c", PEAK_OF_CHILD, *command], cwd=tmp_path,
                             capture_output=True, timeout=120)
        assert run.returncode == 0, run.stderr
        return int(run.stdout)

    assert peak_kib(20_000) - peak_kib(1) < 20_000 * 1


# Runs a command on standard input from argv[1], standard error to argv[1].err,
# and prints its status and its peak resident size, which counts the
# interpreter it was forked from.
STATUS_AND_PEAK_OF_CHILD = """
import resource, subprocess, sys
with open(sys.argv[1], "rb") as given, open(sys.argv[1] + ".err", "wb") as err:
    run = subprocess.run(sys.argv[2:], stdin=given, stdout=subprocess.DEVNULL, stderr=err)
print(run.returncode, resource.getrusage(resource.RUSAGE_CHILDREN).ru_maxrss)
"""


@pytest.mark.parametrize("flags, data", [
    (["--scheme", "semver"], b"x\n"),
    (["-z", "--scheme", "debian"], b"\0"),
    (["--scheme", "natural", "-k", "2"], b"a\n"),
])
def test_memory_does_not_grow_with_the_reports_of_rejected_lines(tolva_exe, tmp_path, flags,
                                                                   data):
    """400,000 rejected lines, whose reports (60 MB) are not held: the peak
    stays within a few MiB of that of an empty input, and four threads write
    the reports in input order."""

    def status_and_peak_kib(data):
        path = tmp_path / "in"
        path.write_bytes(data)
        run = subprocess.run([sys.executable, "-c", STATUS_AND_PEAK_OF_CHILD, str(path),
                              tolva_exe, "sort", "--parallel=4", *flags],
                             capture_output=True, timeout=120)
        return tuple(map(int, run.stdout.split()))

    empty = status_and_peak_kib(b"")
    status, peak = status_and_peak_kib(data * 400_000)
    assert (empty[0], status) == (0, 1) and peak < empty[1] + 4 * 1024
    numbers = re.findall(rb"<stdin>:(\d+)", (tmp_path / "in.err").read_bytes())
    assert numbers == [b"%d" % n for n in range(1, 400_001)]


def numeric_parts_key(line):
    """The numeric part order, written from its rule: all-digit parts by value and
    then by text, before every other part, which compare as text."""
    return [(0, int(part), part) if part.isdigit() else (1, 0, part) for part in line.split(".")]


@pytest.mark.parametrize("args", [[], ["-S", "64K"], ["-r"]])
def test_numeric_parts_against_a_reference(tolva, write, args):
    parts = ["0", "1", "9", "10", "01", "00", "1" * 30, "1" * 29 + "2", "a", "1a", "-", "A", "z"]
    rng = random.Random(7)
    lines = [".".join(rng.choice(parts) for _ in range(rng.randint(1, 3))) for _ in range(20000)]
    path = write("v.txt", "".join(line + "\n" for line in lines).encode())
    result = tolva("sort", "--numeric-parts", "--kind", "dot-separated", *args, path)
    # Python's sort keeps equal items in input order when reversed too, as tolva does.
    expected = sorted(lines, key=numeric_parts_key, reverse="-r" in args)
    assert (result.returncode, result.stderr) == (0, b"")
    assert result.stdout.decode().split("\n")[:-1] == expected
