# Sourced by the test and run scripts: a private Wine prefix and an Xvfb display for one build folder.
#   nw_wine_start BUILD_DIR [--no-xvfb]   sets up WINEPREFIX, locale, display; starts wineserver
#   nw_wine_stop                          stops what nw_wine_start started (by PID / own prefix only)

nw_wine_start() {
  local build_dir
  build_dir=$(cd "$1" && pwd)
  local want_xvfb=1
  [ "${2:-}" = "--no-xvfb" ] && want_xvfb=0

  export HOME="$build_dir/winehome"
  export WINEPREFIX="$build_dir/wineprefix"
  export WINEARCH=win32
  export WINEDEBUG=${WINEDEBUG:--all}
  # The line simulator's rasapi32/wininet are taken from the program folder; no Mono/Gecko prompts.
  export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d;rasapi32,wininet=n,b"
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
    wine wineboot --init </dev/null >"$build_dir/wineboot.log" 2>&1 || true
    # No window manager under Xvfb: unmanaged windows close at once; no crash dialog.
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
    wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
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
  wine wineboot </dev/null >>"$build_dir/wineboot.log" 2>&1 || true

  # One long-lived process on the desktop, detached from every pipe (see the keeper's source).
  local keeper="$build_dir/wine-desktop-keeper.exe"
  local keeper_src
  keeper_src="$(dirname "${BASH_SOURCE[0]}")/wine-desktop-keeper.c"
  if [ ! -f "$keeper" ] || [ "$keeper_src" -nt "$keeper" ]; then
    i686-w64-mingw32-gcc-posix -O2 -mwindows -o "$keeper" "$keeper_src"
  fi
  wine "$keeper" </dev/null >/dev/null 2>&1 &
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
