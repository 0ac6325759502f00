#!/usr/bin/env bash
# Builds the core, the module and the C++ tests with AddressSanitizer and
# UndefinedBehaviorSanitizer (in build-sanitize), then runs the C++ suites and
# the Python suite and the command-line tool's tests. Any sanitizer report
# fails the run. The build asks with meson's own option, as distributions and
# IDEs do, so CI proves that it builds and runs.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/deps.sh
build=build-sanitize
[ -d "$build" ] || meson setup "$build" -Dpython=/usr/bin/python3 -Db_sanitize=address,undefined \
  -Dcpp_args=-fno-omit-frame-pointer -Dinstance_counts=true -Dbenchmarks=false -Dbuildtype=debugoptimized
ninja -C "$build"

# abort_on_error and halt_on_error turn every report into a failed test;
# the C++ suites also check for leaks.
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:detect_stack_use_after_return=1:strict_string_checks=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
meson test -C "$build" --print-errorlogs

# The interpreter is not built with the sanitizers, so their runtimes must be
# loaded before it. Its own allocations live until exit by design, so leak
# detection is off here: tests/python/test_leaks.py and tools/valgrind.sh
# look for leaks of the module instead.
asan_runtime=$(g++ -print-file-name=libasan.so)
ubsan_runtime=$(g++ -print-file-name=libubsan.so)
LD_PRELOAD="$asan_runtime $ubsan_runtime" \
  ASAN_OPTIONS=detect_leaks=0:abort_on_error=1 \
  PYTHONPATH="$build" /usr/bin/python3 -m pytest -n auto -p no:cacheprovider tests/python

# The tool is built with the sanitizers itself, so it runs as it is, with
# leak detection. The memory-bound test is left out: the sanitizers' shadow
# memory and quarantine grow with the input by design.
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 TOLVA_CLI="$build/src/cli/tolva" \
  /usr/bin/python3 -m pytest -n auto -p no:cacheprovider tests/cli -k "not memory_does_not_grow"
