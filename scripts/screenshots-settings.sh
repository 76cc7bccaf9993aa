#!/usr/bin/env bash
# Photographs the eleven pages of the operation settings dialog at 96 and 144 DPI under Wine + Xvfb
# into build/ARCH/screenshots/ (or the folder given as $1) and lists the files. NetWard runs in a
# fresh program folder inside a Wine desktop; the pages are chosen by clicks on their labels.
# ARCH is win32 where the host runs 32-bit programs, otherwise win64 (NW_ARCH chooses); that build
# must exist (scripts/test.sh or run.sh).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
. "$root/scripts/wine-env.sh"
nw_shots_setup "$root" "${1:-}"

cmake --build "$build" --target NetWard Linkpilot linesim_rasapi32 linesim_wininet linesim_iphlpapi >/dev/null
post_exe="$build/wine-post.exe"
cc=i686-w64-mingw32-gcc-posix
[ "$arch" = win64 ] && cc=x86_64-w64-mingw32-gcc-posix
"$cc" -O2 -o "$post_exe" "$root/scripts/wine-post.c"

run="$build/shots-settings"
shots=()
shot() {
  import -window root "$out/$1.png"
  convert "$out/$1.png" -trim +repage "$out/$1.png"
  shots+=("$out/$1.png")
}
post() { "$NW_WINE" explorer /desktop=NetWard,1280x960 "$post_exe" "$@" </dev/null >/dev/null 2>&1 || true; }

for dpi in 96 144; do
  nw_wine_start_dpi "$build" "$arch" "$dpi"
  rm -rf "$run"
  mkdir -p "$run"
  for f in NetWard.exe Linkpilot.exe rasapi32.dll wininet.dll iphlpapi.dll; do cp -f "$build/bin/$f" "$run/"; done
  (cd "$run" && "$NW_WINE" explorer /desktop=NetWard,1280x960 "$run/NetWard.exe" </dev/null >/dev/null 2>&1) &
  desktop=$!
  sleep 8
  post NWDBase 273 1101  # 動作の設定(&A)...
  sleep 3
  for page in 0 1 2 3 4 5 6 7 8 9 10; do
    post NetWardForm 273 $((4120 + page))  # a click on the page's label
    sleep 1.5
    shot "settings-page$page-${dpi}dpi"
  done
  post NetWardForm 273 2  # ｷｬﾝｾﾙ
  sleep 1
  post NWDBase 273 1010  # 閉じる(&X)
  sleep 2
  kill "$desktop" 2>/dev/null || true
  wait "$desktop" 2>/dev/null || true
  nw_wine_dpi_reset
  nw_wine_stop
done

echo "screenshots written:"
printf '  %s\n' "${shots[@]}"
