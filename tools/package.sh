#!/usr/bin/env bash
# Checks the C++ core as its users get it: installs into a scratch root with
# `meson install --destdir`, builds examples/cpp/ from the installed files with
# nothing but the flags of `pkg-config --cflags --libs tolva`, runs it and
# compares its output with the committed one. Works in build-package/.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/deps.sh

out=$PWD/build-package
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
echo "C++ package: installed headers, libtolva.a and tolva.pc build and run examples/cpp"
