# Sourced by the test and run scripts: a private Wine prefix and an Xvfb display for one build folder.
#   nw_wine_runs ARCH                     true when this host runs Wine's loader for ARCH
#                                         (win32 or win64); NW_WINE_WHY says why not
#   nw_wine_arch                          the architecture to run the programs in: win32 where the
#                                         host runs it, otherwise win64 (NW_ARCH overrides)
#   nw_wine_start DIR [ARCH] [--no-xvfb]  sets up WINEPREFIX (ARCH, default win32), locale,
#                                         display; starts wineserver; $NW_WINE is the loader
#   nw_wine_stop                          stops what nw_wine_start started (by PID / own prefix only)
#
# Wine's loaders are called by their full paths: the `wine` command always picks the 32-bit one
# when it is installed, and on some kernels 32-bit Linux programs cannot run at all.

nw_wine_loader() { # ARCH
  case "$1" in
    win32) echo /usr/lib/wine/wine ;;
    win64) echo /usr/lib/wine/wine64 ;;
    *) echo "wine-env: unknown architecture '$1'" >&2; return 1 ;;
  esac
}

nw_wine_runs() { # ARCH
  local loader out
  loader=$(nw_wine_loader "$1") || return 1
  NW_WINE_WHY=""
  if [ ! -x "$loader" ]; then
    NW_WINE_WHY="not installed: $loader is missing"
    return 1
  fi
  if ! out=$("$loader" --version 2>&1); then
    NW_WINE_WHY="cannot run here: this host cannot run $loader ($(printf '%s' "$out" | tail -n 1))"
    return 1
  fi
  return 0
}

nw_wine_arch() {
  if [ -n "${NW_ARCH:-}" ]; then
    echo "$NW_ARCH"
  elif nw_wine_runs win32; then
    echo win32
  else
    echo win64
  fi
}

# For the screenshot scripts: sets $arch (nw_wine_arch), $build (build/ARCH under ROOT) and $out
# (OUT, or build/ARCH/screenshots; created, made absolute).
nw_shots_setup() { # ROOT [OUT]
  arch=$(nw_wine_arch)
  build="$1/build/$arch"
  out=${2:-"$build/screenshots"}
  mkdir -p "$out"
  out=$(cd "$out" && pwd)
}

# nw_wine_start at a given screen DPI: the setting takes effect in a fresh session of the prefix.
# nw_wine_dpi_reset puts the prefix back to the default before nw_wine_stop.
nw_wine_start_dpi() { # BUILD ARCH DPI
  nw_wine_start "$1" "$2"
  "$NW_WINE" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$3" /f >/dev/null 2>&1
  wineserver -k 2>/dev/null || true
  wineserver -w 2>/dev/null || true
  wineserver -p
}

nw_wine_dpi_reset() {
  "$NW_WINE" reg delete 'HKCU\Control Panel\Desktop' /v LogPixels /f >/dev/null 2>&1 || true
}

