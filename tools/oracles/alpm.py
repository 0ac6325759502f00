#!/usr/bin/python3
"""Regenerates tests/data/schemes/alpm/ from pacman's own library and
makepkg (Debian's pacman-package-manager: tools/deps.sh oracles).

    /usr/bin/python3 tools/oracles/alpm.py

Order: libalpm's alpm_pkg_vercmp. It compares the pkgrel only when both
texts have one, so a text without one equals every text of its epoch and
version whatever their pkgrels, and its equality is not transitive. The
classes of order.tsv put such a text before the texts of the same epoch and
version that have a pkgrel; pairs.tsv lists every pair the oracle calls
equal on that account.
Refusals: makepkg's own check of a full version (check_fullpkgver, which
pacman's packaging applies to pkgver, pkgrel, epoch and the versions in
depends and provides). Two more are refused though makepkg lets them
through: a control character, and a pkgver that ends in a separator
(anything but a letter or digit). alpm_pkg_vercmp is not transitive on
those: 1.0 < 01..Z < 1.-2 < 1.0, so no order could agree with it; on the
texts it reads, its only intransitive answers are the missing pkgrel's.
Ranges: a comparator holds where alpm_pkg_vercmp(version, bound) stands in
its relation to 0, as pacman decides a dependency; blanks join comparators
with and.
"""
import ctypes
import subprocess

import tables

SCHEME = "alpm"
LIBRARY = "libalpm.so.13"
HEADER = [f"made by tools/oracles/alpm.py from {LIBRARY} and makepkg"]

alpm = ctypes.CDLL(LIBRARY)
alpm.alpm_pkg_vercmp.argtypes = [ctypes.c_char_p, ctypes.c_char_p]
alpm.alpm_pkg_vercmp.restype = ctypes.c_int


def vercmp(a, b):
    return tables.sign(alpm.alpm_pkg_vercmp(a.encode(), b.encode()))


WORDS = ["a", "b", "z", "A", "Z", "rc", "alpha", "beta", "git", "r", "p"]
SEPARATORS = [".", ".", ".", "_", "+", "", "..", "~", "^", "@", "%", "._"]


def pkgver(r):
    text = tables.segment(r, WORDS)
    for _ in range(r.randrange(4)):
        text += r.choice(SEPARATORS) + tables.segment(r, WORDS)
    if r.random() < 0.08:
        text = r.choice([".", "_", "~"]) + text
    if r.random() < 0.04:
        text += r.choice([".", "_", "~", "+"])
    return text


def version(r):
    text = pkgver(r)
    if r.random() < 0.25:
        text = r.choice(["", "0", "1", "2", "10", "01", "18446744073709551616"]) + ":" + text
    if r.random() < 0.6:
        text += "-" + r.choice(["1", "2", "10", "01", "0", "1.1", "1.01", "2.0", "1.10"])
    return text


CORES = ["1.0", "1.0.0", "1.00", "1.01", "1.1", "1.0a", "1.0.a", "1.0_a", "1.0+a", "1a",
         "1.0rc1", "1.0.rc1", "1.0~rc1", "1.0^1", "1..0", "1._0", "1_0", "a",
         "A", "1.18446744073709551615", "1.18446744073709551616", "1.000018446744073709551616",
         "2", "10", "1.0p1", "1.0.p1", ".1", "~1"]


def versions():
    r = tables.rng(SCHEME)
    out = [e + c + rel for c in CORES for e in ("", "0:", ":", "1:")
           for rel in ("", "-1", "-1.1", "-01")]
    out += [version(r) for _ in range(1200)]
    return tables.dedupe(out)


INVALID = ["", " ", "1.0 ", " 1.0", "1 0", "1\t0", "1.0\n", "1.0\x01", "1.0\x7f", "1.0-",
           "-1", "1:", "1:-1", "1.0-1-2", "1-2-3", "a:1.0", "1:2:3", "1.0-1:2", "1.0-a",
           "1.0-1a", "1.0-1.", "1.0-.1", "1.0-1.1.1", "1.0-+1", "1.0-1_1", "1.0/1", "1.0é",
           "é", "1.0-é", "-1:1.0", "1.0:", "x:1.0-1", "1.0.", "1.0..", "1.0+", "1.0_-1", "1:1.0~-2"]


CHECK = r'''
LIBRARY=/usr/share/makepkg
source "$LIBRARY/lint_pkgbuild/fullpkgver.sh"
while IFS= read -r line; do
  if check_fullpkgver "$line" 2>/dev/null; then echo 1; else echo 0; fi
done
'''


def accepted(texts):
    """makepkg's answer for each text; texts holding a control character
    (a newline could not even be passed) are refused beforehand."""
    plain = [t for t in texts if not any(ord(ch) < 0x20 or ord(ch) == 0x7F for ch in t)]
    out = subprocess.run(["bash", "-c", CHECK], input="".join(t + "\n" for t in plain),
                         capture_output=True, text=True, check=True,
                         env={"LC_ALL": "C.UTF-8", "PATH": "/usr/bin:/bin"}).stdout.split()
    answers = dict.fromkeys(texts, False)
    answers.update((t, a == "1") for t, a in zip(plain, out))
    return answers


def ends_in_separator(text):
    pkgver = text.rsplit("-", 1)[0] if "-" in text else text
    return not pkgver[-1:].isalnum()


def has_pkgrel(text):
    return "-" in text


def ranges(pool):
    r = tables.rng(SCHEME + "-ranges")
    ops = ["<", "<=", "=", ">=", ">"]

    def comparator():
        gap = " " if r.random() < 0.5 else ""
        return r.choice(ops) + gap + r.choice(pool)

    out = [f"{op}{b}" for op in ops for b in ("1.0", "1.0-1", "1:1.0", "0:1.0-2", "1.0a", "1.0.a")]
    out += [" ".join(comparator() for _ in range(r.choice([1, 1, 2, 2, 3]))) for _ in range(260)]
    return tables.dedupe(out)


def contains(text, version):
    words = text.split()
    comparators, i = [], 0
    while i < len(words):
        if words[i] in ("<", "<=", "=", ">=", ">"):
            comparators.append((words[i], words[i + 1]))
            i += 2
        else:
            op = words[i][:2] if words[i][:2] in ("<=", ">=") else words[i][0]
            comparators.append((op, words[i][len(op):]))
            i += 1
    holds = {"<": lambda c: c < 0, "<=": lambda c: c <= 0, "=": lambda c: c == 0,
             ">=": lambda c: c >= 0, ">": lambda c: c > 0}
    return all(holds[op](vercmp(version, bound)) for op, bound in comparators)


def main():
    found = versions()
    answers = accepted(found + INVALID)
    good = [v for v in found if answers[v] and not ends_in_separator(v)]
    refused = tables.dedupe(INVALID + [v for v in found if v not in set(good)])
    assert not any(answers[t] and not ends_in_separator(t) for t in INVALID)
    matrix = [[vercmp(a, b) for b in good] for a in good]
    tables.write_order(SCHEME, HEADER, good, matrix, lambda a, b: has_pkgrel(a) - has_pkgrel(b))
    tables.write_invalid(SCHEME, HEADER, refused)
    tables.write_epoch_ranges(SCHEME, HEADER, good, ["1.0", "1.0a", "1.0.a", "1.0.1", "1..0", "2"],
                              ranges, contains)


if __name__ == "__main__":
    main()
