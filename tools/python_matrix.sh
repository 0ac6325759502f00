#!/usr/bin/env bash
# Builds a wheel for Debian's python3 and for every CPython from 3.9 to 3.13
# that pyenv provides, installs each into a venv of its interpreter and runs
# the Python suite against that install (tools/installed_suite.sh): one line
# per interpreter, and a non-zero exit if any of them fails to build or to
# pass. Each wheel is checked and tagged manylinux_2_31 by
# tools/wheel_policy.sh. Arguments, when given, name the interpreters to run
# instead: pyenv versions (3.9.18, or 3.9 for the newest 3.9 there) or
# "system" for Debian's python3.
set -uo pipefail
cd "$(dirname "$0")/.."
bash tools/deps.sh || exit 1

pyenv_root="$(pyenv root 2>/dev/null || echo "${PYENV_ROOT:-$HOME/.pyenv}")"
dist=/usr/lib/python3/dist-packages
work="$PWD/build-matrix"
mkdir -p "$work/buildtools" "$work/distutils" "$work/logs"

# pyenv's interpreters have no build front end or backend and there is no
# package index to fetch them from. Debian's python3-build and meson-python
# are pure Python and run under each of them along with their pure-Python
# dependencies; only those are linked onto the path, so none of Debian's
# modules compiled for its own interpreter is picked up.
for name in build pep517 mesonpy pyproject_metadata packaging tomli colorama typing_extensions.py; do
  ln -sfn "$dist/$name" "$work/buildtools/$name"
done
# meson reads an interpreter's paths through distutils, which 3.12 dropped;
# setuptools' copy of it stands in.
ln -sfn "$dist/setuptools/_distutils" "$work/distutils/distutils"

if [ $# -gt 0 ]; then
  names=("$@")
else
  # The newest release of each minor version.
  mapfile -t names < <(ls "$pyenv_root/versions" 2>/dev/null \
    | grep -E '^3\.(9|10|11|12|13)\.[0-9]+$' | sort -V \
    | awk -F. '{ newest[$1 "." $2] = $0 } END { for (m in newest) print newest[m] }' | sort -V)
  names=(system "${names[@]}")
fi
# A minor version names its newest release under pyenv.
for i in "${!names[@]}"; do
  if [[ ${names[$i]} =~ ^3\.[0-9]+$ ]]; then
    newest=$(ls "$pyenv_root/versions" 2>/dev/null | grep -E "^${names[$i]//./\\.}\.[0-9]+$" \
      | sort -V | tail -n 1)
    names[$i]=${newest:-${names[$i]}}
  fi
done

# Builds a wheel for $python into $wheels, from a fresh build directory:
# meson-python keeps its native file in the source tree, so a build directory
# left by another interpreter would not take the new one.
build_wheel() {
  local path="$work/buildtools"
  "$python" -W ignore -c 'import distutils' 2>/dev/null || path+=":$work/distutils"
  rm -rf "$wheels"
  (cd "$work" && PYTHONPATH="$path" "$python" -m build --wheel --no-isolation \
    --skip-dependency-check --outdir "$wheels" "$root")
}

root=$PWD
failed=0
for name in "${names[@]}"; do
  if [ "$name" = system ]; then
    python=/usr/bin/python3
  else
    python="$pyenv_root/versions/$name/bin/python"
  fi
  if [ ! -x "$python" ]; then
    printf '%-15s not installed\n' "$name"
    failed=1
    continue
  fi
  label="$name"
  [ "$name" != system ] || label="$("$python" -c 'import platform; print(platform.python_version())') system"
  log="$work/logs/$name.log"
  wheels="$work/wheels-$name"
  : >"$log"

  if ! build_wheel >>"$log" 2>&1; then
    printf '%-15s build FAILED  (log: %s)\n' "$label" "${log#"$PWD"/}"
    failed=1
    continue
  fi
  if ! bash tools/wheel_policy.sh "$(echo "$wheels"/tolva-*.whl)" >>"$log" 2>&1; then
    printf '%-15s wheel needs more than glibc 2.31  (log: %s)\n' "$label" "${log#"$PWD"/}"
    failed=1
    continue
  fi
  summary=$(bash tools/installed_suite.sh "$python" "$(echo "$wheels"/tolva-*.whl)" \
    "$work/venv-$name" 2>&1 | tee -a "$log" | tail -n 1)
  status=${PIPESTATUS[0]}
  summary="${summary% in *}"
  if [ "$status" -eq 0 ]; then
    printf '%-15s wheel ok  installed tests: %s\n' "$label" "$summary"
  else
    printf '%-15s wheel ok  installed tests FAILED: %s  (log: %s)\n' "$label" "$summary" "${log#"$PWD"/}"
    failed=1
  fi
done
if [ ${#names[@]} -le 1 ] && [ $# -eq 0 ]; then
  echo "no CPython 3.9 to 3.13 under $pyenv_root/versions"
  failed=1
fi
exit "$failed"
