"""Speed of the `tolva` executable against the standard tools, as ratios from
one run, on a file of one million versions made from Debian's package list.

Run: /usr/bin/python3 bench/cli_bench.py [path to tolva]   (default build/src/cli/tolva)

The versions are those of `apt-cache dumpavail`, turned into text tolva
accepts (an epoch's ':' and a '~' become '.' and '-', and a '+' that tolva
would refuse becomes '-'), then repeated with the leading number shifted and
shuffled. `tolva check --kind semver` runs on a second file, of one million
random semantic versions, against grep with the expression semver.org gives
for SemVer 2.0.0 (in POSIX extended form). Each figure is the best wall time
of several runs, output to a temporary file; the processor time (user and
system) of the same runs is shown beside it, as it moves less on a busy
machine (GNU sort uses two threads).
`tolva filter` and `tolva newest` are set against `tolva check`, which reads
the same lines but builds no value. `tolva compare A lt B` runs in a shell
loop against `dpkg --compare-versions A lt B`, when dpkg is there.
"""

import os
import random
import re
import shutil
import subprocess
import sys
import tempfile
import time

COUNT = 1_000_000
REPEATS = 5
PART = r"[0-9A-Za-z-]+"
LIST = rf"(?:{PART}(?:\.{PART})*)?"
ACCEPTED = re.compile(rf"v?\d+\.\d+\.\d+(?:-{LIST})?(?:\+{LIST})?|{LIST}|[A-Za-z_]\w*", re.ASCII)
LEADING_NUMBER = re.compile(r"\d+")
# semver.org's expression, with [0-9] for \d and plain groups for (?:...)
NUMBER = "(0|[1-9][0-9]*)"
PRE_PART = "(0|[1-9][0-9]*|[0-9]*[a-zA-Z-][0-9a-zA-Z-]*)"
SEMVER_ERE = (rf"^{NUMBER}\.{NUMBER}\.{NUMBER}(-({PRE_PART}(\.{PRE_PART})*))?"
              r"(\+([0-9a-zA-Z-]+(\.[0-9a-zA-Z-]+)*))?$")
# Most of the lines are dot-separated, a few are SemVer: a range for each.
FILTER_RANGE = ">=1.2 <3 || ^1.2.3 || ~0.9"
LOOP = 300  # calls of a shell loop


def shell_loop(command):
    return ["sh", "-c", f"i=0; while [ $i -lt {LOOP} ]; do {command}; i=$((i+1)); done"]


def debian_versions():
    listing = subprocess.run(["apt-cache", "dumpavail"], capture_output=True, text=True,
                             check=True).stdout
    found = set()
    for line in listing.splitlines():
        if not line.startswith("Version: "):
            continue
        text = line[len("Version: "):].replace(":", ".").replace("~", "-")
        for candidate in (text, text.replace("+", "-")):
            if ACCEPTED.fullmatch(candidate):
                found.add(candidate)
                break
    return sorted(found)


def make_input(path):
    base = debian_versions()
    if len(base) < 1000:
        sys.exit(f"only {len(base)} versions from apt-cache dumpavail; run apt-get update first")
    rng = random.Random(7)
    lines = []
    shift = 0
    while len(lines) < COUNT:
        for text in base:
            lines.append(LEADING_NUMBER.sub(lambda m: str(int(m.group()) + shift), text, count=1)
                         if shift else text)
        shift += 1
    lines = lines[:COUNT]
    rng.shuffle(lines)
    with open(path, "w") as out:
        out.writelines(line + "\n" for line in lines)
    return len(base)


def make_semver_input(path):
    rng = random.Random(11)
    words = ["alpha", "beta", "rc", "pre", "dev", "build", "x86-64", "git", "0a1b2c3"]

    def part():
        return str(rng.randint(0, 50)) if rng.random() < 0.4 else rng.choice(words)

    with open(path, "w") as out:
        for _ in range(COUNT):
            text = f"{rng.randint(0, 30)}.{rng.randint(0, 200)}.{rng.randint(0, 3000)}"
            if rng.random() < 0.3:
                text += "-" + ".".join(part() for _ in range(rng.randint(1, 3)))
            if rng.random() < 0.1:
                text += "+" + ".".join(part() for _ in range(rng.randint(1, 2)))
            out.write(text + "\n")


