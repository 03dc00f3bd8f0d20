#!/usr/bin/env bash
# Takes the README's picture: the program on the demo install, on a virtual display of its own,
# cropped to the main window (centred on the 1024 x 768 desktop, 311 x 427) with a small margin.
# Usage: scripts/screenshot.sh [OUTPUT.png]   (default docs/screenshot.png)
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD_DIR=${BUILD_DIR:-$ROOT/build}
out=$(realpath -m "${1:-$ROOT/docs/screenshot.png}")
source "$ROOT/scripts/build.sh"
"$ROOT/scripts/install-deps.sh"
build_windows
unset WINEPREFIX DISPLAY
source "$ROOT/scripts/wine-env.sh"
start_private_wine_session

demo=$("$ROOT/scripts/make-demo-install.sh" "$BUILD_DIR/demo")
"$WINE64" reg add 'HKLM\Software\Tencent\LOL' /v InstallPath /d "Z:${demo//\//\\}" /f /reg:32 >/dev/null 2>&1
"$WINE64" "$(program_path)" >/dev/null 2>&1 &
mkdir -p "$(dirname "$out")"
margin=8
crop="$((311 + 2 * margin))x$((427 + 2 * margin))+$(((1024 - 311) / 2 - margin))+$(((768 - 427) / 2 - margin))"
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
echo "$out"
