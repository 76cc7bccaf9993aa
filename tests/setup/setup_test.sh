#!/usr/bin/env bash
# scripts/setup.sh against stand-ins for apt-get, dpkg and dpkg-query placed first on PATH: which
# failures stop the set-up, which only cost the 32-bit suite, and how often the indexes are read.
set -u
setup=$(cd "$(dirname "$0")/../.." && pwd)/scripts/setup.sh
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
passed=0
failed=0

# The stand-ins log every call to $work/calls. STANDIN_INSTALLED names the packages dpkg-query
# reports as installed ("all": every one; "all-but:P": every one but P); STANDIN_UPDATE_FAILS how many index reads fail before
# one succeeds; STANDIN_BROKEN a package whose install fails with apt's error line.
mkdir "$work/bin"
cat >"$work/bin/apt-get" <<'SH'
#!/usr/bin/env bash
echo "apt-get $*" >>"$STANDIN_DIR/calls"
case "$1" in
  update)
    n=$(cat "$STANDIN_DIR/update-count" 2>/dev/null || echo 0)
    echo $((n + 1)) >"$STANDIN_DIR/update-count"
    if ((n < ${STANDIN_UPDATE_FAILS:-0})); then
      echo "E: Failed to fetch binary-i386/Packages.xz  File has unexpected size" >&2
      exit 100
    fi ;;
  install)
    for p in "$@"; do
      if [ -n "${STANDIN_BROKEN:-}" ] && [ "$p" = "$STANDIN_BROKEN" ]; then
        echo "E: Unable to correct problems, you have held broken packages."
        exit 100
      fi
    done ;;
esac
exit 0
SH
cat >"$work/bin/dpkg-query" <<'SH'
#!/usr/bin/env bash
pkg=${!#}
have=${STANDIN_INSTALLED:-}
if [ "$have" = all ] || { [[ "$have" == all-but:* ]] && [ "$pkg" != "${have#all-but:}" ]; } ||
   [[ " $have " == *" $pkg "* ]]; then
  printf 'install ok installed'
else
  exit 1
fi
SH
cat >"$work/bin/dpkg" <<'SH'
#!/usr/bin/env bash
echo "dpkg $*" >>"$STANDIN_DIR/calls"
[ "$1" = --print-foreign-architectures ] && echo i386
exit 0
SH
printf '#!/usr/bin/env bash\nexec "$@"\n' >"$work/bin/sudo"
chmod +x "$work/bin/"*

run_setup() { # NAME, then VAR=value... for the stand-ins
  local name=$1
  shift
  rm -f "$work/calls" "$work/update-count"
  touch "$work/calls"
  out=$(env PATH="$work/bin:$PATH" STANDIN_DIR="$work" NW_SETUP_PAUSE=0 "$@" bash "$setup" 2>&1)
  rc=$?
  case_name=$name
}
check() { # DESCRIPTION, then a test command
  local what=$1
  shift
  if "$@"; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
    printf 'FAILED %s: %s\n--- exit %s, output:\n%s\n--- calls:\n%s\n' "$case_name" "$what" "$rc" "$out" "$(cat "$work/calls")"
  fi
}
updates() { grep -c '^apt-get update' "$work/calls"; }
installs() { grep -c '^apt-get install' "$work/calls"; }

run_setup "everything installed" STANDIN_INSTALLED=all
check "exit 0" [ "$rc" = 0 ]
check "apt-get never called" [ "$(grep -c apt-get "$work/calls")" = 0 ]

run_setup "the 32-bit loader cannot be installed" STANDIN_INSTALLED="" STANDIN_BROKEN=wine32:i386
check "exit 0" [ "$rc" = 0 ]
check "indexes read once for both steps" [ "$(updates)" = 1 ]
check "required packages installed before the optional one" \
  bash -c "grep '^apt-get install' '$work/calls' | head -n 1 | grep -q wine64 && ! grep '^apt-get install' '$work/calls' | head -n 1 | grep -q wine32"
check "one line names the package, apt's reason and the skipped suite" \
  bash -c "printf '%s\n' \"\$0\" | grep -qx 'setup: could not install wine32:i386 (E: Unable to correct problems, you have held broken packages.); the 32-bit Windows suite will be skipped'" "$out"

run_setup "a required package cannot be installed" STANDIN_INSTALLED="" STANDIN_BROKEN=cmake
check "non-zero exit" [ "$rc" != 0 ]
check "apt's own message shown" grep -q "held broken packages" <<<"$out"
check "the optional step is not tried" [ "$(installs)" = 1 ]

run_setup "index downloads fail twice" STANDIN_INSTALLED="wine32:i386" STANDIN_UPDATE_FAILS=2
check "exit 0" [ "$rc" = 0 ]
check "three reads" [ "$(updates)" = 3 ]
check "install after the read that worked" [ "$(installs)" = 1 ]

run_setup "index downloads keep failing" STANDIN_INSTALLED="" STANDIN_UPDATE_FAILS=99 NW_SETUP_TRIES=2
check "the install is still tried, and succeeds" [ "$rc" = 0 ]
check "two reads, not more" [ "$(updates)" = 2 ]
check "says what it lacked" grep -q "could not all be read after 2 tries" <<<"$out"

run_setup "only the optional package missing" STANDIN_INSTALLED=all-but:wine32:i386
check "exit 0" [ "$rc" = 0 ]
check "only wine32 installed" bash -c "[ \"\$(grep '^apt-get install' '$work/calls')\" = 'apt-get install -y -q wine32:i386' ]"

echo "setup: $passed passed, $failed failed"
[ "$failed" = 0 ]
