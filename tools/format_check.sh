#!/usr/bin/env bash
# Checks that the C++ lines changed since BASE (default: the parent commit)
# follow .clang-format, and prints the changes it wants when they do not. Only
# changed lines are checked: hand-aligned tables elsewhere stay as they are.
#   usage: tools/format_check.sh [BASE]     e.g. tools/format_check.sh main
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/deps.sh
base=${1:-HEAD~1}
if ! git rev-parse -q --verify "$base^{commit}" >/dev/null; then
  echo "format check: no commit $base to compare with; skipped"
  exit 0
fi
# Generated files keep the generator's layout.
mapfile -t files < <(git diff --name-only --diff-filter=ACMR "$base" -- '*.cpp' '*.hpp' \
  | grep -v '\.generated\.' || true)
if [ ${#files[@]} -eq 0 ]; then
  echo "format check: no C++ file changed since $base"
  exit 0
fi
wanted=$(git clang-format-14 --binary clang-format-14 --diff "$base" -- "${files[@]}" || true)
if [[ "$wanted" == diff* ]]; then
  printf '%s\n' "$wanted"
  echo "format check: the lines above do not follow .clang-format (clang-format 14)"
  exit 1
fi
echo "format check: ${#files[@]} changed C++ file(s) follow .clang-format"
