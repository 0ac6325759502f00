#!/usr/bin/python3
"""Regenerates tests/data/schemes/apk/ from the Go port of apk-tools'
version comparison that scanners use (Debian's golang-go and
golang-github-knqyf263-go-apk-version-dev: tools/deps.sh oracles).

    /usr/bin/python3 tools/oracles/apk.py

The port (apk_oracle.go beside this file) reads like apk-tools 2: a version
is a run of tokens, each kind allowed to follow only some others. tolva
reads the shape Alpine's packages have, numbers joined by dots, an optional
lower-case letter, suffixes (_alpha, _beta, _pre, _rc, _cvs, _svn, _git,
_hg, _p) each with an optional number, and an optional -rN; invalid.tsv
holds both what the port refuses and what it reads but tolva refuses (an
empty text or number, a letter before or between numbers, a revision
without a number or after another, a "-" not followed by "r", which
apk-tools itself refuses but the port takes as a revision, and non-ASCII
letters, which apk-tools' C character classes do not count as letters).
Order: the port's Compare, with one correction. After a dotted number of
zeros the port, as apk-tools 2 did, reads an empty number before whatever
follows, so it puts 1.0_rc1 above 1.0 (and 2.0_beta above 2.0, while
1.1_rc1 < 1.1); apk-tools itself has since dropped that. Here such a
version sorts below the release its suffix comes before: wherever the port
calls the text up to the suffix equal to a version, the suffixed text is
below it. Its numbers are Go ints and wrap past 2**63,
where apk's order is by value: the script asks about versions with longer
numbers by writing each of them as an 18-digit stand-in of the same rank.
Ranges: <, <=, =, >=, >, != ask Compare(version, bound); "~P" holds where
P's tokens are the first tokens of the version, as apk-tools' fuzzy match
decides (it is asked as Compare of P and the version cut where one of its
tokens ends). Blanks join comparators with and, "||" alternatives.
"""
import os
import re
import subprocess
import tempfile
from pathlib import Path

import tables

SCHEME = "apk"
HERE = Path(__file__).resolve().parent
HEADER = ["made by tools/oracles/apk.py from github.com/knqyf263/go-apk-version"]

SMALL = ["0", "1", "2", "9", "10", "01", "007", "00", "123"]
BIG = ["18446744073709551615", "18446744073709551616", "100000000000000000000000"]
STAND_IN = {b: str(900000000000000000 + i) for i, b in enumerate(sorted(BIG, key=int))}
SUFFIXES = ["alpha", "beta", "pre", "rc", "cvs", "svn", "git", "hg", "p"]
STRICT = re.compile(r"[0-9]+(\.[0-9]+)*[a-z]?(_(alpha|beta|pre|rc|cvs|svn|git|hg|p)[0-9]*)*(-r[0-9]+)?")


class Oracle:
    def __init__(self, scratch):
        env = dict(os.environ, GO111MODULE="off", GOPATH=f"/usr/share/gocode:{scratch}/gopath",
                   GOCACHE=f"{scratch}/gocache", GOFLAGS="")
        self.program = f"{scratch}/apk_oracle"
        subprocess.run(["go", "build", "-o", self.program, str(HERE / "apk_oracle.go"),
                        str(HERE / "oracle_lines.go")], env=env, check=True)

    def ask(self, mode, lines):
        out = subprocess.run([self.program, mode], input="".join(l + "\n" for l in lines),
                             capture_output=True, text=True, check=True).stdout
        return out.split("\n")[:len(lines)]

    def valid(self, texts):
        """The port's answer; a text with a control character (a newline
        could not even be passed) counts as refused."""
        plain = [t for t in texts if not any(ord(ch) < 0x20 for ch in t)]
        answers = dict.fromkeys(texts, False)
        answers.update(zip(plain, (a == "1" for a in self.ask("valid", plain))))
        return answers

    def matrix(self, versions):
        rows = self.ask("matrix", [small(v) for v in versions])
        return [["<=>".index(c) - 1 for c in row] for row in rows]

    def compare(self, pairs):
        answers = self.ask("compare", [f"{small(a)}\t{small(b)}" for a, b in pairs])
        return dict(zip(pairs, (int(a) for a in answers)))


def release_of(version):
    """The text up to a pre-release suffix that follows a dotted number of
    zeros ("1.0" of "1.0_rc1"), or None."""
    m = re.match(r"(.*\.0+)_(alpha|beta|pre|rc)", version)
    return m.group(1) if m else None


def corrected(a, b, answer):
    """The port's answer(x, y) for a and b, corrected as the docstring says."""
    if release_of(a) is not None and answer(release_of(a), b) == 0:
        return -1
    if release_of(b) is not None and answer(a, release_of(b)) == 0:
        return 1
    return answer(a, b)


def small(text):
    for big, stand_in in STAND_IN.items():
        text = text.replace(big, stand_in)
    return text


def number(r):
    return r.choice(BIG) if r.random() < 0.04 else r.choice(SMALL)


def version(r):
    text = ".".join(number(r) for _ in range(r.choice([1, 2, 2, 3, 3, 4])))
    if r.random() < 0.15:
        text += r.choice("abcz")
    for _ in range(r.choice([0, 0, 0, 1, 1, 2])):
        text += "_" + r.choice(SUFFIXES) + (number(r) if r.random() < 0.6 else "")
    if r.random() < 0.5:
        text += "-r" + number(r)
    return text


