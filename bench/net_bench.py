#!/usr/bin/python3
"""Times the network clients against curl and smtplib on 127.0.0.1.

Builds the bench programs optimised and without sanitizers (through
scripts/bench-build.sh), serves a 20 MB file over HTTP and runs an aiosmtpd
server, then prints ratios:
HTTP time / curl time, SMTP time / smtplib time for a 5 MB attachment, and
the client's peak memory with that attachment minus without it.
"""
import functools
import http.server
import logging
import os
import smtplib
import socket
import subprocess
import sys
import tempfile
import threading
import time
import warnings
from email.message import EmailMessage

from aiosmtpd.controller import Controller
from aiosmtpd.smtp import AuthResult, LoginPassword

warnings.filterwarnings("ignore")
logging.getLogger("mail.log").setLevel(logging.CRITICAL)
ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))


class Quiet(http.server.SimpleHTTPRequestHandler):
    def log_message(self, *args):
        pass


class Sink:
    async def handle_DATA(self, server, session, envelope):
        return "250 OK"


def authenticate(server, session, envelope, mechanism, data):
    ok = isinstance(data, LoginPassword) and data.login == b"user" and data.password == b"password"
    return AuthResult(success=ok, handled=False)


def bench_message(attachment):
    """The message both clients send: a line of text and the attachment."""
    msg = EmailMessage()
    msg["From"], msg["To"], msg["Subject"] = "bench@example.com", "to@example.com", "Benchmark"
    msg.set_content("Attached.")
    with open(attachment, "rb") as f:
        msg.add_attachment(f.read(), maintype="application", subtype="x-msdownload",
                           filename="five.bin")
    return msg


def build():
    folder = subprocess.run(["bash", os.path.join(ROOT, "scripts", "bench-build.sh")], check=True,
                            capture_output=True, text=True).stdout.strip()
    return {name: os.path.join(folder, name) for name in ("bench_http", "bench_smtp")}


def best_of(runs, action):
    times = []
    for _ in range(runs):
        start = time.perf_counter()
        action()
        times.append(time.perf_counter() - start)
    return min(times)


def main():
    work = tempfile.mkdtemp(prefix="mirven-bench-")
    programs = build()
    with open(os.path.join(work, "big.bin"), "wb") as f:
        f.write(os.urandom(20 * 1024 * 1024))
    attachment = os.path.join(work, "five.bin")
    with open(attachment, "wb") as f:
        f.write(os.urandom(5 * 1000 * 1000))

    httpd = http.server.ThreadingHTTPServer(("127.0.0.1", 0), functools.partial(Quiet, directory=work))
    threading.Thread(target=httpd.serve_forever, daemon=True).start()
    url = "http://127.0.0.1:%d/big.bin" % httpd.server_address[1]
    runs = 5
    curl = best_of(runs, lambda: subprocess.run(["curl", "-s", "-o", "/dev/null", url], check=True))
    seconds, size = subprocess.run([programs["bench_http"], url, str(runs)], check=True,
                                   capture_output=True, text=True).stdout.split()
    assert int(size) == 20 * 1024 * 1024, "the client did not get the whole body"
    ours = float(seconds)
    print("HTTP 20 MB: client %.3f s, curl %.3f s, ratio %.2f" % (ours, curl, ours / curl))

    with socket.socket() as probe:
        probe.bind(("127.0.0.1", 0))
        port = probe.getsockname()[1]
    controller = Controller(Sink(), hostname="127.0.0.1", port=port, authenticator=authenticate,
                            auth_require_tls=False, auth_required=True)
    controller.start()

    def python_send():
        msg = bench_message(attachment)
        with smtplib.SMTP("127.0.0.1", port, timeout=30) as s:
            s.ehlo()
            s.login("user", "password")
            s.send_message(msg)

    def client(*extra):
        out = subprocess.run([programs["bench_smtp"], str(port)] + list(extra), check=True,
                             capture_output=True, text=True).stdout.split()
        return float(out[0]), int(out[1])

    python = best_of(runs, python_send)
    ours = min(client(attachment)[0] for _ in range(runs))
    print("SMTP 5 MB attachment: client %.3f s, smtplib %.3f s, ratio %.2f" % (ours, python, ours / python))
    bare = min(client()[1] for _ in range(3))
    loaded = max(client(attachment)[1] for _ in range(3))
    print("SMTP peak memory: %d KiB without attachment, %d KiB with, %d KiB more"
          % (bare, loaded, loaded - bare))
    controller.stop()
    httpd.shutdown()
    subprocess.run(["rm", "-rf", work])


if __name__ == "__main__":
    main()
