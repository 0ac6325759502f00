"""Pickling 100,000 versions held in one list, against the newest packaging.

Run from the project's root, with the newest packaging's source on the path:

    PYTHONPATH=build:../shared/anchors/packaging /usr/bin/python3 bench/pickle_bench.py

Times pickle.dumps followed by pickle.loads of the whole list, best of several
repeats, in every protocol from 2 to the highest, and compares the sizes of
the pickles. Targets: at most 3 times packaging's time, and no larger.
"""

import pickle
import random
import sys
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
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
