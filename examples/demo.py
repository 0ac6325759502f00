"""A short tour of tolva: reading versions of each kind, printing, ordering,
building and changing typed versions, and the report for a rejected text."""

import sys

import tolva

# The submodules are attributes of the top module, not importable packages.
Version = tolva.package.version.Version
SemVer = tolva.package.version.SemVer
DotSeparated = tolva.package.version.DotSeparated
Other = tolva.package.version.Other
test_function = tolva.test_function


def section(title):
    print()
    print(f"== {title}")


section("Reading texts: the grammar picks the kind")
for text in ["1.2.3-rc.1+build.5", "v2.0.0", "1.2", "2024.10.x", "nightly", "foo_bar", ""]:
    v = Version(text)
    print(f"{text!r:22} str={str(v)!r:22} repr={v!r}")

section("Ordering: SemVer before DotSeparated before Other; parts compare as text")
texts = ["1.10.0", "1.2.3", "1.2.3-rc.1", "1.2.3-alpha.10", "1.2.3-alpha.9", "1.2", "1.2.0.1", "beta_2", "0"]
for v in sorted(Version(t) for t in texts):
    print(f"  {v}")

section("Typed versions: build, read, change")
s = SemVer(major=1, minor=4, patch=0, rc=["beta", "2"])
print(f"SemVer(major=1, minor=4, patch=0, rc=['beta', '2']) -> {s}")
s.rc = None
s.meta = ("linux", "x86_64")
print(f"after rc=None, meta=('linux', 'x86_64')            -> {s}  (major={s.major}, rc={s.rc}, meta={s.meta})")
d = DotSeparated("2024.10.1")
d.parts = ["2024", "11"]
print(f"DotSeparated parts changed                        -> {d}  {d!r}")
o = Other("nightly_build")
o.parts = "stable"
print(f"Other value replaced                              -> {o.value}")
print(f"SemVer('1.0.0+a') == SemVer('1.0.0+b')            -> {SemVer('1.0.0+a') == SemVer('1.0.0+b')}")

section("test_function writes to descriptor 1")
sys.stdout.flush()  # test_function bypasses sys.stdout; keep the lines in order
test_function(Version("v3.1.4"))

section("A rejected text and its report")
try:
    SemVer("1.2.3x")
except RuntimeError as error:
    print(type(error).__name__ + ":")
    print(error, end="")
