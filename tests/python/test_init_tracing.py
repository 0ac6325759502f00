"""init_tracing() installs the log subscriber once per process.

Each case runs in a fresh interpreter, since the subscriber stays installed
for the life of the process.
"""
import os
import subprocess
import sys

import pytest

MESSAGE = "a global default trace dispatcher has already been set"


def run(script, env_changes=None, stdout=subprocess.PIPE):
    env = dict(os.environ)
    env.pop("NO_COLOR", None)
    env.update(env_changes or {})
    return subprocess.run(
        [sys.executable, "-c", script],
        env=env,
        stdout=stdout,
        stderr=subprocess.PIPE,
        text=True,
        check=True,
        timeout=60,
    )


def test_first_call_installs_and_every_later_call_fails():
    script = f"""
import tolva
assert tolva.init_tracing() is None
for _ in range(3):
    try:
        tolva.init_tracing()
    except RuntimeError as error:
        assert error.args == ({MESSAGE!r},), error.args
    else:
        raise AssertionError("second installation accepted")
"""
    result = run(script)
    assert result.stdout == ""
    assert result.stderr == ""


def test_an_argument_is_refused_before_anything_is_installed():
    script = """
import tolva
try:
    tolva.init_tracing(1)
except TypeError as error:
    print(error)
assert tolva.init_tracing() is None
"""
    # The interpreter's own message; newer versions prefix the module name.
    assert run(script).stdout.endswith("init_tracing() takes no arguments (1 given)\n")


@pytest.mark.parametrize("no_color", [None, "", "0", "1"])
def test_installs_under_any_no_color(no_color, tmp_path):
    # Installing writes nothing, whatever the colour decision or destination.
    env = {} if no_color is None else {"NO_COLOR": no_color}
    target = tmp_path / "out.txt"
    with open(target, "w") as redirected:
        result = run("import tolva; assert tolva.init_tracing() is None", env, stdout=redirected)
    assert result.stderr == ""
    assert target.read_text() == ""
