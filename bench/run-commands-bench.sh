#!/usr/bin/env bash
# Runs the commands benchmark under Wine on the build's prefix.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD_DIR=${BUILD_DIR:-$ROOT/build}
source "$ROOT/scripts/build.sh"
build_windows
unset WINEPREFIX DISPLAY
source "$ROOT/scripts/wine-env.sh"
start_private_wine_session
"$WINE64" "$BUILD_DIR/win64/bench/commands_bench.exe" "${1:-9}"
