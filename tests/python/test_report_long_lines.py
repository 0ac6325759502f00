"""What a report over a long line costs, what its labels show, and which
descriptor decides its colour."""

import os
import sys

import pytest

import tolva

SemVer = tolva.package.version.SemVer
SIXTEEN_MB = 16 * 1024 * 1024
UNDER_ASAN = "ASAN_OPTIONS" in os.environ or "libasan" in os.environ.get("LD_PRELOAD", "")


@pytest.mark.skipif(UNDER_ASAN, reason="the sanitizers' shadow memory grows with the input")
@pytest.mark.parametrize("colour", [False, True])
@pytest.mark.parametrize("text", ["'1.2.3-' + 'a' * N + '!'", "'1.2.3-a' + '\\t' * N + 'b c'"])
def test_long_line_report_costs_what_it_draws(run_python, colour, text):
    ran = run_python(f"""
        import os, resource, tolva
        if {colour}:
            os.environ["CLICOLOR_FORCE"] = "1"
        N = {SIXTEEN_MB}
        text = {text}
        before = resource.getrusage(resource.RUSAGE_SELF).ru_maxrss
        try:
            tolva.package.version.SemVer(text)
        except RuntimeError as error:
            print(len(str(error).encode()), str(error).count("\\x1b") > 0)
        print(resource.getrusage(resource.RUSAGE_SELF).ru_maxrss - before)
    """)
    assert ran.returncode == 0, ran.stderr
    size, painted, grown_kb = ran.stdout.split()
    assert painted == str(colour)
    assert int(size) < SIXTEEN_MB // 256 and int(grown_kb) * 1024 < SIXTEEN_MB // 4


@pytest.mark.parametrize("text, marks", [
    # Marks past the found character take one column a character, wide or not.
    ("1.2.3xé漢", "      ┬  \n   │      ╰── found 'x' "),
    ("1.2.3漢é", "      ┬─  \n   │      ╰─── found '漢' "),
    # A line or paragraph separator ends the source row; the label names it.
    ("1.2.3\u2029x", "      ┬  \n   │      ╰── found '<U+2029>' "),
    ("1.2.3\u0080", "      ┬  \n   │      ╰── found '\ufffd' "),
])
def test_marks_and_label_after_the_found_character(text, marks):
    with pytest.raises(RuntimeError) as caught:
        SemVer(text)
    assert f" │{marks}expected digit" in str(caught.value)
    assert "\u2029" not in str(caught.value) and "\u0080" not in str(caught.value)


# The decision follows descriptor 2 and the exact variable names.
@pytest.mark.parametrize("terminal_fd, extra, coloured", [
    (2, {}, True), (1, {}, False),
    (2, {"NO_COLOR": "1"}, False), (2, {"NO_COLOR": ""}, True), (2, {"NO_COLOUR": "1"}, True),
    (2, {"CLICOLOR": "0"}, False), (2, {"CLICOLOUR": "0"}, True),
    (2, {"TERM": "dumb"}, False), (2, {"TERM": None}, False),
    (1, {"CLICOLOR_FORCE": "1"}, True), (1, {"CLICOLOR_FORCE": "0"}, False),
    (1, {"CLICOLOR_FORCED": "1"}, False), (2, {"CLICOLOR_FORCE": "0"}, True),
])
def test_colour_decision_asks_standard_error(run_on_terminal, terminal_fd, extra, coloured):
    env = {k: v for k, v in os.environ.items() if k not in ("CLICOLOR", "CLICOLOR_FORCE", "NO_COLOR")}
    env.update(TERM="xterm", PYTHONPATH=os.pathsep.join(
        p for p in [os.path.dirname(tolva.__file__), os.environ.get("PYTHONPATH")] if p))
    env = {k: v for k, v in {**env, **extra}.items() if v is not None}
    snippet = ("import sys, tolva\ntry: tolva.package.version.SemVer('x')\n"
               "except RuntimeError as e: sys.stdout.write(str(e))")
    status, written = run_on_terminal([sys.executable, "-c", snippet], env, terminal_fd)
    assert status == 0
    assert b"Error:" in written and (b"\x1b[" in written) == coloured


def test_colour_decided_at_the_first_report_and_kept(run_python):
    ran = run_python("""
        import os, tolva
        V = tolva.package.version
        V.SemVer("1.2.3"), V.Version("1.2.3")  # accepted texts decide nothing
        os.environ["CLICOLOR_FORCE"] = "1"
        coloured = []
        for make in (V.SemVer, V.Version):
            try:
                make("1.2.3 !")
            except RuntimeError as error:
                coloured.append("\\x1b" in str(error))
            os.environ.pop("CLICOLOR_FORCE", None)
            os.environ["NO_COLOR"] = "1"
        print(coloured)
    """)
    assert ran.returncode == 0, ran.stderr
    assert ran.stdout.split("\n")[0] == "[True, True]"
