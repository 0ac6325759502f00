#!/usr/bin/env bash
# Builds the module for Debian's python3 and for every CPython from 3.8 to 3.13
# that pyenv provides, and runs the Python suite under each: one line per
# interpreter, and a non-zero exit if any of them fails to build or to pass.
# Arguments, when given, name the interpreters to run instead: pyenv versions
# (e.g. 3.8.18 3.13.0) or "system" for Debian's python3.
set -uo pipefail
cd "$(dirname "$0")/.."
bash tools/deps.sh || exit 1

pyenv_root="$(pyenv root 2>/dev/null || echo "${PYENV_ROOT:-$HOME/.pyenv}")"
dist=/usr/lib/python3/dist-packages
work="$PWD/build-matrix"
mkdir -p "$work/site" "$work/distutils" "$work/logs"

# pyenv's interpreters have no pytest and there is no package index to fetch
# one from. Debian's pytest is pure Python and runs under each of them along
# with its pure-Python dependencies; only those are linked onto the path, so
# none of Debian's modules compiled for its own interpreter is picked up.
for name in pytest _pytest py.py pluggy iniconfig packaging attr exceptiongroup tomli; do
  ln -sfn "$dist/$name" "$work/site/$name"
done
# meson reads an interpreter's paths through distutils, which 3.12 dropped;
# setuptools' copy of it stands in.
ln -sfn "$dist/setuptools/_distutils" "$work/distutils/distutils"

if [ $# -gt 0 ]; then
  names=("$@")
else
  # The newest release of each minor version.
  mapfile -t names < <(ls "$pyenv_root/versions" 2>/dev/null \
    | grep -E '^3\.(8|9|10|11|12|13)\.[0-9]+$' | sort -V \
    | awk -F. '{ newest[$1 "." $2] = $0 } END { for (m in newest) print newest[m] }' | sort -V)
  names=(system "${names[@]}")
fi

# Sets up $build for $python (through $meson_python) unless done before, then
# builds the module in it.
build_module() {
  if [ ! -f "$build/matrix-python" ]; then
    meson setup "$build" -Dpython="$meson_python" -Dtests=false -Dbenchmarks=false -Dcli=false \
      || return 1
    echo "$python" >"$build/matrix-python"
  fi
  ninja -C "$build"
}

failed=0
for name in "${names[@]}"; do
  if [ "$name" = system ]; then
    python=/usr/bin/python3
    build="$PWD/build-py-system"
  else
    python="$pyenv_root/versions/$name/bin/python"
    minor="${name%.*}"
    build="$PWD/build-py${minor//./}"
  fi
  if [ ! -x "$python" ]; then
    printf '%-15s not installed\n' "$name"
    failed=1
    continue
  fi
  label="$name"
  [ "$name" != system ] || label="$("$python" -c 'import platform; print(platform.python_version())') system"
  log="$work/logs/$name.log"
  : >"$log"

  # The interpreter meson asks for its paths: the real one, or a wrapper
  # that lends it distutils.
  meson_python="$python"
  if ! "$python" -W ignore -c 'import distutils' 2>/dev/null; then
    meson_python="$work/python-$name"
    printf '#!/bin/sh\nPYTHONPATH="%s${PYTHONPATH:+:$PYTHONPATH}" exec "%s" "$@"\n' \
      "$work/distutils" "$python" >"$meson_python"
    chmod +x "$meson_python"
  fi
  # A directory left by a failed set-up, or set up for another release of
  # this minor version, is started afresh.
  if [ "$(cat "$build/matrix-python" 2>/dev/null)" != "$python" ]; then
    rm -rf "$build"
  fi
  if ! build_module >>"$log" 2>&1; then
    printf '%-15s build FAILED  (log: %s)\n' "$label" "${log#"$PWD"/}"
    failed=1
    continue
  fi

  # Debian's pytest predates 3.12 and uses ast names that 3.12 deprecates;
  # those warnings are about pytest itself, not about the module. A hung run
  # is cut off so the matrix still ends within CI's time.
  summary=$(TOLVA_PYTHON_MATRIX=1 PYTHONPYCACHEPREFIX="$work/pycache" \
    PYTHONPATH="$build:$work/site" timeout 900 "$python" -m pytest -q -p no:cacheprovider \
    -W "ignore::DeprecationWarning:_pytest.assertion.rewrite" tests/python 2>&1 | tee -a "$log" | tail -n 1)
  status=${PIPESTATUS[0]}
  summary="${summary% in *}"
  if [ "$status" -eq 0 ]; then
    printf '%-15s build ok  tests: %s\n' "$label" "$summary"
  else
    printf '%-15s build ok  tests FAILED: %s  (log: %s)\n' "$label" "$summary" "${log#"$PWD"/}"
    failed=1
  fi
done
if [ ${#names[@]} -le 1 ] && [ $# -eq 0 ]; then
  echo "no CPython 3.8 to 3.13 under $pyenv_root/versions"
  failed=1
fi
exit "$failed"
