#!/usr/bin/env bash
# Builds every benchmark program once, optimised and without sanitizers,
# into $MIRVEN_BUILD/bench (its own tree), and prints that folder.
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
BENCH="${MIRVEN_BUILD:-$ROOT/build}/bench"
cmake -S "$ROOT" -B "$BENCH" -DCMAKE_BUILD_TYPE=Release -DMIRVEN_BENCH=ON >/dev/null
cmake --build "$BENCH" --target mirven_benches -j"$(nproc)" >/dev/null
echo "$BENCH"