CORES = ["1.0", "1.0.0", "1.00", "1.000", "1.01", "1.001", "1.1", "1.0a", "1.0z", "1a", "1",
         "1.0_alpha", "1.0_beta", "1.0_pre", "1.0_rc", "1.0_rc0", "1.0_rc1", "1.0_rc01",
         "1.0_cvs", "1.0_svn", "1.0_git", "1.0_hg", "1.0_p", "1.0_p0", "1.0_p1",
         "1.0_rc1_p2", "1.0_p1_rc2", "1.0a_rc1", "1.0_alpha_beta", "1.0.0.0",
         "1.18446744073709551615", "1.18446744073709551616", "1.0018446744073709551616",
         "2", "10", "0", "00", "0.0", "1.02"]

INVALID = ["", " ", "1.0 ", " 1.0", "1 0", "1\t0", "1.0\n", "1.0\x01", "a", "v1.0", ".1",
           "1..0", "1.0.", "1.0-", "1.0-r", "1.0-r1-r2", "1.0-x1", "1.0-1", "1.0r1", "1.0ab",
           "1.0A", "1A", "1.0a1", "1.0a.1", "1.0a_rc1a", "1.0_", "1.0_foo", "1.0_RC1",
           "1.0_rc1.2", "1.0-r1.2", "1.0-r1_p", "1.0-r1a", "1.0é", "1.0_é", "1.0~1", "1.0+1",
           "1.0:1", "1:1.0", "1.0_p-r1a", "1.0_rc_", "_rc1", "-r1", "1.0a_", "1.0__rc"]


def versions():
    r = tables.rng(SCHEME)
    out = [c + rel for c in CORES for rel in ("", "-r0", "-r1", "-r01", "-r2")]
    out += [version(r) for _ in range(1300)]
    return tables.dedupe(out)


def cuts(version):
    """The version cut where each of its tokens ends: before a dot, an
    underscore, a hyphen, a letter, a suffix's number, after a run of zeros
    that begins a dotted number, and at its end."""
    out = []
    for k in range(1, len(version) + 1):
        before, after = version[k - 1], version[k:k + 1]
        zeros = re.search(r"\.(0+)$", version[:k]) is not None and after.isdigit() and after != "0"
        if after in ("", ".", "_", "-") or (before.isdigit() and after.isalpha()) or \
                (after.isdigit() and re.search("_[a-z]+$", version[:k])) or zeros:
            out.append(version[:k])
    return out


def ranges(pool, r):
    ops = ["<", "<=", "=", ">=", ">", "!=", "~", "~"]

    def comparator():
        gap = " " if r.random() < 0.5 else ""
        bound = r.choice(pool)
        if r.random() < 0.4:
            bound = r.choice(cuts(bound))
        return r.choice(ops) + gap + bound

    out = [f"{op}{b}" for op in ops[:-1] for b in ("1.0", "1.0-r1", "1", "1.0_rc", "1.00", "1.0a")]
    return tables.dedupe(out + tables.alternatives(r, comparator))


def comparators(text):
    words = text.split()
    out, i = [], 0
    while i < len(words):
        op = re.match(r"[<>!=~]*", words[i]).group()
        if op == words[i]:
            out.append((op, words[i + 1]))
            i += 2
        else:
            out.append((op, words[i][len(op):]))
            i += 1
    return out


def main():
    with tempfile.TemporaryDirectory() as scratch:
        oracle = Oracle(scratch)
        found = versions()
        valid = oracle.valid(found + INVALID)
        good = [v for v in found if valid[v] and STRICT.fullmatch(v)]
        assert len(good) == len(found)
        asked = tables.dedupe(good + [release_of(v) for v in good if release_of(v)])
        index = {v: i for i, v in enumerate(asked)}
        port = oracle.matrix(asked)
        matrix = [[corrected(a, b, lambda x, y: port[index[x]][index[y]]) for b in good]
                  for a in good]
        tables.write_order(SCHEME, HEADER, good, matrix)
        port_reads = [t for t in INVALID if valid[t]]
        assert not any(STRICT.fullmatch(t) for t in INVALID)
        tables.write_invalid(SCHEME, HEADER + [
            "the port reads these too, as apk-tools 2 does but for \"-x\" and non-ASCII: "
            + " ".join(tables.escape(t) or '""' for t in port_reads)],
            INVALID)

        r = tables.rng(SCHEME + "-ranges")
        pool = tables.dedupe([c + rel for c in ["1.0", "1.0a", "1.0_rc1", "1.0_p1", "1.00", "1.0.1", "2"]
                              for rel in ("", "-r1", "-r2")] + r.sample(good, 30))
        texts = ranges(pool, r)
        bounds = {b for t in texts for alt in t.split("||") for _, b in comparators(alt)}
        assert all(STRICT.fullmatch(b) for b in bounds)
        questions = {(v, b) for v in pool for b in bounds}
        questions |= {(c, b) for v in pool for c in cuts(v) for b in bounds}
        questions |= {(release_of(v), b) for v, b in questions if release_of(v)}
        questions |= {(v, release_of(b)) for v, b in questions if release_of(b)}
        port = oracle.compare(sorted(questions))
        answer = {q: corrected(*q, lambda x, y: port[(x, y)]) for q in questions}
        test = {"<": lambda c: c < 0, "<=": lambda c: c <= 0, "=": lambda c: c == 0,
                ">=": lambda c: c >= 0, ">": lambda c: c > 0, "!=": lambda c: c != 0}

        def holds(version, op, bound):
            if op == "~":
                return any(answer[(c, bound)] == 0 for c in cuts(version))
            return test[op](answer[(version, bound)])

        def contains(text, version):
            return any(all(holds(version, op, b) for op, b in comparators(alt))
                       for alt in text.split("||"))

        tables.write_ranges(SCHEME, HEADER, pool, texts, contains)


if __name__ == "__main__":
    main()
