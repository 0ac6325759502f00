"""Every code block of the README and the guide runs as written.

A block's info string says how: `pycon` sessions run as exact doctests (one
session per file); `python` blocks run in order in one fresh interpreter;
`sh` blocks run in a scratch folder and must succeed; `console` blocks run
there too, and what they print must be what follows each `$ ` command;
`cpp NAME` blocks are written into the scratch folder as NAME for the shell
blocks to build with pkg-config against a scratch install of the C++ core.
`sh package` blocks build from the source tree and run in tools/package.sh;
`sh manual` blocks (benchmarks, the scripts CI runs itself) and `text`
blocks (output, usage) are not run.
"""

import os
import re
import shutil
import subprocess
import sys
import textwrap
from pathlib import Path

import pytest

import tolva

ROOT = Path(__file__).resolve().parents[2]
DOCS = [ROOT / "README.md", ROOT / "docs" / "guide.md"]
RUN_HERE = {"pycon", "python", "sh", "console"}
RUN_ELSEWHERE = {"sh package", "sh manual", "text"}


def blocks(path):
    """(info string, line number, code) of each fenced block, list items' blocks dedented."""
    text = path.read_text(encoding="utf-8")
    for match in re.finditer(r"^( *)```([^\n]*)\n(.*?)^\1```$", text, re.M | re.S):
        code = textwrap.dedent(match[1] + match[3].replace("\n" + match[1], "\n"))
        yield match[2].strip(), text.count("\n", 0, match.start()) + 1, code


def cases(kind):
    for path in DOCS:
        for info, line, code in blocks(path):
            if info == kind:
                yield pytest.param(code, id=f"{path.name}:{line}")


@pytest.mark.parametrize("path", DOCS, ids=lambda p: p.name)
def test_every_block_says_how_it_runs(path):
    infos = [(line, info) for info, line, _ in blocks(path)]
    assert infos
    strays = [(line, info) for line, info in infos
              if info not in RUN_HERE | RUN_ELSEWHERE and not re.fullmatch(r"cpp \S+", info)]
    assert strays == []
    # An indented code block would escape the test: every command is fenced.
    text = path.read_text(encoding="utf-8")
    assert not re.search(r"\n\n    (?![-*] |\d+\. |\S+ │)\S[^\n]*\n", re.sub(r"```.*?```", "", text, flags=re.S))


@pytest.mark.parametrize("path", DOCS, ids=lambda p: p.name)
def test_sessions_print_exactly_what_the_docs_show(path, run_python):
    sessions = [code for info, _, code in blocks(path) if info == "pycon"]
    result = run_python(f"""
        import doctest, sys
        test = doctest.DocTestParser().get_doctest({"".join(sessions)!r}, {{}}, {path.name!r},
                                                   {str(path)!r}, 0)
        runner = doctest.DocTestRunner(optionflags=0)
        runner.run(test, out=sys.stdout.write)
        print(f"tried {{runner.tries}}, failed {{runner.failures}}")
    """)
    assert result.returncode == 0, result.stderr
    assert re.search(r"tried [1-9]\d*, failed 0\n\Z", result.stdout), result.stdout


@pytest.mark.parametrize("path", DOCS, ids=lambda p: p.name)
def test_python_blocks_run_in_order(path, run_python, tmp_path):
    code = "\n".join(c for info, _, c in blocks(path) if info == "python")
    if not code:
        pytest.skip("no python block")
    if "import dask" in code:
        pytest.importorskip("dask")
    # Saved to a file and run as the main script, as a reader would: a
    # process pool's workers then import that file.
    script = tmp_path / "blocks.py"
    script.write_text(code, encoding="utf-8")
    result = run_python(f"import runpy; runpy.run_path({str(script)!r}, run_name='__main__')")
    assert result.returncode == 0, result.stderr


@pytest.fixture(scope="module")
def scratch_install(tmp_path_factory):
    """The C++ core installed from the build tree that tolva was imported
    from, as `meson install --destdir` puts it; None outside a build tree."""
    build = Path(tolva.__file__).parent
    if not (build / "meson-private").is_dir() or not shutil.which("meson"):
        return None
    root = tmp_path_factory.mktemp("root")
    subprocess.run(["meson", "install", "-C", str(build), "--destdir", str(root),
                    "--no-rebuild", "--quiet"], check=True, capture_output=True)
    return root


@pytest.fixture
def shell(tmp_path, request):
    """Runs a block in a scratch folder that holds the cpp blocks and, like the
    source tree, examples/, stubs/ and build/; tolva on PATH, the module
    importable, pkg-config pointed at the scratch install."""
    build = Path(tolva.__file__).parent
    cli = os.environ.get("TOLVA_CLI")
    # A sanitized core links only with the sanitizers' runtimes.
    if not cli or "libasan" in os.environ.get("LD_PRELOAD", ""):
        pytest.skip("needs TOLVA_CLI and a build without sanitizers")
    scratch_install = request.getfixturevalue("scratch_install")
    if scratch_install is None:
        pytest.skip("needs a build tree")
    for name in ("examples", "stubs"):
        (tmp_path / name).symlink_to(ROOT / name)
    (tmp_path / "build").symlink_to(build)
    for path in DOCS:
        for info, _, code in blocks(path):
            if info.startswith("cpp "):
                (tmp_path / info[4:]).write_text(code, encoding="utf-8")
    bin_dir = tmp_path / ".bin"
    bin_dir.mkdir()
    (bin_dir / "tolva").symlink_to(Path(cli).resolve())
    env = {k: v for k, v in os.environ.items() if k not in ("CLICOLOR", "CLICOLOR_FORCE", "NO_COLOR")}
    env.update(PATH=f"{bin_dir}{os.pathsep}{env['PATH']}", PYTHONPATH=str(build),
               PKG_CONFIG_LIBDIR=str(next(scratch_install.rglob("tolva.pc")).parent),
               PKG_CONFIG_SYSROOT_DIR=str(scratch_install))

    def run(script):
        for tool in ("g++", "pkg-config", "dpkg", "mypy"):
            if re.search(rf"(^|[\s(]){re.escape(tool)}\s", script) and not shutil.which(tool):
                pytest.skip(f"needs {tool}")
        return subprocess.run(["bash", "-c", script], cwd=tmp_path, env=env,
                              stdin=subprocess.DEVNULL, stdout=subprocess.PIPE,
                              stderr=subprocess.STDOUT, text=True, timeout=300)

    return run


@pytest.mark.parametrize("code", list(cases("sh")))
def test_shell_blocks_succeed(code, shell):
    result = shell("set -e\n" + code)
    assert result.returncode == 0, result.stdout


@pytest.mark.parametrize("code", list(cases("console")))
def test_console_blocks_print_what_they_show(code, shell):
    commands = re.findall(r"^\$ (.*)\n((?:(?!\$ ).*\n)*)", code, re.M)
    assert "".join(f"$ {c}\n{o}" for c, o in commands) == code
    result = shell("\n".join(command for command, _ in commands))
    assert result.stdout == "".join(output for _, output in commands)
