#!/usr/bin/env bash
# Benchmarks of the cleaning items; prints times and ratios, asserts nothing.
#  1. Natively: sizing the items of a laid-out profile against the bare walk
#     of the same folders (bench/bench_items.cpp).
#  2. Under Wine: the same sizing through the Windows lister, and cleaning
#     the caches of a profile of 20,000 cache files against DeleteFileW over
#     the same files (needs a build).
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
export MIRVEN_BUILD="${MIRVEN_BUILD:-$ROOT/build}"

echo "== item sizing against the bare walk, natively"
BENCH="$(bash "$ROOT/scripts/bench-build.sh")"
"$BENCH/bench_items" "$@"

echo "== item sizing and cleaning under Wine"
source "$ROOT/scripts/wine-env.sh"
TESTS="$MIRVEN_BUILD/windows-$MIRVEN_WINE_ARCH/mirven_windows_tests.exe"
if [ ! -f "$TESTS" ]; then
  echo "no $TESTS: build first (scripts/build.sh)" >&2
  exit 1
fi
"$ROOT/scripts/wine-run.sh" "$TESTS" --gtest_filter='ItemsBench.*' | grep -E '^(sizing|clean|ratio)'
