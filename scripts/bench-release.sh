#!/usr/bin/env bash
# Benchmark of the downloads; prints sizes, times and a ratio, asserts
# nothing. The silent install under Wine is timed against xcopy of the same
# files into the same profile, each the median of five runs with a warm
# wineserver. Needs a build (scripts/build.sh) and 32-bit Wine.
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
DIST="$ROOT/dist"
source "$ROOT/scripts/release-env.sh"
[ "$MIRVEN_WINE_ARCH" = i686 ] || { echo "the setup program needs 32-bit Wine" >&2; exit 1; }
setup="$DIST/Mirven-3.0-setup.exe"
[ -f "$setup" ] || { echo "no $setup: build first (scripts/build.sh)" >&2; exit 1; }

echo "== sizes"
for f in Mirven.exe Mirven-3.0-setup.exe Mirven-3.0-portable.zip; do
  printf '%-26s %9d bytes\n' "$f" "$(stat -c %s "$DIST/$f")"
done

mirven_wine_prefix
trap mirven_stop_all EXIT
mirven_start_xvfb
wineserver -p
staging="$(mktemp -d "$MIRVEN_BUILD/bench-release.XXXXXX")"
trap 'rm -rf "$staging"; mirven_stop_all' EXIT
ROOT="$ROOT" /usr/bin/python3 - "$DIST" "$staging" <<'PY'
import os, shutil, sys
sys.path.insert(0, os.path.join(os.environ["ROOT"], "scripts"))
import make_release
for f in make_release.release_files(sys.argv[1]):
    os.makedirs(os.path.dirname(os.path.join(sys.argv[2], f)), exist_ok=True)
    shutil.copy(os.path.join(sys.argv[1], f), os.path.join(sys.argv[2], f))
PY
win() { echo "Z:${1//\//\\}"; }
inst="$WINEPREFIX/drive_c/users/$(id -un)/AppData/Local/Programs/Mirven"
# in place, waiting for it; the uninstaller cannot delete itself then
uninstall() {
  [ -f "$inst/Uninstall.exe" ] || return 0
  "$MIRVEN_WINE" "$(win "$inst")/Uninstall.exe" /S "_?=$(win "$inst")"
  rm -f "$inst/Uninstall.exe"
  rmdir "$inst"
}
now() { date +%s.%N; }
since() { awk -v a="$1" -v b="$(now)" 'BEGIN { printf "%.3f", b - a }'; }
install_times=() copy_times=()
for _ in 1 2 3 4 5; do
  uninstall
  t=$(now); "$MIRVEN_WINE" "$(win "$setup")" /S; install_times+=("$(since "$t")")
  uninstall
  t=$(now); "$MIRVEN_WINE" xcopy /e /i /y /q "$(win "$staging")" 'C:\bench-copy' >/dev/null
  copy_times+=("$(since "$t")")
  "$MIRVEN_WINE" cmd /c 'rmdir /s /q C:\bench-copy' >/dev/null 2>&1 || true
done
median() { printf '%s\n' "$@" | sort -n | sed -n 3p; }
install_s=$(median "${install_times[@]}") copy_s=$(median "${copy_times[@]}")
echo "== silent install against copying the same files (Wine, median of 5)"
awk -v i="$install_s" -v c="$copy_s" 'BEGIN { printf "silent install  %.3f s\nxcopy           %.3f s\nratio           %.2f\n", i, c, i / c }'
