#!/usr/bin/env bash
# Makes the release archives from the Windows builds that scripts/test.sh built and tested:
#   dist/NetWard-<version>-32bit.zip, dist/NetWard-<version>-64bit.zip   (each unpacks into one
#   folder of its own name: NetWard.exe, Linkpilot.exe, GuideNWD\)
#   dist/SHA256SUMS                                                    (check with sha256sum -c)
# A build folder that is missing is configured and built first, as the test command does.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

"$root/scripts/setup.sh"
mkdir -p dist
archives=()
for arch in win32 win64; do
  case $arch in
    win32) toolchain=mingw-i686.cmake ;;
    win64) toolchain=mingw-x86_64.cmake ;;
  esac
  if [ ! -f "build/$arch/CPackConfig.cmake" ]; then
    cmake -S . -B "build/$arch" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
      -DCMAKE_TOOLCHAIN_FILE="$root/cmake/$toolchain" >/dev/null
  fi
  cmake --build "build/$arch" -j "$(nproc)" --target NetWard Linkpilot
  # CPack installs the release folder's contents into a staging folder and zips it.
  (cd "build/$arch" && cpack -G ZIP --config CPackConfig.cmake >/dev/null)
  archives+=("$(sed -n 's/^set(CPACK_PACKAGE_FILE_NAME "\(.*\)")$/\1/p' "build/$arch/CPackConfig.cmake").zip")
done

(cd dist && sha256sum "${archives[@]}" >SHA256SUMS)
echo "release: in $root/dist"
(cd dist && ls -l "${archives[@]}" SHA256SUMS | awk '{printf "  %-32s %9s bytes\n", $9, $5}')
