#!/usr/bin/env python3
"""Regenerates tests/data/schemes/pypi/ from packaging, the reference reader
of Python package versions:

    PYTHONPATH=PACKAGING_SOURCE python3 tools/oracles/pypi.py

order.tsv and invalid.tsv as tables.py says; parse.tsv is each accepted text
beside packaging's normal form, epoch, release, pre-release, post, dev and
local parts (empty when absent). In ranges.tsv the modes are "f" (filter with
no pre-release choice: pre-releases kept only when the specifier names one or
nothing else is kept), "p" (filter with pre-releases included) and "c" (the
versions contains() says yes to, one at a time).
"""
import random
import sys

import packaging
from packaging.specifiers import InvalidSpecifier, SpecifierSet
from packaging.version import InvalidVersion, Version

import language_tables as tables

rng = random.Random(440)
NUMBERS = ["0", "1", "2", "3", "9", "10", "00", "01", "007", "18446744073709551615",
           "18446744073709551616", "340282366920938463463374607431768211457"]
PRE = ["a", "alpha", "b", "beta", "c", "rc", "pre", "preview", "A", "Alpha", "RC", "Pre"]
SEPS = ["", ".", "-", "_"]


def number():
    return rng.choice(NUMBERS) if rng.random() < 0.3 else str(rng.randrange(4))


def version_text():
    parts = [rng.choice(["", "", "", "", "v", "V"])]
    if rng.random() < 0.15:
        parts.append(rng.choice(["0", "1", "2", "01", "18446744073709551616"]) + "!")
    release = [number() for _ in range(rng.choice([1, 2, 2, 3, 3, 4, 5]))]
    if rng.random() < 0.3:
        release += ["0"] * rng.randrange(1, 3)
    parts.append(".".join(release))
    if rng.random() < 0.4:
        num = rng.choice(["", number(), number()])
        parts.append(rng.choice(SEPS) + rng.choice(PRE) + (rng.choice(SEPS) if num else "") + num)
    if rng.random() < 0.3:
        if rng.random() < 0.25:
            parts.append("-" + number())
        else:
            num = rng.choice(["", number(), number()])
            label = rng.choice(["post", "rev", "r", "Post"])
            parts.append(rng.choice(SEPS) + label + (rng.choice(SEPS) if num else "") + num)
    if rng.random() < 0.25:
        num = rng.choice(["", number(), number()])
        parts.append(rng.choice(SEPS) + rng.choice(["dev", "DEV", "Dev"])
                     + (rng.choice(SEPS) if num else "") + num)
    if rng.random() < 0.2:
        segs = [rng.choice(["ubuntu", "abc", "Local", "1", "01", "2", "a1", "1a", number()])
                for _ in range(rng.randrange(1, 4))]
        parts.append("+" + "".join(s + rng.choice([".", ".", "-", "_"]) for s in segs)[:-1])
    return "".join(parts)


def mutate(text):
    i = rng.randrange(len(text) + 1)
    kind = rng.randrange(3)
    if kind == 0:
        return text[:i] + rng.choice(".-_+!*~^ a$0") + text[i:]
    if kind == 1 and text:
        return text[:i] + text[i + 1:]
    return text + rng.choice([".", "-", "+", "!", "_", ".*", "a", "+.", "++1"])


HAND = ["1.0.dev0", "1.0a1", "1.0b2.post3", "1.0rc1", "1.0", "1.0.post1", "1.0+local",
        "1!0.1", "2.0", "1.0-1", "1.0_1", "1.0.post", "1.0-post-1", "v1.0", "1.0.0.0.0",
        "1.0a", "1.0alpha1", "1.0c1", "1.0pre1", "1.0preview1", "1.0RC1", "1.0+1.01",
        "1.0+a", "1.0+1", "1.0+a.1", "1.0+a.2", "1.0+a.10", "1.0+1.a", "0!1.0", "1.0a1.dev1",
        "1.0a1.post1.dev1", "1.0.post1.dev1", "1.0.dev1", "1.0.DEV1", "1.0.post1+a",
        "", "1", "0", "1.", ".1", "1..0", "a1", "1.0-", "1.0+", "1.0+a..b", "!1", "1!",
        "1.0a1a2", "1.0.post1.post2", "1.0.dev1.dev2", "1.0+a+b", "1.0+-a", "1.0+a-",
        "1.0rc1rc2", "1.0-dev-1", "1.0a1-1", "1.0a-", "1.0++1", "v", "vv1.0", "1.0v",
        "1.0-a1", "1.0-rc.1", "1.0.a1", "1.0_rc_1", "1.0.*", "1.*", "1.0.0x1", "1e3",
        "-1", "1.-1", "1.0.post-1", "1.0-rev", "1.0-r", "1.0-1-1", "1.0-1.dev1"]


def parse(text):
    try:
        return Version(text)
    except InvalidVersion:
        return None


