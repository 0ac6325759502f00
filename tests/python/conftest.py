"""Helpers shared by the Python tests."""

import os
import subprocess
import sys
import textwrap

import pytest

import tolva

# Variables that would make reports coloured whatever the terminal says.
COLOUR_VARIABLES = ("CLICOLOR", "CLICOLOR_FORCE", "NO_COLOR")


class Ran:
    """What a snippet run in a fresh interpreter left behind."""

    def __init__(self, completed):
        self.returncode = completed.returncode
        self.stdout = completed.stdout.decode("utf-8", "replace")
        self.stderr = completed.stderr.decode("utf-8", "replace")


@pytest.fixture
def run_python():
    """Runs a snippet in a fresh interpreter that sees the same PYTHONPATH.

    Standard output and standard error are pipes, so neither is a terminal.
    `env` adds to (or, with None values, removes from) the environment, from
    which the colour variables are removed first.
    """

    def run(snippet, env=None):
        environment = {k: v for k, v in os.environ.items() if k not in COLOUR_VARIABLES}
        # The module under test first, wherever this interpreter found it.
        environment["PYTHONPATH"] = os.pathsep.join(
            p for p in [os.path.dirname(tolva.__file__), os.environ.get("PYTHONPATH")] if p)
        for name, value in (env or {}).items():
            if value is None:
                environment.pop(name, None)
            else:
                environment[name] = value
        completed = subprocess.run(
            [sys.executable, "-c", textwrap.dedent(snippet)],
            stdin=subprocess.DEVNULL, capture_output=True, env=environment, timeout=60)
        return Ran(completed)

    return run
