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


@pytest.fixture
def peak_kib():
    """peak_kib(args, block, times=1) -> the peak resident size in KiB of `args`
    once `block` has been written to it `times` times through a pipe, taken
    before it sees the end of its input: all but the last pipe's worth is read
    once the writes return."""

    def measure(args, block, times=1):
        proc = subprocess.Popen(args, stdin=subprocess.PIPE, stdout=subprocess.DEVNULL,
                                stderr=subprocess.DEVNULL)
        for _ in range(times):
            proc.stdin.write(block)
        proc.stdin.flush()
        with open(f"/proc/{proc.pid}/status") as status:
            peak = next(int(line.split()[1]) for line in status if line.startswith("VmHWM:"))
        proc.stdin.close()
        assert proc.wait() == 0
        return peak

    return measure