def compare(a, b):
    va, vb = parse(a), parse(b)
    return (va > vb) - (va < vb)


def fields(text):
    v = parse(text)
    pre = "" if v.pre is None else f"{v.pre[0]}{v.pre[1]}"
    opt = lambda x: "" if x is None else str(x)  # noqa: E731
    return [text, str(v), v.epoch, ".".join(map(str, v.release)), pre,
            opt(v.post), opt(v.dev), opt(v.local)]


RANGE_VERSIONS = ["0.9", "1.0.dev0", "1.0a1", "1.0b2", "1.0rc1", "1.0", "1.0+local",
                  "1.0.post1", "1.0.post1.dev0", "1.1a1", "1.1", "1.4", "1.4.4", "1.4.5",
                  "1.4.5a1", "1.4.5+b", "1.4.6", "1.4.10", "1.5", "1.5.0.1", "1.5.dev1",
                  "2.0", "2.0.0.1", "2.0rc1", "2.1", "3.0a1", "3.0b1.post1", "10.0", "1!0.1",
                  "1!1.0"]


def specifier_text():
    ops = ["~=", "==", "!=", "<=", ">=", "<", ">", "==", "!="]
    bases = ["1", "1.0", "1.4", "1.4.5", "2", "2.0", "1.0a1", "1.4.5a1", "1.0.post1",
             "1.0.dev0", "1!0.1", "0.9", "1.5", "10", "1.0+local", "1.1a1", "2.0rc1"]
    parts = []
    for _ in range(rng.choice([1, 1, 1, 2, 2, 3])):
        op, base = rng.choice(ops), rng.choice(bases)
        if op in ("==", "!=") and rng.random() < 0.4 and "+" not in base:
            base = ".".join(base.split(".")[:rng.randrange(1, 3)]) + ".*"
        if op == "~=" and "." not in base:
            base += ".0"
        parts.append(op + rng.choice(["", "", " "]) + base)
    return rng.choice([",", ", ", " ,"]).join(parts)


SPEC_HAND = ["~=1.4.5", "==1.4.*", "~=1.4", "~=2.0", "==1.0", "==1.0+local", "!=1.0",
             ">1.0", ">=1.0", "<1.1", "<=1.0", "<1.0.post1", ">1.0.post1", "<1.1a1",
             ">1.0.dev0", "<2.0", ">=1.0a1", "===1.0", "===1.0+local", "!=1.*", "==1.*",
             ">1.4.5,<1.4.6", ">=1.0rc1,<1.0", ">1.0,<1.0.post1", "==1.1a1", ">1.0+local",
             "<=1.0+local", "==1!0.1", ">=1!0", ">1.4.5a1,<1.4.5", "",
             # ranges that hold pre-releases only, which filter keeps then
             ">2.1,<10", "~=2.1.1", ">=2.2", "==3.*", ">2.1,!=3.0b1.post1"]
BAD_SPECS = ["~=1", "=1.0", "==1.0.*.1", "<1.*", "~=1.*", ">=1.0+local", "==", "1.0",
             "=>1.0", ">=1.0,,<2", "~= 1.0 .1", "!=1.0+a.*", "===", "==1.0+"]


def main():
    print("packaging", packaging.__version__, file=sys.stderr)
    texts = set(HAND)
    while len(texts) < 2600:
        t = version_text()
        texts.add(t)
        if rng.random() < 0.15:
            texts.add(mutate(t))
    # packaging strips blanks around a text; tolva reads the text as given
    texts = {t for t in texts if t == t.strip()}
    valid = sorted(t for t in texts if parse(t) is not None)
    groups = tables.classes(valid, compare)
    tables.check_total(groups, compare, rng)
    tables.write_order("pypi", groups)
    tables.write_invalid("pypi", [t for t in texts if parse(t) is None])
    tables.write_rows("pypi", "parse.tsv", [fields(t) for t in sorted(set(valid[::4]) | {h for h in HAND if parse(h)})])

    specs = list(dict.fromkeys(SPEC_HAND + [specifier_text() for _ in range(220)]))
    rows, refused = [], []
    for s in specs:
        try:
            spec = SpecifierSet(s)
        except InvalidSpecifier:
            refused.append(s)
            continue
        rows.append((s, "f", list(spec.filter(RANGE_VERSIONS))))
        rows.append((s, "p", list(spec.filter(RANGE_VERSIONS, prereleases=True))))
        rows.append((s, "c", [v for v in RANGE_VERSIONS if spec.contains(v)]))
    tables.write_ranges("pypi", RANGE_VERSIONS, rows)
    bad = []
    for s in BAD_SPECS + refused:
        try:
            SpecifierSet(s)
        except InvalidSpecifier:
            bad.append(s)
    tables.write_rows("pypi", "invalid_ranges.tsv", [[s] for s in sorted(set(bad))])


main()
