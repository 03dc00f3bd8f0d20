#!/usr/bin/env bash
# Runs a benchmark under Wine on the build's prefix and a virtual display of its own.
#   bench/run-bench.sh startup [RUNS]    start-up time against catalogue size
#   bench/run-bench.sh commands [RUNS]   Mount, Unmount and Delete against their floor
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD_DIR=${BUILD_DIR:-$ROOT/build}
source "$ROOT/scripts/build.sh"
build_windows
unset WINEPREFIX DISPLAY
source "$ROOT/scripts/wine-env.sh"
start_private_wine_session
case "${1:-}" in
  startup) "$WINE64" "$BUILD_DIR/win64/bench/startup_bench.exe" "Z:$(program_path | tr / '\\')" "${2:-7}" ;;
  commands) "$WINE64" "$BUILD_DIR/win64/bench/commands_bench.exe" "${2:-9}" ;;
  *) echo "usage: bench/run-bench.sh startup|commands [RUNS]" >&2; exit 2 ;;
esac
