#!/usr/bin/python3
"""Start-up time with the maker's server silent against a server that
answers at once, measured in the same run under Wine on a private Xvfb.

Each round starts the program twice, once per server, and times the span
from starting it to its main window being mapped. Prints the fastest and
the median start of each kind and their ratios (the goal is at most 1.1: a
silent server must not delay the window). On a busy machine the fastest
starts are the steadier figure. Run by scripts/bench-startup.sh, which prepares Wine and Xvfb.
"""
import functools
import http.server
import os
import socket
import statistics
import subprocess
import sys
import tempfile
import threading
import time

ROUNDS = int(os.environ.get("ROUNDS", "9"))


class Quiet(http.server.SimpleHTTPRequestHandler):
    def log_message(self, *args):
        pass


def answering_server(folder):
    os.makedirs(os.path.join(folder, "windows"))
    with open(os.path.join(folder, "windows", "version.txt"), "w") as f:
        f.write("3.0\r\n")
    with open(os.path.join(folder, "windows", "ads_time.txt"), "w") as f:
        f.write("20141201-20141231")
    server = http.server.ThreadingHTTPServer(
        ("127.0.0.1", 0), functools.partial(Quiet, directory=folder))
    threading.Thread(target=server.serve_forever, daemon=True).start()
    return server.server_address[1]


def silent_server():
    # Connections are taken by the kernel and never answered.
    listener = socket.socket()
    listener.bind(("127.0.0.1", 0))
    listener.listen(64)
    return listener, listener.getsockname()[1]


def main_window_shown():
    found = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "^Mirven电脑助手$"],
                           stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
    return found.returncode == 0 and found.stdout.strip() != b""


def time_start(wine, exe, port):
    env = dict(os.environ, MIRVEN_SERVER="http://127.0.0.1:%d" % port)
    start = time.monotonic()
    program = subprocess.Popen([wine, exe], cwd=os.path.dirname(exe), env=env,
                               stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        while not main_window_shown():
            if time.monotonic() - start > 60:
                raise RuntimeError("the main window did not appear")
            time.sleep(0.01)
        return time.monotonic() - start
    finally:
        program.kill()
        program.wait()
        while main_window_shown():
            time.sleep(0.05)


def main():
    wine, exe = sys.argv[1], sys.argv[2]
    with tempfile.TemporaryDirectory() as folder:
        answering = answering_server(folder)
        listener, silent = silent_server()
        time_start(wine, exe, answering)  # warms Wine's caches
        quick, slow = [], []
        for _ in range(ROUNDS):
            quick.append(time_start(wine, exe, answering))
            slow.append(time_start(wine, exe, silent))
        listener.close()
    for name, times in (("server answers at once", quick), ("server never answers", slow)):
        print("start-up, %-24s fastest %.3f s, median %.3f s  %s" % (
            name + ":", min(times), statistics.median(times), " ".join("%.2f" % t for t in times)))
    print("ratio never-answers / answers: fastest %.2f, median %.2f (goal <= 1.1)" % (
        min(slow) / min(quick), statistics.median(slow) / statistics.median(quick)))


if __name__ == "__main__":
    main()