nw_wine_start() {
  local build_dir
  build_dir=$(cd "$1" && pwd)
  shift
  local arch=win32 want_xvfb=1
  while [ $# -gt 0 ]; do
    case "$1" in
      --no-xvfb) want_xvfb=0 ;;
      win32|win64) arch=$1 ;;
      *) echo "wine-env: unknown option '$1'" >&2; return 1 ;;
    esac
    shift
  done
  NW_WINE=$(nw_wine_loader "$arch")
  export NW_WINE
  if ! nw_wine_runs "$arch"; then
    echo "wine-env: $NW_WINE_WHY" >&2
    return 1
  fi

  export HOME="$build_dir/winehome"
  export WINEPREFIX="$build_dir/wineprefix"
  export WINEARCH=$arch
  # Programs started from inside Wine use the same loader.
  export WINELOADER=$NW_WINE
  export WINEDEBUG=${WINEDEBUG:--all}
  # The line simulator's rasapi32/wininet/iphlpapi are taken from the program folder; no Mono/Gecko
  # prompts.
  export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d;rasapi32,wininet,iphlpapi=n,b"
  mkdir -p "$HOME"

  # A generated ja_JP.UTF-8 locale: ANSI code page 932 and non-ASCII file names.
  export LOCPATH="$build_dir/locale"
  if [ ! -d "$LOCPATH/ja_JP.UTF-8" ]; then
    mkdir -p "$LOCPATH"
    localedef -i ja_JP -f UTF-8 "$LOCPATH/ja_JP.UTF-8" >/dev/null 2>&1 || true
  fi
  export LANG=ja_JP.UTF-8

  NW_XVFB_PID=""
  if [ "$want_xvfb" = 1 ]; then
    # Xvfb picks a free display itself and writes its number to the given descriptor.
    local dfile="$build_dir/xvfb.display"
    rm -f "$dfile"
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$dfile" >/dev/null 2>&1 &
    NW_XVFB_PID=$!
    local i
    for i in $(seq 1 100); do
      [ -s "$dfile" ] && break
      sleep 0.1
    done
    if [ ! -s "$dfile" ] || ! kill -0 "$NW_XVFB_PID" 2>/dev/null; then
      echo "wine-env: could not start Xvfb" >&2
      NW_XVFB_PID=""
      return 1
    fi
    export DISPLAY=":$(tr -d '[:space:]' <"$dfile")"
  fi

  # A persistent wineserver started first, and the prefix initialised before any test runs,
  # so no test inherits wineboot's pipes.
  mkdir -p "$WINEPREFIX"
  wineserver -p
  if [ ! -f "$WINEPREFIX/.nw-ready" ]; then
    "$NW_WINE" wineboot --init </dev/null >"$build_dir/wineboot.log" 2>&1 || true
    # No window manager under Xvfb: unmanaged windows close at once; no crash dialog.
    "$NW_WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
    "$NW_WINE" reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
    touch "$WINEPREFIX/.nw-ready"
    # Restart the prefix so no process from the initialisation (its desktop above all) keeps the
    # old X11 settings for the rest of this session.
    wineserver -k 2>/dev/null || true
    wineserver -w 2>/dev/null || true
    wineserver -p
  fi
  # Start the prefix's services now, detached from our pipes: started later by a test program
  # they would inherit its pipes and make test discovery wait until it times out. (After the
  # first initialisation too: the services it started are gone once it has updated the prefix.)
  "$NW_WINE" wineboot </dev/null >>"$build_dir/wineboot.log" 2>&1 || true

  # One long-lived process on the desktop, detached from every pipe (see the keeper's source).
  local keeper="$build_dir/wine-desktop-keeper.exe" cc=i686-w64-mingw32-gcc-posix
  [ "$arch" = win64 ] && cc=x86_64-w64-mingw32-gcc-posix
  local keeper_src
  keeper_src="$(dirname "${BASH_SOURCE[0]}")/wine-desktop-keeper.c"
  if [ ! -f "$keeper" ] || [ "$keeper_src" -nt "$keeper" ]; then
    "$cc" -O2 -mwindows -o "$keeper" "$keeper_src"
  fi
  "$NW_WINE" "$keeper" </dev/null >/dev/null 2>&1 &
  NW_KEEPER_PID=$!
}

nw_wine_stop() {
  if [ -n "${NW_KEEPER_PID:-}" ]; then
    kill "$NW_KEEPER_PID" 2>/dev/null || true
    wait "$NW_KEEPER_PID" 2>/dev/null || true
    NW_KEEPER_PID=""
  fi
  if [ -n "${WINEPREFIX:-}" ]; then
    wineserver -k 2>/dev/null || true
  fi
  if [ -n "${NW_XVFB_PID:-}" ]; then
    kill "$NW_XVFB_PID" 2>/dev/null || true
    wait "$NW_XVFB_PID" 2>/dev/null || true
    NW_XVFB_PID=""
  fi
}

# For the screenshot scripts, after nw_shots_setup: runs the end-to-end tests matching FILTER at 96
# and 144 DPI with NW_E2E_SHOTS set and turns their pictures into $out/NAME-<dpi>dpi.png.
nw_e2e_shots() { # FILTER
  local dpi shots f name
  for dpi in 96 144; do
    nw_wine_start_dpi "$build" "$arch" "$dpi"
    shots="$out/e2e-$dpi"
    rm -rf "$shots"
    mkdir -p "$shots"
    NW_E2E_SHOTS="Z:${shots//\//\\}" "$NW_WINE" "$build/bin/e2e_tests.exe" --gtest_filter="$1" \
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
}
