#!/usr/bin/env bash
# Sets up, builds and runs every test: native, windows (under Wine) and
# e2e (dist/Mirven.exe driven from outside). Extra arguments go to ctest,
# e.g. `scripts/test.sh -L native`.
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
BUILD="${MIRVEN_BUILD:-$ROOT/build}"
export MIRVEN_BUILD="$BUILD"
bash "$ROOT/scripts/build.sh"
ctest --test-dir "$BUILD" --output-on-failure "$@"
