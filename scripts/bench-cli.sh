#!/usr/bin/env bash
# Benchmarks of the command line under Wine; prints times and ratios,
# asserts nothing (needs a build):
#  1. /scan of 100,000 files in 10,000 folders against the bare walk.
#  2. /clean of 10,000 junk files against CleanAll alone.
# bench-cli.sh Scan* (or Clean*) runs one of them.
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
export MIRVEN_BUILD="${MIRVEN_BUILD:-$ROOT/build}"
source "$ROOT/scripts/wine-env.sh"
TESTS="$MIRVEN_BUILD/windows-$MIRVEN_WINE_ARCH/mirven_windows_tests.exe"
if [ ! -f "$TESTS" ]; then
  echo "no $TESTS: build first (scripts/build.sh)" >&2
  exit 1
fi
WORK="$(mktemp -d /tmp/mirven-bench-cli-XXXXXX)"
trap 'rm -rf "$WORK"' EXIT
# The tree is made here, natively: through Wine it would take minutes.
/usr/bin/python3 - "$WORK/tree" <<'PY'
import os, sys
root = sys.argv[1]
exts = [".txt", ".dat", ".tmp", ".log", ".old", ".TMP", ".cfg", ".do~", ".bin", ".gid"]
for top in range(100):
    for sub in range(100):
        d = os.path.join(root, "t%d" % top, "s%d" % sub)
        os.makedirs(d)
        for f in range(10):
            with open(os.path.join(d, "file%d%s" % (f, exts[(f + sub) % 10])), "w") as out:
                out.write("x")
PY
export MIRVEN_BENCH_TREE="Z:${WORK//\//\\}\\tree"
"$ROOT/scripts/wine-run.sh" "$TESTS" --gtest_filter="CliBench.${1:-*}" | grep -E '^(files|junk|bare|scan|clean|CleanAll|Mirven|ratio)'
