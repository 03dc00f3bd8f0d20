#!/usr/bin/env bash
# Checks what scripts/release.sh wrote: the zip's entries and sizes, the guide, the checksum, both
# programs' version resources (read back with GetFileVersionInfoA under Wine), and that each
# program is a plain Windows program of its machine type that needs only system DLLs.
# Usage: scripts/check-release.sh DIST_DIR VERSION
# Expects the Wine environment (scripts/wine-env.sh) with a running session, and the test build's
# km_program_tool.exe. Prints one "ok" or "FAIL" line per check; exit status 0 when all passed.
set -uo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD_DIR=${BUILD_DIR:-$ROOT/build}
dist=$(realpath -m "$1") version=$2
zip=$dist/Kestrin-Marquelle-$version.zip
tool=$BUILD_DIR/win64/tests/km_program_tool.exe
max_size=1000000
failures=0
check() {  # check NAME COMMAND...: runs the command, reports ok or FAIL with its output
  local name=$1; shift
  local output
  if output=$("$@" 2>&1); then echo "ok: $name"; else echo "FAIL: $name"; sed 's/^/    /' <<<"$output"; failures=$((failures + 1)); fi
}

unpacked=$(mktemp -d)
trap 'rm -rf "$unpacked"' EXIT

zip_entries() {
  python3 - "$zip" "$unpacked" "$max_size" <<'PY'
import sys, zipfile
path, out, max_size = sys.argv[1], sys.argv[2], int(sys.argv[3])
expected = ["x64/Kestrin-Marquelle.exe", "x86/Kestrin-Marquelle.exe", "使用说明.txt"]
with zipfile.ZipFile(path) as archive:
    bad = archive.testzip()
    if bad: sys.exit(f"damaged entry {bad}")
    entries = archive.infolist()
    names = [e.filename for e in entries]
    if sorted(names) != sorted(expected): sys.exit(f"entries {names}, expected {expected}")
    for e in entries:
        if not e.filename.isascii() and not e.flag_bits & 0x800: sys.exit(f"{e.filename}: UTF-8 flag not set")
        if e.filename.endswith(".exe") and e.file_size >= max_size:
            sys.exit(f"{e.filename} is {e.file_size} bytes, not under {max_size}")
    archive.extractall(out)
PY
}
check "zip holds x64/, x86/ and the guide; each program under $max_size bytes" zip_entries
check "SHA256SUMS matches the zip" bash -c "cd '$dist' && sha256sum --quiet -c SHA256SUMS"

guide_is_gbk() {
  local text
  text=$(iconv -f GBK -t UTF-8 "$unpacked/使用说明.txt") || return 1
  [ "$(grep -c $'\r$' "$unpacked/使用说明.txt")" -eq "$(wc -l <"$unpacked/使用说明.txt")" ] ||
    { echo "not every line ends in CR LF"; return 1; }
  local phrase
  for phrase in "版本 $version" 拖到程序窗口 挂载皮肤 卸载皮肤 删除皮肤 恢复默认 文件正被其他程序使用 以管理员身份运行; do
    grep -q -- "$phrase" <<<"$text" || { echo "the guide does not say: $phrase"; return 1; }
  done
}
check "the guide is GBK with CR LF and covers every command and the in-use and denied messages" guide_is_gbk

program_pe() (  # program_pe OBJDUMP EXE FORMAT
  local objdump=$1 exe=$2 format=$3
  export LC_ALL=C  # objdump's own words, untranslated (a subshell: the setting goes with it)
  "$objdump" -f "$exe" | grep -q "file format $format" || { "$objdump" -f "$exe"; return 1; }
  if "$objdump" -h "$exe" | grep -q '\.debug'; then echo "debug sections left in"; return 1; fi
  local dll bad=0
  while read -r dll; do
    case "${dll,,}" in
      kernel32.dll|user32.dll|gdi32.dll|advapi32.dll|shell32.dll|ole32.dll|oleaut32.dll|comctl32.dll|\
      shlwapi.dll|msimg32.dll|msvcrt.dll) ;;
      *) echo "imports from $dll"; bad=1 ;;
    esac
  done < <("$objdump" -p "$exe" | sed -n 's/^\s*DLL Name: //p')
  return $bad
)
check "x86 program: PE for i386, stripped, system DLLs only" \
  program_pe i686-w64-mingw32-objdump "$unpacked/x86/Kestrin-Marquelle.exe" pei-i386
check "x64 program: PE for x86-64, stripped, system DLLs only" \
  program_pe x86_64-w64-mingw32-objdump "$unpacked/x64/Kestrin-Marquelle.exe" pei-x86-64

version_resource() {  # version_resource EXE
  local seen expected
  seen=$("$WINE64" "$tool" version-info "Z:${1//\//\\}" | tr -d '\r' | iconv -f GBK -t UTF-8) || return 1
  expected="FixedFileVersion=$version.0
Translation=080404b0
ProductName=Kestrin-Marquelle
FileDescription=皮肤包管理工具
FileVersion=$version
ProductVersion=$version
OriginalFilename=Kestrin-Marquelle.exe"
  [ "$seen" = "$expected" ] || { diff <(echo "$expected") <(echo "$seen"); return 1; }
}
check "x64 program's version resource" version_resource "$unpacked/x64/Kestrin-Marquelle.exe"
check "x86 program's version resource" version_resource "$unpacked/x86/Kestrin-Marquelle.exe"

[ "$failures" -eq 0 ]
