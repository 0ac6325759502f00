#!/usr/bin/python3
"""Regenerates tests/data/schemes/rpm/ from RPM 4.18 itself (Debian's rpm and
python3-rpm: tools/deps.sh oracles).

    /usr/bin/python3 tools/oracles/rpm.py

Order: rpm.ver's comparison, which is rpmverCmp, the one of labelCompare
and of `rpm --eval '%[v"A" < v"B"]'`: epoch, version, then release, a text
without a release before one with any release.
Refusals: rpmspec, given the text's epoch, version and release (split as
rpm.ver splits them) as a spec file's Epoch, Version and Release tags; a
warning of an unexpanded macro counts as a refusal, and so does a blank or
control character, which no tag can hold.
Ranges: each comparator is asked of rpm.ds, RPM's dependency matching, in
which a missing epoch is 0 and a requirement without a release holds for
every release of its epoch and version. A version without a release is
matched against a bound with one the other way round (the bound provided,
the version required under the mirrored operator): provided the other way,
a version without a release stands for all its releases, and rpm.ds would
find it both below and above 1.0-1. Blanks join comparators with and, "||"
joins alternatives, and "!=" is not "=".
"""
import os
import subprocess
import sys
import tempfile
from concurrent.futures import ThreadPoolExecutor

# This file's own name would shadow RPM's module: look for it elsewhere first.
_here = sys.path.pop(0)
import rpm  # noqa: E402

sys.path.insert(0, _here)
import tables  # noqa: E402

SCHEME = "rpm"
HEADER = [f"made by tools/oracles/rpm.py from librpm {rpm.__version__}"]

WORDS = ["a", "b", "z", "A", "Z", "rc", "alpha", "beta", "git", "pre"]
SEPARATORS = [".", ".", ".", "_", "+", ""]


def field(r, most=4):
    text = tables.segment(r, WORDS)
    for _ in range(r.randrange(most)):
        text += r.choice(SEPARATORS) + tables.segment(r, WORDS)
    if r.random() < 0.15:
        text += r.choice(["~", "^", "~~", "^^", "~^"])
        text += tables.segment(r, WORDS) if r.random() < 0.7 else ""
    if r.random() < 0.05:
        text = r.choice(["~", "^", ".", "_"]) + text
    return text


def version(r):
    text = field(r)
    if r.random() < 0.3:
        text = r.choice(["0", "1", "2", "10", "01", "4294967295"]) + ":" + text
    if r.random() < 0.6:
        text += "-" + field(r, 3)
    return text


CORES = ["1.0", "1.0.0", "1.00", "1.01", "1.1", "1.0a", "1.0.a", "1.0_a", "1.0+a", "1a",
         "1.0~rc1", "1.0~", "1.0~~", "1.0^", "1.0^git1", "1.0^~", "1.0~^", "1.0.1", "a", "A",
         "1.18446744073709551615", "1.18446744073709551616", "1.000018446744073709551616",
         "2", "10", "1.0.", "1_0", "1.0+", "1.0_"]


def versions():
    r = tables.rng(SCHEME)
    out = [e + c + rel for c in CORES for e in ("", "0:", "1:") for rel in ("", "-1", "-2", "-1~", "-0.1")]
    out += [".", "~", "^", "_", "+", "1.0-~", "0:1.0-^", "~~", "^^", "1.0-.", "01:1", "4294967295:0"]
    out += [version(r) for _ in range(1400)]
    return tables.dedupe(out)


INVALID = ["", " ", "1.0 ", " 1.0", "1 0", "1\t0", "1.0\n", "1.0\x01", "1.0-", "-1", ":1.0",
           "1:", "1:-1", "1.0-1-2", "1-2-3", "a:1.0", "1:2:3", "1.0-1:2", "1..0", "1.0-1..2",
           "1.0%", "%{x}", "1.0{", "1.0}", "1.0/1", "1.0@", "1.0#", "1.0,1", "1.0é", "é",
           "1.0-é", "4294967296:1.0", "18446744073709551616:1.0", "-1:1.0", "1.0*", "1.0=",
           "1.0!", "1.0$", "1.0&", "1.0(", "1.0'", '1.0"', "1.0;", "1.0<", "1.0?", "1.0[",
           "1.0|", "1.0\\", "1.0`", "1.0\x7f"]


