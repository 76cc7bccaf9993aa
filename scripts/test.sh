#!/usr/bin/env bash
# The one test command: installs prerequisites, builds the native core and both Windows
# configurations once each, runs every test (native unit tests, then the Windows suites under
# Wine + Xvfb), stops what it started.
#
# The 64-bit Windows suite runs on every machine. The 32-bit one runs where the host can run
# 32-bit programs (some kernels cannot); NW_SKIP_WIN32=1 skips it anyway, to try the 64-bit-only
# path on a machine that has both. Fails when no Windows suite could run.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

"$root/scripts/setup.sh"
. "$root/scripts/wine-env.sh"

jobs=$(nproc)
status=0
summary=()

configure() { # build-dir toolchain
  cmake -S . -B "$1" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo ${2:+-DCMAKE_TOOLCHAIN_FILE="$root/cmake/$2"} >/dev/null
}

echo "== native build"
configure build/native
cmake --build build/native -j "$jobs"
echo "== native tests"
if ctest --test-dir build/native --output-on-failure -j "$jobs"; then
  summary+=("native: passed")
else
  summary+=("native: FAILED")
  status=1
fi

run32=1
why32=""
if [ "${NW_SKIP_WIN32:-0}" = 1 ]; then
  run32=0
  why32="skipped by choice: NW_SKIP_WIN32=1 was set"
elif ! nw_wine_runs win32; then
  run32=0
  why32=$NW_WINE_WHY
fi
run64=1
why64=""
if ! nw_wine_runs win64; then
  run64=0
  why64=$NW_WINE_WHY
fi

# Both configurations are built everywhere (tests are listed when they run, not at build time, so
# building needs no Wine); the suites run where their loader does.
echo "== Windows build, 64-bit (x86_64-w64-mingw32)"
configure build/win64 mingw-x86_64.cmake
cmake --build build/win64 -j "$jobs"
echo "== Windows build, 32-bit (i686-w64-mingw32)"
configure build/win32 mingw-i686.cmake
cmake --build build/win32 -j "$jobs"

windows_suite() { # arch build-dir
  echo "== Windows tests, $1, under $(nw_wine_loader "$1")"
  nw_wine_start "$2" "$1"
  # One at a time: the end-to-end tests share the simulated line and the display.
  local rc=0 retries="$2/launch-retries.log"
  rm -f "$retries"
  ctest --test-dir "$2" --output-on-failure --timeout 300 || rc=1
  nw_wine_stop
  if [ -s "$retries" ]; then
    echo "== starts of $1 test programs made again (Wine's loader exited before the program began)"
    cat "$retries"
    summary+=("Windows $1: $(wc -l <"$retries") test program start(s) made again, listed in $retries")
  fi
  return $rc
}
trap nw_wine_stop EXIT

ran=0
if [ "$run64" = 1 ]; then
  if windows_suite win64 build/win64; then summary+=("Windows 64-bit: passed"); else summary+=("Windows 64-bit: FAILED"); status=1; fi
  ran=$((ran + 1))
else
  summary+=("Windows 64-bit: NOT RUN, $why64")
fi
if [ "$run32" = 1 ]; then
  if windows_suite win32 build/win32; then summary+=("Windows 32-bit: passed"); else summary+=("Windows 32-bit: FAILED"); status=1; fi
  ran=$((ran + 1))
else
  summary+=("Windows 32-bit: built, not run, $why32")
fi

echo "== summary"
printf '  %s\n' "${summary[@]}"
if [ "$ran" = 0 ]; then
  echo "test.sh: no Windows suite could run on this machine; that is a failure, not a pass" >&2
  status=1
fi
exit $status
