"""The examples run as users run them and say what they promise."""

import os
import re
import subprocess
import sys
from pathlib import Path

import pytest

import tolva

EXAMPLES = Path(__file__).resolve().parents[2] / "examples"


def run_example(name):
    return subprocess.run(
        [sys.executable, str(EXAMPLES / name)],
        capture_output=True, text=True, env=dict(os.environ), timeout=60,
    )


def test_demo_tours_every_kind_and_ends_with_a_report():
    result = run_example("demo.py")
    assert result.returncode == 0, result.stderr
    out = result.stdout
    assert "repr=Version::Other { value: \"foo_bar\" }" in out
    # test_function's line lands between the section headers despite bypassing sys.stdout
    assert "== test_function writes to descriptor 1\nGot version: 3.1.4\n" in out
    assert out.endswith("found 'x' expected digit, '-', '+', or end of input\n───╯\n")


def report_of_leading_blank(name, line):
    return f"""\
Error: 
   ╭─[ {name}:{line}:1 ]
   │
 {line} │  1.2.3
   │ ┬  
   │ ╰── found ' ' expected 'v', integer, dot-separated list, end of input, or identifier
───╯
"""


def sort_versions(*args, stdin=b""):
    env = {k: v for k, v in os.environ.items() if k not in ("CLICOLOR", "CLICOLOR_FORCE")}
    return subprocess.run(
        [sys.executable, str(EXAMPLES / "sort_versions.py"), *args],
        input=stdin, capture_output=True, env=env, timeout=60,
    )


@pytest.mark.parametrize("stdin, stdout", [
    # kinds in order, numbers as numbers, a release after its candidates, parts as text
    (b"foo_bar\n1.2\n1.10.0\n1.2.3\n1.2.3-rc.1\n1.2.3-alpha.9\n1.2.3-alpha.10\n",
     b"1.2.3-alpha.10\n1.2.3-alpha.9\n1.2.3-rc.1\n1.2.3\n1.10.0\n1.2\nfoo_bar\n"),
    # equal versions keep their order and their text; CRLF, empty lines, no final line feed
    (b"1.0.0+b\r\n\r\nv1.0.0\n\n1.0.0+a", b"1.0.0+b\nv1.0.0\n1.0.0+a\n"),
    (b"", b""),
])
def test_sort_versions_orders_lines_as_version_does(stdin, stdout):
    result = sort_versions(stdin=stdin)
    assert (result.returncode, result.stdout, result.stderr) == (0, stdout, b"")


def test_sort_versions_reports_each_rejected_line_and_sorts_the_rest(tmp_path):
    listing = tmp_path / "versions.txt"
    listing.write_bytes(b"2.0.0\n 1.2.3\n1.0.0\n\xff\xfe\n")
    result = sort_versions(str(listing))
    assert result.returncode == 1
    assert result.stdout == b"1.0.0\n2.0.0\n"
    assert result.stderr.decode() == (
        f"{report_of_leading_blank(listing, 2)}"
        f"{listing}:4: Error: not UTF-8 text (invalid start byte at byte 0)\n")


@pytest.mark.parametrize("args", [[], ["-"]])
def test_sort_versions_reads_standard_input_without_a_file_or_with_a_dash(args):
    result = sort_versions(*args, stdin=b"1.2\n 1.2.3\n")
    assert (result.returncode, result.stdout) == (1, b"1.2\n")
    assert result.stderr.decode() == report_of_leading_blank("<stdin>", 2)


@pytest.mark.parametrize("color", ["never", "always"])
def test_sort_versions_reports_as_the_tolva_command_does(tmp_path, color):
    """Line 9 keeps the one-digit gutter, line 10 widens it, line 100 again."""
    cli = os.environ.get("TOLVA_CLI")
    if not cli or not os.access(cli, os.X_OK):
        pytest.skip("TOLVA_CLI names no tolva executable")
    listing = tmp_path / "versions.txt"
    lines = ["1.0"] * 100
    lines[8], lines[9], lines[99] = " 1", "1 x", "\u65e5 \u202e"
    listing.write_text("\n".join(lines) + "\n", encoding="utf-8")
    env = {k: v for k, v in os.environ.items() if k not in ("CLICOLOR", "NO_COLOR")}
    env["CLICOLOR_FORCE"] = "1" if color == "always" else "0"
    example = subprocess.run([sys.executable, str(EXAMPLES / "sort_versions.py"), str(listing)],
                             capture_output=True, env=env, timeout=60)
    command = subprocess.run([cli, "check", f"--color={color}", str(listing)],
                             capture_output=True, env=env, timeout=60)
    assert example.returncode == command.returncode == 1
    assert example.stderr.decode().count("Error:") == 3
    assert example.stderr.decode() == command.stderr.decode()


