#!/usr/bin/env bash
# The main job: builds the module and runs the demo.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/deps.sh run
build=build-demo
[ -d "$build" ] || meson setup "$build" -Dpython=/usr/bin/python3 -Dtests=false -Dbenchmarks=false >/dev/null
ninja -C "$build" >/dev/null
PYTHONPATH="$build" exec /usr/bin/python3 examples/demo.py
