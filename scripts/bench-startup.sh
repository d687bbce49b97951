#!/usr/bin/env bash
# Start-up of the program with a silent maker's server against one that
# answers at once, same run, under Wine on a private Xvfb. Prints the ratio.
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
export MIRVEN_BUILD="${MIRVEN_BUILD:-$ROOT/build}"
source "$ROOT/scripts/wine-env.sh"
mirven_wine_prefix
exe="$ROOT/dist/Mirven.exe"
[ "$MIRVEN_WINE_ARCH" = x86_64 ] && exe="$MIRVEN_BUILD/windows-x86_64/dist/Mirven.exe"
trap mirven_stop_all EXIT
mirven_start_xvfb
/usr/bin/python3 "$ROOT/bench/startup_bench.py" "$MIRVEN_WINE" "$exe"
