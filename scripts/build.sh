#!/usr/bin/env bash
# Installs what is missing, then configures and builds everything:
# the native core and tests, dist/Mirven.exe and the Windows tests.
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
BUILD="${MIRVEN_BUILD:-$ROOT/build}"
bash "$ROOT/scripts/setup.sh"
cmake -S "$ROOT" -B "$BUILD" -DCMAKE_BUILD_TYPE=Debug >/dev/null
cmake --build "$BUILD" -j"$(nproc)"
