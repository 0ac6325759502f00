"""Parses a large list of versions on a Dask cluster, then prints how many
texts gave each kind and the newest versions of each kind.

    python3 examples/dask_versions.py [FILE] [--workers N] [--top N]

FILE holds one version a line. Without it, the versions of every package in
Debian's package list (`apt-cache dumpavail`) are parsed, tens of thousands
of texts. The script starts a cluster of worker processes on this machine,
parses on the workers with a progress bar, and brings back only the counts
and the newest versions: the Version objects travel between the processes
as pickles. Debian writes many versions that tolva's grammar does not read
(an epoch "1:", a "~"), and those are counted as rejected.
"""

from __future__ import annotations

import argparse
import functools
import logging
import subprocess
import sys

import dask
import dask.bag
import distributed

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


def debian_versions() -> list[str]:
    listing = subprocess.run(["apt-cache", "dumpavail"], capture_output=True, check=True).stdout
    return [line[len(b"Version: "):].decode("utf-8", "replace")
            for line in listing.splitlines() if line.startswith(b"Version: ")]


def file_versions(path: str) -> list[str]:
    with open(path, encoding="utf-8", errors="replace", newline="") as file:
        return [line for line in file.read().splitlines() if line]


def main(argv: list[str] | None = None) -> int:
    parser = argparse.ArgumentParser(prog="dask_versions.py",
                                     description="Parse versions on a local Dask cluster.")
    parser.add_argument("file", nargs="?",
                        help="file of versions, one a line (default: apt-cache dumpavail)")
    parser.add_argument("--workers", type=int, default=2, help="worker processes (default 2)")
    parser.add_argument("--top", type=int, default=10, help="newest versions shown (default 10)")
    args = parser.parse_args(argv)

    source = args.file or "apt-cache dumpavail"
    try:
        texts = file_versions(args.file) if args.file else debian_versions()
    except (OSError, subprocess.CalledProcessError) as error:
        print(f"{parser.prog}: cannot read {source}: {error}", file=sys.stderr)
        return 2
    print(f"{len(texts):,} versions from {source}")

    with distributed.LocalCluster(n_workers=args.workers, threads_per_worker=1, processes=True,
                                  silence_logs=logging.ERROR, **LOOPBACK_ONLY) as cluster, \
            distributed.Client(cluster):
        parsed = dask.bag.from_sequence(texts, npartitions=4 * args.workers).map(parse).persist()
        distributed.progress(parsed)
        print()
        counts, *newest = dask.compute(
            parsed.map(kind).frequencies(),
            *(parsed.filter(functools.partial(of_kind, name)).topk(args.top) for name in KINDS))
    counts = dict(counts)

    print(f"parsed on {args.workers} workers: " + ", ".join(
        f"{counts.get(name, 0):,} {name}" for name in (*KINDS, "rejected")))
    for name, versions in zip(KINDS, newest):
        print(f"newest {name}: " + (", ".join(str(v) for v in versions) or "none"))
    return 0


if __name__ == "__main__":
    sys.exit(main())
