"""`tolva sort` at scale against GNU sort, as ratios from one run: time and
peak memory on versions made from Debian's package list (as
bench/cli_bench.py makes them), and time per line as the input grows.

Run: /usr/bin/python3 bench/sort_bench.py [--huge] [path to tolva]

  - one million lines: tolva sort against LC_ALL=C sort and sort -V, best of
    three, with the targets;
  - ten million lines: time and peak resident size of each at its defaults;
  - with --huge, 10^8 lines (about 1.1 GB, made and deleted here) sorted with
    -S 200M: peak memory against its 300 MB bound, and the output checked
    in streaming passes: in order (tolva sort -c), and the same lines as the
    input (both sorted by LC_ALL=C sort -S 2G and compared with cmp);
  - time per line at each size.

The files go to $TMPDIR (default /tmp), which needs room for twice the
largest input.
"""

import os
import random
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from cli_bench import LEADING_NUMBER, debian_versions  # noqa: E402

CHUNK = 1_000_000


def make_input(path, count, base):
    """`count` lines: the base versions again and again with the leading
    number shifted, shuffled a million at a time."""
    rng = random.Random(7)
    shift = 0
    written = 0
    with open(path, "w") as out:
        while written < count:
            chunk = []
            while len(chunk) < min(CHUNK, count - written):
                chunk += [LEADING_NUMBER.sub(lambda m: str(int(m.group()) + shift), text, count=1)
                          if shift else text for text in base]
                shift += 1
            chunk = chunk[:min(CHUNK, count - written)]
            rng.shuffle(chunk)
            out.writelines(line + "\n" for line in chunk)
            written += len(chunk)


def measure(argv, repeats=1, env=None, stdout=None):
    """Best wall time, best processor time and largest peak resident size
    (bytes) of `repeats` runs."""
    wall = cpu = float("inf")
    peak = 0
    # A child's peak size starts from its parent's at the fork, so the peak
    # comes from /usr/bin/time, a small parent, not from this large one.
    with tempfile.NamedTemporaryFile("r") as peak_file:
        for _ in range(repeats):
            with open(os.devnull, "wb") if stdout is None else open(stdout, "wb") as sink:
                start = time.perf_counter()
                proc = subprocess.Popen(["/usr/bin/time", "-f", "%M", "-o", peak_file.name, *argv],
                                        stdout=sink, env={**os.environ, **(env or {})})
                _, status, usage = os.wait4(proc.pid, 0)
            wall = min(wall, time.perf_counter() - start)
            cpu = min(cpu, usage.ru_utime + usage.ru_stime)
            peak_file.seek(0)
            peak = max(peak, int(peak_file.read().split()[-1]) * 1024)
        if os.waitstatus_to_exitcode(status) != 0:
            sys.exit(f"{' '.join(argv)} failed")
    return wall, cpu, peak


def show(title, times):
    print(title)
    print(f"  {'':24} {'wall':>9} {'processor':>11} {'peak memory':>12}")
    for name, (wall, cpu, peak) in times.items():
        print(f"  {name:24} {wall:8.2f}s {cpu:10.2f}s {peak / 2**20:9.0f} MiB")


def run(argv, **kwargs):
    result = subprocess.run(argv, **kwargs)
    if result.returncode != 0:
        sys.exit(f"{' '.join(argv)} failed")


def main():
    args = [a for a in sys.argv[1:] if a != "--huge"]
    huge = "--huge" in sys.argv[1:]
    tolva = os.path.abspath(args[0] if args else "build/src/cli/tolva")
    c = {"LC_ALL": "C"}
    base = debian_versions()
    if len(base) < 1000:
        sys.exit(f"only {len(base)} versions from apt-cache dumpavail; run apt-get update first")
    per_line = {}
    with tempfile.TemporaryDirectory() as tmp:
        data = os.path.join(tmp, "versions.txt")
        make_input(data, 10**5, base)
        per_line[10**5] = measure([tolva, "sort", "--scheme", "tolva", data], 3)[0] / 10**5

        make_input(data, 10**6, base)
        times = {
            "tolva sort": measure([tolva, "sort", "--scheme", "tolva", data], 3),
            "LC_ALL=C sort": measure(["sort", data], 3, c),
            "sort -V": measure(["sort", "-V", data], 3, c),
        }
        per_line[10**6] = times["tolva sort"][0] / 10**6
        show(f"{10**6} lines from {len(base)} distinct Debian versions, best of 3", times)
        for name, top, bottom, target in [
            ("tolva sort / LC_ALL=C sort", "tolva sort", "LC_ALL=C sort", "at most 0.8"),
            ("sort -V / tolva sort", "sort -V", "tolva sort", "at least 5"),
        ]:
            wall = times[top][0] / times[bottom][0]
            cpu = times[top][1] / times[bottom][1]
            print(f"  {name:28} wall {wall:5.2f}  processor {cpu:5.2f}   target {target}")

        make_input(data, 10**7, base)
        times = {
            "tolva sort": measure([tolva, "sort", "--scheme", "tolva", data]),
            "LC_ALL=C sort": measure(["sort", data], env=c),
        }
        per_line[10**7] = times["tolva sort"][0] / 10**7
        show(f"\n{10**7} lines, each at its defaults", times)
        print(f"  tolva / LC_ALL=C sort: wall {times['tolva sort'][0] / times['LC_ALL=C sort'][0]:.2f}"
              f", peak memory {times['tolva sort'][2] / times['LC_ALL=C sort'][2]:.2f}")

        if huge:
            make_input(data, 10**8, base)
            out = os.path.join(tmp, "sorted.txt")
            wall, cpu, peak = measure(
                [tolva, "sort", "--scheme", "tolva", "-S", "200M", "-T", tmp, data], stdout=out)
            per_line[10**8] = wall / 10**8
            print(f"\n{10**8} lines with -S 200M: {wall:.1f}s wall, {cpu:.1f}s processor, "
                  f"peak {peak / 2**20:.0f} MiB (bound 300 MB: "
                  f"{'within' if peak <= 300 * 10**6 else 'PAST IT'})")
            run([tolva, "sort", "--scheme", "tolva", "-c", out])
            print("  in order: tolva sort -c finds no disorder")
            # Both sorted by GNU sort, as they stream, and compared byte for byte.
            script = (f'cmp <(LC_ALL=C sort -S 2G -T "{tmp}" "{data}") '
                      f'<(LC_ALL=C sort -S 2G -T "{tmp}" "{out}")')
            same = subprocess.run(["bash", "-c", script]).returncode == 0
            print(f"  the same lines as LC_ALL=C sort -S 2G gives: {'yes' if same else 'NO'}")

    print("\ntime per line")
    for count, seconds in per_line.items():
        print(f"  {count:>11} lines {seconds * 1e9:8.0f} ns")


if __name__ == "__main__":
    main()
