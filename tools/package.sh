#!/usr/bin/env bash
# Checks what users install, in build-package/, by running the README's and
# the guide's `sh package` blocks as written, each file's in a fresh clone of
# the committed tree with a scratch home.
#
# The README's blocks make the sdist and, from it, the wheel with
# `python3 -m build`, which proves the sdist complete, install the wheel into
# a venv, and check it against the glibc 2.31 policy and tag it
# (tools/wheel_policy.sh). The tagged wheel is installed into a venv without
# the system's packages, and the Python suite and the tolva command's tests
# run against it: the command as shipped, stripped and linked statically.
#
# The guide's blocks install the tree into a venv with pip, run the Dask
# example from it, install the C++ core into the home and build
# examples/cpp/ with nothing but the flags of `pkg-config --cflags --libs
# tolva`; its output is compared with the committed one (tools/clang_build.sh
# does the same for clang++ and libc++).
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/deps.sh

src=$PWD
out=$PWD/build-package
mkdir -p "$out"

# The blocks of FILE whose info string is `sh package`, dedented, in order.
package_blocks() {
  /usr/bin/python3 - "$1" <<'PY'
import re, sys, textwrap
text = open(sys.argv[1], encoding="utf-8").read()
for m in re.finditer(r"^( *)```([^\n]*)\n(.*?)^\1```$", text, re.M | re.S):
    if m[2].strip() == "sh package":
        print(textwrap.dedent(m[1] + m[3].replace("\n" + m[1], "\n")), end="")
PY
}

# Runs the `sh package` blocks of FILE in a fresh clone at DIR. As root, as
# in CI, they run as written; otherwise apt-get, which the README gives as
# root's, runs through sudo.
run_blocks() {
  local file=$1 dir=$2
  rm -rf "$dir"
  git clone -q "$src" "$dir/tree"
  mkdir -p "$dir/home"
  local script
  script=$(package_blocks "$file")
  echo "== $file, in $dir/tree:"
  echo "$script" | sed 's/^/   /'
  (cd "$dir/tree" && HOME="$dir/home" bash -euo pipefail -c \
    '[ "$(id -u)" -eq 0 ] || apt-get() { sudo apt-get "$@"; }
     '"$script")
}

run_blocks README.md "$out/readme"
wheel=$(echo "$out"/readme/tree/dist/tolva-*-manylinux_2_31_x86_64.whl)
bash tools/installed_suite.sh /usr/bin/python3 "$wheel" "$out/venv" --cli

run_blocks docs/guide.md "$out/guide"
# A thin archive only points at the objects of the build tree.
archive=$out/guide/home/.local/lib/libtolva.a
if [ "$(head -c 7 "$archive")" != '!<arch>' ]; then
  echo "C++ package: $archive is not a self-contained archive" >&2
  exit 1
fi
"$out/guide/tree/sort_versions" >"$out/sort_versions.out"
diff -u examples/cpp/sort_versions.out "$out/sort_versions.out"

echo "package: the wheel ($(basename "$wheel")), the sdist, the venv install and the C++ package work as the README and the guide say"
