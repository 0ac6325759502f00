"""Uses of tolva that fail at run time; mypy --strict reports each line marked E."""

import tolva

Version = tolva.package.version.Version
SemVer = tolva.package.version.SemVer
DotSeparated = tolva.package.version.DotSeparated
Other = tolva.package.version.Other

v = Version("1.2.3")
s = SemVer("1.2.3")
d = DotSeparated("1.2")
o = Other("foo_bar")

# Constructors: argument counts, types and keywords they refuse.
Version()  # E: no argument
Version("1", "2")  # E: two arguments
Version(5)  # E: an int
Version(b"1.2")  # E: bytes are not parsed
Version("1.0", strict=True)  # E: no keywords
SemVer()  # E: no argument
SemVer(1, 2, 3)  # E: numbers only by keyword
SemVer(5)  # E: an int
SemVer(d)  # E: another typed class
SemVer("1.2.3", major=1)  # E: both forms at once
SemVer(major=1, minor=2)  # E: patch missing
SemVer(major=1, minor=2, patch=3, build=4)  # E: unknown keyword
SemVer(major="1", minor=2, patch=3)  # E: a text for a number
SemVer(major=1.0, minor=2, patch=3)  # E: a float for a number
SemVer(major=1, minor=2, patch=3, rc=[1])  # E: numbers for parts
DotSeparated(["1", "2"])  # E: a list only by keyword
DotSeparated(parts=None)  # E: parts cannot be None
DotSeparated(parts=[1, 2])  # E: numbers for parts
DotSeparated(extra=1)  # E: unknown keyword
Other(value=5)  # E: a number for the text
Other(parts="x")  # E: the keyword is value
Other(s)  # E: another typed class

# Fields: wrong types out, wrong types in, and the one-way attributes of Other.
s.major.upper()  # E: reads as an int
s.rc.append("x")  # E: reads as None when absent
s.major = "1"  # E: a text for a number
s.rc = [1, 2]  # E: numbers for parts
s.meta = 5  # E: not a sequence
d.parts = None  # E: parts cannot be None
d.parts = 1  # E: not a sequence
o.value = "x"  # E: value is read-only
o_parts: str = o.parts  # E: parts is write-only
o.parts = 5  # E: a number for the text

# Ordering only within a class; equality across classes is always False.
v < s  # E: Version against SemVer
s <= "1.2.3"  # E: SemVer against str
d > o  # E: DotSeparated against Other
o >= v  # E: Other against Version
v == s  # E: never equal
d != "1.2"  # E: never equal

# Version has no fields; nothing is hashable.
v.major  # E: no fields on Version
hash_of: int = v.__hash__()  # E: unhashable

# The module functions.
tolva.test_function("1.2.3")  # E: needs a Version
tolva.test_function(s)  # E: needs a Version
tolva.test_function(v, v)  # E: one argument
tolva.init_tracing(True)  # E: no arguments
tolva.InternalError  # E: not an attribute of the module