@pytest.mark.parametrize("args, message", [
    (["a", "b"], b"unrecognized arguments: b"),
    (["--reverse"], b"unrecognized arguments: --reverse"),
    (["/nonexistent/versions.txt"], b"cannot read /nonexistent/versions.txt: No such file or directory"),
])
def test_sort_versions_usage_errors_exit_2(args, message):
    result = sort_versions(*args, stdin=b"1.0.0\n")
    assert (result.returncode, result.stdout) == (2, b"")
    assert message in result.stderr


GUIDE = EXAMPLES.parent / "docs" / "guide.md"


def grammar_table_rows():
    text = GUIDE.read_text(encoding="utf-8")
    table = text.split("## Version text grammar", 1)[1].split("\n\n")[2]
    for row in table.splitlines()[2:]:
        kind, _, accepted, rejected = [cell.strip() for cell in row.strip("|").split(" | ")]
        yield pytest.param(kind.strip("`"), accepted, rejected, id=kind.strip("`"))


def texts_in(cell):
    """The backquoted texts of a table cell, leaving out remarks in parentheses;
    "the empty text" stands for ""."""
    cell = re.sub(r"\([^)]*\)", "", cell)
    return re.findall(r"`([^`]*)`", cell) + ([""] if "the empty text" in cell else [])


@pytest.mark.parametrize("kind, accepted, rejected", list(grammar_table_rows()))
def test_guide_grammar_table_holds_for_its_class(kind, accepted, rejected):
    cls = getattr(tolva.package.version, kind)
    assert texts_in(accepted) and texts_in(rejected)
    for text in texts_in(accepted):
        assert isinstance(tolva.package.version.Version(cls(text)), tolva.package.version.Version)
    for text in texts_in(rejected):
        with pytest.raises(RuntimeError):
            cls(text)


def test_sort_versions_stops_quietly_when_the_reader_goes_away():
    process = subprocess.Popen(
        [sys.executable, str(EXAMPLES / "sort_versions.py")],
        stdin=subprocess.PIPE, stdout=subprocess.PIPE, stderr=subprocess.PIPE)
    process.stdout.close()  # as "| head" does once it has enough
    _, stderr = process.communicate(b"1.0.0\n" * 1000, timeout=60)
    assert (process.returncode, stderr) == (1, b"")


def test_dask_versions_parses_debians_versions_on_a_cluster():
    pytest.importorskip("distributed")
    result = run_example("dask_versions.py")
    assert result.returncode == 0, result.stderr
    assert result.stdout.startswith("starting 2 worker processes\n")
    assert "| 100% Completed |" in result.stdout
    total = int(re.search(r"^([\d,]+) versions from apt-cache dumpavail\n", result.stdout, re.M)[1]
                .replace(",", ""))
    counts = re.search(r"parsed on 2 workers: ([\d,]+) SemVer, ([\d,]+) DotSeparated, "
                       r"([\d,]+) Other, ([\d,]+) rejected\n", result.stdout)
    assert total > 0 and sum(int(c.replace(",", "")) for c in counts.groups()) == total
    newest = re.findall(r"^newest (\w+): (.*)$", result.stdout, re.M)
    assert [kind for kind, _ in newest] == ["SemVer", "DotSeparated", "Other"]
    for kind, shown in newest:
        if shown != "none":
            versions = [getattr(tolva.package.version, kind)(t) for t in shown.split(", ")]
            assert versions == sorted(versions, reverse=True)


@pytest.mark.parametrize("args, message", [
    (["--workers", "0"], "argument --workers: expected a whole number of at least 1, got '0'"),
    (["--workers", "-1"], "argument --workers: expected a whole number of at least 1, got '-1'"),
    (["--workers", "two"], "argument --workers: expected a whole number of at least 1, got 'two'"),
    (["--top", "0"], "argument --top: expected a whole number of at least 1, got '0'"),
])
def test_dask_versions_refuses_counts_below_one(args, message):
    result = subprocess.run([sys.executable, str(EXAMPLES / "dask_versions.py"), *args],
                            capture_output=True, text=True, timeout=60)
    assert (result.returncode, result.stdout) == (2, "")
    assert result.stderr.endswith(f"dask_versions.py: error: {message}\n")


