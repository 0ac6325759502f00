#!/usr/bin/env bash
# Proves that the wheel runs on an older system: a Debian 11 root (glibc 2.31,
# CPython 3.9), made once with debootstrap into build-oldsystem/, installs
# the wheel built for CPython 3.9 into a venv of its own Python with its own
# pip, and runs the Python suite and the tolva command's tests there with
# Debian 11's pytest. Needs root (chroot) and Debian's archive.
#
#   tools/old_system.sh [WHEEL]
#
# Without WHEEL, the CPython 3.9 wheel of tools/python_matrix.sh is used,
# built first when missing. Two tests stay out, for what the root lacks, not
# the module: the stubs' checks run Debian 12's mypy (Debian 11 has none that
# reads them; the matrix runs them for 3.9), and the memory test reads
# mallinfo2, which glibc 2.33 added.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/deps.sh

work=$PWD/build-oldsystem
root=$work/bullseye
# binutils: the installed-wheel tests read the module with readelf.
packages=python3,python3-venv,python3-pytest,binutils
mkdir -p "$work"
if [ ! -x "$root/usr/bin/python3" ]; then
  rm -rf "$root.tmp"
  debootstrap --variant=minbase --include="$packages" bullseye "$root.tmp" http://deb.debian.org/debian
  mv "$root.tmp" "$root"
fi
# A root made before the list above grew gets what it lacks.
if [ "$(chroot "$root" dpkg-query -W -f='${Status}\n' ${packages//,/ } 2>/dev/null \
      | grep -c '^install ok installed$')" -ne "$(echo "${packages//,/ }" | wc -w)" ]; then
  cp /etc/resolv.conf "$root/etc/resolv.conf"
  chroot "$root" apt-get install -y -q ${packages//,/ }
fi

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

# The tracked files (the suites read the docs and examples too) and the wheel
# go into the root's /tmp; the root's pip decides whether the wheel's tags fit.
inside=$root/tmp/tolva
rm -rf "$inside"
mkdir -p "$inside"
git ls-files -z | tar --null -T - -cf - | tar -xf - -C "$inside"
cp "$wheel" "$inside/"
mount -t proc proc "$root/proc"
mount --bind /dev "$root/dev"
# The report tests open pseudo-terminals.
mount --bind /dev/pts "$root/dev/pts"
# Lazily: a process the tests left behind may still hold them.
trap 'umount -l "$root/dev/pts" "$root/dev" "$root/proc"' EXIT
chroot "$root" /bin/sh -euc '
  cd /tmp/tolva
  python3 -m venv --system-site-packages venv
  venv/bin/pip install --quiet --no-index --disable-pip-version-check tolva-*.whl
  echo "old system: $(ldd --version | head -n 1), $(venv/bin/python -V)"
  TOLVA_INSTALLED_VENV=/tmp/tolva/venv TOLVA_CLI=/tmp/tolva/venv/bin/tolva \
    timeout 900 venv/bin/python -m pytest -q -p no:cacheprovider tests/python tests/cli \
    --ignore=tests/python/test_stubs.py \
    --deselect=tests/python/test_leaks.py::test_memory_stays_flat
'
