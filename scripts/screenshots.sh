#!/usr/bin/env bash
# Saves PNG pictures of the main window on each page, the About box and a
# skinned dialog into docs/ (or the folder given), for people to look at.
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
OUT="${1:-$ROOT/docs}"
BUILD="${MIRVEN_BUILD:-$ROOT/build}"
export MIRVEN_BUILD="$BUILD"
source "$ROOT/scripts/wine-env.sh"
mkdir -p "$OUT"
shots="$(mktemp -d)"
trap 'rm -rf "$shots"' EXIT
tests="$BUILD/windows-$MIRVEN_WINE_ARCH"
export MIRVEN_SHOT_DIR="Z:${shots//\//\\}"
"$ROOT/scripts/wine-run.sh" "$tests/mirven_e2e_tests.exe" \
  --gtest_also_run_disabled_tests --gtest_filter='Screenshots.*' >/dev/null
"$ROOT/scripts/wine-run.sh" "$tests/mirven_windows_tests.exe" \
  --gtest_also_run_disabled_tests --gtest_filter='Screenshots.*' >/dev/null
# The setup program's pages; it is 32-bit, so only where Wine runs that.
if [ "$MIRVEN_WINE_ARCH" = i686 ]; then
  bash "$ROOT/scripts/release-run.sh" "$BUILD/windows-i686/mirven_release_tests.exe" \
    --gtest_also_run_disabled_tests --gtest_filter='Screenshots.*' >/dev/null
fi
for f in "$shots"/*.bmp; do
  convert "$f" "$OUT/$(basename "${f%.bmp}").png"
  echo "$OUT/$(basename "${f%.bmp}").png"
done