def guide_sort_key_recipe():
    """The functions of the guide's sort-key recipe, run from its text."""
    text = GUIDE.read_text(encoding="utf-8").split("### A sort key", 1)[1]
    namespace = {}
    exec(re.search(r"^```python\n(.*?)^```", text, re.M | re.S)[1], namespace)
    return namespace["sort_key"], namespace["sort_key_bytes"]


def version_strategy(st):
    """Typed values at the key's edges: few distinct texts, so that equal parts
    and prefixes are common, the bytes the key escapes, and numbers at every
    byte-count boundary and the 32-bit bound."""
    V = tolva.package.version
    text = st.text(alphabet="a1-.\0\1\2\3é", max_size=3)
    parts = st.lists(text, max_size=3)
    number = st.sampled_from([0, 1, 0xEF, 0xF0, 0xFF, 0x100, 0xFFFF, 0x10000, 0xFFFFFF,
                              0x1000000, 0xFFFFFFFF])
    semver = st.builds(V.SemVer, major=number, minor=number, patch=number,
                       rc=st.none() | parts, meta=st.none() | parts)
    return st.one_of(semver, st.builds(V.DotSeparated, parts=parts),
                     st.builds(V.Other, value=text))


def test_guide_sort_keys_order_exactly_as_the_versions_do():
    st = pytest.importorskip("hypothesis.strategies")
    from hypothesis import given, settings

    V = tolva.package.version
    value = version_strategy(st)
    sort_key, sort_key_bytes = guide_sort_key_recipe()

    @settings(max_examples=2000, deadline=None, database=None)
    @given(value, value)
    def keys_agree(a, b):
        for x, y in ((a, b), (V.Version(a), V.Version(b))):
            if type(x) is not type(y):
                continue
            for key in (sort_key, sort_key_bytes):
                assert (key(x) < key(y), key(x) == key(y)) == (x < y, x == y)

    keys_agree()


def test_guide_byte_keys_in_a_sqlite_blob_column_order_by_as_the_versions_do():
    sqlite3 = pytest.importorskip("sqlite3")
    st = pytest.importorskip("hypothesis.strategies")
    from hypothesis import given, settings

    V = tolva.package.version
    _, sort_key_bytes = guide_sort_key_recipe()

    @settings(max_examples=200, deadline=None, database=None)
    @given(st.lists(version_strategy(st).map(V.Version), max_size=40))
    def order_by_agrees(values):
        with sqlite3.connect(":memory:") as db:
            db.execute("CREATE TABLE versions (id INTEGER PRIMARY KEY, key BLOB)")
            db.executemany("INSERT INTO versions VALUES (?, ?)",
                           ((i, sort_key_bytes(v)) for i, v in enumerate(values)))
            ordered = [i for (i,) in db.execute("SELECT id FROM versions ORDER BY key, id")]
        # Equal versions have equal keys, so both orders keep them in input order.
        assert ordered == sorted(range(len(values)), key=values.__getitem__)

    order_by_agrees()


V = tolva.package.version


@pytest.mark.parametrize("value, key", [
    (V.SemVer(major=1, minor=0xEF, patch=0xF0), b"\0\1\xef\xf1\xf0\xff"),
    (V.SemVer(major=0x100, minor=0xFFFFFF, patch=0xFFFFFFFF, rc=[]),
     b"\0\xf2\1\0\xf3\xff\xff\xff\xf4\xff\xff\xff\xff"),
    (V.SemVer(major=0, minor=0, patch=0, rc=["", "rc"], meta=["x"]), b"\0\0\0\0\1\1rc"),
    (V.DotSeparated(parts=["a\0", "\1\2\3"]), b"\1\1a\2\0\1\2\1\2\2\3"),
    (V.DotSeparated(parts=[]), b"\1"),
    (V.Other(value="x_1"), b"\2x_1"),
])
def test_guide_byte_keys_are_the_cores_order_key(value, key):
    """The bytes the C++ order key's table pins for the same values."""
    assert guide_sort_key_recipe()[1](V.Version(value)) == key
