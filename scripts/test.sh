#!/usr/bin/env bash
# The one test command: installs prerequisites, builds both configurations, runs every test
# (native unit tests, then the Windows tests under Wine + Xvfb), stops what it started.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

"$root/scripts/setup.sh"

jobs=$(nproc)
status=0

echo "== native build"
cmake -S . -B build/native -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build/native -j "$jobs"
echo "== native tests"
ctest --test-dir build/native --output-on-failure -j "$jobs" || status=1

echo "== Windows build (i686-w64-mingw32)"
cmake -S . -B build/win32 -G Ninja -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" \
      -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
# Test discovery runs the test programs, so Wine must be ready before the build.
. "$root/scripts/wine-env.sh"
trap nw_wine_stop EXIT
nw_wine_start build/win32
cmake --build build/win32 -j "$jobs"
echo "== Windows tests under Wine"
# One at a time: the end-to-end tests share the simulated line and the display.
ctest --test-dir build/win32 --output-on-failure --timeout 300 || status=1

exit $status
