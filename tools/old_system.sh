#!/usr/bin/env bash
# Proves that the wheel runs on an older system: a Debian 11 root (glibc 2.31,
# CPython 3.9), made once with debootstrap into build-oldsystem/, installs
# the wheel built for CPython 3.9 into a venv of its own Python with its own
# pip, and runs the Python suite there with Debian 11's pytest. Needs root
# (chroot) and Debian's archive.
#
#   tools/old_system.sh [WHEEL]
#   tools/old_system.sh --root      only make the root (CI makes it meanwhile)
#
# Without WHEEL, the CPython 3.9 wheel of tools/python_matrix.sh is used,
# built first when missing. Two tests stay out, for what the root lacks, not
# the module: the stubs' checks run Debian 12's mypy (Debian 11 has none that
# reads them; the matrix runs them for 3.9), and the memory test reads
# mallinfo2, which glibc 2.33 added. The tolva command is linked statically,
# so the C library of the root is nothing to it: its tests run elsewhere, and
# here only the installed copy's version is checked (tests/python/test_install.py).
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/deps.sh
source tools/debian_root.sh

root=$PWD/build-oldsystem/bullseye
# binutils: the installed-wheel tests read the module with readelf.
make_root "$root" bullseye python3,python3-venv,python3-pytest,python3-pytest-xdist,binutils
[ "${1:-}" != --root ] || exit 0

wheel=${1:-}
if [ -z "$wheel" ]; then
  pyenv_root="$(pyenv root 2>/dev/null || echo "${PYENV_ROOT:-$HOME/.pyenv}")"
  py39=$(ls "$pyenv_root/versions" | grep -E '^3\.9\.[0-9]+$' | sort -V | tail -n 1)
  [ -n "$py39" ] || { echo "old system: no CPython 3.9 under $pyenv_root/versions" >&2; exit 1; }
  wheels=(build-matrix/wheels-"$py39"/tolva-*-cp39-cp39-manylinux_2_31_x86_64.whl)
  [ -f "${wheels[0]}" ] || bash tools/python_matrix.sh "$py39"
  wheels=(build-matrix/wheels-"$py39"/tolva-*-cp39-cp39-manylinux_2_31_x86_64.whl)
  wheel=${wheels[0]}
fi

# The root's pip decides whether the wheel's tags fit.
copy_tree "$root" "$wheel"
enter_root "$root" '
  python3 -m venv --system-site-packages venv
  venv/bin/pip install --quiet --no-index --disable-pip-version-check tolva-*.whl
  echo "old system: $(ldd --version | head -n 1), $(venv/bin/python -V)"
  TOLVA_INSTALLED_VENV=/tmp/tolva/venv TOLVA_CLI=/tmp/tolva/venv/bin/tolva \
    timeout 900 venv/bin/python -m pytest -q -n auto -p no:cacheprovider tests/python \
    --ignore=tests/python/test_stubs.py \
    --deselect=tests/python/test_leaks.py::test_memory_stays_flat
'
