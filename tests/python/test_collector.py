"""Python code that runs while a getter or the pickler is at work (finalizers
run by the collector, other threads) may replace the very lists being read:
what comes back is one whole value, old or new, never freed memory."""

import json

import pytest

# Each collection finds a fresh cycle whose finalizer calls the snippet's
# replace() and leaves another cycle behind, so the collector that an
# allocation inside the read starts always changes the object under it.
FINALIZER_REPLACES = """
    left = [200]

    class Evil:
        def __del__(self):
            if left[0] > 0:
                left[0] -= 1
                replace(left[0])
                again = Evil()
                again.cycle = again
                # Emptied free lists make the next list or dict a fresh
                # allocation, and so the next collection.
                for _ in range(100):
                    pending.append([])
                    pending.append({})

    gc.disable()
    first = Evil()
    first.cycle = first
    del first
    pending = [[] for _ in range(200)]
    gc.enable()
    gc.set_threshold(1)
"""

# The list changes size, so a stale view reads memory that is no longer one
# whole list.
REPLACED_DURING_READ = """
    import copy, gc, pickle, sys
    import tolva
    V = tolva.package.version
    attr, how = {attr!r}, {how!r}
    # Blanks keep the pickle from taking the text form, so it reads the lists.
    old, new = ["p " * 20] * 2000, ["q " * 20] * 1500
    obj = (V.DotSeparated(parts=old) if attr == "parts"
           else V.SemVer(major=1, minor=2, patch=3, **{{attr: old}}))
    def replace(left):
        setattr(obj, attr, new if left % 2 else old)
{finalizer}    if how == "get":
        got = getattr(obj, attr)
    elif how == "pickle":
        got = getattr(pickle.loads(pickle.dumps(obj)), attr)
    else:
        got = getattr(copy.deepcopy(obj), attr)
    gc.set_threshold(700)
    print(got in (old, new), left[0] < 200)
"""


@pytest.mark.parametrize("how", ["get", "pickle", "copy"])
@pytest.mark.parametrize("attr", ["rc", "meta", "parts"])
def test_list_replaced_by_a_finalizer_while_read(run_python, attr, how):
    ran = run_python(REPLACED_DURING_READ.format(attr=attr, how=how, finalizer=FINALIZER_REPLACES))
    assert (ran.returncode, ran.stdout, ran.stderr[-2000:]) == (0, "True True\n", "")


# A finalizer that replaces rc and meta together while the pickler reads
# them: each unpickled value holds one pair, never an old rc with a new meta.
PAIR_REPLACED_DURING_PICKLE = """
    import gc, pickle
    import tolva
    old = (["r " * 20] * 2000, ["m " * 20] * 2000)
    new = (["s " * 20] * 1500, ["n " * 20] * 1500)
    obj = tolva.package.version.SemVer(major=1, minor=2, patch=3, rc=old[0], meta=old[1])
    def replace(left):
        obj.rc, obj.meta = new if left % 2 else old
{finalizer}    got = [pickle.loads(pickle.dumps(obj)) for _ in range(20)]
    gc.set_threshold(700)
    print(all((v.rc, v.meta) in (old, new) for v in got), left[0] < 200)
"""


def test_rc_and_meta_replaced_together_while_pickled(run_python):
    ran = run_python(PAIR_REPLACED_DURING_PICKLE.replace("{finalizer}", FINALIZER_REPLACES))
    assert (ran.returncode, ran.stdout, ran.stderr[-2000:]) == (0, "True True\n", "")


STRESS = """
    import copy, gc, json, pickle, sys, threading, time
    import tolva
    V = tolva.package.version
    sys.setswitchinterval(1e-5)
    s = V.SemVer(major=1, minor=2, patch=3, rc=["r" * 30] * 50, meta=["m"] * 9)
    d = V.DotSeparated(parts=["p" * 30] * 50)
    lists = [["a" * 25] * n for n in (0, 1, 7, 60)]
    stop = time.monotonic() + {seconds}
    failures, reads = [], [0]

    class Garbage:
        def __del__(self):
            s.meta = lists[len(lists) - 1 - reads[0] % len(lists)]

    def read():
        while time.monotonic() < stop:
            for got in (s.rc, s.meta, d.parts, pickle.loads(pickle.dumps(s)).rc,
                        copy.copy(d).parts):
                if got not in lists and got != ["r" * 30] * 50 and got != ["p" * 30] * 50 \\
                        and got != ["m"] * 9:
                    failures.append(repr(got)[:200])
            str(s), repr(d), s < s, d == d
            reads[0] += 1

    def write():
        i = 0
        while time.monotonic() < stop:
            s.rc = lists[i % len(lists)]
            d.parts = lists[(i + 1) % len(lists)]
            g = Garbage()
            g.cycle = g
            i += 1

    def run(body):
        try:
            body()
        except BaseException as error:
            failures.append(repr(error))

    gc.set_threshold(5)
    threads = [threading.Thread(target=run, args=(f,)) for f in (read, read, write, write)]
    for t in threads:
        t.start()
    for t in threads:
        t.join()
    print(json.dumps({{"failures": failures[:5], "reads": reads[0]}}))
"""


def test_readers_and_writers_in_threads_with_the_collector_running(run_python):
    ran = run_python(STRESS.format(seconds=3))
    assert ran.returncode == 0, ran.stderr[-2000:]
    summary = json.loads(ran.stdout)
    assert summary["failures"] == [] and summary["reads"] > 0
