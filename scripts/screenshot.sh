#!/usr/bin/env bash
# Takes the README's pictures: the program on the demo install, on a virtual display of its own,
# cropped with a small margin to the main window (centred on the 1024 x 768 desktop, 311 x 427)
# or, with --about, to the About window opened over it (522 x 192).
# Usage: scripts/screenshot.sh [--about] [OUTPUT.png]
#        (default docs/screenshot.png, with --about docs/about.png)
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD_DIR=${BUILD_DIR:-$ROOT/build}
about=
if [ "${1:-}" = "--about" ]; then about=1; shift; fi
if [ -n "$about" ]; then
  out=$(realpath -m "${1:-$ROOT/docs/about.png}") width=522 height=192
else
  out=$(realpath -m "${1:-$ROOT/docs/screenshot.png}") width=311 height=427
fi
source "$ROOT/scripts/build.sh"
"$ROOT/scripts/install-deps.sh"
build_windows
unset WINEPREFIX DISPLAY
source "$ROOT/scripts/wine-env.sh"
start_private_wine_session

demo=$("$ROOT/scripts/make-demo-install.sh" "$BUILD_DIR/demo")
"$WINE64" reg add 'HKLM\Software\Tencent\LOL' /v InstallPath /d "Z:${demo//\//\\}" /f /reg:32 >/dev/null 2>&1
"$WINE64" "$(program_path)" >/dev/null 2>&1 &
if [ -n "$about" ]; then
  # The menu item "关于软件" (its command id in ui/main_window_layout.h).
  "$WINE64" "$BUILD_DIR/win64/tests/km_program_tool.exe" choose-menu-item 1005
fi
mkdir -p "$(dirname "$out")"
margin=8
crop="$((width + 2 * margin))x$((height + 2 * margin))+$(((1024 - width) / 2 - margin))+$(((768 - height) / 2 - margin))"
# The picture is taken once the window is drawn: the area holds more than the desktop's colour
# and two shots half a second apart are the same (at most 30 s).
shot=$(mktemp --suffix=.png) last=
for _ in $(seq 60); do
  sleep 0.5
  import -window root -crop "$crop" +repage "$shot"
  now=$(convert "$shot" -format '%k:%#' info:)  # colour count : pixel signature
  [ "${now%%:*}" -gt 50 ] && [ "$now" = "$last" ] && break
  last=$now
done
[ "$now" = "$last" ] || { echo "the window did not settle on the display" >&2; exit 1; }
mv "$shot" "$out"
chmod 644 "$out"  # mktemp made it private
echo "$out"
