"""What users install: a wheel installed into a venv carries the module, its
stubs, its metadata and the command-line tool in a releasable shape. (The
offline pip install of the source tree runs as the guide writes it, in
tools/package.sh.)"""

import importlib.metadata
import os
import re
import shutil
import subprocess
import sys
from pathlib import Path

import pytest

import tolva

ROOT = Path(__file__).resolve().parents[2]
# Set by the scripts that run this suite against an installed wheel.
INSTALLED_VENV = os.environ.get("TOLVA_INSTALLED_VENV")
installed_only = pytest.mark.skipif(
    not INSTALLED_VENV, reason="checks an installed wheel (tools/package.sh)")


def project_version():
    return re.search(r"^\s*version: '([^']+)'", (ROOT / "meson.build").read_text(), re.M)[1]


@installed_only
def test_the_suite_imports_the_installed_wheel_with_its_stubs_and_version():
    venv = Path(INSTALLED_VENV).resolve()
    module = Path(tolva.__file__).resolve()
    assert venv in module.parents, f"{module} is not installed in {venv}"
    assert Path(sys.prefix).resolve() == venv and sys.prefix != sys.base_prefix
    for stub in ["__init__.pyi", "package/__init__.pyi", "package/version.pyi"]:
        assert (module.parent / "tolva-stubs" / stub).is_file()
    assert importlib.metadata.version("tolva") == project_version()


def elf_report(*args):
    return subprocess.run(args, capture_output=True, text=True, check=True).stdout


@installed_only
def test_the_installed_module_exports_only_its_init_function_has_no_rpath_and_is_stripped():
    module = tolva.__file__
    exported = elf_report("nm", "-D", "--defined-only", module).split()[2::3]
    assert exported == ["PyInit_tolva"]
    assert not re.search(r"\((RPATH|RUNPATH)\)", elf_report("readelf", "-d", module))
    sections = re.findall(r"\]\s+(\.\S+)", elf_report("readelf", "-S", "-W", module))
    assert [s for s in sections if s == ".symtab" or s.startswith(".debug")] == []


@installed_only
def test_the_wheel_installs_the_command_line_tool_with_the_package_version():
    tool = Path(INSTALLED_VENV) / "bin" / "tolva"
    assert tool.is_file(), "the wheel installed no tolva executable"
    result = subprocess.run([str(tool), "--version"], capture_output=True, text=True, timeout=60)
    assert result.returncode == 0, result.stderr
    assert result.stdout.split() == ["tolva", project_version()]
    # meson-python carries the manual page as data, into the venv's man/man1/,
    # where man looks for the programs of the venv's bin/.
    page = Path(INSTALLED_VENV) / "man" / "man1" / "tolva.1"
    assert page.is_file(), "the wheel installed no manual page"
    if shutil.which("man"):
        found = subprocess.run(["man", "-w", "tolva"], capture_output=True, text=True,
                               env={**os.environ, "PATH": f"{tool.parent}:/usr/bin:/bin"})
        assert Path(found.stdout.strip()).resolve() == page.resolve()
