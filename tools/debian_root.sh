# Making and entering a Debian root, for the scripts that test the module on
# another Debian release (tools/old_system.sh, tools/new_system.sh). Sourced,
# from the source tree's top; needs root (debootstrap, mount, chroot).
#
#   make_root ROOT SUITE PACKAGES [SCRIPT]   PACKAGES comma-separated
#   copy_tree ROOT [FILE...]                 the tracked tree and FILEs to ROOT's /tmp/tolva
#   enter_root ROOT COMMAND                  COMMAND runs there under sh -euc

# The archive this machine's own apt reads from.
debian_mirror=${DEBIAN_MIRROR:-$(sed -n 's|^URIs: *\(http[^ ]*/debian\)/*$|\1|p' \
  /etc/apt/sources.list.d/*.sources 2>/dev/null | head -n 1)}
debian_mirror=${debian_mirror:-http://deb.debian.org/debian}

# Makes ROOT once with debootstrap (minbase and PACKAGES); a root made before
# PACKAGES grew gets what it lacks from its own apt.
make_root() {
  local root=$1 suite=$2 packages=$3 script=${4:-}
  if [ ! -x "$root/usr/bin/apt-get" ]; then
    rm -rf "$root.tmp"
    mkdir -p "$(dirname "$root")"
    debootstrap --variant=minbase --include="$packages" "$suite" "$root.tmp" "$debian_mirror" $script
    mv "$root.tmp" "$root"
  fi
  local names=${packages//,/ }
  # shellcheck disable=SC2086  # the names are meant to split
  if [ "$(chroot "$root" dpkg-query -W -f='${Status}\n' $names 2>/dev/null \
        | grep -c '^install ok installed$')" -ne "$(echo "$names" | wc -w)" ]; then
    cp /etc/resolv.conf "$root/etc/resolv.conf"
    # apt, unlike debootstrap, refuses a Release file past its Valid-Until,
    # which an archive snapshot may serve.
    chroot "$root" apt-get update -q -o Acquire::Check-Valid-Until=false
    # shellcheck disable=SC2086
    DEBIAN_FRONTEND=noninteractive chroot "$root" apt-get install -y -q $names
  fi
}

# Copies the tracked files (the suites read the docs and examples too) and
# each FILE into ROOT's /tmp/tolva, afresh.
copy_tree() {
  local inside=$1/tmp/tolva
  shift
  rm -rf "$inside"
  mkdir -p "$inside"
  git ls-files -z | tar --null -T - -cf - | tar -xf - -C "$inside"
  [ $# -eq 0 ] || cp "$@" "$inside/"
}

# Runs COMMAND in ROOT's /tmp/tolva with /proc, /dev and /dev/pts (the
# report tests open pseudo-terminals) mounted.
enter_root() {
  local root=$1 command=$2
  mount -t proc proc "$root/proc"
  mount --bind /dev "$root/dev"
  mount --bind /dev/pts "$root/dev/pts"
  local status=0
  chroot "$root" /bin/sh -euc "cd /tmp/tolva; $command" || status=$?
  # Lazily: a process the tests left behind may still hold them.
  umount -l "$root/dev/pts" "$root/dev" "$root/proc"
  return "$status"
}
