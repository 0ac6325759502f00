"""The package installs offline with pip into a venv that sees Debian's packages."""

import os
import subprocess
from pathlib import Path

import pytest

ROOT = Path(__file__).resolve().parents[2]
DEBIAN_PYTHON = Path("/usr/bin/python3")


@pytest.mark.skipif(not DEBIAN_PYTHON.exists(), reason="needs Debian's python3 with meson-python")
@pytest.mark.skipif(
    bool(os.environ.get("TOLVA_PYTHON_MATRIX")),
    reason="installs with Debian's python3 whatever the interpreter; tools/test.sh runs it")
def test_pip_install_without_build_isolation_works_offline(tmp_path):
    venv = tmp_path / "venv"
    subprocess.run([str(DEBIAN_PYTHON), "-m", "venv", "--system-site-packages", str(venv)], check=True)
    python = venv / "bin" / "python"
    env = {k: v for k, v in os.environ.items() if k != "PYTHONPATH"}

    install = subprocess.run(
        [str(python), "-m", "pip", "install", "--no-build-isolation", "--no-index", str(ROOT)],
        capture_output=True, text=True, env=env, cwd=tmp_path,
    )
    assert install.returncode == 0, install.stdout + install.stderr

    probe = subprocess.run(
        [str(python), "-c",
         "import tolva; Version = tolva.package.version.Version; "
         "print(tolva.__file__); print(Version('v1.2.3'))"],
        capture_output=True, text=True, env=env, cwd=tmp_path, check=True,
    )
    location, text = probe.stdout.splitlines()
    assert location.startswith(str(venv))
    assert text == "1.2.3"
