#!/usr/bin/env bash
# Installs, from Debian's packages, whatever this machine lacks to build, test,
# benchmark and run tolva. Does nothing when everything is present.
#
#   tools/deps.sh        everything the tests, benchmarks and hardening runs need
#   tools/deps.sh run    only what building and running the module needs
#   tools/deps.sh oracles  the ecosystems' own tools that tools/oracles/ asks to
#                        remake the schemes' tables (the tests read the committed
#                        tables and need none of them)
set -euo pipefail

oracles=(
  # tools/oracles/rpm.py: librpm's comparison and rpmspec's checks
  python3-rpm rpm
  # tools/oracles/apk.py: the Go port of apk-tools' comparison
  golang-go golang-github-knqyf263-go-apk-version-dev
  # tools/oracles/alpm.py: libalpm's alpm_pkg_vercmp and makepkg's checks
  pacman-package-manager
  # tools/oracles/pypi.py: Debian's packaging, beside the newest one the tables come from
  python3-packaging
  # tools/oracles/gem.py: RubyGems
  ruby
  # tools/oracles/cargo.py: the reference comparison for the cargo scheme, its
  # source and the compiler that builds it offline (package names, as apt knows them)
  rustc librust-semver-dev
  # tools/oracles/maven.py: ComparableVersion and VersionRange, run from a single Java source
  openjdk-17-jdk-headless libmaven3-core-java libcommons-lang3-java
  # tools/oracles/golang.py: golang.org/x/mod/semver
  golang-golang-x-mod-dev
  # tools/oracles/composer.py: composer/semver
  php-cli php-composer-semver
  # tools/oracles/nuget.py: NuGet.Core, driven by a small C# program
  mono-runtime mono-mcs libnuget-core-cil
)

# ccache: meson compiles through it when it is present, so the many builds of
# one CI run (a wheel for each interpreter) compile their shared objects once.
packages=(g++ ninja-build meson pkg-config python3 python3-dev ccache)
[ "${1:-all}" = oracles ] && packages=("${oracles[@]}")
[ "${1:-all}" = run ] || [ "${1:-all}" = oracles ] || packages+=(
  python3-venv python3-pip python3-mesonpy python3-build python3-pytest
  # the Python suites run on every processor
  python3-pytest-xdist
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  python3-packaging python3-semver
  # the debian scheme's order checked against Debian's own comparison
  python3-apt
  # the tests of pickling across a process pool and a Dask cluster, and of the
  # guide's sort key on generated values
  python3-dask python3-distributed python3-hypothesis
  valgrind
  mypy
  clang-16 libclang-rt-16-dev clang-format-14
  # tools/clang_build.sh: the second toolchain, and GoogleTest built for it
  libc++-16-dev libc++abi-16-dev cmake
  # tools/python_matrix.sh: pytest's own needs below CPython 3.11, and the
  # distutils that meson asks 3.12 and later for
  python3-exceptiongroup python3-tomli python3-setuptools
  # tools/wheel_policy.sh repacks wheels; tools/old_system.sh makes a Debian 11 root
  python3-wheel debootstrap
  # the generated manual page is rendered with warnings on, the zsh completion
  # checked by zsh itself
  man-db zsh
  # bench/long_line_bench.py reads each run's peak memory from GNU time
  time
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "installing: ${missing[*]}"
  sudo_cmd=()
  [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
  "${sudo_cmd[@]}" apt-get update -q
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -q "${missing[@]}"
fi
