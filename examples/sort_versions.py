"""Sorts version numbers by tolva's ordering.

Reads one version a line from FILE, or from standard input when FILE is
missing or "-", and writes the lines it accepts to standard output, sorted:
semantic versions first (a release after its release candidates), then
dot-separated lists, then other identifiers; parts compare as text. Equal
versions keep their input order, and each line is written as it was read.
Empty lines are skipped.

Each rejected line is reported on standard error by tolva's report, its
header naming FILE:LINE:COLUMN and its gutter showing LINE, as the tolva
command reports it. Exit status: 0 when every line was read, 1 when any line was
rejected, 2 for a usage error or a file that cannot be read.

    python3 examples/sort_versions.py versions.txt
    git tag | python3 examples/sort_versions.py
"""

from __future__ import annotations

import argparse
import os
import sys
from collections.abc import Iterator
from typing import BinaryIO

import tolva

Version = tolva.package.version.Version
PARSER = "tolva::package::version::Version"


def numbered_lines(data: bytes) -> Iterator[tuple[int, bytes]]:
    """Yields (line number, line) without its line feed or carriage return."""
    lines = data.split(b"\n")
    if lines[-1] == b"":
        lines.pop()  # the line feed that ends the last line starts no new one
    for number, line in enumerate(lines, 1):
        yield number, line[:-1] if line.endswith(b"\r") else line


def located(report: str, name: str, number: int) -> str:
    """The report of a one-line text, placed at line `number` of `name`.

    The module reads each text as a file of its own, so its report says line 1
    of the parser's name; the header takes the file and line instead, and the
    gutter, which is as wide as the line number, widens to hold it. Colour
    codes, when the report has them, stay where they are."""
    rows = report.split("\n")
    wider = " " * (len(str(number)) - 1)
    rows[1] = wider + rows[1].replace(f"{PARSER}:1:", f"{name}:{number}:", 1)
    rows[2] = wider + rows[2]
    rows[3] = rows[3].replace("1 │", f"{number} │", 1)
    for row in range(4, len(rows) - 2):
        rows[row] = rows[row].replace("│", wider + "│", 1)
    rows[-2] = rows[-2].replace("───╯", "─" * len(wider) + "───╯", 1)
    return "\n".join(rows)


def read_versions(data: bytes, name: str) -> tuple[list[tuple[tolva.package.version.Version, str]], int]:
    """Parses every non-empty line; reports rejected ones on standard error and
    returns the accepted (version, line) pairs with the count of rejected lines."""
    accepted = []
    rejected = 0
    for number, raw in numbered_lines(data):
        if not raw:
            continue
        try:
            line = raw.decode("utf-8")
        except UnicodeDecodeError as error:
            rejected += 1
            print(f"{name}:{number}: Error: not UTF-8 text ({error.reason} at byte {error.start})",
                  file=sys.stderr)
            continue
        try:
            accepted.append((Version(line), line))
        except RuntimeError as error:
            rejected += 1
            # The report opens with "Error: " and ends with its own line feed.
            sys.stderr.write(located(str(error), name, number))
    return accepted, rejected


def read_input(path: str) -> bytes:
    if path == "-":
        stream: BinaryIO = sys.stdin.buffer
        return stream.read()
    with open(path, "rb") as file:
        return file.read()


def main(argv: list[str] | None = None) -> int:
    parser = argparse.ArgumentParser(
        prog="sort_versions.py",
        description="Sort version numbers, one a line, by tolva's ordering.",
        epilog="Exit status: 0 when every line was read, 1 when any line was rejected, "
               "2 for a usage error or an unreadable file.")
    parser.add_argument("file", nargs="?", default="-",
                        help='file of versions, one a line; "-" or none for standard input')
    args = parser.parse_args(argv)

    name = "<stdin>" if args.file == "-" else args.file
    try:
        data = read_input(args.file)
    except OSError as error:
        print(f"{parser.prog}: cannot read {name}: {error.strerror}", file=sys.stderr)
        return 2

    accepted, rejected = read_versions(data, name)
    accepted.sort(key=lambda pair: pair[0])
    try:
        sys.stdout.writelines(line + "\n" for _, line in accepted)
        sys.stdout.flush()
    except BrokenPipeError:
        # The reader went away (as with "| head"); say nothing more on exit.
        os.dup2(os.open(os.devnull, os.O_WRONLY), sys.stdout.fileno())
        return 1
    return 1 if rejected else 0


if __name__ == "__main__":
    sys.exit(main())
