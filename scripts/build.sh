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
