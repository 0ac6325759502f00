#!/usr/bin/env bash
# Regenerates the range relation tables in tests/data/ranges/ from the
# ecosystems' own range libraries: node-semver (npm install semver, into a
# scratch folder), packaging 26.3 or newer (PACKAGING, default the copy
# beside the project) and Composer's semver (Debian's php-composer-semver).
# Needs node, npm and php; none of them is needed to build or test tolva.
#
#   tools/range_oracles.sh
set -euo pipefail
cd "$(dirname "$0")/.."
out=tests/data/ranges
packaging=${PACKAGING:-../shared/anchors/packaging}

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
(cd "$scratch" && npm install --silent --no-save semver >/dev/null)
NODE_PATH="$scratch/node_modules" node tools/oracles/npm_ranges.js "$out"
PYTHONPATH="$packaging" python3 tools/oracles/pypi_ranges.py "$out"
php tools/oracles/composer_ranges.php "$out"
