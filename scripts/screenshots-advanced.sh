#!/usr/bin/env bash
# Pictures of the advanced settings dialog (both pages) and the watch-entry dialog (three pages)
# at 96 and 144 DPI, taken by the end-to-end tests that drive them (NW_E2E_SHOTS) under Wine + Xvfb, into
# build/ARCH/screenshots/ (or the folder given as $1). ARCH as in screenshots-settings.sh.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
. "$root/scripts/wine-env.sh"
nw_shots_setup "$root" "${1:-}"

cmake --build "$build" --target e2e_tests >/dev/null
for dpi in 96 144; do
  nw_wine_start_dpi "$build" "$arch" "$dpi"
  shots="$out/advanced-$dpi"
  rm -rf "$shots"
  mkdir -p "$shots"
  NW_E2E_SHOTS="Z:${shots//\//\\}" "$NW_WINE" "$build/bin/e2e_tests.exe" --gtest_filter='AdvancedSettingsE2e.*' \
    </dev/null >/dev/null 2>&1 || true
  nw_wine_dpi_reset
  nw_wine_stop
  for f in "$shots"/*.bmp; do
    [ -e "$f" ] || continue
    name=$(basename "${f%.bmp}")
    convert "$f" "$out/$name-${dpi}dpi.png" && rm -f "$f"
  done
  rmdir "$shots" 2>/dev/null || true
done

echo "screenshots written:"
ls -1 "$out"/advanced-page*dpi.png "$out"/watch-page*dpi.png "$out"/menu-sets-*dpi.png 2>/dev/null | sed 's/^/  /'
