#!/usr/bin/env bash
# Pictures of the volume lines at 96 and 144 DPI: the real main window and the compact window with
# its volume item, shown by the test program's gallery under Wine + Xvfb, into build/ARCH/screenshots/
# (or the folder given as $1). ARCH as in screenshots.sh.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
. "$root/scripts/wine-env.sh"
nw_shots_setup "$root" "${1:-}"

cmake --build "$build" -j2 --target win32_tests >/dev/null
shots=()
for dpi in 96 144; do
  nw_wine_start_dpi "$build" "$arch" "$dpi"
  # Wine's helper processes start here, so the first window is up when it is photographed.
  "$NW_WINE" wineboot </dev/null >/dev/null 2>&1 || true
  for window in MainWindow CompactWindow; do
    NW_GALLERY_SECONDS=10 "$NW_WINE" "$build/bin/win32_tests.exe" --gtest_also_run_disabled_tests \
      --gtest_filter="Gallery.DISABLED_$window" </dev/null >/dev/null 2>&1 &
    pid=$!
    sleep 7
    file="$out/volume-$window-${dpi}dpi.png"
    import -window root "$file"
    convert "$file" -trim +repage "$file"
    shots+=("$file")
    wait "$pid" || true
  done
  nw_wine_dpi_reset
  nw_wine_stop
done

echo "screenshots written:"
printf '  %s\n' "${shots[@]}"
