#!/usr/bin/env bash
# Redraws the icons and the loudspeaker picture in resources/ (commit the results).
# Usage: scripts/draw-art.sh [PREVIEW_FOLDER]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=$(mktemp -d)
g++ -std=c++17 -O2 -o "$out/draw_art" "$root/resources/art/draw_art.cpp" -lpng
"$out/draw_art" "$root/resources" ${1:+"$1"}
rm -rf "$out"
