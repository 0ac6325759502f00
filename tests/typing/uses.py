"""Every public feature of tolva, used as its stubs allow; mypy --strict passes."""

import copy
import pickle
from collections.abc import Hashable

import tolva

Version = tolva.package.version.Version
SemVer = tolva.package.version.SemVer
DotSeparated = tolva.package.version.DotSeparated
Other = tolva.package.version.Other

# Version: from a text, from each typed class, from another Version.
v = Version("1.2.3-rc.1")
versions: list[tolva.package.version.Version] = [
    v,
    Version(SemVer("1.2.3")),
    Version(DotSeparated("1.2")),
    Version(Other("foo_bar")),
    Version(v),
]
ordered: list[tolva.package.version.Version] = sorted(versions)
text: str = str(ordered[0]) + repr(ordered[-1])
flags: list[bool] = [v < v, v <= v, v > v, v >= v, v == v, v != v]

# SemVer: text, copy, a Version, the keyword forms; read and write every field.
s = SemVer("1.2.3")
s = SemVer(s)
s = SemVer(Version("1.2.3"))
s = SemVer(major=1, minor=2, patch=3)
s = SemVer(major=True, minor=2, patch=3, rc=["alpha", "1"], meta=("b",))
s = SemVer(major=1, minor=2, patch=3, rc=None, meta=None)
numbers: int = s.major + s.minor + s.patch
s.major = 4
s.minor = s.patch
s.patch = 0
s.rc = ["beta"]
s.rc = ("beta", "2")
s.rc = None
s.meta = []
rc: list[str] | None = s.rc
meta: list[str] | None = s.meta
flags += [s < s, s <= s, s > s, s >= s, s == s, s != s]

# DotSeparated: text, copy, a Version, keyword parts; read and write parts.
d = DotSeparated("1.2.x")
d = DotSeparated(d)
d = DotSeparated(Version("1.2"))
d = DotSeparated(parts=["1", "2"])
d = DotSeparated(parts=("a",))
d.parts = ["x", "y"]
d.parts = ("x",)
parts: list[str] = d.parts
flags += [d < d, d <= d, d > d, d >= d, d == d, d != d]

# Other: text, copy, a Version, keyword value; read value, write parts.
o = Other("foo_bar")
o = Other(o)
o = Other(Version("foo_bar"))
o = Other(value="anything at all")
o.parts = "stable"
value: str = o.value
flags += [o < o, o <= o, o > o, o >= o, o == o, o != o]

# Pickles and copies keep the class.
s = copy.copy(s).__deepcopy__({})
o = pickle.loads(pickle.dumps(o))
reduced: tuple[object, ...] = v.__reduce__()

# Everything is unhashable, so None is the only hash attribute there is.
unhashable: list[None] = [Version.__hash__, SemVer.__hash__, DotSeparated.__hash__, Other.__hash__]
maybe_hashable: object = v
if isinstance(maybe_hashable, Hashable):
    raise AssertionError

# The module functions.
tolva.test_function(v)
tolva.test_function(version=v)
tolva.init_tracing()
names: list[str] = tolva.__all__ + tolva.package.__all__ + tolva.package.version.__all__
