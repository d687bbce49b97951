#!/usr/bin/env bash
# Start-up and private memory at 192 DPI (200 %) against 96 DPI (100 %),
# same run, under Wine on a private Xvfb, each in a prefix of its own
# scale. Prints the ratios.
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
export MIRVEN_BUILD="${MIRVEN_BUILD:-$ROOT/build}"
prefixes=()
for dpi in 96 192; do
  prefixes+=("$(MIRVEN_DPI=$dpi bash -c 'source "$1/scripts/wine-env.sh"; mirven_wine_prefix; echo "$WINEPREFIX"' _ "$ROOT")")
done
source "$ROOT/scripts/wine-env.sh"
exe="$ROOT/dist/Mirven.exe"
[ "$MIRVEN_WINE_ARCH" = x86_64 ] && exe="$MIRVEN_BUILD/windows-x86_64/dist/Mirven.exe"
stop() {
  for p in "${prefixes[@]}"; do WINEPREFIX="$p" wineserver -k >/dev/null 2>&1 || true; done
  mirven_stop_all
}
trap stop EXIT
mirven_start_xvfb
/usr/bin/python3 "$ROOT/bench/dpi_bench.py" "$MIRVEN_WINE" "$exe" "${prefixes[@]}"
