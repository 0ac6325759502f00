#!/usr/bin/env bash
# Builds the fuzz targets of fuzz/ for libFuzzer, core and targets alike under
# AddressSanitizer and UndefinedBehaviorSanitizer, then runs each target for a
# bounded time from its committed corpus, as many at once as there are
# processors. New inputs go to build-fuzz/corpus/,
# failing ones to build-fuzz/artifacts/; the committed corpus is only read.
#
#   tools/fuzz.sh [seconds per target]    (default 60)
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/deps.sh

seconds=${1:-60}
root=$PWD
out=$root/build-fuzz
targets=(parse_version parse_semver parse_dot_separated parse_other parse_range schemes vers_ranges
  cli_lines_and_names)
core_sources=(src/text/*.cpp src/values/*.cpp src/grammar/*.cpp src/report/*.cpp src/scheme/*.cpp)
# The command-line tool's sources that cli_lines_and_names links besides the core.
cli_sources=(src/cli/command_line.cpp src/cli/definitions.cpp src/cli/kind.cpp src/cli/lines.cpp
  src/cli/option_values.cpp src/cli/shown_name.cpp src/cli/sort/line_blocks.cpp
  src/cli/sort/machine.cpp)

# libstdc++ 12 offers std::expected only when the compiler announces concepts
# at 202002L, the level that brings conditionally trivial special members.
# clang 16 implements those yet still announces 201907L, so the level is set
# here; clang 14 lacks them, which is why this is clang 16.
flags="-std=c++2b -D__cpp_concepts=202002L -Wno-macro-redefined -Wall -Wextra
  -g -O1 -fno-omit-frame-pointer -fsanitize=address,undefined
  -fno-sanitize-recover=all -I$root/include -I$root/src"

# A ninja file, so the build runs in parallel and redoes only what changed.
mkdir -p "$out/artifacts"
object() { echo "obj/$(echo "${1%.cpp}" | tr / _).o"; }
{
  echo "cxx = clang++-16"
  echo "flags = $(echo $flags)"
  echo "rule cc"
  echo "  command = \$cxx \$flags -fsanitize=fuzzer-no-link -MMD -MF \$out.d -c \$in -o \$out"
  echo "  depfile = \$out.d"
  echo "  deps = gcc"
  echo "  description = compile \$in"
  echo "rule link"
  echo "  command = \$cxx \$flags -fsanitize=fuzzer \$in -o \$out"
  echo "  description = link \$out"
  core_objects=""
  for src in "${core_sources[@]}" fuzz/checks.cpp fuzz/reference_grammar.cpp; do
    echo "build $(object "$src"): cc $root/$src"
    core_objects+=" $(object "$src")"
  done
  cli_objects=""
  for src in "${cli_sources[@]}"; do
    echo "build $(object "$src"): cc $root/$src"
    cli_objects+=" $(object "$src")"
  done
  for t in "${targets[@]}"; do
    extra=""
    [[ $t == cli_* ]] && extra=$cli_objects
    echo "build $(object "fuzz/$t.cpp"): cc $root/fuzz/$t.cpp"
    echo "build $t: link $(object "fuzz/$t.cpp")$core_objects$extra"
  done
} > "$out/build.ninja"
ninja -C "$out" "${targets[@]}"

# Each target runs on one processor, so as many run at once as there are.
fuzz_target() {
  local t=$1
  mkdir -p "$out/corpus/$t"
  rm -f "$out/$t.failed"
  "$out/$t" -max_total_time="$seconds" -timeout=10 -print_final_stats=1 \
    -dict=fuzz/version.dict -artifact_prefix="$out/artifacts/$t-" \
    "$out/corpus/$t" "fuzz/corpus/$t" > "$out/$t.log" 2>&1 || touch "$out/$t.failed"
}
echo "fuzzing ${#targets[@]} targets for ${seconds}s each, $(nproc) at a time"
for t in "${targets[@]}"; do
  while [ "$(jobs -rp | wc -l)" -ge "$(nproc)" ]; do wait -n || true; done
  fuzz_target "$t" &
done
wait

failed=()
for t in "${targets[@]}"; do
  if [ -e "$out/$t.failed" ]; then
    failed+=("$t")
    tail -n 60 "$out/$t.log"
  fi
  echo "$t: $(grep -E '^#[0-9]+[[:space:]]+DONE' "$out/$t.log" || true)"
done

if [ ${#failed[@]} -gt 0 ]; then
  echo "fuzzing found faults in: ${failed[*]} (inputs in $out/artifacts/)"
  exit 1
fi
echo "fuzzing found no fault in ${#targets[@]} targets"
