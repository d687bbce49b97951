#!/usr/bin/env bash
# Checks what ships: dist/Mirven.exe is a statically linked 32-bit GUI
# program of at most 8 MB with its manifest, version resource and icon, and carries the
# calculator and the clock (resources "EXE" 344 and 345) built the same way.
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
exe="$ROOT/dist/Mirven.exe"
fail() { echo "check-dist: $*" >&2; exit 1; }
[ -f "$exe" ] || fail "$exe is missing"
static_gui() {
  file "$1" | grep -q 'PE32 executable (GUI) Intel 80386' || fail "$2: not a PE32 GUI i386 program: $(file -b "$1")"
  dlls=$(i686-w64-mingw32-objdump -p "$1" | sed -n 's/^\s*DLL Name: //p' | tr 'A-Z' 'a-z')
  for d in $dlls; do
    case "$d" in
      libstdc++*|libgcc*|libwinpthread*|mingw*) fail "$2 depends on $d: not statically linked";;
    esac
  done
}
static_gui "$exe" Mirven.exe
size=$(stat -c %s "$exe")
[ "$size" -le 8000000 ] || fail "Mirven.exe is $size bytes, more than 8 MB"
rc=$(i686-w64-mingw32-windres -i "$exe" -O rc 2>/dev/null)
grep -q 'Microsoft.Windows.Common-Controls' <<<"$rc" || fail "no common controls 6 manifest"
grep -q 'asInvoker' <<<"$rc" || fail "manifest does not ask for asInvoker"
grep -q 'dpiAware' <<<"$rc" || fail "manifest is not DPI aware"
grep -q 'VERSIONINFO' <<<"$rc" || fail "no version resource"
grep -Eq '^128 14 ' <<<"$rc" || fail "no icon 128"
carried=$(mktemp -d)
trap 'rm -rf "$carried"' EXIT
i686-w64-mingw32-windres -i "$exe" -O res -o "$carried/all.res"
/usr/bin/python3 - "$carried" <<'PY'
import struct, sys
out = sys.argv[1]
data = open(out + "/all.res", "rb").read()
def name(p):
    if data[p:p + 2] == b"\xff\xff":
        return struct.unpack_from("<H", data, p + 2)[0], p + 4
    e = p
    while e < len(data) and data[e:e + 2] != b"\0\0":
        e += 2
    return data[p:e].decode("utf-16-le"), e + 2
pos = 0
while pos + 8 <= len(data):
    size, header = struct.unpack_from("<II", data, pos)
    kind, p = name(pos + 8)
    ident, p = name(p)
    if kind == "EXE" and ident in (344, 345):
        open("%s/%d.exe" % (out, ident), "wb").write(data[pos + header:pos + header + size])
    pos = (pos + header + size + 3) & ~3
PY
for id in 344 345; do
  [ -f "$carried/$id.exe" ] || fail "no resource EXE $id"
  static_gui "$carried/$id.exe" "EXE $id"
  rc=$(i686-w64-mingw32-windres -i "$carried/$id.exe" -O rc 2>/dev/null)
  grep -q 'asInvoker' <<<"$rc" && grep -q 'VERSIONINFO' <<<"$rc" && grep -Eq '^128 14 ' <<<"$rc" ||
    fail "EXE $id lacks its manifest, version resource or icon 128"
done
echo "check-dist: dist/Mirven.exe ($size bytes) is a static PE32 GUI program with manifest, version and icon 128,"
echo "check-dist: carrying EXE 344 and 345, static PE32 GUI programs"
