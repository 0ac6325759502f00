#!/usr/bin/env bash
# Proves tolva on today's Python and compilers: a Debian forky root (testing:
# CPython 3.14 and 3.15, g++ 16, glibc 2.43), made once with debootstrap into
# build-newsystem/. There
#
# - g++ 16 builds the core, the module (for python3.14), the tolva command and
#   the C++ tests with -Wall -Wextra -Werror, with std::format for the values
#   (libstdc++ 16 has <format>), and runs the C++ suites and the tolva
#   command's tests;
# - the sdist builds a wheel for python3.14 and one for python3.15 with the
#   root's own build front end and meson-python, linked as the wheel of
#   Debian 12 is (src/portable/); tools/wheel_policy.sh checks and tags each;
#   each is installed into a venv of its interpreter and the Python suite runs
#   against it (tools/installed_suite.sh).
#
#   tools/new_system.sh [SDIST]
#   tools/new_system.sh --root      only make the root (CI makes it meanwhile)
#
# Without SDIST, one is made from the committed tree with Debian 12's
# python3 -m build, as the README makes it. The wheels are left in
# build-newsystem/wheels/. Needs root (chroot) and Debian's archive.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/deps.sh
source tools/debian_root.sh

work=$PWD/build-newsystem
root=$work/forky
pythons=(python3.14 python3.15)
# debootstrap knows forky by the script of the distribution it becomes. mypy:
# the installed suites check the stubs for each interpreter; binutils: they
# read the module with readelf; patchelf: meson-python 0.16 and later ask for
# it before they build a wheel; python3-pytest-xdist: the suites run on every
# processor; ccache: the two wheels compile the interpreter-free objects once.
packages=python3.14-dev,python3.15-dev,python3.14-venv,python3.15-venv,g++,meson,ninja-build
packages+=,pkg-config,python3-build,python3-mesonpy,patchelf,python3-pytest,python3-hypothesis
packages+=,libgtest-dev,libgmock-dev,mypy,binutils,python3-pytest-xdist,ccache
make_root "$root" forky "$packages" /usr/share/debootstrap/scripts/sid
[ "${1:-}" != --root ] || exit 0

sdist=${1:-}
if [ -z "$sdist" ]; then
  rm -rf "$work/dist"
  /usr/bin/python3 -P -m build --sdist --no-isolation --outdir "$work/dist" .
  sdist=$(echo "$work"/dist/tolva-*.tar.gz)
fi

copy_tree "$root" "$sdist"
enter_root "$root" '
  echo "new system: $(ldd --version | head -n 1), $(g++ --version | head -n 1)"
  printf "%s\n" "#include \"tolva/values/formatting.hpp\"" "#ifndef TOLVA_HAS_FORMAT" \
    "#error the values have no std::formatter here" "#endif" \
    | g++ -std=c++23 -Iinclude -x c++ -fsyntax-only -
  meson setup build-gcc -Dpython=python3.14 -Dinstance_counts=true -Dbenchmarks=false --werror >/dev/null
  ninja -C build-gcc
  meson test -C build-gcc --print-errorlogs
  TOLVA_CLI=build-gcc/src/cli/tolva PYTHONPATH=build-gcc python3.14 -m pytest -q -n auto -p no:cacheprovider tests/cli
  mkdir sdist
  tar -xzf tolva-*.tar.gz -C sdist
  for python in '"${pythons[*]}"'; do
    $python -P -m build --wheel --no-isolation --outdir wheels sdist/tolva-*/
  done
'
rm -rf "$work/wheels"
mkdir -p "$work/wheels"
for wheel in "$root"/tmp/tolva/wheels/*.whl; do
  bash tools/wheel_policy.sh "$wheel"
done
cp "$root"/tmp/tolva/wheels/*.whl "$work/wheels/"

failed=0
for python in "${pythons[@]}"; do
  version=${python#python}
  if enter_root "$root" "bash tools/installed_suite.sh $python wheels/tolva-*-cp${version/./}-*.whl \
      /tmp/tolva/venv-$version"; then
    echo "new system: $python installed suite passed"
  else
    echo "new system: $python installed suite FAILED"
    failed=1
  fi
done
exit "$failed"
