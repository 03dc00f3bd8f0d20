#!/usr/bin/env bash
# Builds a static libpng for a MinGW target from Debian's own source package.
# Usage: scripts/build-libpng.sh x86_64|i686 PREFIX
# Does nothing when PREFIX already holds the library.
set -euo pipefail
arch=$1
prefix=$(realpath -m "$2")
root=$(cd "$(dirname "$0")/.." && pwd)
[ -f "$prefix/lib/libpng.a" ] && exit 0

work=$(realpath -m "$prefix/../libpng-src")
mkdir -p "$work/lists/partial" "$work/cache/archives/partial"
cd "$work"

# A private deb-src list for the mirror and suite the system already uses.
src=/etc/apt/sources.list.d/debian.sources
if [ -f "$src" ]; then
  uri=$(awk '/^URIs:/ {print $2; exit}' "$src")
  suite=$(awk '/^Suites:/ {print $2; exit}' "$src")
else
  read -r uri suite < <(awk '$1 == "deb" {print $2, $3; exit}' /etc/apt/sources.list)
fi
echo "deb-src $uri $suite main" > sources.list
apt_opts=(-o Dir::Etc::SourceList="$work/sources.list" -o Dir::Etc::SourceParts=/nonexistent
          -o Dir::State::Lists="$work/lists" -o Dir::Cache="$work/cache" -qq)
if ! ls libpng1.6_*.dsc >/dev/null 2>&1; then
  apt-get "${apt_opts[@]}" update >/dev/null
  apt-get "${apt_opts[@]}" source --download-only libpng1.6 >/dev/null 2>&1
fi
rm -rf src build
dpkg-source -q -x libpng1.6_*.dsc src >/dev/null 2>&1

cmake -S src -B build -G "Unix Makefiles" \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-mingw-$arch.cmake" \
  -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" \
  -DPNG_SHARED=OFF -DPNG_STATIC=ON -DPNG_EXECUTABLES=OFF -DPNG_TESTS=OFF \
  -DSKIP_INSTALL_PROGRAMS=ON -DSKIP_INSTALL_FILES=ON >build.log 2>&1
cmake --build build -j"$(nproc)" >>build.log 2>&1
cmake --install build >>build.log 2>&1
rm -rf src build
echo "libpng ($arch) installed in $prefix"
