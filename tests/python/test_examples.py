"""The examples run as users run them and say what they promise."""

import os
import subprocess
import sys
from pathlib import Path

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
