"""The type stubs describe the module: mypy accepts every real use, reports
every wrong one, and stubtest finds nothing that differs from the built module."""

import json
import os
import re
import subprocess
import sys
from pathlib import Path

import pytest

import tolva

# Against an installed wheel, Debian's mypy checks the stubs as installed in
# that interpreter's environment; otherwise the source stubs stand in for them.
INSTALLED = bool(os.environ.get("TOLVA_INSTALLED_VENV"))
if INSTALLED:
    MYPY = ["/usr/bin/python3", "-m", "mypy", "--python-executable", sys.executable]
else:
    pytest.importorskip("mypy", reason="mypy is not installed (Debian package mypy; tools/deps.sh installs it)")
    MYPY = [sys.executable, "-m", "mypy"]

ROOT = Path(__file__).resolve().parents[2]
STUBS = ROOT / "stubs" / "tolva-stubs"
TYPING = ROOT / "tests" / "typing"
STUB_FILES = ["__init__.pyi", "package/__init__.pyi", "package/version.pyi"]


@pytest.fixture(scope="module")
def mypy_env(tmp_path_factory):
    """An environment whose MYPYPATH finds the stubs under the module's own name,
    as a stub-only package is found once installed, and whose PYTHONPATH
    imports the built module."""
    base = tmp_path_factory.mktemp("mypy")
    (base / "path").mkdir()
    (base / "path" / "tolva").symlink_to(STUBS, target_is_directory=True)
    env = dict(os.environ)
    if INSTALLED:
        # mypy asks the venv's interpreter for its paths by running a script
        # from mypy's own folder, whose types.py would then shadow the standard
        # library's; PYTHONSAFEPATH keeps that folder off the path.
        env["PYTHONSAFEPATH"] = "1"
    else:
        env["MYPYPATH"] = str(base / "path")
    env["PYTHONPATH"] = os.pathsep.join(
        p for p in [os.path.dirname(tolva.__file__), os.environ.get("PYTHONPATH")] if p)
    env.pop("MYPY_FORCE_COLOR", None)
    return env, base


def run_mypy(env, cache, *files):
    return subprocess.run(
        [*MYPY, "--strict", "--no-error-summary", "--cache-dir", str(cache),
         *map(str, files)],
        capture_output=True, text=True, env=env, cwd=ROOT, timeout=300)


def marked_lines(path):
    return {n for n, line in enumerate(path.read_text().splitlines(), 1) if "# E:" in line}


def test_mypy_accepts_every_feature_and_the_example_and_reports_exactly_the_marked_wrong_uses(mypy_env):
    env, base = mypy_env
    result = run_mypy(env, base / "cache", TYPING / "uses.py", TYPING / "wrong_uses.py",
                      ROOT / "examples" / "sort_versions.py")
    errors = re.findall(r"^(.*?):(\d+): error: ", result.stdout, re.M)
    assert not result.stderr
    assert [e for e in errors if not e[0].endswith("wrong_uses.py")] == [], result.stdout
    reported = {int(line) for name, line in errors if name.endswith("wrong_uses.py")}
    expected = marked_lines(TYPING / "wrong_uses.py")
    assert reported == expected, (
        f"unreported: {sorted(expected - reported)}, unmarked: {sorted(reported - expected)}\n"
        + result.stdout)


@pytest.mark.skipif(sys.version_info < (3, 10), reason="the tour writes annotations that 3.10 evaluates")
def test_the_feature_tour_runs_as_typed(mypy_env):
    env, _ = mypy_env
    result = subprocess.run([sys.executable, str(TYPING / "uses.py")],
                            capture_output=True, text=True, env=env, timeout=60)
    assert result.returncode == 0, result.stderr
    assert result.stdout.startswith("Got version: 1.2.3-rc.1\nGot version: 1.2.3-rc.1\n")


def test_every_use_the_stubs_refuse_fails_at_run_time():
    """Each marked line on its own raises, or is an equality across classes
    that can only come out one way; so the stubs refuse nothing that works."""
    lines = (TYPING / "wrong_uses.py").read_text().splitlines()
    first = min(marked_lines(TYPING / "wrong_uses.py"))
    namespace = {}
    exec("\n".join(lines[:first - 1]), namespace)
    for number in sorted(marked_lines(TYPING / "wrong_uses.py")):
        statement = lines[number - 1].split("  # E:")[0]
        if re.search(r" [!=]= ", statement):
            assert eval(statement, namespace) == ("!=" in statement), statement
            continue
        with pytest.raises(Exception):
            exec(statement, dict(namespace))
            pytest.fail(f"line {number} ran: {statement}")


@pytest.mark.skipif(INSTALLED, reason="stubtest runs inside the interpreter, which has no mypy here")
def test_stubtest_finds_no_difference_from_the_built_module(mypy_env):
    env, _ = mypy_env
    # stubtest imports each stubbed module by its dotted name; the submodules
    # are attributes only, so they are entered under those names first.
    driver = (
        "import sys, tolva\n"
        "sys.modules['tolva.package'] = tolva.package\n"
        "sys.modules['tolva.package.version'] = tolva.package.version\n"
        "from mypy.stubtest import main\n"
        "sys.argv[1:] = ['tolva']\n"
        "sys.exit(main())\n")
    result = subprocess.run([sys.executable, "-c", driver],
                            capture_output=True, text=True, env=env, cwd=ROOT, timeout=300)
    assert result.returncode == 0, result.stdout + result.stderr
    assert "no issues found in 3 modules" in result.stdout


def test_the_stubs_install_as_a_stub_only_package_beside_the_module():
    module = Path(tolva.__file__).resolve()
    build = module.parent
    plan_file = build / "meson-info" / "intro-installed.json"
    if not plan_file.exists():
        pytest.skip("tolva was not imported from a meson build directory")
    plan = json.loads(plan_file.read_text())
    module_dir = Path(plan[str(module)]).parent
    for name in STUB_FILES:
        assert plan[str(STUBS / name)] == str(module_dir / "tolva-stubs" / name)
