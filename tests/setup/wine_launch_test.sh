#!/usr/bin/env bash
# scripts/wine-launch.sh against a stand-in loader: which failed starts are made again and logged,
# and which are reported as they ended.
set -u
launch=$(cd "$(dirname "$0")/../.." && pwd)/scripts/wine-launch.sh
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failed=0

# The stand-in counts its starts; STANDIN_SILENT_FAILS of them exit 5 without a byte, after that
# it prints its arguments and exits with STANDIN_RC.
cat >"$work/loader" <<'SH'
#!/usr/bin/env bash
n=$(($(cat "$STANDIN_DIR/starts" 2>/dev/null || echo 0) + 1))
echo "$n" >"$STANDIN_DIR/starts"
((n <= ${STANDIN_SILENT_FAILS:-0})) && exit 5
echo "ran $*"
exit "${STANDIN_RC:-0}"
SH
chmod +x "$work/loader"
mkdir "$work/wineprefix"

check() { # NAME SILENT_FAILS RC -> expected: RC STARTS LOGGED-LINES OUTPUT
  local name=$1 out rc starts logged
  rm -f "$work/starts" "$work/launch-retries.log"
  out=$(STANDIN_DIR=$work WINEPREFIX=$work/wineprefix STANDIN_SILENT_FAILS=$2 STANDIN_RC=$3 \
        bash "$launch" "$work/loader" tests.exe --gtest_filter=A.B 2>/dev/null)
  rc=$?
  starts=$(cat "$work/starts")
  logged=$(cat "$work/launch-retries.log" 2>/dev/null | wc -l)
  if [ "$rc $starts $logged|$out" = "$4 $5 $6|$7" ]; then
    echo "ok: $name"
  else
    echo "FAILED: $name: got '$rc $starts $logged|$out', wanted '$4 $5 $6|$7'"
    failed=1
  fi
}

check "a clean start runs once" 0 0 0 1 0 "ran tests.exe --gtest_filter=A.B"
check "a program failing in its own code is not run again" 0 1 1 1 0 "ran tests.exe --gtest_filter=A.B"
check "a start that never printed is made again and logged" 2 0 0 3 2 "ran tests.exe --gtest_filter=A.B"
check "three silent failures are reported as the third" 3 0 5 3 2 ""
exit $failed
