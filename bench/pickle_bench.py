"""Pickling 100,000 versions held in one list, against the newest packaging.

Run from the project's root, with the newest packaging's source on the path:

    PYTHONPATH=build:../shared/anchors/packaging /usr/bin/python3 bench/pickle_bench.py

Times pickle.dumps followed by pickle.loads of the whole list, best of several
repeats, in every protocol from 2 to the highest, and compares the sizes of
the pickles. Targets: at most 3 times packaging's time, and no larger.

Then one value: the pickle of Version("1.2.3") in every protocol, against
packaging's and against the earlier form, in which each class pickled as
operator.attrgetter("package.version.Version")(importlib.import_module("tolva"));
target: smaller than both. And the peak memory that pickle.dumps adds for a
value read from a 50 MB text of one-character parts ("a.a.a..."), measured in
a fresh interpreter as the growth of its resident peak; target: at most 3
times the text's length.
"""

import importlib
import operator
import os
import pickle
import random
import subprocess
import sys
import textwrap
import timeit

import packaging
import packaging.version

import tolva

Version = tolva.package.version.Version
COUNT = 100_000


def sample_texts(count):
    rng = random.Random(7)
    return [f"{rng.randrange(20)}.{rng.randrange(50)}.{rng.randrange(100)}" for _ in range(count)]


def round_trip_seconds(values, protocol):
    return min(timeit.repeat(lambda: pickle.loads(pickle.dumps(values, protocol)),
                             repeat=5, number=1))


class EarlierModule:
    def __reduce__(self):
        return importlib.import_module, ("tolva",)


class EarlierClass:
    def __call__(self, text):
        return Version(text)

    def __reduce__(self):
        return operator.attrgetter("package.version.Version"), (EarlierModule(),)


class EarlierForm:
    """Pickles as a Version of `text` did before the classes had names of their own."""

    def __init__(self, text):
        self.text = text

    def __reduce__(self):
        return EarlierClass(), (self.text,)


def single_value_sizes():
    print(f"\n{'protocol':>8}  {'tolva bytes':>11}  {'earlier bytes':>13}  {'packaging bytes':>15}"
          "  (Version(\"1.2.3\") alone)")
    failed = False
    for protocol in range(pickle.HIGHEST_PROTOCOL + 1):
        ours = len(pickle.dumps(Version("1.2.3"), protocol))
        earlier = len(pickle.dumps(EarlierForm("1.2.3"), protocol))
        theirs = len(pickle.dumps(packaging.version.Version("1.2.3"), protocol))
        failed |= ours >= earlier or ours >= theirs
        print(f"{protocol:>8}  {ours:>11,}  {earlier:>13,}  {theirs:>15,}")
    print("target: smaller than the earlier form and than packaging:", "missed" if failed else "met")
    return failed


PEAK_SNIPPET = """
import gc, pickle, sys, tolva
def used(key):
    with open("/proc/self/status") as status:
        return next(int(l.split()[1]) for l in status if l.startswith(key)) * 1024
text = "a." * (int(sys.argv[1]) // 2) + "a"
value = tolva.package.version.Version(text)
gc.collect()
with open("/proc/self/clear_refs", "w") as clear:
    clear.write("5")  # the resident peak starts again from here
before = used("VmRSS:")
size = len(pickle.dumps(value))
print(len(text), size, used("VmHWM:") - before)
"""


def long_value_peak(text_length=50_000_000):
    ran = subprocess.run([sys.executable, "-c", textwrap.dedent(PEAK_SNIPPET), str(text_length)],
                         capture_output=True, text=True, check=True, env=os.environ)
    length, size, extra = map(int, ran.stdout.split())
    ratio = extra / length
    print(f"\npickle.dumps of a value read from {length / 1e6:.0f} MB of one-character parts: "
          f"{size / 1e6:.1f} MB pickle, peak extra {extra / 1e6:.1f} MB = {ratio:.2f} x the text "
          f"(target <= 3): {'met' if ratio <= 3 else 'missed'}")
    return ratio > 3


def main():
    texts = sample_texts(COUNT)
    ours = [Version(t) for t in texts]
    theirs = [packaging.version.Version(t) for t in texts]
    assert [str(v) for v in pickle.loads(pickle.dumps(ours))] == texts

    print(f"python {sys.version.split()[0]}, packaging {packaging.__version__}, "
          f"{COUNT:,} versions x.y.z in one list")
    print(f"{'protocol':>8}  {'tolva ms':>9}  {'packaging ms':>12}  {'time ratio':>10}  "
          f"{'tolva bytes':>11}  {'packaging bytes':>15}  {'size ratio':>10}")
    failed = False
    for protocol in range(2, pickle.HIGHEST_PROTOCOL + 1):
        t_ours = round_trip_seconds(ours, protocol)
        t_theirs = round_trip_seconds(theirs, protocol)
        s_ours = len(pickle.dumps(ours, protocol))
        s_theirs = len(pickle.dumps(theirs, protocol))
        time_ratio, size_ratio = t_ours / t_theirs, s_ours / s_theirs
        failed |= time_ratio > 3 or size_ratio > 1
        print(f"{protocol:>8}  {t_ours * 1e3:>9.1f}  {t_theirs * 1e3:>12.1f}  {time_ratio:>10.2f}  "
              f"{s_ours:>11,}  {s_theirs:>15,}  {size_ratio:>10.2f}")
    print("targets: time ratio <= 3, size ratio <= 1:", "missed" if failed else "met")
    failed |= single_value_sizes()
    failed |= long_value_peak()
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
