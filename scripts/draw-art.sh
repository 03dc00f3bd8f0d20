#!/usr/bin/env bash
# Redraws the icons and the pictures in resources/ (commit the results).
# Usage: scripts/draw-art.sh [PREVIEW_FOLDER]
# Needs libpng-dev, libfreetype-dev and the WenQuanYi Micro Hei font (scripts/install-deps.sh).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
font=/usr/share/fonts/truetype/wqy/wqy-microhei.ttc
[ -f "$font" ] || { echo "draw-art: the font $font is missing (fonts-wqy-microhei)" >&2; exit 1; }
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
g++ -std=c++17 -O2 -o "$out/draw_art" "$root/resources/art/draw_art.cpp" \
  $(pkg-config --cflags --libs freetype2) -lpng
"$out/draw_art" "$root/resources" "$font" ${1:+"$1"}
