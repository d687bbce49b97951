#!/usr/bin/env bash
# Benchmarks of the check-up; prints times and ratios, asserts nothing.
#  1. The check-up's walk against the cleanup page's walk, built natively
#     and optimised, on 100,000 files in 10,000 folders.
#  2. Under Wine: how long the check-up page's thread takes to answer a
#     posted message while it checks a profile of 100,000 files, against
#     the same measure while it is idle (needs a build).
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
export MIRVEN_BUILD="${MIRVEN_BUILD:-$ROOT/build}"
WORK="$(mktemp -d)"
trap 'rm -rf "$WORK"' EXIT

echo "== check-up walk against the cleanup walk"
BENCH="$(bash "$ROOT/scripts/bench-build.sh")"
"$BENCH/bench_checkup" "$@"

echo "== page answers during a check-up against idle, under Wine"
source "$ROOT/scripts/wine-env.sh"
TESTS="$MIRVEN_BUILD/windows-$MIRVEN_WINE_ARCH/mirven_windows_tests.exe"
if [ ! -f "$TESTS" ]; then
  echo "no $TESTS: build first (scripts/build.sh)" >&2
  exit 1
fi
mkdir -p "$WORK/profile"
/usr/bin/python3 - "$WORK/profile" <<'PY'
import os, sys
root = sys.argv[1]
for top in range(100):
    for sub in range(100):
        folder = os.path.join(root, "t%d" % top, "s%d" % sub)
        os.makedirs(folder)
        for f in range(10):
            with open(os.path.join(folder, "file%d.dat" % f), "wb") as out:
                out.write(b"x" * 2048)
PY
export MIRVEN_BENCH_TREE="Z:${WORK//\//\\}\\profile"
"$ROOT/scripts/wine-run.sh" "$TESTS" --gtest_filter='CheckUpBench.*' | grep -E '^(files|idle|checking|ratio)'
