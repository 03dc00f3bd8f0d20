# Sourced by ./test, ./run and the screenshot script: the Wine environment of one build folder.
# Expects BUILD_DIR. Leaves WINEPREFIX alone when the caller has set it (a real game install).
export WINE64=/usr/lib/wine/wine64
export WINESERVER=/usr/lib/wine/wineserver
export WINEPREFIX=${WINEPREFIX:-$BUILD_DIR/wineprefix}
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
# The ANSI code page must be 936 (GBK): Wine takes it from the locale.
export LANG=zh_CN.UTF-8
unset LC_ALL

# Creates the prefix once, with a virtual desktop (so that a test driver sees the program's
# window), the font substitute that fixes the widths of the Chinese texts, and Marlett, which
# Debian's Wine does not register by itself (without it the caption buttons draw as "0 1 r").
make_wine_prefix() {
  local settings=3
  [ "$(cat "$WINEPREFIX/.kestrin-ready" 2>/dev/null)" = "$settings" ] && return 0
  mkdir -p "$WINEPREFIX"
  [ -f "$WINEPREFIX/system.reg" ] || "$WINE64" wineboot -i >"$WINEPREFIX/../wineboot.log" 2>&1
  "$WINE64" reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
  "$WINE64" reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1024x768 /f >/dev/null 2>&1
  "$WINE64" reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes' \
     /v '微软雅黑' /d 'WenQuanYi Micro Hei' /f >/dev/null 2>&1
  "$WINE64" reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\Fonts' \
     /v 'Marlett (TrueType)' /d 'Z:\usr\share\wine\fonts\marlett.ttf' /f >/dev/null 2>&1
  "$WINESERVER" -w
  echo "$settings" >"$WINEPREFIX/.kestrin-ready"
}

# Starts an Xvfb of our own on a free display (unless one is given) and the prefix's wineserver;
# stop_wine_session ends both. Output goes to log files, never to the caller's terminal.
start_wine_session() {
  if [ -z "${KESTRIN_KEEP_DISPLAY:-}" ] || [ -z "${DISPLAY:-}" ]; then
    local fifo
    fifo=$(mktemp -u); mkfifo "$fifo"
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$fifo" >"$BUILD_DIR/xvfb.log" 2>&1 &
    XVFB_PID=$!
    read -r display <"$fifo"; rm -f "$fifo"
    export DISPLAY=:$display
  fi
  "$WINESERVER" -p >"$BUILD_DIR/wineserver.log" 2>&1
  # Start the prefix's background processes (services, the desktop) now, with their output in the
  # log: started later by a test they would hold the test runner's output pipe open.
  "$WINE64" cmd /c exit >>"$BUILD_DIR/wineserver.log" 2>&1
}

stop_wine_session() {
  "$WINESERVER" -k >/dev/null 2>&1 || true
  if [ -n "${XVFB_PID:-}" ]; then kill "$XVFB_PID" 2>/dev/null || true; wait "$XVFB_PID" 2>/dev/null || true; fi
}

# For scripts that run the program by themselves (screenshot, benchmark): the build's own prefix
# and a display of their own, both stopped when the script exits.
start_private_wine_session() {
  make_wine_prefix
  start_wine_session
  trap stop_wine_session EXIT
}
