#!/usr/bin/python3
"""Times a 5 MB attachment sent over TLS by the Windows build under Wine
against Python's smtplib over TLS, both to one aiosmtpd server with
implicit TLS on 127.0.0.1, in the same run. Prints the ratio.

Run through scripts/bench-tls.sh, which sets up the Wine prefix.
"""
import logging
import os
import shutil
import smtplib
import socket
import ssl
import subprocess
import sys
import tempfile
import time
import warnings

from aiosmtpd.controller import Controller

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.join(ROOT, "tests/net/peers"))
sys.path.insert(0, os.path.join(ROOT, "bench"))
import hub  # noqa: E402  (the test CA)
from net_bench import Sink, authenticate, bench_message  # noqa: E402

warnings.filterwarnings("ignore")
logging.getLogger("mail.log").setLevel(logging.CRITICAL)


def build(work, arch):
    net = os.path.join(ROOT, "src/net")
    sources = [os.path.join(net, f) for f in ("Base64.cpp", "MailMessage.cpp", "Smtp.cpp",
                                               "SmtpReply.cpp", "Resolve.cpp", "WinServices.cpp",
                                               "WinTls.cpp")]
    sources += [os.path.join(ROOT, "src/ui/Text.cpp"), os.path.join(ROOT, "tests/net/TrustedTestCa.cpp"),
                os.path.join(ROOT, "bench/win/bench_smtp_tls.cpp")]
    out = os.path.join(work, "bench_smtp_tls.exe")
    subprocess.run(["%s-w64-mingw32-g++-posix" % arch, "-O2", "-std=c++17", "-DUNICODE", "-D_UNICODE",
                    "-DNOMINMAX", "-DWIN32_LEAN_AND_MEAN", "-D_WIN32_WINNT=0x0601",
                    "-I", os.path.join(ROOT, "src"), "-I", os.path.join(ROOT, "tests")] + sources +
                   ["-o", out, "-static", "-lws2_32", "-lsecur32", "-lcrypt32"], check=True)
    return out


def main():
    wine, arch = os.environ["MIRVEN_WINE"], os.environ["MIRVEN_WINE_ARCH"]
    work = tempfile.mkdtemp(prefix="mirven-tls-bench-")
    program = build(work, arch)
    pki = hub.make_pki()
    attachment = os.path.join(work, "five.bin")
    with open(attachment, "wb") as f:
        f.write(os.urandom(5 * 1000 * 1000))
    server_context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
    server_context.load_cert_chain(os.path.join(pki, "localhost.pem"), os.path.join(pki, "localhost.key"))
    with socket.socket() as probe:
        probe.bind(("127.0.0.1", 0))
        port = probe.getsockname()[1]
    controller = Controller(Sink(), hostname="127.0.0.1", port=port, authenticator=authenticate,
                            auth_require_tls=False, auth_required=True, ssl_context=server_context)
    controller.start()
    client_context = ssl.create_default_context(cafile=os.path.join(pki, "ca.pem"))

    def python_send():
        msg = bench_message(attachment)
        with smtplib.SMTP_SSL("localhost", port, context=client_context, timeout=60) as s:
            s.login("user", "password")
            s.send_message(msg)

    runs = 5
    times = []
    for _ in range(runs):
        start = time.perf_counter()
        python_send()
        times.append(time.perf_counter() - start)
    python = min(times)
    out = subprocess.run([wine, program, str(port), os.path.join(pki, "ca.der"), attachment, str(runs)],
                         check=True, capture_output=True, text=True, cwd=work).stdout.split()
    ours = float(out[-1])
    print("SMTP over TLS, 5 MB attachment: Windows build under Wine %.3f s, smtplib %.3f s, ratio %.2f"
          % (ours, python, ours / python))
    controller.stop()
    shutil.rmtree(work, ignore_errors=True)
    shutil.rmtree(pki, ignore_errors=True)


if __name__ == "__main__":
    main()
