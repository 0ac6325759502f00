#!/usr/bin/env bash
# Builds everything and runs every test: the C++ suites, then the Python suite
# and the command-line tool's tests, those on every processor.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/deps.sh
build=build
[ -d "$build" ] || meson setup "$build" -Dpython=/usr/bin/python3 -Dinstance_counts=true
ninja -C "$build"
meson test -C "$build" --print-errorlogs
TOLVA_CLI="$build/src/cli/tolva" PYTHONPATH="$build" /usr/bin/python3 -m pytest -n auto tests/python tests/cli
