#!/usr/bin/env bash
# Builds the module for every CPython from 3.8 to 3.13 that pyenv provides and
# runs the Python suite under each: one line per interpreter, and a non-zero
# exit if any of them fails to build or to pass. Arguments, when given, name
# the pyenv versions to run instead (e.g. 3.8.18 3.13.0).
set -uo pipefail
cd "$(dirname "$0")/.."
bash tools/deps.sh || exit 1

versions_dir="${PYENV_ROOT:-$HOME/.pyenv}/versions"
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
  versions=("$@")
else
  # The newest release of each minor version.
  mapfile -t versions < <(ls "$versions_dir" 2>/dev/null \
    | grep -E '^3\.(8|9|10|11|12|13)\.[0-9]+$' | sort -V \
    | awk -F. '{ newest[$1 "." $2] = $0 } END { for (m in newest) print newest[m] }' | sort -V)
fi
if [ ${#versions[@]} -eq 0 ]; then
  echo "no CPython 3.8 to 3.13 under $versions_dir"
  exit 1
fi

# Sets up $build for $python (through $meson_python) unless done before, then
# builds the module in it.
build_module() {
  if [ ! -f "$build/matrix-python" ]; then
    meson setup "$build" -Dpython="$meson_python" -Dtests=false -Dbenchmarks=false || return 1
    echo "$python" >"$build/matrix-python"
  fi
  ninja -C "$build"
}

failed=0
for version in "${versions[@]}"; do
  python="$versions_dir/$version/bin/python"
  minor="${version%.*}"
  build="$PWD/build-py${minor//./}"
  log="$work/logs/$version.log"
  : >"$log"
  if [ ! -x "$python" ]; then
    printf '%-8s not installed\n' "$version"
    failed=1
    continue
  fi

  # The interpreter meson asks for its paths: the real one, or a wrapper
  # that lends it distutils.
  meson_python="$python"
  if ! "$python" -W ignore -c 'import distutils' 2>/dev/null; then
    meson_python="$work/python-$version"
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
    printf '%-8s build FAILED  (log: %s)\n' "$version" "${log#"$PWD"/}"
    failed=1
    continue
  fi

  # Debian's pytest predates 3.12 and uses ast names that 3.12 deprecates;
  # those warnings are about pytest itself, not about the module.
  summary=$(TOLVA_PYTHON_MATRIX=1 PYTHONPYCACHEPREFIX="$work/pycache" \
    PYTHONPATH="$build:$work/site" "$python" -m pytest -q -p no:cacheprovider \
    -W "ignore::DeprecationWarning:_pytest.assertion.rewrite" tests/python 2>&1 | tee -a "$log" | tail -n 1)
  status=${PIPESTATUS[0]}
  summary="${summary% in *}"
  if [ "$status" -eq 0 ]; then
    printf '%-8s build ok  tests: %s\n' "$version" "$summary"
  else
    printf '%-8s build ok  tests FAILED: %s  (log: %s)\n' "$version" "$summary" "${log#"$PWD"/}"
    failed=1
  fi
done
exit "$failed"
