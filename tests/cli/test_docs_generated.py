"""The manual page and the shell completions the build writes beside the
tool: they render cleanly, name every option `--help` names, and complete."""

import os
import pathlib
import re
import shutil
import subprocess

import pytest


@pytest.fixture(scope="module")
def docs(tolva_exe):
    folder = pathlib.Path(tolva_exe).parent / "docs"
    if not (folder / "tolva.1").is_file():
        pytest.skip(f"no generated documents beside {tolva_exe}")
    return {name: (folder / file).read_text() for name, file in
            [("man", "tolva.1"), ("bash", "tolva"), ("zsh", "_tolva")]}


def help_of(exe, *args):
    return subprocess.run([exe, *args, "--help"], capture_output=True, text=True,
                          check=True).stdout


@pytest.fixture(scope="module")
def options_by_command(tolva_exe):
    """{command: [option names]}, read from the tool's own help texts."""
    tool_help = help_of(tolva_exe)
    commands = re.findall(r"^  ([a-z]+) ", tool_help.split("Commands:\n")[1].split("\n\n")[0],
                          re.M)
    listed = r"^  (?:(-\w), )?(--[\w-]+)"
    found = {c: [n for pair in re.findall(listed, help_of(tolva_exe, c), re.M) for n in pair if n]
             for c in commands}
    found[""] = [n for pair in re.findall(listed, tool_help.split("Options of the tool:")[1], re.M)
                 for n in pair if n]
    assert len(commands) >= 7 and "--kind" in found["sort"] and "--version" in found[""]
    return found


def block_of(doc, command, script):
    """The part of a completion script that answers for one command."""
    if script == "bash":
        pattern = r"^    '?{}'?\)\n(.*?)^      esac ;;" if command else r"^    ''\)\n(.*?);;"
    else:
        pattern = r"^        {}\)\n(.*?)&& ret=0 ;;" if command else r"^  _arguments -C(.*?)&& ret=0"
    match = re.search(pattern.format(command), doc, re.M | re.S)
    assert match, f"no block for {command!r} in the {script} completion"
    return match[1]


@pytest.mark.parametrize("script", ["man", "bash", "zsh"])
def test_every_option_is_named(docs, options_by_command, script):
    missing = []
    for command, names in options_by_command.items():
        if script == "man":  # in bold, with minus signs
            text, spelled = docs["man"], [rf"\fB{n}\fR".replace("-", r"\-") for n in names]
        else:
            text, spelled = block_of(docs[script], command, script), names
        missing += [f"{command} {n}" for n, s in zip(names, spelled)
                    if not re.search(rf"(?<![\w-]){re.escape(s)}(?![\w-])", text)]
    assert missing == []


@pytest.mark.skipif(not shutil.which("man"), reason="man is not installed")
def test_man_page_renders_without_warnings(tolva_exe, docs):
    page = pathlib.Path(tolva_exe).parent / "docs" / "tolva.1"
    result = subprocess.run(["man", "--warnings", "-l", str(page)], capture_output=True,
                            text=True, env={**os.environ, "MANWIDTH": "80"})
    assert result.stderr == "" and "EXIT STATUS" in result.stdout


def test_man_page_escapes_every_hyphen(docs):
    # Text lines only: requests and comments start with a dot.
    text = [line for line in docs["man"].splitlines() if not line.startswith(".")]
    assert [line for line in text if re.search(r"(?<!\\)-", line)] == []


@pytest.mark.parametrize("words, expected", [
    (["tolva", "co"], ["compare", "completion"]),
    (["tolva", "sort", "--k"], ["--kind", "--key", "--keep-rejected"]),
    (["tolva", "check", "-"], ["--kind", "--scheme", "--color", "-q", "--quiet", "--count",
                               "--format", "--json", "-z", "--zero-terminated", "-h", "--help"]),
    (["tolva", "sort", "--scheme", "n"], ["natural", "nuget"]),
    (["tolva", "check", "--format", ""], ["full", "short"]),
    (["tolva", "sort", "--color", "=", ""], ["auto", "always", "never"]),
    (["tolva", "sort", "--color", "="], ["auto", "always", "never"]),
    (["tolva", "parse", "--kind=se"], ["--kind=semver"]),
    (["tolva", "sort", "--color", ""], ["a_dir", "a_file"]),
    (["tolva", "sort", "-T", ""], ["a_dir"]),
    (["tolva", "sort", "--output", "a_"], ["a_dir", "a_file"]),
    (["tolva", "sort", "--", "--k"], []),
    (["tolva", "compare", ""], []),
    (["tolva", "compare", "1.0", "g"], ["ge", "gt"]),
    (["tolva", "compare", "--kind", "semver", "-", ""], ["lt", "le", "eq", "ne", "gt", "ge"]),
    (["tolva", "compare", "--scheme", "=", "tolva", "1.0", ""], ["lt", "le", "eq", "ne", "gt",
                                                                  "ge"]),
    (["tolva", "compare", "--color", "1.0", "--", "-1", ""], []),
    (["tolva", "compare", "1.0", "lt", ""], []),
    (["tolva", "completion", ""], ["bash", "zsh"]),
])
def test_bash_completes(docs, tmp_path, words, expected):
    if not shutil.which("bash"):
        pytest.skip("bash is not installed")
    work = tmp_path / "work"
    (work / "a_dir").mkdir(parents=True)
    (work / "a_file").write_text("")
    script = tmp_path / "tolva.bash"
    script.write_text(docs["bash"])
    line = f'source {script}; COMP_WORDS=("$@"); COMP_CWORD=$(($# - 1)); _tolva; ' \
           'printf "%s\\n" "${COMPREPLY[@]}"'
    result = subprocess.run(["bash", "-c", line, "bash", *words], capture_output=True,
                            text=True, cwd=work)
    assert (result.stderr, sorted(result.stdout.split())) == ("", sorted(expected))


@pytest.mark.skipif(not shutil.which("zsh"), reason="zsh is not installed")
def test_zsh_completion_reads(docs, tmp_path):
    script = tmp_path / "_tolva"
    script.write_text(docs["zsh"])
    result = subprocess.run(["zsh", "-n", str(script)], capture_output=True, text=True)
    assert (result.returncode, result.stderr) == (0, "")


@pytest.mark.parametrize("args, status, doc", [
    (["bash"], 0, "bash"),
    (["ZSH"], 0, "zsh"),
    (["fish"], 2, None),
    ([], 2, None),
    (["bash", "zsh"], 2, None),
])
def test_completion_prints_the_script_the_build_installs(tolva, docs, args, status, doc):
    result = tolva("completion", *args)
    assert result.returncode == status
    assert result.stdout.decode() == (docs[doc] if doc else "")
