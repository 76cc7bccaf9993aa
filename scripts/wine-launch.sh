#!/usr/bin/env bash
# How CTest starts a Windows test program: wine-launch.sh LOADER PROGRAM [ARGS...]
#
# On a loaded machine Wine's loader has been seen to exit with an error within 10 ms, before the
# program wrote a single byte: the Windows process never started, and the run said nothing about
# why. Such a start (non-zero exit, nothing on stdout, where a test program always writes first) is
# made again, at most twice, and written to launch-retries.log next to the prefix, which the test
# command reports. A program that printed anything is judged by its own exit code, never run again.
set -u
loader=$1
shift

log=""
[ -n "${WINEPREFIX:-}" ] && log="$(dirname "$WINEPREFIX")/launch-retries.log"
out=$(mktemp)
trap 'rm -f "$out"' EXIT

attempt=1
while :; do
  start=$EPOCHREALTIME
  # stdout streams to CTest as it comes (kept if the test is stopped at its time limit) and is
  # copied to see whether the program got as far as writing; stderr passes straight through.
  "$loader" "$@" | tee "$out"
  rc=${PIPESTATUS[0]}
  if [ "$rc" = 0 ] || [ -s "$out" ] || [ "$attempt" -ge 3 ]; then
    break
  fi
  line="$(date '+%F %T') $(basename "$1") ${*:2}: $loader exited with $rc after"
  line+=" $(awk -v a="$start" -v b="$EPOCHREALTIME" 'BEGIN { printf "%.2f", b - a }') s without output;"
  line+=" started again (attempt $((attempt + 1)) of 3)"
  echo "wine-launch: $line" >&2
  [ -n "$log" ] && echo "$line" >>"$log"
  attempt=$((attempt + 1))
  sleep 1
done
exit "$rc"
