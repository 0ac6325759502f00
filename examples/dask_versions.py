"""Parses a large list of versions on a Dask cluster, then prints how many
texts gave each kind and the newest versions of each kind.

    python3 examples/dask_versions.py [FILE] [--workers N] [--top N]

FILE holds one version a line. Without it, the versions of every package in
Debian's package list (`apt-cache dumpavail`) are parsed, tens of thousands
of texts. The script starts a cluster of worker processes on this machine;
the workers read the list, split it, parse it and count, under one progress
bar, and only the counts and the newest versions come back: the Version
objects travel between the processes as pickles. Debian writes many versions
that tolva's grammar does not read (an epoch "1:", a "~"), and those are
counted as rejected.

It needs Dask's distributed scheduler (Debian's python3-distributed): run it
with the interpreter that has it, /usr/bin/python3 on Debian, or from a
virtual environment made with --system-site-packages.
"""

from __future__ import annotations

import argparse
import functools
import logging
import os
import subprocess
import sys

try:
    import dask
    import dask.bag
    import distributed
except ImportError as error:
    missing_dask: ImportError | None = error
else:
    missing_dask = None

import tolva

KINDS = ("SemVer", "DotSeparated", "Other")


# A local computation is reachable from this machine only: the scheduler, the
# nannies and the workers listen on the loopback address at free ports, and no
# dashboard is served. Each still runs an HTTP server for its health checks;
# without an address of its own it would listen on every interface.
LOOPBACK_ONLY = dict(host="127.0.0.1", dashboard_address="127.0.0.1:0",
                     worker_dashboard_address="127.0.0.1:0",
                     scheduler_kwargs={"dashboard": False})


def parse(text: str) -> tolva.package.version.Version | None:
    """The version of `text`, or None when the grammar rejects it. This runs on
    the workers, so it reaches the class through the module: a class bound to a
    global of this script would be copied by value into the task and fail there."""
    try:
        return tolva.package.version.Version(text)
    except RuntimeError:
        return None


def kind(version: tolva.package.version.Version | None) -> str:
    """ "SemVer", "DotSeparated" or "Other", from the debug form
    ("Version::SemVer { ... }"); "rejected" for None."""
    if version is None:
        return "rejected"
    return repr(version).split("::", 1)[1].split(" ", 1)[0]


def of_kind(name: str, version: tolva.package.version.Version | None) -> bool:
    return kind(version) == name


def read_texts(path: str | None) -> list[str]:
    """The non-empty lines of the file at `path`, or Debian's versions when
    `path` is None. This runs on a worker, as the first task of the graph."""
    if path is None:
        listing = subprocess.run(["apt-cache", "dumpavail"], capture_output=True, check=True).stdout
        return [line[len(b"Version: "):].decode("utf-8", "replace")
                for line in listing.splitlines() if line.startswith(b"Version: ")]
    with open(path, encoding="utf-8", errors="replace", newline="") as file:
        return [line for line in file.read().splitlines() if line]


def share(texts: list[str], index: int, count: int) -> list[str]:
    """The `index`-th of `count` nearly equal runs of `texts`."""
    return texts[len(texts) * index // count:len(texts) * (index + 1) // count]


def at_least_one(text: str) -> int:
    """An argparse type: a whole number of at least 1."""
    try:
        number = int(text)
    except ValueError:
        number = 0
    if number < 1:
        raise argparse.ArgumentTypeError(f"expected a whole number of at least 1, got {text!r}")
    return number


def main(argv: list[str] | None = None) -> int:
    parser = argparse.ArgumentParser(prog="dask_versions.py",
                                     description="Parse versions on a local Dask cluster.")
    parser.add_argument("file", nargs="?",
                        help="file of versions, one a line (default: apt-cache dumpavail)")
    parser.add_argument("--workers", type=at_least_one, default=2, metavar="N",
                        help="worker processes (default 2)")
    parser.add_argument("--top", type=at_least_one, default=10, metavar="N",
                        help="newest versions shown of each kind (default 10)")
    args = parser.parse_args(argv)
    if missing_dask is not None:
        parser.error(f"needs Dask's distributed scheduler ({missing_dask}); on Debian, install "
                     "python3-distributed and run this with /usr/bin/python3 or from a virtual "
                     "environment made with --system-site-packages")

    source = args.file or "apt-cache dumpavail"
    # The workers may not share this process's working directory.
    path = os.path.abspath(args.file) if args.file else None
    print(f"starting {args.workers} worker processes", flush=True)
    with distributed.LocalCluster(n_workers=args.workers, threads_per_worker=1, processes=True,
                                  silence_logs=logging.ERROR, **LOOPBACK_ONLY) as cluster, \
            distributed.Client(cluster) as client:
        # One graph from reading to the results, so that the progress bar
        # covers all of it and the list itself never passes through here.
        texts = dask.delayed(read_texts, pure=False)(path)
        partitions = 4 * args.workers
        parsed = dask.bag.from_delayed(
            [dask.delayed(share)(texts, i, partitions) for i in range(partitions)]).map(parse)
        results = client.compute([
            parsed.count(), parsed.map(kind).frequencies(),
            *(parsed.filter(functools.partial(of_kind, name)).topk(args.top) for name in KINDS)])
        distributed.progress(results)
        print()
        try:
            total, counts, *newest = client.gather(results)
        except (OSError, subprocess.CalledProcessError) as error:
            print(f"{parser.prog}: cannot read {source}: {error}", file=sys.stderr)
            return 2
    counts = dict(counts)

    print(f"{total:,} versions from {source}")
    print(f"parsed on {args.workers} workers: " + ", ".join(
        f"{counts.get(name, 0):,} {name}" for name in (*KINDS, "rejected")))
    for name, versions in zip(KINDS, newest):
        print(f"newest {name}: " + (", ".join(str(v) for v in versions) or "none"))
    return 0


if __name__ == "__main__":
    sys.exit(main())
