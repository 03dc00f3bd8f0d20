#!/usr/bin/env bash
# Runs one fuzz target for a while: scripts/fuzz.sh TARGET SECONDS
# Builds $BUILD_DIR/fuzz (default build/fuzz) first. New inputs collect in build/fuzz/corpus/TARGET
# and make later runs, ./test's too, start further on; a failing input is kept in
# build/fuzz/artifacts/TARGET/ (run the target on that file alone to see the report again).
set -uo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD_DIR=${BUILD_DIR:-$ROOT/build}
source "$ROOT/scripts/build.sh"

if [ $# -ne 2 ] || ! [[ $2 =~ ^[0-9]+$ ]]; then
  echo "usage: scripts/fuzz.sh TARGET SECONDS" >&2
  exit 2
fi
build_fuzz || exit 1
if ! fuzz_targets | grep -qx -- "$1"; then
  echo "no fuzz target '$1'; the targets are: $(fuzz_targets | tr '\n' ' ')" >&2
  exit 2
fi
run_fuzzer "$1" "$2"
