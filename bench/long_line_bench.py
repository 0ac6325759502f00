"""Peak memory of the `tolva` executable on one long line, beside its target:
at most three times the longest line, plus the -S buffer of a sort.

Run: /usr/bin/python3 bench/long_line_bench.py [path to tolva] [MB]
(default build/src/cli/tolva, a line of 100 MB)

The line is one-letter dot-separated parts (`a.a.a...`), which as a value
would take about twelve bytes a byte; the commands key it straight from its
text. Each figure is the peak resident size of one run, as GNU time reports
it (a process forked from this interpreter would count the interpreter's
pages as its own), less that of the same command on a one-line file, so the
executable's own pages do not count.
"""

import os
import subprocess
import sys
import tempfile

MIB = 1024 * 1024


def peak_bytes(argv):
    ran = subprocess.run(["/usr/bin/time", "-f", "%M", *argv], stdout=subprocess.DEVNULL,
                         stderr=subprocess.PIPE, text=True)
    if ran.returncode != 0:
        sys.exit(f"{' '.join(argv[:4])}... failed: {ran.stderr[-500:]}")
    return int(ran.stderr.split()[-1]) * 1024


def main():
    tolva = sys.argv[1] if len(sys.argv) > 1 else "build/src/cli/tolva"
    size = int(sys.argv[2]) * 1000 * 1000 if len(sys.argv) > 2 else 100 * 1000 * 1000
    commands = [
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
    with tempfile.TemporaryDirectory() as tmp:
        long_path = os.path.join(tmp, "long.txt")
        with open(long_path, "wb") as f:
            for _ in range(size // 2 // MIB):
                f.write(b"a." * MIB)
            f.write(b"a." * (size // 2 % MIB) + b"a\n")
        length = os.path.getsize(long_path) - 1
        short_path = os.path.join(tmp, "short.txt")
        with open(short_path, "wb") as f:
            f.write(b"a\n")
        print(f"one line of {length / MIB:.0f} MiB of one-letter parts; peak less that of a "
              "one-line input")
        print(f"  {'command':30} {'peak':>9} {'x line':>7}   target")
        for name, args, buffer in commands:
            argv = [tolva, *args]
            if args[0] == "sort":
                argv[2:2] = ["-T", tmp]
            extra = peak_bytes(argv + [long_path]) - peak_bytes(argv + [short_path])
            target = ("3x the line plus -S (default: an eighth of the memory, at most 1 GiB)"
                      if buffer is None else f"at most {3 + buffer / length:.2f}x (3x the line"
                      + (" plus -S)" if buffer else ")"))
            print(f"  {name:30} {extra / MIB:5.0f} MiB {extra / length:7.2f}   {target}")


if __name__ == "__main__":
    main()
