"""Random interleavings of constructing, setting, reading, pickling, copying
and comparing, checked against a plain Python model of every object's fields.
tools/sanitize.sh runs this under AddressSanitizer."""

import copy
import pickle

import pytest

import tolva

st = pytest.importorskip("hypothesis.strategies")
stateful = pytest.importorskip("hypothesis.stateful")
from hypothesis import settings  # noqa: E402

V = tolva.package.version
text = st.text(alphabet="a1-.+ \0é", max_size=4)
parts = st.lists(text, max_size=4) | st.lists(st.just("p" * 30), min_size=20, max_size=40)
number = st.sampled_from([0, 1, 9, 10, 4294967295])
# Values each kind of setter refuses: each must leave the object as it was.
REFUSED = {"major": [-1, 2**32, "1", 1.5, None], "rc": ["ab", [1], 5, b"x"],
           "parts": [None, 5, [1], b"x"]}

FIELDS = {V.SemVer: ("major", "minor", "patch", "rc", "meta"),
          V.DotSeparated: ("parts",), V.Other: ("value",)}


def read(obj):
    return tuple(getattr(obj, name) for name in FIELDS[type(obj)])


class Versions(stateful.RuleBasedStateMachine):
    objects = stateful.Bundle("objects")

    def __init__(self):
        super().__init__()
        self.model = {}

    def _keep(self, obj, fields):
        self.model[id(obj)] = (obj, fields)
        return obj

    @stateful.rule(target=objects, major=number, minor=number, patch=number,
                   rc=st.none() | parts, meta=st.none() | parts)
    def semver(self, major, minor, patch, rc, meta):
        obj = V.SemVer(major=major, minor=minor, patch=patch, rc=rc, meta=meta)
        return self._keep(obj, (major, minor, patch, rc, meta))

    @stateful.rule(target=objects, value=parts)
    def dot_separated(self, value):
        return self._keep(V.DotSeparated(parts=value), (value,))

    @stateful.rule(target=objects, value=text)
    def other(self, value):
        return self._keep(V.Other(value=value), (value,))

    @stateful.rule(obj=objects, data=st.data())
    def set_a_field(self, obj, data):
        names = FIELDS[type(obj)]
        index = data.draw(st.integers(0, len(names) - 1))
        fields = list(self.model[id(obj)][1])
        if isinstance(obj, V.SemVer):
            new = data.draw(number if index < 3 else st.none() | parts)
        else:
            new = data.draw(parts if isinstance(obj, V.DotSeparated) else text)
        # Other's value is replaced through its write-only `parts`.
        setattr(obj, "parts" if isinstance(obj, V.Other) else names[index], new)
        fields[index] = new
        self.model[id(obj)] = (obj, tuple(fields))

    @stateful.rule(obj=objects, data=st.data())
    def refused_assignment_changes_nothing(self, obj, data):
        name = data.draw(st.sampled_from(["major", "rc"] if isinstance(obj, V.SemVer) else ["parts"]))
        bad = data.draw(st.sampled_from(REFUSED[name]))
        before = repr(obj)
        with pytest.raises((TypeError, OverflowError)):
            setattr(obj, name, bad)
        assert repr(obj) == before

    @stateful.rule(obj=objects, protocol=st.integers(0, pickle.HIGHEST_PROTOCOL),
                   whole=st.booleans())
    def travels(self, obj, protocol, whole):
        subject = V.Version(obj) if whole else obj
        for back in (pickle.loads(pickle.dumps(subject, protocol)), copy.copy(subject),
                     copy.deepcopy(subject)):
            assert (type(back), repr(back), str(back)) == (type(subject), repr(subject), str(subject))
            assert back == subject

    @stateful.rule(obj=objects)
    def copies_are_independent(self, obj):
        twin = copy.copy(obj)
        if isinstance(obj, V.SemVer):
            twin.rc, twin.major = ["changed"], 3
        else:
            twin.parts = ["changed"] if isinstance(obj, V.DotSeparated) else "changed"
        assert read(obj) == self.model[id(obj)][1]

    @stateful.rule(a=objects, b=objects)
    def order_is_consistent(self, a, b):
        for x, y in ((a, b), (V.Version(a), V.Version(b))):
            if type(x) is not type(y):
                continue
            assert [x < y, x == y, x > y].count(True) == 1
            assert (x <= y, x >= y, x != y) == (not x > y, not x < y, not x == y)
            assert (y < x, y == x) == (x > y, x == y)

    @stateful.invariant()
    def fields_are_the_model(self):
        for obj, fields in self.model.values():
            if isinstance(obj, V.Other):
                assert str(obj) == fields[0]
            else:
                assert read(obj) == fields


Versions.TestCase.settings = settings(max_examples=80, stateful_step_count=30, deadline=None,
                                      database=None)
TestVersions = Versions.TestCase
