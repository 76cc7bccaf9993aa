#!/usr/bin/env bash
# Pictures of the history windows (the list's three pages, the record editor, the graph and the
# display settings) at 96 and 144 DPI, taken by the end-to-end tests that drive them
# (NW_E2E_SHOTS) under Wine + Xvfb, into build/ARCH/screenshots/ (or the folder given as $1).
# ARCH as in screenshots-settings.sh.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
. "$root/scripts/wine-env.sh"
nw_shots_setup "$root" "${1:-}"

cmake --build "$build" --target e2e_tests >/dev/null
nw_e2e_shots 'HistoryE2e.*'

echo "screenshots written:"
ls -1 "$out"/history-*dpi.png | sed 's/^/  /'
