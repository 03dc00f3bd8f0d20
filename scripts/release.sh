#!/usr/bin/env bash
# Builds the program for 64-bit and 32-bit Windows, optimised and stripped, and writes
#   dist/Kestrin-Marquelle-<version>.zip   x64/ and x86/ with the program, and 使用说明.txt (GBK)
#   dist/SHA256SUMS                        the zip's checksum
# The version is the one of project() in CMakeLists.txt. The build trees stay under build/ and are
# reused by the next run. DIST_DIR puts the results elsewhere.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD_DIR=${BUILD_DIR:-$ROOT/build}
DIST_DIR=$(realpath -m "${DIST_DIR:-$ROOT/dist}")
source "$ROOT/scripts/build.sh"
"$ROOT/scripts/install-deps.sh"

max_size=1000000  # bytes: each program stays under 1 MB

for arch in x86_64 i686; do
  "$ROOT/scripts/build-libpng.sh" "$arch" "$BUILD_DIR/deps/$arch"
  configure_and_build "release-$arch" -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/toolchain-mingw-$arch.cmake" \
    -DDEPS_PREFIX="$BUILD_DIR/deps/$arch" -DCMAKE_BUILD_TYPE=Release -DKM_TESTS=OFF
done
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$BUILD_DIR/release-x86_64/CMakeCache.txt")
[ -n "$version" ] || { echo "release: no project version in the build" >&2; exit 1; }

stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
mkdir -p "$stage/x64" "$stage/x86"
x86_64-w64-mingw32-strip -o "$stage/x64/Kestrin-Marquelle.exe" "$BUILD_DIR/release-x86_64/app/Kestrin-Marquelle.exe"
i686-w64-mingw32-strip -o "$stage/x86/Kestrin-Marquelle.exe" "$BUILD_DIR/release-i686/app/Kestrin-Marquelle.exe"
for exe in "$stage"/x64/*.exe "$stage"/x86/*.exe; do
  size=$(stat -c %s "$exe")
  if [ "$size" -ge "$max_size" ]; then
    echo "release: ${exe#"$stage"/} is $size bytes, not under $max_size" >&2
    exit 1
  fi
done
# The guide: GBK with CR LF line ends, as Notepad on a Chinese system reads it.
sed "s/@VERSION@/$version/g; s/\$/\r/" "$ROOT/docs/使用说明.txt" | iconv -f UTF-8 -t GBK >"$stage/使用说明.txt"

# The same sources give the same zip: every entry dated by the last commit, and the names stored as
# UTF-8 with the zip's UTF-8 flag set, which Explorer, 7-Zip and WinRAR read (Info-ZIP's zip 3.0
# does not set the flag).
stamp=$(git -C "$ROOT" log -1 --format=%ct 2>/dev/null || date +%s)
zip_name=Kestrin-Marquelle-$version.zip
mkdir -p "$DIST_DIR"
rm -f "$DIST_DIR"/Kestrin-Marquelle-*.zip "$DIST_DIR/SHA256SUMS"
python3 - "$stage" "$DIST_DIR/$zip_name" "$stamp" <<'PY'
import os, sys, time, zipfile
stage, out, stamp = sys.argv[1], sys.argv[2], int(sys.argv[3])
with zipfile.ZipFile(out, "w") as archive:
    for name in ["x64/Kestrin-Marquelle.exe", "x86/Kestrin-Marquelle.exe", "使用说明.txt"]:
        entry = zipfile.ZipInfo(name, date_time=time.gmtime(stamp)[:6])
        entry.compress_type = zipfile.ZIP_DEFLATED
        entry.create_system = 0  # MS-DOS attributes: what Windows tools expect
        with open(os.path.join(stage, name), "rb") as f:
            archive.writestr(entry, f.read(), compresslevel=9)
PY
(cd "$DIST_DIR" && sha256sum "$zip_name" >SHA256SUMS)
echo "$DIST_DIR/$zip_name"
