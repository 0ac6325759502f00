#!/usr/bin/env python3
"""Writes src/text/tables.generated.cpp from the Unicode Character Database.

Usage: gen_unicode_tables.py [UCD_DIR]

UCD_DIR defaults to /usr/share/unicode (Debian's unicode-data package). Each
table is a sorted list of disjoint, non-adjacent inclusive ranges of code
points from U+0080 up; ASCII is answered by fast paths before any table is
searched, so it is left out of the tables.
"""

import pathlib
import re
import sys

MAX_CODE_POINT = 0x10FFFF
FIRST_NON_ASCII = 0x80

REPO = pathlib.Path(__file__).resolve().parent.parent
OUTPUT = REPO / "src" / "text" / "tables.generated.cpp"

SOURCES = [
    "DerivedCoreProperties.txt",
    "PropList.txt",
    "extracted/DerivedGeneralCategory.txt",
    "EastAsianWidth.txt",
]

ESCAPED_CATEGORIES = {"Cc", "Cf", "Cs", "Co", "Cn", "Zl", "Zp", "Zs"}

# Unlisted code points in these blocks count as Wide, as EastAsianWidth.txt
# states in its header; every other unlisted code point is Neutral.
DEFAULT_WIDE = [(0x3400, 0x4DBF), (0x4E00, 0x9FFF), (0xF900, 0xFAFF),
                (0x20000, 0x2FFFD), (0x30000, 0x3FFFD)]

DESCRIPTIONS = {
    "xid_start": "XID_Start",
    "xid_continue": "XID_Continue",
    "grapheme_extend": "Grapheme_Extend",
    "white_space": "White_Space",
    "escaped_category": "General category " + " ".join(sorted(ESCAPED_CATEGORIES)),
    "format": "General category Cf",
    "zero_width": "Display width 0",
    "wide": "Display width 2",
}

LINE = re.compile(r"^([0-9A-F]{4,6})(?:\.\.([0-9A-F]{4,6}))?\s*;\s*([^#\s]+)")


def read_ranges(path):
    """Yields (first, last, value) for every data line of a UCD file."""
    with open(path, encoding="utf-8") as f:
        for line in f:
            m = LINE.match(line)
            if m:
                first = int(m.group(1), 16)
                last = int(m.group(2), 16) if m.group(2) else first
                yield first, last, m.group(3)


def unicode_version(path):
    """Returns the version in the first line of a UCD file, e.g. 15.0.0."""
    with open(path, encoding="utf-8") as f:
        m = re.search(r"-(\d+\.\d+\.\d+)\.txt", f.readline())
    if not m:
        sys.exit(f"{path}: no Unicode version in the first line")
    return m.group(1)


def to_ranges(points):
    """Turns a set of code points into sorted, merged inclusive ranges."""
    ranges = []
    for cp in sorted(points):
        if ranges and ranges[-1][1] + 1 == cp:
            ranges[-1][1] = cp
        else:
            ranges.append([cp, cp])
    return [tuple(r) for r in ranges]


def points_of(path, wanted):
    """Returns the code points whose value in the file is one of `wanted`."""
    points = set()
    for first, last, value in read_ranges(path):
        if value in wanted:
            points.update(range(first, last + 1))
    return points


def general_categories(path):
    """Maps every code point to its general category; unlisted ones are Cn."""
    category = ["Cn"] * (MAX_CODE_POINT + 1)
    for first, last, value in read_ranges(path):
        for cp in range(first, last + 1):
            category[cp] = value
    return category


def east_asian_widths(path):
    """Maps every code point to its East_Asian_Width, defaults applied."""
    width = ["N"] * (MAX_CODE_POINT + 1)
    for first, last in DEFAULT_WIDE:
        for cp in range(first, last + 1):
            width[cp] = "W"
    for first, last, value in read_ranges(path):
        for cp in range(first, last + 1):
            width[cp] = value
    return width


def build_tables(ucd):
    core = ucd / "DerivedCoreProperties.txt"
    category = general_categories(ucd / "extracted/DerivedGeneralCategory.txt")
    eaw = east_asian_widths(ucd / "EastAsianWidth.txt")
    all_points = range(MAX_CODE_POINT + 1)

    # Terminals give no column to combining marks, zero-width format
    # characters, Hangul medial vowels and final consonants (they join the
    # preceding syllable) and controls; the soft hyphen is the one format
    # character that is drawn.
    zero_width = {cp for cp in all_points
                  if category[cp] in ("Mn", "Me", "Cf", "Cc")}
    zero_width.update(range(0x1160, 0x1200))
    zero_width.add(0x200B)
    zero_width.discard(0x00AD)
    wide = {cp for cp in all_points
            if eaw[cp] in ("W", "F") and cp not in zero_width}

    tables = {
        "xid_start": points_of(core, {"XID_Start"}),
        "xid_continue": points_of(core, {"XID_Continue"}),
        "grapheme_extend": points_of(core, {"Grapheme_Extend"}),
        "white_space": points_of(ucd / "PropList.txt", {"White_Space"}),
        "escaped_category": {cp for cp in all_points
                             if category[cp] in ESCAPED_CATEGORIES},
        "format": {cp for cp in all_points if category[cp] == "Cf"},
        "zero_width": zero_width,
        "wide": wide,
    }
    return {name: to_ranges(cp for cp in points if cp >= FIRST_NON_ASCII)
            for name, points in tables.items()}


def render(tables, version, ucd):
    out = []
    out.append("// Generated by tools/gen_unicode_tables.py; do not edit.")
    out.append(f"// Source: Unicode Character Database {version}, files")
    for name in SOURCES:
        out.append(f"//   {name}")
    out.append("// Regenerate from the repository root with:")
    out.append(f"//   python3 tools/gen_unicode_tables.py {ucd}")
    out.append("")
    out.append('#include "tables.hpp"')
    out.append("")
    out.append("namespace tolva::text::tables {")
    for name, ranges in tables.items():
        out.append("")
        out.append(f"// {DESCRIPTIONS[name]}: {len(ranges)} ranges.")
        out.append(f"static constexpr Range {name}_ranges[] = {{")
        row = ""
        for first, last in ranges:
            item = f"{{0x{first:X}, 0x{last:X}}},"
            if len(row) + len(item) + 1 > 78:
                out.append(row)
                row = ""
            row = f"{row} {item}" if row else f"    {item}"
        if row:
            out.append(row)
        out.append("};")
        out.append(f"const std::span<const Range> {name}{{{name}_ranges}};")
    out.append("")
    out.append("}  // namespace tolva::text::tables")
    return "\n".join(out) + "\n"


def main():
    if len(sys.argv) > 2:
        sys.exit(__doc__)
    ucd = pathlib.Path(sys.argv[1] if len(sys.argv) == 2 else "/usr/share/unicode")
    missing = [name for name in SOURCES if not (ucd / name).is_file()]
    if missing:
        sys.exit(f"{ucd}: missing {', '.join(missing)}")
    versions = {unicode_version(ucd / name) for name in SOURCES}
    if len(versions) != 1:
        sys.exit(f"{ucd}: files of different Unicode versions: {sorted(versions)}")
    text = render(build_tables(ucd), versions.pop(), ucd)
    OUTPUT.write_text(text, encoding="utf-8")
    print(f"wrote {OUTPUT.relative_to(REPO)}")


if __name__ == "__main__":
    main()
