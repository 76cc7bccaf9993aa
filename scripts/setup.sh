#!/usr/bin/env bash
# Installs everything the build, the tests and the run command need on a Debian machine.
# Quick when everything is already there.
#
# Two steps. The first installs what every build and the 64-bit Windows suite need; when it fails
# the set-up stops, with apt's own message above. The second installs the 32-bit Wine loader, which
# only the 32-bit Windows suite needs: the package mirror cannot always serve the i386 packages, and
# then the set-up says so in one line and goes on (the test summary says the 32-bit suite was not run).
#
#   NW_SETUP_TRIES   how often a failed index download is tried (default 3)
#   NW_SETUP_PAUSE   seconds between those tries (default 5)
set -euo pipefail

required=(wine wine64 xvfb xauth locales fonts-ipafont-gothic
          g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix cmake ninja-build imagemagick x11-utils
          googletest libgtest-dev libbenchmark-dev g++ make unzip)
optional=(wine32:i386)

tries=${NW_SETUP_TRIES:-3}
pause=${NW_SETUP_PAUSE:-5}
as_root=()
[ "$(id -u)" -eq 0 ] || as_root=(sudo)

missing_of() { # PACKAGE...: prints those not installed
  local p
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || echo "$p"
  done
}

# The package indexes, read once per set-up and only when something is missing. A download that
# fails (a mirror in the middle of a sync) is tried again; after the last try the install goes ahead
# with what could be read, and says what it lacked itself.
updated=0
update_indexes() {
  [ "$updated" = 0 ] || return 0
  updated=1
  local i
  for ((i = 1; i <= tries; i++)); do
    if "${as_root[@]}" apt-get update -q; then
      return 0
    fi
    if ((i < tries)); then
      echo "setup: the package indexes could not all be read (try $i of $tries); trying again in ${pause}s"
      sleep "$pause"
    fi
  done
  echo "setup: the package indexes could not all be read after $tries tries; installing from what was read"
}

apt_install() { # PACKAGE...
  DEBIAN_FRONTEND=noninteractive "${as_root[@]}" apt-get install -y -q "$@"
}

mapfile -t need < <(missing_of "${required[@]}")
mapfile -t want < <(missing_of "${optional[@]}")

if ((${#want[@]})) && ! dpkg --print-foreign-architectures | grep -qx i386; then
  "${as_root[@]}" dpkg --add-architecture i386
fi

if ((${#need[@]})); then
  echo "setup: installing ${need[*]}"
  update_indexes
  if ! apt_install "${need[@]}"; then
    echo "setup: could not install ${need[*]}; nothing can be built without them" >&2
    exit 1
  fi
fi

if ((${#want[@]})); then
  echo "setup: installing ${want[*]} (optional: the 32-bit Windows suite)"
  update_indexes
  log=$(mktemp)
  if ! apt_install "${want[@]}" >"$log" 2>&1; then
    echo "setup: could not install ${want[*]} ($(grep -m1 '^E:' "$log" || echo "apt-get failed")); the 32-bit Windows suite will be skipped"
  fi
  rm -f "$log"
fi
exit 0
