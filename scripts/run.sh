#!/usr/bin/env bash
# Builds NetWard and runs it under Wine with the line simulator standing in for the modem.
#
#   scripts/run.sh                 set up, build, start NetWard in a framed 1024x768 Wine desktop on
#                                  $DISPLAY; without a display: run on Xvfb, take screenshots of the
#                                  start, a simulated connect and a drop, and say where they are
#   scripts/run.sh --headless      the screenshot run even when a display is there
#   scripts/run.sh ctl ARGS...     change the simulated line of a running NetWard, e.g.
#                                  scripts/run.sh ctl connect NWProvider   (the provider answers)
#                                  scripts/run.sh ctl drop NWProvider      (the provider drops the line)
#                                  scripts/run.sh ctl show                 (what the simulator holds)
#
# The 32-bit build runs where the host runs 32-bit programs, the 64-bit one elsewhere; NW_ARCH=win64
# (or win32) chooses.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
. "$root/scripts/wine-env.sh"
arch=$(nw_wine_arch)
case "$arch" in
  win32) toolchain=mingw-i686.cmake ;;
  win64) toolchain=mingw-x86_64.cmake ;;
  *) echo "run.sh: NW_ARCH must be win32 or win64" >&2; exit 1 ;;
esac
build="$root/build/$arch"
run_dir="$build/run"       # NetWard's program folder
env_dir="$build/runenv"    # its own Wine prefix, apart from the tests'
entry="NWProvider"
NW_WINE=$(nw_wine_loader "$arch")

ctl() {
  "$NW_WINE" "$run_dir/linesimctl.exe" --state "$run_dir/linesim.txt" "$@"
}

if [ "${1:-}" = "ctl" ]; then
  shift
  [ -f "$run_dir/linesimctl.exe" ] && [ -d "$env_dir/wineprefix" ] ||
    { echo "run.sh: start NetWard with scripts/run.sh first" >&2; exit 1; }
  # The running NetWard's Wine: same prefix and locale, nothing started anew.
  export HOME="$env_dir/winehome" WINEPREFIX="$env_dir/wineprefix" WINEARCH=$arch WINELOADER=$NW_WINE WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d;rasapi32,wininet,iphlpapi=n,b"
  export LOCPATH="$env_dir/locale" LANG=ja_JP.UTF-8
  ctl "$@"
  exit $?
fi

headless=0
[ "${1:-}" = "--headless" ] && headless=1
[ -z "${DISPLAY:-}" ] && headless=1

"$root/scripts/setup.sh"
if ! nw_wine_runs "$arch"; then
  echo "run.sh: $NW_WINE_WHY" >&2
  exit 1
fi
echo "run.sh: the $arch build of NetWard"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$root/cmake/$toolchain" \
      -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null

cmake --build "$build" -j2 --target NetWard Linkpilot linesim_rasapi32 linesim_wininet linesim_iphlpapi linesimctl

mkdir -p "$env_dir"
# A NetWard left over from an earlier run of this script goes with its own Wine.
WINEPREFIX="$env_dir/wineprefix" wineserver -k 2>/dev/null || true
if [ "$headless" = 1 ]; then
  nw_wine_start "$env_dir" "$arch"
else
  nw_wine_start "$env_dir" "$arch" --no-xvfb
  # On a real display the window manager frames the Wine desktop.
  "$NW_WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d Y /f >/dev/null 2>&1
fi
trap nw_wine_stop EXIT

# The program folder: NetWard, Linkpilot, the help pages, and the simulator's DLLs beside them.
mkdir -p "$run_dir"
for f in NetWard.exe Linkpilot.exe rasapi32.dll wininet.dll iphlpapi.dll linesimctl.exe; do
  cp -f "$build/bin/$f" "$run_dir/"
done
if [ -d "$build/bin/GuideNWD" ]; then
  rm -rf "$run_dir/GuideNWD"
  cp -r "$build/bin/GuideNWD" "$run_dir/"
fi

# One phonebook entry, the line down, dial-up through WinInet dialing that entry.
ctl reset >/dev/null
ctl add-entry "$entry" modem "Simulated Modem" >/dev/null
ctl autodial-entry "$entry" >/dev/null

cat <<INFO
NetWard runs from $run_dir (settings and logs are kept there).
The line simulator has one phonebook entry, "$entry"; the line is down. From another terminal:
  scripts/run.sh ctl connect $entry     the provider brings the line up
  scripts/run.sh ctl drop $entry        the provider drops it
  scripts/run.sh ctl traffic-add $entry 1048576 4194304   bytes sent and received on the line (RAS)
  scripts/run.sh ctl adapter-traffic-add Ethernet 1048576 4194304   the same on the network adapter
  scripts/run.sh ctl show               the simulator's state
NetWard's dial button and menus dial and hang up through Linkpilot and the same simulator.
INFO

if [ "$headless" = 0 ]; then
  "$NW_WINE" explorer /desktop=NetWard,1024x768 "$run_dir/NetWard.exe" >/dev/null 2>&1 || true
  exit 0
fi

shots="$build/screenshots"
mkdir -p "$shots"
"$NW_WINE" explorer /desktop=NetWard,1024x768 "$run_dir/NetWard.exe" >/dev/null 2>&1 &
desktop_pid=$!
sleep 6
import -window root "$shots/run-1-started.png"
ctl connect "$entry" >/dev/null
sleep 3
# The RAS statistics count where NetWard watches the line through RAS, the adapter's counters
# where it watches the Internet library's state (the default).
ctl traffic-add "$entry" 1572864 12582912 >/dev/null
ctl adapter-traffic-add Ethernet 1572864 12582912 >/dev/null
sleep 3
import -window root "$shots/run-2-connected.png"
ctl drop "$entry" >/dev/null
sleep 4
import -window root "$shots/run-3-dropped.png"
kill "$desktop_pid" 2>/dev/null || true
echo "Screenshots (start, connected with traffic, dropped): $shots/run-1-started.png run-2-connected.png run-3-dropped.png"
