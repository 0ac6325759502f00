"""Runs the built `tolva` executable: the one named by TOLVA_CLI, else the one
in the build directory."""

import os
import pathlib
import subprocess

import pytest

ROOT = pathlib.Path(__file__).resolve().parents[2]


@pytest.fixture(scope="session")
def tolva_exe():
    exe = pathlib.Path(os.environ.get("TOLVA_CLI") or ROOT / "build" / "src" / "cli" / "tolva")
    assert exe.is_file(), f"no tolva executable at {exe}; build it or set TOLVA_CLI"
    return str(exe)


@pytest.fixture
def tolva(tolva_exe):
    """tolva(*args, input=bytes, env=...) -> CompletedProcess with bytes output,
    run with pipes and no colour variables unless `env` adds some."""

    def run(*args, input=b"", env=None):
        base = {k: v for k, v in os.environ.items()
                if k not in ("CLICOLOR", "CLICOLOR_FORCE", "NO_COLOR")}
        return subprocess.run([tolva_exe, *args], input=input, capture_output=True,
                              env={**base, **(env or {})}, timeout=120)

    return run


@pytest.fixture
def write(tmp_path):
    """write(name, bytes) -> path of a new file under tmp_path, as a string."""

    def make(name, data):
        path = tmp_path / name
        path.write_bytes(data)
        return str(path)

    return make
