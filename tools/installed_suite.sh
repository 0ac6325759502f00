#!/usr/bin/env bash
# Installs a wheel with PYTHON into a fresh venv at VENV that does not see the
# system's packages, and runs the Python suite against that install, not the
# build tree; with --cli also the tolva executable's tests, against the
# installed copy. That copy is the same for every interpreter (it does not
# link Python), so one run of its tests covers a build. There is no package
# index, so pytest comes from Debian: it is pure Python, and it and its
# pure-Python dependencies are linked into a directory of their own on
# PYTHONPATH, which holds nothing else (pygments: pytest 8.4 and later).
#
#   tools/installed_suite.sh PYTHON WHEEL VENV [--cli]
set -euo pipefail
cd "$(dirname "$0")/.."

python=$1 wheel=$2 venv=$3 cli=${4:-}
dist=/usr/lib/python3/dist-packages
links=$venv-pytest

rm -rf "$venv" "$links"
"$python" -m venv "$venv"
"$venv/bin/python" -m pip install --quiet --no-index --no-deps --disable-pip-version-check "$wheel"

mkdir -p "$links"
for name in pytest _pytest py.py pluggy iniconfig packaging attr exceptiongroup tomli pygments \
  xdist execnet; do
  [ ! -e "$dist/$name" ] || ln -sfn "$dist/$name" "$links/$name"
done
# pytest-xdist spreads the tests over every processor, where it is present;
# without its metadata on the path pytest must be told to load it.
parallel=()
[ ! -e "$links/xdist" ] || parallel=(-p xdist.plugin -n auto)

# Debian's pytest predates 3.12 and uses ast names that 3.12 deprecates;
# those warnings are about pytest itself, not about the module. A hung run
# is cut off so CI still ends in time.
suites=(tests/python)
[ "$cli" != --cli ] || suites+=(tests/cli)
TOLVA_INSTALLED_VENV="$venv" TOLVA_CLI="$venv/bin/tolva" PYTHONPATH="$links" \
  PYTHONPYCACHEPREFIX="$venv-pycache" \
  timeout 900 "$venv/bin/python" -m pytest -q -p no:cacheprovider "${parallel[@]}" \
  -W "ignore::DeprecationWarning:_pytest.assertion.rewrite" "${suites[@]}"
