#!/usr/bin/env bash
# Installs everything the build, the tests and the run command need on a Debian machine.
# Quick when everything is already there.
set -euo pipefail

packages=(wine wine32:i386 wine64 xvfb xauth locales fonts-ipafont-gothic
          g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix cmake ninja-build imagemagick x11-utils
          googletest libgtest-dev libbenchmark-dev g++ make)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if ((${#missing[@]})); then
  echo "setup: installing ${missing[*]}"
  sudo_cmd=()
  [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    "${sudo_cmd[@]}" dpkg --add-architecture i386
  fi
  "${sudo_cmd[@]}" apt-get update -q
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -q "${missing[@]}"
fi
