"""Every operation of the module, thousands of times over: memory stays flat.

Run as a script, this file is also the tour that tools/valgrind.sh watches:
    python3 tests/python/test_leaks.py ROUNDS
"""

import copy
import ctypes
import gc
import json
import os
import pickle
import sys

import tolva

V = tolva.package.version
Version, SemVer, DotSeparated, Other = V.Version, V.SemVer, V.DotSeparated, V.Other


class Index:
    def __init__(self, result):
        self.result = result

    def __index__(self):
        if isinstance(self.result, BaseException):
            raise self.result
        return self.result


class Seq:
    """A sequence whose length lies and whose iteration fails at `fail_at`."""

    def __init__(self, items, fail_at=None):
        self.items, self.fail_at = items, fail_at

    def __len__(self):
        return 10 ** 6

    def __getitem__(self, i):
        if i == self.fail_at:
            raise KeyError("midway")
        return self.items[i]


class Unnamed(type):
    @property
    def __name__(cls):
        raise LookupError("no name")


class Anonymous(metaclass=Unnamed):
    pass


def caused_type_error():
    error = TypeError("outer")
    error.__cause__ = KeyError("inner")
    return error


def refused(call, *args, **kwargs):
    try:
        call(*args, **kwargs)
    except Exception:
        return
    raise AssertionError(f"{call!r}{args}{kwargs} was accepted")


def set_attr(obj, name, value):
    setattr(obj, name, value)


def del_attr(obj, name):
    delattr(obj, name)


def less(a, b):
    return a < b


def tour():
    """One round: every constructor form, getter, setter, comparison, text and
    debug form, and every refusal."""
    versions = [Version(t) for t in ("1.2.3-rc.1+b.2", "v1.2", "foo_bar", "")]
    s = SemVer("1.2.3-a.b+c")
    d = DotSeparated("1.2.x")
    o = Other("foo_bar")
    versions += [Version(s), Version(d), Version(o), Version(versions[0])]
    typed = [
        s, d, o,
        SemVer(major=1, minor=2, patch=3, rc=["a"], meta=("b",)),
        SemVer(major=True, minor=Index(2), patch=3, rc=None),
        SemVer(s), SemVer(versions[0]),
        DotSeparated(parts=("a", "b")), DotSeparated(d), DotSeparated(versions[1]),
        Other(value="anything at all"), Other(o), Other(versions[2]),
    ]
    for obj in versions + typed:
        str(obj)
        repr(obj)
    # Values pickled as text, and as fields.
    for obj in (versions[0], d, Other(value="a b"), Version(DotSeparated(parts=["1", "2", "3"]))):
        pickle.loads(pickle.dumps(obj)), copy.copy(obj), copy.deepcopy(obj)
    for a, b in zip(versions + typed, versions[1:] + typed[1:]):
        a == b, a != b
        if type(a) is type(b):
            a < b, a <= b, a > b, a >= b
    s.major, s.minor, s.patch, s.rc, s.meta, d.parts, o.value
    s.major, s.minor, s.patch = 4, Index(5), True
    s.rc, s.meta = ("x", "y"), None
    s.meta = []
    d.parts = ["p", "q"]
    o.parts = "next"
    tolva.test_function(versions[0])
    tolva.test_function(version=versions[1])
    try:
        tolva.init_tracing()  # installs on the first call of the process only
    except RuntimeError:
        pass

    for call, args, kwargs in [
        (Version, (" 1.2.3",), {}),
        (Version, ("1.2\x00",), {}),
        (Version, ("\ud800",), {}),
        (Version, (5,), {}),
        (Version, (Anonymous(),), {}),
        (Version, (), {}),
        (Version, ("1", "2"), {}),
        (Version, ("1",), {"strict": True}),
        (SemVer, ("1.2",), {}),
        (SemVer, (), {}),
        (SemVer, ("1", "2"), {}),
        (SemVer, ("1.2.3",), {"major": 1}),
        (SemVer, (), {"minor": 1}),
        (SemVer, (), {"major": -1, "minor": 0, "patch": 0}),
        (SemVer, (), {"major": 2 ** 70, "minor": 0, "patch": 0}),
        (SemVer, (), {"major": Index(ValueError("index")), "minor": 0, "patch": 0}),
        (SemVer, (), {"major": 1, "minor": 0, "patch": 0, "rc": "ab"}),
        (SemVer, (), {"major": 1, "minor": 0, "patch": 0, "meta": Seq(["a", "b"], 1)}),
        (SemVer, (), {"major": 1, "minor": 0, "patch": 0, "extra": 1}),
        (SemVer, (5,), {}),
        (SemVer, (versions[1],), {}),
        (DotSeparated, ("a b",), {}),
        (DotSeparated, (), {"parts": ["a", 1]}),
        (DotSeparated, (), {"parts": {"a": 1}}),
        (DotSeparated, (), {"extra": 1}),
        (DotSeparated, (versions[0],), {}),
        (DotSeparated, (Anonymous(),), {}),
        (Other, ("1.2",), {}),
        (Other, (), {"value": 5}),
        (Other, (), {"value": "\udcff"}),
        (Other, (), {"parts": "x"}),
        (Other, (versions[1],), {}),
        (tolva.test_function, (5,), {}),
        (tolva.test_function, (), {}),
        (tolva.test_function, (versions[0], versions[0]), {}),
        (tolva.test_function, (versions[0],), {"version": versions[0]}),
        (tolva.test_function, (), {"v": versions[0]}),
        (hash, (s,), {}),
        (less, (versions[0], s), {}),
        (set_attr, (s, "major", "x"), {}),
        (set_attr, (s, "minor", Index(caused_type_error())), {}),
        (set_attr, (s, "patch", -1), {}),
        (set_attr, (s, "rc", [1]), {}),
        (set_attr, (s, "meta", Seq(["a", "b"], 1)), {}),
        (set_attr, (d, "parts", "ab"), {}),
        (set_attr, (o, "parts", 5), {}),
        (set_attr, (o, "value", "x"), {}),
        (del_attr, (s, "major"), {}),
        (del_attr, (d, "parts"), {}),
    ]:
        refused(call, *args, **kwargs)