def split(text):
    """The epoch, version and release as rpm.ver reads them, the epoch as
    written (rpm.ver writes an empty one as 0)."""
    parsed = rpm.ver(text)
    epoch = text[:text.index(":")] if parsed.e is not None else None
    return epoch, parsed.v, parsed.r


def accepted(text, scratch):
    if not text or any(ch.isspace() or ord(ch) < 0x20 or ord(ch) == 0x7F for ch in text):
        return False
    epoch, ver, rel = split(text)
    spec = "Name: x\n"
    if epoch is not None:
        spec += f"Epoch: {epoch}\n"
    spec += f"Version: {ver}\nRelease: {rel if rel is not None else '1'}\n"
    spec += "Summary: x\nLicense: x\n%description\nx\n"
    path = os.path.join(scratch, f"{abs(hash(text))}.spec")
    with open(path, "w", encoding="utf-8") as f:
        f.write(spec)
    run = subprocess.run(["rpmspec", "-q", "--qf", "%{evr}\n", path], capture_output=True, text=True)
    return run.returncode == 0 and "warning" not in run.stderr


def ranges(pool):
    r = tables.rng(SCHEME + "-ranges")
    ops = ["<", "<=", "=", ">=", ">", "!="]

    def comparator():
        gap = " " if r.random() < 0.5 else ""
        return r.choice(ops) + gap + r.choice(pool)

    out = [f"{op} {b}" for op in ops for b in ("1.0", "1.0-1", "1:1.0", "0:1.0-2", "1.0~rc1", "1.0^git1")]
    return tables.dedupe(out + tables.alternatives(r, comparator))


FLAGS = {"<": rpm.RPMSENSE_LESS, "<=": rpm.RPMSENSE_LESS | rpm.RPMSENSE_EQUAL,
         "=": rpm.RPMSENSE_EQUAL, ">=": rpm.RPMSENSE_GREATER | rpm.RPMSENSE_EQUAL,
         ">": rpm.RPMSENSE_GREATER}


MIRRORED = {"<": ">", "<=": ">=", "=": "=", ">=": "<=", ">": "<"}


def has_release(text):
    return rpm.ver(text).r is not None


def satisfies(version, op, bound):
    if op == "!=":
        return not satisfies(version, "=", bound)
    if has_release(bound) and not has_release(version):
        version, op, bound = bound, MIRRORED[op], version
    need = rpm.ds(("x", FLAGS[op], bound), rpm.RPMTAG_REQUIRENAME)
    have = rpm.ds(("x", rpm.RPMSENSE_EQUAL, version), rpm.RPMTAG_PROVIDENAME)
    return bool(have.Compare(need))


def contains(text, version):
    def holds(comparator):
        op = comparator[:2] if comparator[:2] in ("<=", ">=", "!=") else comparator[0]
        return satisfies(version, op, comparator[len(op):].strip())

    def alternative(alt):
        words = alt.split()
        comparators, i = [], 0
        while i < len(words):
            if words[i] in FLAGS or words[i] == "!=":
                comparators.append(words[i] + words[i + 1])
                i += 2
            else:
                comparators.append(words[i])
                i += 1
        return all(holds(c) for c in comparators)

    return any(alternative(a) for a in text.split("||"))


def main():
    found = versions()
    with tempfile.TemporaryDirectory() as scratch, ThreadPoolExecutor(2) as pool:
        texts = found + INVALID
        answers = dict(zip(texts, pool.map(lambda t: accepted(t, scratch), texts)))
    good = [v for v in found if answers[v]]
    refused = tables.dedupe(INVALID + [v for v in found if not answers[v]])
    assert not any(answers[t] for t in INVALID)
    parsed = [rpm.ver(v) for v in good]
    matrix = [[(a > b) - (a < b) for b in parsed] for a in parsed]
    tables.write_order(SCHEME, HEADER, good, matrix)
    tables.write_invalid(SCHEME, HEADER, refused)
    tables.write_epoch_ranges(SCHEME, HEADER, good, ["1.0", "1.0~rc1", "1.0^git1", "1.0a", "1.0.1", "2"],
                              ranges, contains)


if __name__ == "__main__":
    main()