def best_seconds(argv, env=None):
    """The best wall time and the best processor time of REPEATS runs."""
    wall = cpu = float("inf")
    # Not /dev/null: GNU grep stops at the first match when its output goes
    # there, having nothing to write.
    with tempfile.TemporaryFile() as sink:
        for _ in range(REPEATS):
            sink.seek(0)
            sink.truncate()
            start = time.perf_counter()
            proc = subprocess.Popen(argv, stdout=sink, env={**os.environ, **(env or {})})
            _, status, usage = os.wait4(proc.pid, 0)
            wall = min(wall, time.perf_counter() - start)
            cpu = min(cpu, usage.ru_utime + usage.ru_stime)
            if os.waitstatus_to_exitcode(status) != 0:
                sys.exit(f"{' '.join(argv)} failed")
    return wall, cpu


def main():
    tolva = sys.argv[1] if len(sys.argv) > 1 else "build/src/cli/tolva"
    with tempfile.TemporaryDirectory() as tmp:
        data = os.path.join(tmp, "versions.txt")
        distinct = make_input(data)
        check = subprocess.run([tolva, "check", data], capture_output=True)
        if check.returncode != 0:
            sys.exit(f"tolva rejects part of the input:\n{check.stderr[:2000].decode()}")
        semver = os.path.join(tmp, "semver.txt")
        make_semver_input(semver)
        grep_count = subprocess.run(["grep", "-cE", SEMVER_ERE, semver], capture_output=True,
                                    text=True, env={**os.environ, "LC_ALL": "C"}).stdout
        if grep_count.strip() != str(COUNT):
            sys.exit(f"grep accepts {grep_count.strip()} of the {COUNT} semantic versions")
        c = {"LC_ALL": "C"}
        times = {
            "tolva sort": best_seconds([tolva, "sort", "--scheme", "tolva", data]),
            "sort -V": best_seconds(["sort", "-V", data], c),
            "LC_ALL=C sort": best_seconds(["sort", data], c),
            "tolva check": best_seconds([tolva, "check", data]),
            "tolva filter": best_seconds(
                [tolva, "filter", "--scheme", "tolva", FILTER_RANGE, data]),
            "filter --numeric-parts": best_seconds([tolva, "filter", "--numeric-parts",
                                                    FILTER_RANGE, data]),
            "LC_ALL=C grep -c .": best_seconds(["grep", "-c", ".", data], c),
            "check semver -q": best_seconds([tolva, "check", "--kind", "semver", "-q", semver]),
            "check semver": best_seconds([tolva, "check", "--kind", "semver", semver]),
            "grep -cE semver": best_seconds(["grep", "-cE", SEMVER_ERE, semver], c),
            "tolva newest -n 10": best_seconds(
                [tolva, "newest", "--scheme", "tolva", "-n", "10", data]),
        }
        if shutil.which("dpkg"):
            times["compare loop"] = best_seconds(shell_loop(f"{tolva} compare 1.2.3 lt 1.2.4"))
            times["dpkg loop"] = best_seconds(shell_loop("dpkg --compare-versions 1.2.3 lt 1.2.4"))
    print(f"{COUNT} lines from {distinct} distinct Debian versions, best of {REPEATS}")
    print(f"  {'':20} {'wall':>8}    {'processor':>9}")
    for name, (wall, cpu) in times.items():
        print(f"  {name:20} {wall * 1000:8.1f} ms {cpu * 1000:9.1f} ms")
    rows = [
        ("sort -V / tolva sort", "sort -V", "tolva sort", "at least 5"),
        ("tolva sort / LC_ALL=C sort", "tolva sort", "LC_ALL=C sort", "at most 0.8"),
        ("tolva check / LC_ALL=C grep -c .", "tolva check", "LC_ALL=C grep -c .", "at most 5"),
        ("check semver -q / grep -cE semver", "check semver -q", "grep -cE semver", "at most 5"),
        ("check semver / check semver -q", "check semver", "check semver -q", "at most 2"),
        ("tolva filter / tolva check", "tolva filter", "tolva check", "about 1"),
        ("filter --numeric-parts / check", "filter --numeric-parts", "tolva check", "about 1"),
        ("tolva newest -n 10 / tolva check", "tolva newest -n 10", "tolva check", "about 1"),
        ("compare loop / dpkg loop", "compare loop", "dpkg loop", "at most 1.5"),
    ]
    print(f"  {'ratio':34} {'wall':>6} {'processor':>10}")
    for name, top, bottom, target in rows:
        if top not in times or bottom not in times:
            continue
        wall = times[top][0] / times[bottom][0]
        cpu = times[top][1] / times[bottom][1]
        print(f"  {name:34} {wall:6.2f} {cpu:10.2f}   target {target}")


if __name__ == "__main__":
    main()
