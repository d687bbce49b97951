#!/usr/bin/env bash
# Runs one Windows program under Wine on a private Xvfb and ends both
# afterwards; exits with the program's exit code. Used by CTest.
set -uo pipefail
source "$(dirname "$0")/wine-env.sh"
mirven_wine_prefix
trap mirven_stop_all EXIT
mirven_start_xvfb || exit 1
"$MIRVEN_WINE" "$@"
