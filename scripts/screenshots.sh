#!/usr/bin/env bash
# Photographs NetWard's windows under Wine + Xvfb (1280x1024) into build/ARCH/screenshots/
# (or the folder given as $1) and lists the files. ARCH is win32 where the host runs 32-bit
# programs, otherwise win64 (NW_ARCH chooses); that build must exist (scripts/test.sh or run.sh).
#
# Always, at 96 and 144 DPI: the notice dialog, the main window with its volume lines, the compact
# window, the about box and the history windows (record editor, counter graph, display settings
# page by page), shown one at a time by the test program's gallery (Gallery.* of win32_tests.exe).
# Once NetWard.exe and the line simulator are built: the real program in a Wine desktop, in a
# fresh program folder: main window disconnected, connected, with the lock button, the tray
# popup, the compact window, a time-limit notice and the about box.
# The volume views at 96 and 144 DPI: scripts/screenshots-volume.sh.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
. "$root/scripts/wine-env.sh"
nw_shots_setup "$root" "${1:-}"

targets=(win32_tests)
program=0
if grep -q '"NetWard"\|NetWard.exe' "$build/build.ninja" 2>/dev/null && grep -q 'linesimctl' "$build/build.ninja"; then
  targets+=(NetWard Linkpilot linesim_rasapi32 linesim_wininet linesim_iphlpapi linesimctl)
  program=1
fi
cmake --build "$build" -j2 --target "${targets[@]}" >/dev/null
tests="$build/bin/win32_tests.exe"
shots=()

shot() { # name: the whole screen, then trimmed to what is drawn
  import -window root "$out/$1.png"
  convert "$out/$1.png" -trim +repage "$out/$1.png"
  shots+=("$out/$1.png")
}

gallery() { # name test-name
  NW_GALLERY_SECONDS=5 "$NW_WINE" "$tests" --gtest_also_run_disabled_tests --gtest_filter="Gallery.DISABLED_$2" \
    </dev/null >/dev/null 2>&1 &
  local pid=$!
  sleep 3
  shot "$1"
  wait "$pid" || true
}

drive() { # test-name, with NW_* variables in the environment
  "$NW_WINE" "$tests" --gtest_also_run_disabled_tests --gtest_filter="Drive.DISABLED_$1" </dev/null >/dev/null 2>&1
}
# The program runs in its own Wine desktop; windows are found only from inside the same one.
drive_in_desktop() { # test-name
  "$NW_WINE" explorer /desktop=NetWard,1024x768 "$tests" --gtest_also_run_disabled_tests \
    --gtest_filter="Drive.DISABLED_$1" </dev/null >/dev/null 2>&1 || true
  sleep 1
}

trap nw_wine_stop EXIT
for dpi in 96 144; do
  echo "screenshots: own windows from the test program at $dpi DPI"
  nw_wine_start_dpi "$build" "$arch" "$dpi"
  # Wine's helper processes start here, detached from the build's pipes.
  "$NW_WINE" wineboot </dev/null >/dev/null 2>&1 || true
  d="-${dpi}dpi"
  gallery "window-notice-dialog$d" NoticeDialog
  gallery "window-main-volume$d" MainWindow
  gallery "window-compact$d" CompactWindow
  gallery "window-about-box$d" AboutBox
  gallery "window-log-record-editor$d" LogRecordEditor
  NW_GALLERY_KIND=1 gallery "window-log-record-editor-counter$d" LogRecordEditor
  gallery "window-log-graph$d" LogGraph
  NW_GALLERY_VOLUME=1 gallery "window-log-graph-volume$d" LogGraph
  for page in 0 1 2 3 4; do NW_GALLERY_PAGE=$page gallery "window-log-settings-$page$d" LogSettings; done
  nw_wine_dpi_reset
  nw_wine_stop
done

nw_wine_start "$build" "$arch"
"$NW_WINE" wineboot </dev/null >/dev/null 2>&1 || true
if [ "$program" = 1 ]; then
  echo "screenshots: NetWard in a Wine desktop"
  run="$build/shots-run"
  rm -rf "$run"
  mkdir -p "$run"
  for f in NetWard.exe Linkpilot.exe rasapi32.dll wininet.dll iphlpapi.dll linesimctl.exe; do cp -f "$build/bin/$f" "$run/"; done
  [ -d "$build/bin/GuideNWD" ] && cp -r "$build/bin/GuideNWD" "$run/"
  ctl() { "$NW_WINE" "$run/linesimctl.exe" --state "$run/linesim.txt" "$@" </dev/null >/dev/null 2>&1; }
  post() { # class message wparam lparam
    NW_POST_CLASS=$1 NW_POST_MSG=$2 NW_POST_WPARAM=$3 NW_POST_LPARAM=${4:-0} drive_in_desktop Post
  }
  ctl reset
  ctl add-entry NWProvider modem "Simulated Modem"
  ctl autodial-entry NWProvider

  start() {
    (cd "$run" && "$NW_WINE" explorer /desktop=NetWard,1024x768 "$run/NetWard.exe" </dev/null >/dev/null 2>&1) &
    desktop=$!
    sleep 6
  }
  stop() {
    post NWDBase 273 1010  # 閉じる(&X)
    sleep 2
    kill "$desktop" 2>/dev/null || true
    wait "$desktop" 2>/dev/null || true
  }

  start
  shot program-main-disconnected
  ctl connect NWProvider
  sleep 4
  shot program-main-connected
  post NWDBase 1025 0 516  # tray icon callback, right button down: the popup
  sleep 2
  shot program-tray-popup
  post '#32768' 256 27 || true  # Esc closes the popup menu
  post NWDBase 273 1008  # ｳｨﾝﾄﾞｳをｺﾝﾊﾟｸﾄ化(&P)...
  sleep 2
  shot program-compact-window
  post NetWardNWDComp 273 1518  # 戻る(&B)
  sleep 1
  post NWDBase 273 1202  # ﾊﾞｰｼﾞｮﾝ情報(&V)...
  sleep 2
  shot program-about-box
  post NetWardNWDVersion 16 0
  sleep 1
  stop

  # Lock button shown and a connection-time limit of 5 seconds that asks.
  NW_SETTINGS_DIR=$("$NW_WINE" winepath -w "$run") NW_LOCK_SHOWN=1 NW_ATCUT_SECONDS=5 drive EditSettings
  ctl drop NWProvider
  start
  shot program-main-lock-shown
  ctl connect NWProvider
  sleep 9
  shot program-notice-dialog
  post NetWardNWDDialog 16 0
  stop
fi

echo "screenshots written:"
printf '  %s\n' "${shots[@]}"
