#!/usr/bin/env bash
# Pictures of the advanced settings dialog (both pages) and the watch-entry dialog (three pages),
# taken by the end-to-end tests that drive them (NW_E2E_SHOTS) under Wine + Xvfb, into
# build/ARCH/screenshots/ (or the folder given as $1). ARCH as in screenshots-settings.sh.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
. "$root/scripts/wine-env.sh"
nw_shots_setup "$root" "${1:-}"

cmake --build "$build" --target e2e_tests >/dev/null
nw_wine_start "$build" "$arch"
NW_E2E_SHOTS="Z:${out//\//\\}" "$NW_WINE" "$build/bin/e2e_tests.exe" --gtest_filter='AdvancedSettingsE2e.*' \
  </dev/null || true
nw_wine_stop

echo "screenshots written:"
for f in "$out"/advanced-page*.bmp "$out"/watch-page*.bmp "$out"/menu-sets.bmp; do
  [ -e "$f" ] || continue
  convert "$f" "${f%.bmp}.png" && rm -f "$f"
  echo "  ${f%.bmp}.png"
done
