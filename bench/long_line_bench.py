"""Peak memory of the `tolva` executable on one long line under each scheme,
and on many rejected lines, beside its targets: at most three times the
longest line, plus the -S buffer of a sort; rejected lines cost no more than
accepted ones, their reports being written as they are read.

Run: /usr/bin/python3 bench/long_line_bench.py [path to tolva] [MB]
(default build/src/cli/tolva, a line of 100 MB)

The long line is one-letter parts of a text each scheme reads (`a.a.a...`
under tolva's, `1.2.3-a.a...` under semver, `1a1a...` under natural and debian,
`1.a1a1...` and `1---...` under gem, each '-' a word), which as a value would
take about twelve bytes a byte; the commands key it straight from its text. The rejected lines are three million lines of
`x` under semver, and 10 MB of NULs as empty lines (`sort -z`) under debian.
Each figure is the peak resident size of one run, as GNU time reports it (a
process forked from this interpreter would count the interpreter's pages as
its own), less that of the same command on a one-line file, so the
executable's own pages do not count.
"""

import os
import subprocess
import sys
import tempfile

MIB = 1024 * 1024


def peak_bytes(argv):
    # The reports of rejected lines, hundreds of MB, go to a file: the peak
    # comes from GNU time's own output file.
    with tempfile.NamedTemporaryFile() as err, tempfile.NamedTemporaryFile("r") as peak:
        ran = subprocess.run(["/usr/bin/time", "-o", peak.name, "-f", "%M", *argv],
                             stdout=subprocess.DEVNULL, stderr=err)
        # 1 is a rejected line, which the second table is made of.
        if ran.returncode not in (0, 1):
            err.seek(max(0, os.path.getsize(err.name) - 500))
            sys.exit(f"{' '.join(argv[:4])}... failed: {err.read().decode(errors='replace')}")
        return int(peak.read().split()[-1]) * 1024


def with_temp_dir(args, tmp):
    return [*args[:1], "-T", tmp, *args[1:]] if args[0] == "sort" else args


# The tolva scheme's line runs every command; the others run those that key it.
TOLVA_COMMANDS = [
    ("check", ["check"], 0),
    ("sort", ["sort"], None),
    ("sort -S 1M", ["sort", "-S", "1M"], MIB),
    ("sort -S 1M -u -r", ["sort", "-S", "1M", "-u", "-r"], MIB),
    ("sort -S 1M -k 1", ["sort", "-S", "1M", "-k", "1"], MIB),
    ("sort -c", ["sort", "-c"], 0),
    ("sort -S 1M --numeric-parts", ["sort", "-S", "1M", "--numeric-parts"], MIB),
    ("newest", ["newest"], 0),
    ("oldest", ["oldest"], 0),
    ("filter '>=a'", ["filter", ">=a"], 0),
    ("filter --numeric-parts '>=a'", ["filter", "--numeric-parts", ">=a"], 0),
]

# Each scheme: its line's head and repeated part, and its range for filter.
SCHEMES = [
    ("tolva", b"", b"a.", None),
    ("semver", b"1.2.3-", b"a.", ">=1.2.3-0"),
    ("natural", b"", b"1a", ">=1"),
    ("debian", b"", b"1a", ">=1"),
    ("gem", b"1.", b"a1", "~> 1.0"),
    ("gem", b"1-", b"--", "~> 1.0"),
]


def scheme_commands(scheme, range_text):
    if scheme == "tolva":
        return TOLVA_COMMANDS
    return [
        ("check", ["check"], 0),
        ("sort -S 1M", ["sort", "-S", "1M"], MIB),
        ("sort -c", ["sort", "-c"], 0),
        ("newest", ["newest"], 0),
        ("oldest", ["oldest"], 0),
        (f"filter '{range_text}'", ["filter", range_text], 0),
    ]


def write_long_line(path, size, head, part):
    with open(path, "wb") as f:
        f.write(head)
        for _ in range(size // 2 // MIB):
            f.write(part * MIB)
        f.write(part * (size // 2 % MIB) + part[:1] + b"\n")
    return os.path.getsize(path) - 1


def long_lines(tolva, size, tmp):
    short_path = os.path.join(tmp, "short.txt")
    long_path = os.path.join(tmp, "long.txt")
    print("one long line of one-letter parts; peak less that of a one-line input")
    print(f"  {'scheme':8} {'command':30} {'peak':>9} {'x line':>7}   target")
    for scheme, head, part, range_text in SCHEMES:
        length = write_long_line(long_path, size, head, part)
        with open(short_path, "wb") as f:
            f.write(head + part[:1] + b"\n")
        for name, args, buffer in scheme_commands(scheme, range_text):
            argv = [tolva, *with_temp_dir(args, tmp), "--scheme", scheme]
            extra = peak_bytes(argv + [long_path]) - peak_bytes(argv + [short_path])
            target = ("3x the line plus -S (default: an eighth of the memory, at most 1 GiB)"
                      if buffer is None else f"at most {3 + buffer / length:.2f}x (3x the line"
                      + (" plus -S)" if buffer else ")"))
            print(f"  {scheme:8} {name:30} {extra / MIB:5.0f} MiB {extra / length:7.2f}   "
                  f"{target}")
        os.remove(long_path)


def rejected_lines(tolva, tmp):
    x_path = os.path.join(tmp, "x3m.txt")
    with open(x_path, "wb") as f:
        f.write(b"x\n" * 3_000_000)
    nul_path = os.path.join(tmp, "nul.txt")
    with open(nul_path, "wb") as f:
        f.write(b"\0" * 10_000_000)
    short_path = os.path.join(tmp, "short.txt")
    with open(short_path, "wb") as f:
        f.write(b"x\n")
    cases = [
        ("semver", x_path, "3M lines of x", [
            ["check"], ["newest"], ["filter", ">=1.0.0"],
            ["sort"], ["sort", "-S", "100M"], ["sort", "-S", "1M"]]),
        ("debian", nul_path, "10 MB of NULs", [
            ["sort", "-z"], ["sort", "-z", "-S", "100M"], ["sort", "-z", "-S", "1M"]]),
    ]
    print("\nrejected lines, each reported; peak less that of a one-line input")
    print(f"  {'scheme':8} {'input':14} {'command':24} {'peak':>11}   target")
    for scheme, path, input_name, commands in cases:
        for args in commands:
            argv = [tolva, *with_temp_dir(args, tmp), "--scheme", scheme]
            extra = peak_bytes(argv + [path]) - peak_bytes(argv + [short_path])
            target = "a few MiB, within -S" if args[0] == "sort" else "a few MiB"
            print(f"  {scheme:8} {input_name:14} {' '.join(args):24} "
                  f"{max(extra, 0) / MIB:7.1f} MiB"
                  f"   {target}")


def main():
    tolva = sys.argv[1] if len(sys.argv) > 1 else "build/src/cli/tolva"
    size = int(sys.argv[2]) * 1000 * 1000 if len(sys.argv) > 2 else 100 * 1000 * 1000
    with tempfile.TemporaryDirectory() as tmp:
        long_lines(tolva, size, tmp)
        rejected_lines(tolva, tmp)


if __name__ == "__main__":
    main()
