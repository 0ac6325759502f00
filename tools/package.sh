#!/usr/bin/env bash
# Checks what users install, in build-package/.
#
# The Python package: `python3 -m build` makes the sdist and then the wheel
# from it, which proves the sdist complete; the wheel is installed into a
# venv without the system's packages and the Python suite runs against it.
#
# The C++ core: installs into a scratch root with `meson install --destdir`,
# builds examples/cpp/ from the installed files with nothing but the flags of
# `pkg-config --cflags --libs tolva`, runs it and compares its output with the
# committed one.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/deps.sh

out=$PWD/build-package
mkdir -p "$out"

# Debian's python3-build; run from outside the tree, where a build directory
# named build/ would stand in for the package of that name.
src=$PWD
rm -rf "$out/dist"
(cd "$out" && /usr/bin/python3 -m build --no-isolation --outdir "$out/dist" "$src")
bash tools/installed_suite.sh /usr/bin/python3 "$(echo "$out"/dist/tolva-*.whl)" "$out/venv"

build=$out/build
root=$out/root
[ -d "$build" ] || meson setup "$build" -Dpython=/usr/bin/python3 -Dtests=false -Dbenchmarks=false
ninja -C "$build"
rm -rf "$root"
meson install -C "$build" --destdir "$root" --quiet

# A thin archive only points at the objects of the build tree.
archive=$(find "$root" -name libtolva.a)
if [ "$(head -c 7 "$archive")" != '!<arch>' ]; then
  echo "C++ package: $archive is not a self-contained archive" >&2
  exit 1
fi

export PKG_CONFIG_LIBDIR
PKG_CONFIG_LIBDIR=$(dirname "$(find "$root" -name tolva.pc)")
export PKG_CONFIG_SYSROOT_DIR=$root
# shellcheck disable=SC2046  # the flags are meant to split
g++ -std=c++23 -Wall -Wextra -Werror examples/cpp/sort_versions.cpp \
  $(pkg-config --cflags --libs tolva) -o "$out/sort_versions"
"$out/sort_versions" >"$out/sort_versions.out"
diff -u examples/cpp/sort_versions.out "$out/sort_versions.out"

# The same from an install built by clang++ 16 with libc++ 16, whose callers
# name that standard library too.
libcxx="-stdlib=libc++ -fexperimental-library"
[ -d "$out/build-clang" ] || CXX=clang++-16 CXXFLAGS="$libcxx" LDFLAGS="$libcxx" meson setup \
  "$out/build-clang" -Dpython=/usr/bin/python3 -Dtests=false -Dbenchmarks=false
ninja -C "$out/build-clang"
rm -rf "$out/root-clang"
meson install -C "$out/build-clang" --destdir "$out/root-clang" --quiet
PKG_CONFIG_LIBDIR=$(dirname "$(find "$out/root-clang" -name tolva.pc)")
PKG_CONFIG_SYSROOT_DIR=$out/root-clang
# shellcheck disable=SC2046,SC2086  # the flags are meant to split
clang++-16 -std=c++2b $libcxx -Wall -Wextra -Werror examples/cpp/sort_versions.cpp \
  $(pkg-config --cflags --libs tolva) -o "$out/sort_versions_clang"
"$out/sort_versions_clang" >"$out/sort_versions_clang.out"
diff -u examples/cpp/sort_versions.out "$out/sort_versions_clang.out"
echo "C++ package: installed headers, libtolva.a and tolva.pc build and run examples/cpp (g++, clang++)"
