#!/usr/bin/env bash
# Runs the start-up benchmark under Wine on the build's prefix and a virtual display of its own.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD_DIR=${BUILD_DIR:-$ROOT/build}
source "$ROOT/scripts/build.sh"
build_windows
unset WINEPREFIX DISPLAY
source "$ROOT/scripts/wine-env.sh"
start_private_wine_session
"$WINE64" "$BUILD_DIR/win64/bench/startup_bench.exe" "Z:$(program_path | tr / '\\')" "${1:-7}"