def malloc_in_use():
    """Bytes the C allocator has handed out and not taken back."""
    class MallInfo2(ctypes.Structure):
        _fields_ = [(name, ctypes.c_size_t) for name in (
            "arena", "ordblks", "smblks", "hblks", "hblkhd", "usmblks", "fsmblks",
            "uordblks", "fordblks", "keepcost")]

    mallinfo2 = ctypes.CDLL(None).mallinfo2
    mallinfo2.restype = MallInfo2
    info = mallinfo2()
    return info.uordblks + info.hblkhd


def resident_bytes():
    with open("/proc/self/statm") as statm:
        return int(statm.read().split()[1]) * os.sysconf("SC_PAGE_SIZE")


def live_instances():
    """Instances of the module's classes alive in the process, by the module's own
    count; None from a build that does not export it (meson option instance_counts)."""
    try:
        count = ctypes.CDLL(tolva.__file__).tolva_live_instances
    except AttributeError:
        return None
    count.restype = ctypes.c_int64
    return count()


def sample():
    gc.collect()  # refused calls leave tracebacks in reference cycles
    return {"blocks": sys.getallocatedblocks(), "rss": resident_bytes(),
            "malloc": malloc_in_use(), "live": live_instances(),
            "class_refs": [sys.getrefcount(cls) for cls in (Version, SemVer, DotSeparated, Other)]}


def measure(warm_up, rounds):
    """Memory after warm-up rounds and after `rounds` more, with the lines of
    test_function sent to /dev/null."""
    saved = os.dup(1)
    null = os.open(os.devnull, os.O_WRONLY)
    os.dup2(null, 1)
    try:
        for _ in range(warm_up):
            tour()
        before = sample()
        for _ in range(rounds):
            tour()
        after = sample()
    finally:
        os.dup2(saved, 1)
    return before, after


def test_memory_stays_flat(run_python):
    ran = run_python(f"""
        import json, sys
        sys.path.insert(0, {os.path.dirname(__file__)!r})
        import test_leaks
        print(json.dumps(test_leaks.measure(2000, 10000)))
    """)
    assert ran.returncode == 0, ran.stderr
    before, after = json.loads(ran.stdout)
    # Every instance holds a reference to its class: a lost or an extra one
    # shows here however small the objects are.
    assert (after["live"], after["class_refs"]) == (before["live"], before["class_refs"])
    # A leak of one object or one buffer per round would grow these by
    # thousands of blocks, or by hundreds of kilobytes (a heap chunk is at
    # least 32 bytes). The warm-up outlasts the thousand or so calls after
    # which CPython 3.10+ builds its caches for hot code; the interpreter still
    # moves its own block count by a few hundred now and then.
    assert after["blocks"] - before["blocks"] < 1000
    if "libasan" not in os.environ.get("LD_PRELOAD", ""):
        # The sanitizer's allocator holds freed memory back on purpose.
        assert after["malloc"] - before["malloc"] < 64 * 1024
        assert after["rss"] - before["rss"] < 1024 * 1024


def test_the_live_instance_count_follows_the_objects():
    start = live_instances()
    if start is None:
        import pytest  # imported here: the file also runs as a plain script under valgrind

        pytest.skip("this build does not export the live-instance count (option instance_counts)")
    held = [Version("1"), SemVer("1.2.3"), DotSeparated("1.2"), Other("x")]
    assert live_instances() == start + len(held)
    del held
    assert live_instances() == start


if __name__ == "__main__":
    for _ in range(int(sys.argv[1]) if len(sys.argv) > 1 else 1):
        tour()
