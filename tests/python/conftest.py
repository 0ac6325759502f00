"""Helpers shared by the Python tests."""

import os
import subprocess
import sys
import textwrap

import pytest

import tolva


@pytest.fixture
def run_python():
    """Runs a snippet in a fresh interpreter that finds the same tolva, with
    pipes (not terminals) for its output and no colour variables set."""

    def run(snippet):
        env = {k: v for k, v in os.environ.items()
               if k not in ("CLICOLOR", "CLICOLOR_FORCE", "NO_COLOR")}
        env["PYTHONPATH"] = os.pathsep.join(
            p for p in [os.path.dirname(tolva.__file__), os.environ.get("PYTHONPATH")] if p)
        return subprocess.run([sys.executable, "-c", textwrap.dedent(snippet)],
                              stdin=subprocess.DEVNULL, capture_output=True, text=True,
                              env=env, timeout=60)

    return run
