#!/usr/bin/env bash
# Checks that a wheel runs on glibc 2.31 and later, then tags it so:
#
#   tools/wheel_policy.sh [--symbols] WHEEL   prints the path of the tagged wheel
#
# Reads every versioned symbol the module and the tolva executable need, and
# fails, listing them, when any needs a glibc newer than 2.31 or any libstdc++
# (GLIBCXX, CXXABI): both carry their own. --symbols lists them all the same.
# The wheel is then repacked with the platform tag manylinux_2_31_x86_64 in
# place of linux_x86_64, under the new name that tag gives it, and the old
# one removed; standard error says so.
set -euo pipefail
symbols=0
if [ "${1-}" = --symbols ]; then
  symbols=1
  shift
fi
wheel=$(realpath "$1")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

/usr/bin/python3 -m wheel unpack --dest "$work" "$wheel" >/dev/null
tree=$(echo "$work"/*/)
# wheel 0.38 unpacks without the modes; pack takes them from the files.
chmod +x "$tree"/*.data/scripts/*
failed=0
while IFS= read -r -d '' file; do
  name=${file#"$tree"}
  if ! objdump -p "$file" | grep -q NEEDED; then
    [ "$symbols" -eq 0 ] || echo "$name: statically linked, needs no shared library" >&2
    continue
  fi
  needs=$(objdump -T "$file" | grep -oE '\((GLIBC|GLIBCXX|CXXABI)_[0-9.]+\) +[^ ]+' \
    | tr -d '()' | sort -k1,1V -k2 | uniq)
  if [ "$symbols" -eq 1 ]; then
    echo "$name: needs $(objdump -p "$file" | awk '/NEEDED/ { printf "%s ", $2 }')" >&2
    echo "$needs" | sed 's/^/  /' >&2
  fi
  too_new=$(echo "$needs" | awk '$1 ~ /^(GLIBCXX|CXXABI)_/ { print; next }
    { split(substr($1, 7), v, "."); if (v[1] > 2 || (v[1] == 2 && v[2] > 31)) print }')
  if [ -n "$too_new" ]; then
    echo "$name: beyond glibc 2.31 or on the system's libstdc++:" >&2
    echo "$too_new" | sed 's/^/  /' >&2
    failed=1
  fi
done < <(find "$tree" -type f \( -name '*.so' -o -path '*/scripts/*' \) -print0)
[ "$failed" -eq 0 ] || exit 1

sed -i 's/^\(Tag: .*-\)linux_x86_64$/\1manylinux_2_31_x86_64/' "$tree"/*.dist-info/WHEEL
grep -q '^Tag: .*-manylinux_2_31_x86_64$' "$tree"/*.dist-info/WHEEL
/usr/bin/python3 -m wheel pack --dest-dir "$work" "$tree" >/dev/null
tagged=$(echo "$work"/*.whl)
rm "$wheel"
mv "$tagged" "$(dirname "$wheel")/"
if [ "$(basename "$wheel")" = "$(basename "$tagged")" ]; then
  echo "wheel_policy: needs glibc 2.31 at most; $(basename "$wheel") was tagged so already" >&2
else
  echo "wheel_policy: needs glibc 2.31 at most; renamed $(basename "$wheel") to $(basename "$tagged")" >&2
fi
echo "$(dirname "$wheel")/$(basename "$tagged")"
