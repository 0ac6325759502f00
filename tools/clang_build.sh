#!/usr/bin/env bash
# The second toolchain: builds the core, the command-line tool, the module and
# the C++ tests with clang++-16 and libc++ 16 in build-clang/, then runs the
# C++ suites and the command-line tool's tests.
#
# libc++ 16 has <expected>, and <format> under -fexperimental-library.
# Debian's GoogleTest is built against libstdc++, whose types a libc++ build
# cannot pass across, so GoogleTest is built from /usr/src/googletest with
# the same toolchain first and found by meson through its pkg-config files.
# Google Benchmark has no sources in Debian, so there are no benchmarks here.
#
# Last, the C++ core is installed from that build and examples/cpp/ built
# against the install with nothing but pkg-config's flags, as the guide shows
# for g++ (tools/package.sh): a caller of a libc++ build names libc++ too.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/deps.sh

out=$PWD/build-clang
export CXX=clang++-16 CC=clang-16
flags="-stdlib=libc++ -fexperimental-library"

gtest=$out/googletest
if [ ! -f "$gtest/root/lib/pkgconfig/gtest_main.pc" ]; then
  cmake -S /usr/src/googletest -B "$gtest/build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_CXX_FLAGS="$flags" -DCMAKE_INSTALL_PREFIX="$gtest/root" \
    -DCMAKE_INSTALL_LIBDIR=lib >/dev/null
  ninja -C "$gtest/build" install >/dev/null
fi
export PKG_CONFIG_PATH=$gtest/root/lib/pkgconfig

build=$out/build
[ -d "$build" ] || CXXFLAGS="$flags" LDFLAGS="$flags" meson setup "$build" \
  -Dpython=/usr/bin/python3 -Dinstance_counts=true -Dbenchmarks=false --werror
ninja -C "$build"
meson test -C "$build" --print-errorlogs
TOLVA_CLI="$build/src/cli/tolva" PYTHONPATH="$build" /usr/bin/python3 -m pytest -q -n auto tests/cli

root=$out/root
rm -rf "$root"
meson install -C "$build" --destdir "$root" --quiet
export PKG_CONFIG_LIBDIR PKG_CONFIG_SYSROOT_DIR
PKG_CONFIG_LIBDIR=$(dirname "$(find "$root" -name tolva.pc)")
PKG_CONFIG_SYSROOT_DIR=$root
# shellcheck disable=SC2046,SC2086  # the flags are meant to split
clang++-16 -std=c++2b $flags -Wall -Wextra -Werror examples/cpp/sort_versions.cpp \
  $(pkg-config --cflags --libs tolva) -o "$out/sort_versions"
"$out/sort_versions" | diff -u examples/cpp/sort_versions.out -
echo "clang: the suites pass, and examples/cpp builds against the install and prints what it should"
