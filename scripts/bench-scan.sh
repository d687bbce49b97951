#!/usr/bin/env bash
# Benchmarks of the junk scan; prints times and ratios, asserts nothing.
#  1. The scan walk, built natively and optimised, against `find ROOT
#     -type f` with the same name tests on 100,000 files in 10,000 folders.
#  2. Under Wine: a full scan in the cleanup page of a tree with 10,000
#     junk files against the same walk without a window (needs a build).
#  3. Under Wine: "全部清理" of 10,000 files into the Recycle Bin against
#     deleting them for good, through the same engine.
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
export MIRVEN_BUILD="${MIRVEN_BUILD:-$ROOT/build}"

echo "== scan walk against find"
BENCH="$(bash "$ROOT/scripts/bench-build.sh")"
"$BENCH/bench_scan" "$@"

echo "== scan in the page against the bare walk, under Wine"
source "$ROOT/scripts/wine-env.sh"
TESTS="$MIRVEN_BUILD/windows-$MIRVEN_WINE_ARCH/mirven_windows_tests.exe"
if [ ! -f "$TESTS" ]; then
  echo "no $TESTS: build first (scripts/build.sh)" >&2
  exit 1
fi
"$ROOT/scripts/wine-run.sh" "$TESTS" --gtest_filter='CleanupBench.*' | grep -E '^(junk|walk|scan|items|ratio|list box|clean-all)'
