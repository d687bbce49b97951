#!/usr/bin/env bash
# A 5 MB attachment over TLS from the Windows build under Wine against
# Python's smtplib over TLS, in the same run on 127.0.0.1. Prints the ratio.
set -euo pipefail
source "$(dirname "$0")/wine-env.sh"
mirven_wine_prefix
export MIRVEN_WINE MIRVEN_WINE_ARCH
exec /usr/bin/python3 "$(dirname "$0")/../bench/tls_bench.py"
