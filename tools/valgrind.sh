#!/usr/bin/env bash
# Runs the scripted tour of tests/python/test_leaks.py under valgrind memcheck
# (in build-valgrind, with debug information) and fails on any definite leak or
# memory error with a frame in tolva's extension module. The interpreter keeps
# much of its own memory until exit; those records are not ours and are ignored.
#   usage: tools/valgrind.sh [ROUNDS] [BUILD]   (default 200, build-valgrind)
# BUILD names another build directory with the option instance_counts, such
# as tools/test.sh's build/ (CI: its module is already built; without debug
# information the frames name their functions but no lines).
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/deps.sh
rounds=${1:-200}
build=${2:-build-valgrind}
# Only the module is watched, so only it is built.
[ -d "$build" ] || meson setup "$build" -Dpython=/usr/bin/python3 -Dinstance_counts=true -Dtests=false \
  -Dbenchmarks=false -Dcli=false -Dbuildtype=debugoptimized
ninja -C "$build"

report=$build/memcheck.xml
# PYTHONMALLOC=malloc sends every object to the C allocator, where memcheck sees it.
PYTHONMALLOC=malloc PYTHONPATH="$build" valgrind --tool=memcheck --leak-check=full \
  --show-leak-kinds=definite --errors-for-leak-kinds=definite --num-callers=40 \
  --xml=yes --xml-file="$report" \
  /usr/bin/python3 tests/python/test_leaks.py "$rounds" >/dev/null

/usr/bin/python3 - "$report" <<'EOF'
import sys
import xml.etree.ElementTree as ET

ours = []
for error in ET.parse(sys.argv[1]).getroot().iter("error"):
    objects = [obj.text or "" for obj in error.iter("obj")]
    if any("/tolva." in obj for obj in objects):
        ours.append(error)

for error in ours:
    what = error.find("xwhat/text")
    print(error.findtext("kind"), what.text if what is not None else error.findtext("what"))
    for frame in error.iter("frame"):
        print("   ", frame.findtext("fn", "?"), frame.findtext("file", ""), frame.findtext("line", ""),
              frame.findtext("obj", ""))
print(f"memcheck: {len(ours)} report(s) with a frame in tolva's module")
sys.exit(1 if ours else 0)
EOF
