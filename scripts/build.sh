# Sourced by ./test and ./run. Expects ROOT and BUILD_DIR; each function prints a line and keeps the
# tools' own output in a log file beside the build (shown when a step fails).

# configure_and_build NAME [cmake args...]: one build tree under $BUILD_DIR/NAME.
configure_and_build() {
  local name=$1; shift
  local dir=$BUILD_DIR/$name log=$BUILD_DIR/$name.log
  mkdir -p "$dir"
  if ! { LC_ALL=C cmake -S "$ROOT" -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" &&
         LC_ALL=C cmake --build "$dir" -j"$(nproc)"; } >"$log" 2>&1; then
    echo "build $name: FAILED (log: $log)"
    tail -n 40 "$log"
    return 1
  fi
}

prepare_windows_deps() {
  "$ROOT/scripts/build-libpng.sh" x86_64 "$BUILD_DIR/deps/x86_64"
}

build_windows() {
  prepare_windows_deps &&
  configure_and_build win64 -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/toolchain-mingw-x86_64.cmake" \
    -DDEPS_PREFIX="$BUILD_DIR/deps/x86_64" "$@"
}

build_windows_i686() {
  "$ROOT/scripts/build-libpng.sh" i686 "$BUILD_DIR/deps/i686" &&
  configure_and_build win32 -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/toolchain-mingw-i686.cmake" \
    -DDEPS_PREFIX="$BUILD_DIR/deps/i686" -DKM_TESTS=OFF
}

program_path() { echo "$BUILD_DIR/win64/app/Kestrin-Marquelle.exe"; }

# The fuzz targets: a tree of their own, natively with clang (libFuzzer, ASan, UBSan).
build_fuzz() {
  configure_and_build fuzz -DKM_FUZZ=ON -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++
}

fuzz_targets() { cat "$BUILD_DIR/fuzz/fuzz-targets.txt"; }

# run_fuzzer TARGET SECONDS: runs one built target for that long, starting from the seeds in
# tests/fuzz/corpus/TARGET and what earlier runs found (kept in $BUILD_DIR/fuzz/corpus/TARGET).
# Prints the execution count; on a failure, the report and where the failing input was kept.
run_fuzzer() {
  local target=$1 seconds=$2 dir=$BUILD_DIR/fuzz
  local log=$dir/$target.log corpus=$dir/corpus/$target artifacts=$dir/artifacts/$target/
  local args=(-max_total_time="$seconds" -max_len=4096 -timeout=10 -rss_limit_mb=2048
              -artifact_prefix="$artifacts")
  [ -f "$ROOT/tests/fuzz/$target.dict" ] && args+=(-dict="$ROOT/tests/fuzz/$target.dict")
  mkdir -p "$corpus" "$artifacts"
  timeout --kill-after=10 $((seconds + 60)) "$dir/tests/fuzz/fuzz_$target" "${args[@]}" \
    "$corpus" "$ROOT/tests/fuzz/corpus/$target" >"$log" 2>&1
  local rc=$?
  local done_line; done_line=$(sed -nE 's/^Done ([0-9]+) runs in ([0-9]+) second.*/\1 runs in \2 s/p' "$log")
  if [ "$rc" -eq 0 ] && [ -n "$done_line" ]; then
    echo "fuzz $target: $done_line"
    return 0
  fi
  echo "fuzz $target: FAILED (exit $rc, log: $log, inputs kept in $artifacts)"
  grep -E 'property failed|ERROR:|runtime error|SUMMARY' "$log" | head -n 10
  return 1
}
