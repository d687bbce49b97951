#!/usr/bin/python3
"""Start-up time and private memory at 200 % (192 DPI) against 100 %
(96 DPI), measured in the same run under Wine on a private Xvfb.

Each round starts the program once in each of two Wine prefixes that differ
only in their display scale, times the span until its main window is mapped,
and, a moment later, reads the process's private memory. Prints the fastest
and median figures and the ratios (goals: start-up at most 1.15, memory at
most 1.5). Run by scripts/bench-dpi.sh, which prepares both prefixes.
"""
import os
import statistics
import subprocess
import sys
import time

sys.dont_write_bytecode = True  # keep the source tree clean
from startup_bench import main_window_shown  # noqa: E402

ROUNDS = int(os.environ.get("ROUNDS", "7"))


def private_kb(pid):
    total = 0
    with open("/proc/%d/smaps_rollup" % pid) as f:
        for line in f:
            if line.startswith(("Private_Clean:", "Private_Dirty:")):
                total += int(line.split()[1])
    return total


def start(wine, exe, prefix):
    env = dict(os.environ, WINEPREFIX=prefix, MIRVEN_SERVER="http://127.0.0.1:9")
    begin = time.monotonic()
    program = subprocess.Popen([wine, exe], cwd=os.path.dirname(exe), env=env,
                               stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        while not main_window_shown():
            if time.monotonic() - begin > 60:
                raise RuntimeError("the main window did not appear")
            time.sleep(0.01)
        shown = time.monotonic() - begin
        time.sleep(1.5)  # painted and settled
        return shown, private_kb(program.pid)
    finally:
        program.kill()
        program.wait()
        while main_window_shown():
            time.sleep(0.05)


def main():
    wine, exe, normal, large = sys.argv[1:5]
    start(wine, exe, normal)  # warms Wine's caches
    start(wine, exe, large)
    runs = {96: [], 192: []}
    for _ in range(ROUNDS):
        runs[96].append(start(wine, exe, normal))
        runs[192].append(start(wine, exe, large))
    for dpi, results in runs.items():
        times = [t for t, _ in results]
        memory = [m for _, m in results]
        print("%3d DPI: start-up fastest %.3f s, median %.3f s; private memory median %d KB" % (
            dpi, min(times), statistics.median(times), statistics.median(memory)))
    t96 = [t for t, _ in runs[96]]
    t192 = [t for t, _ in runs[192]]
    m96 = statistics.median([m for _, m in runs[96]])
    m192 = statistics.median([m for _, m in runs[192]])
    print("ratio 192/96 DPI: start-up fastest %.2f, median %.2f (goal <= 1.15); "
          "private memory %.2f (goal <= 1.5)" % (
              min(t192) / min(t96), statistics.median(t192) / statistics.median(t96), m192 / m96))


if __name__ == "__main__":
    main()
