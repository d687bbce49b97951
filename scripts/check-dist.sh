#!/usr/bin/env bash
# Checks what ships: dist/Mirven.exe is a statically linked 32-bit GUI
# program with its manifest, version resource and icon.
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
exe="$ROOT/dist/Mirven.exe"
fail() { echo "check-dist: $*" >&2; exit 1; }
[ -f "$exe" ] || fail "$exe is missing"
file "$exe" | grep -q 'PE32 executable (GUI) Intel 80386' || fail "not a PE32 GUI i386 program: $(file -b "$exe")"
dlls=$(i686-w64-mingw32-objdump -p "$exe" | sed -n 's/^\s*DLL Name: //p' | tr 'A-Z' 'a-z')
for d in $dlls; do
  case "$d" in
    libstdc++*|libgcc*|libwinpthread*|mingw*) fail "depends on $d: not statically linked";;
  esac
done
rc=$(i686-w64-mingw32-windres -i "$exe" -O rc 2>/dev/null)
grep -q 'Microsoft.Windows.Common-Controls' <<<"$rc" || fail "no common controls 6 manifest"
grep -q 'asInvoker' <<<"$rc" || fail "manifest does not ask for asInvoker"
grep -q 'dpiAware' <<<"$rc" || fail "manifest is not DPI aware"
grep -q 'VERSIONINFO' <<<"$rc" || fail "no version resource"
grep -Eq '^128 14 ' <<<"$rc" || fail "no icon 128"
echo "check-dist: dist/Mirven.exe is a static PE32 GUI program with manifest, version and icon 128"
