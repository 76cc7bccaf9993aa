#!/usr/bin/env bash
# Pictures of the advanced settings dialog (both pages) and the watch-entry dialog (three pages)
# at 96 and 144 DPI, taken by the end-to-end tests that drive them (NW_E2E_SHOTS) under Wine + Xvfb, into
# build/ARCH/screenshots/ (or the folder given as $1). ARCH as in screenshots-settings.sh.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
. "$root/scripts/wine-env.sh"
nw_shots_setup "$root" "${1:-}"

cmake --build "$build" --target e2e_tests >/dev/null
nw_e2e_shots 'AdvancedSettingsE2e.*'

echo "screenshots written:"
ls -1 "$out"/advanced-page*dpi.png "$out"/watch-page*dpi.png "$out"/menu-sets-*dpi.png 2>/dev/null | sed 's/^/  /'
