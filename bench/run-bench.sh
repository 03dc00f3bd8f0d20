#!/usr/bin/env bash
# Runs a benchmark under Wine on the build's prefix and a virtual display of its own.
#   bench/run-bench.sh startup [RUNS]    start-up time against catalogue size
#   bench/run-bench.sh commands [RUNS]   Mount, Unmount and Delete against their floor
#   bench/run-bench.sh import [RUNS] [COPY_RUNS]
#                                        a 2 GB pack against a 1 KB one on the same drive; a 1 GB
#                                        pack from another drive against `cp`, with the window's
#                                        answers and the program's private bytes during the copy
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD_DIR=${BUILD_DIR:-$ROOT/build}
source "$ROOT/scripts/build.sh"
build_windows
unset WINEPREFIX DISPLAY
source "$ROOT/scripts/wine-env.sh"
start_private_wine_session

# The other drive: a drive letter on a tmpfs folder, while the game install lives in the prefix on
# the build's file system. The pack is copied from there into the Game folder.
OTHER_DIR=/dev/shm/km-import-bench-$$
OTHER_DRIVE=
remove_other_drive() {
  [ -n "$OTHER_DRIVE" ] && rm -f "$WINEPREFIX/dosdevices/$OTHER_DRIVE"
  rm -rf "$OTHER_DIR"
}
make_other_drive() {
  local letter
  for letter in s t u v w x y; do
    [ -e "$WINEPREFIX/dosdevices/$letter:" ] || [ -L "$WINEPREFIX/dosdevices/$letter:" ] && continue
    OTHER_DRIVE=$letter:
    break
  done
  [ -n "$OTHER_DRIVE" ] || { echo "no free drive letter in $WINEPREFIX/dosdevices" >&2; exit 1; }
  mkdir -p "$OTHER_DIR"
  ln -s "$OTHER_DIR" "$WINEPREFIX/dosdevices/$OTHER_DRIVE"
  trap 'remove_other_drive; stop_wine_session' EXIT
}

median() { sort -g | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
field() { sed -nE "s/.* $1=([^ ]+).*/\1/p" <<<" $2"; }

import_benchmarks() {
  local runs=$1 copy_runs=$2
  echo "== same drive"
  "$WINE64" "$BUILD_DIR/win64/bench/import_bench.exe" "$runs" || exit 1

  echo
  echo "== another drive: a 1 GB pack, $copy_runs runs, each against cp in the same run"
  make_other_drive
  local game_fs=$WINEPREFIX/drive_c cp_dir=$WINEPREFIX/drive_c/km-cp-bench
  mkdir -p "$cp_dir"
  echo "pack from:  $OTHER_DRIVE -> $OTHER_DIR ($(stat -f -c %T "$OTHER_DIR"), $(df --output=source "$OTHER_DIR" | tail -n 1))"
  echo "copied to:  the prefix's temp folder under $game_fs ($(stat -f -c %T "$game_fs"), $(df --output=source "$game_fs" | tail -n 1))"
  if [ "$(stat -c %d "$OTHER_DIR")" = "$(stat -c %d "$game_fs")" ]; then
    echo "FAILED: $OTHER_DIR and $game_fs are on the same file system: no copy would run" >&2
    exit 1
  fi
  local pack_unix=$OTHER_DIR/BigPack.zip pack_windows="$OTHER_DRIVE\\BigPack.zip"
  local run line cp_ms failed=0 cp_all=() copy_all=() answer_all=() growth_all=()
  make_pack() { "$WINE64" "$BUILD_DIR/win64/bench/import_copy_bench.exe" make "$pack_windows" 1024 || exit 1; }
  # Both copies end flushed to the disk: the program flushes its new file before it takes its place,
  # and cp's copy is synced here. Each starts with nothing left to write back.
  time_cp() {
    local start end
    sync
    start=$(date +%s%N)
    cp "$pack_unix" "$cp_dir/BigPack.zip" && sync "$cp_dir/BigPack.zip"
    end=$(date +%s%N)
    cp_ms=$(( (end - start) / 1000000 ))
    rm -f "$cp_dir/BigPack.zip"
  }
  time_import() {
    sync
    line=$("$WINE64" "$BUILD_DIR/win64/bench/import_copy_bench.exe" run "$pack_windows" | tr -d '\r') || failed=1
  }
  # The two take turns going first, so that neither always finds the disk just written to.
  for run in $(seq "$copy_runs"); do
    make_pack
    if [ $((run % 2)) = 1 ]; then
      time_cp; time_import
    else
      time_import; make_pack; time_cp
    fi
    echo "run $run: cp_ms=$cp_ms $line"
    [ "$(field ok "$line")" = 1 ] || { failed=1; continue; }
    cp_all+=("$cp_ms"); copy_all+=("$(field copy_ms "$line")")
    answer_all+=("$(field worst_answer_ms "$line")"); growth_all+=("$(field private_growth_mb "$line")")
  done
  rm -rf "$cp_dir"
  if [ ${#cp_all[@]} -gt 0 ]; then
    local cp_median copy_median
    cp_median=$(printf '%s\n' "${cp_all[@]}" | median)
    copy_median=$(printf '%s\n' "${copy_all[@]}" | median)
    echo
    printf '%-28s %10s %10s\n' "1 GB pack" "median ms" "MB/s"
    awk -v c="$cp_median" 'BEGIN { printf "%-28s %10.0f %10.0f\n", "cp + sync", c, 1024000 / c }'
    awk -v c="$copy_median" 'BEGIN { printf "%-28s %10.0f %10.0f\n", "import (progress to row)", c, 1024000 / c }'
    awk -v c="$cp_median" -v p="$copy_median" 'BEGIN { printf "throughput against cp: %.2f (goal at least 0.80)\n", c / p }'
    printf 'slowest answer of the main window: %s ms (goal under 200)\n' \
      "$(printf '%s\n' "${answer_all[@]}" | sort -g | tail -n 1)"
    printf 'private bytes growth, largest: %s MB (goal under 64)\n' \
      "$(printf '%s\n' "${growth_all[@]}" | sort -g | tail -n 1)"
  fi
  [ "$failed" = 0 ] || { echo "a run failed: see its line above" >&2; exit 1; }
}

case "${1:-}" in
  startup) "$WINE64" "$BUILD_DIR/win64/bench/startup_bench.exe" "Z:$(program_path | tr / '\\')" "${2:-7}" ;;
  commands) "$WINE64" "$BUILD_DIR/win64/bench/commands_bench.exe" "${2:-9}" ;;
  import) import_benchmarks "${2:-9}" "${3:-5}" ;;
  *) echo "usage: bench/run-bench.sh startup|commands|import [RUNS]" >&2; exit 2 ;;
esac
