"""What the module's and the tool's tests share."""

import os
import pty
import subprocess

import pytest


@pytest.fixture
def run_on_terminal():
    """run_on_terminal(args, env, terminal_fd) -> (status, bytes written):
    runs `args` with descriptor `terminal_fd` (1 or 2) on a pseudo-terminal
    and the other on a pipe, and gathers both."""

    def run(args, env, terminal_fd):
        main, secondary = pty.openpty()
        proc = subprocess.Popen(args, env=env, stdin=subprocess.DEVNULL,
                                stdout=secondary if terminal_fd == 1 else subprocess.PIPE,
                                stderr=secondary if terminal_fd == 2 else subprocess.PIPE)
        os.close(secondary)
        written = (proc.stdout or proc.stderr).read()
        try:
            while chunk := os.read(main, 65536):
                written += chunk
        except OSError:  # the terminal is gone once the program has exited
            pass
        os.close(main)
        return proc.wait(), written

    return run
