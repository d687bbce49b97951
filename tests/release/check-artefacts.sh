#!/usr/bin/env bash
# The downloads in DIST: the setup program is a 32-bit GUI program of
# version 3.0, at most 2.5 MB (SQLite included), that asks for no elevation; the portable zip holds exactly the
# release files and 说明.txt, and the program starts from an unpacked copy.
# usage: check-artefacts.sh DIST ICON TESTS_EXE
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/../.." && pwd)"
DIST="$1"
BUILD="${MIRVEN_BUILD:-$ROOT/build}"
fail() { echo "check-artefacts: $*" >&2; exit 1; }

setup="$DIST/Mirven-3.0-setup.exe"
file "$setup" | grep -q 'PE32 executable (GUI) Intel 80386' || fail "setup: $(file -b "$setup")"
size=$(stat -c %s "$setup")
[ "$size" -le 2500000 ] || fail "setup is $size bytes, more than 2.5 MB"
rc=$(i686-w64-mingw32-windres -i "$setup" -O rc 2>/dev/null)
grep -q 'VALUE "ProductVersion", "3.0"' <<<"$rc" || fail "setup has no version 3.0"
grep -aq 'level="asInvoker"' "$setup" || fail "setup asks for elevation"
# the program's icon: its images are stored as they are in the .ico
/usr/bin/python3 - "$2" "$setup" <<'PY' || fail "setup does not carry the program's icon"
import struct, sys
ico, exe = (open(p, "rb").read() for p in sys.argv[1:3])
for i in range(struct.unpack_from("<H", ico, 4)[0]):
    size, offset = struct.unpack_from("<II", ico, 6 + 16 * i + 8)
    assert ico[offset:offset + size] in exe
PY

unpacked="$(mktemp -d "$BUILD/portable.XXXXXX")"
trap 'rm -rf "$unpacked"' EXIT
ROOT="$ROOT" /usr/bin/python3 - "$DIST" "$unpacked" <<'PY' || fail "portable zip"
import os, sys, zipfile
sys.path.insert(0, os.environ["ROOT"] + "/scripts")
import make_release as r
dist, out = sys.argv[1:3]
files = r.release_files(dist)
with zipfile.ZipFile(os.path.join(dist, r.ZIP_NAME), metadata_encoding="gbk") as z:
    names = sorted(z.namelist())
    want = sorted(r.ZIP_FOLDER + f for f in files + [r.README_NAME])
    assert names == want, (names, want)
    for f in files:
        assert z.read(r.ZIP_FOLDER + f) == open(os.path.join(dist, f), "rb").read(), f
    readme = z.read(r.ZIP_FOLDER + r.README_NAME)
    assert readme.startswith(b"\xef\xbb\xbf") and "无需安装" in readme.decode("utf-8-sig")
    z.extractall(out)
PY

MIRVEN_PORTABLE_DIR="Z:$(tr / '\\' <<<"$unpacked/Mirven-3.0")" \
  bash "$ROOT/scripts/release-run.sh" "$3" --gtest_filter=PortableE2E.*
echo "check-artefacts: setup and portable zip are sound"
