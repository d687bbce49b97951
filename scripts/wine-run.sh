#!/usr/bin/env bash
# Runs one Windows program under Wine on a private Xvfb and ends both
# afterwards; exits with the program's exit code. Used by CTest.
set -uo pipefail
source "$(dirname "$0")/wine-env.sh"
mirven_wine_prefix
# Wine keeps the Recycle Bin in the XDG trash: each run gets its own, so
# that what a test recycles never reaches the user's trash or another run's.
XDG_DATA_HOME="$(mktemp -d "$(dirname "$WINEPREFIX")/xdg-data.XXXXXX")" || exit 1
export XDG_DATA_HOME
trap 'mirven_stop_all; rm -rf "$XDG_DATA_HOME"' EXIT
mirven_start_xvfb || exit 1
"$MIRVEN_WINE" "$@"
