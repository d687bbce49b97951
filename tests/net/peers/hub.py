#!/usr/bin/python3
"""Network peers for the client tests, all on 127.0.0.1.

One process serves a small line protocol on a control port and starts, on
request, an aiosmtpd server with AUTH LOGIN, a real HTTP file server, and
scripted servers for faults. Each reply ends with the line END. Binary
values travel as Base64. The process ends when its standard input closes
(without --port-file), with --exit-with-client when the first control
connection closes, on the command quit, or after an hour.
"""
import asyncio
import base64
import email
import email.policy
import functools
import http.server
import os
import shutil
import socket
import ssl
import subprocess
import sys
import tempfile
import threading

import logging
import warnings

from aiosmtpd.smtp import SMTP, AuthResult, LoginPassword

warnings.filterwarnings("ignore")
logging.getLogger("mail.log").setLevel(logging.CRITICAL)


def b64(data):
    if isinstance(data, str):
        data = data.encode("utf-8", "surrogateescape")
    return base64.b64encode(data).decode("ascii") or "-"


def unb64(text):
    return b"" if text == "-" else base64.b64decode(text)


class Mailbox:
    def __init__(self, login, password):
        self.login, self.password = login, password
        self.mails = []
        self.auths = []

    def authenticate(self, server, session, envelope, mechanism, data):
        ok = (isinstance(data, LoginPassword)
              and data.login == self.login and data.password == self.password)
        self.auths.append((mechanism, ok))
        return AuthResult(success=ok, handled=False)

    async def handle_DATA(self, server, session, envelope):
        self.mails.append(envelope)
        return "250 2.0.0 Message accepted"

    def describe(self):
        lines = []
        for envelope in self.mails:
            raw = envelope.original_content
            msg = email.message_from_bytes(raw, policy=email.policy.default)
            lines.append("MAIL")
            lines.append("from " + b64(envelope.mail_from))
            for rcpt in envelope.rcpt_tos:
                lines.append("rcpt " + b64(rcpt))
            lines.append("raw " + b64(raw))
            for name, value in msg.items():
                lines.append("header %s %s" % (b64(name), b64(str(value))))
                if name in ("From", "To", "Cc", "Reply-To"):
                    for mailbox in getattr(value, "addresses", ()):
                        lines.append("mailbox %s %s %s" % (
                            b64(name), b64(mailbox.display_name), b64(mailbox.addr_spec)))
            defects = list(msg.defects)
            for part in msg.walk():
                defects += list(part.defects)
                if part.is_multipart():
                    continue
                lines.append("part %s %s %s %s" % (
                    b64(part.get_content_type()), b64(part.get_filename() or ""),
                    b64(part.get_content_charset() or ""),
                    b64(part.get_payload(decode=True) or b"")))
            lines.append("defects " + b64("; ".join(repr(d) for d in defects)))
        return lines


class ScriptedSmtp:
    """An SMTP server that fails on purpose. Steps: GREETING EHLO AUTH USER
    PASS MAIL RCPT DATA DOT QUIT; close=STEP closes after reading that
    step's command, stall=STEP never answers it."""

    def __init__(self, options):
        self.greeting = options.get("greeting", "220")
        self.password_reply = options.get("pass", "235")
        self.refused = set(filter(None, options.get("refuse", "").split(",")))
        self.split = options.get("split") == "1"
        self.close = options.get("close")
        self.stall = options.get("stall")
        self.log = bytearray()

    async def serve(self, reader, writer):
        async def reply(text):
            data = text.encode()
            if self.split:
                for i in range(len(data)):
                    writer.write(data[i:i + 1])
                    await writer.drain()
                    await asyncio.sleep(0.002)
            else:
                writer.write(data)
                await writer.drain()

        async def step(name):
            if self.close == name:
                writer.close()
                return False
            if self.stall == name:
                await asyncio.sleep(3600)
            return True

        async def line():
            got = await reader.readline()
            self.log += got
            return got

        try:
            if not await step("GREETING"):
                return
            await reply(self.greeting + " fault.test ESMTP\r\n")
            while True:
                got = await line()
                if not got:
                    return
                verb = got.upper()
                if verb.startswith(b"EHLO"):
                    if not await step("EHLO"):
                        return
                    await reply("250-fault.test greets you\r\n250-SIZE 33554432\r\n"
                                "250-8BITMIME\r\n250 AUTH LOGIN PLAIN\r\n")
                elif verb.startswith(b"AUTH LOGIN"):
                    if not await step("AUTH"):
                        return
                    await reply("334 VXNlcm5hbWU6\r\n")
                    if not await line() or not await step("USER"):
                        return
                    await reply("334 UGFzc3dvcmQ6\r\n")
                    if not await line() or not await step("PASS"):
                        return
                    await reply(self.password_reply + " authentication answer\r\n")
                elif verb.startswith(b"MAIL"):
                    if not await step("MAIL"):
                        return
                    await reply("250 OK\r\n")
                elif verb.startswith(b"RCPT"):
                    if not await step("RCPT"):
                        return
                    address = got.decode("utf-8", "replace").split("<", 1)[-1].split(">")[0]
                    await reply("550 No such user\r\n" if address in self.refused else "250 OK\r\n")
                elif verb.startswith(b"DATA"):
                    if not await step("DATA"):
                        return
                    await reply("354 End data with <CR><LF>.<CR><LF>\r\n")
                    while True:
                        got = await line()
                        if not got or got == b".\r\n":
                            break
                    if not got or not await step("DOT"):
                        return
                    await reply("250 Queued\r\n")
                elif verb.startswith(b"QUIT"):
                    if not await step("QUIT"):
                        return
                    await reply("221 Bye\r\n")
                    writer.close()
                    return
                else:
                    await reply("500 Unknown command\r\n")
        except (ConnectionError, asyncio.CancelledError):
            writer.close()


class ScriptedHttp:
    """Reads one request, keeps its bytes, then answers per mode: reply
    (send and close), stall (never answer), stallafter (send, stay open),
    endless (send, then body bytes without end), trickle:MS (send, then
    one byte every MS milliseconds)."""

    def __init__(self, mode, response):
        self.mode, self.response = mode, response
        self.log = bytearray()

    async def serve(self, reader, writer):
        try:
            head = await reader.readuntil(b"\r\n\r\n")
            self.log += head
            length = 0
            for header in head.split(b"\r\n"):
                if header.lower().startswith(b"content-length:"):
                    length = int(header.split(b":", 1)[1])
            if length:
                self.log += await reader.readexactly(length)
            if self.mode == "stall":
                await asyncio.sleep(3600)
            writer.write(self.response)
            await writer.drain()
            if self.mode == "endless":
                chunk = b"x" * 65536
                while True:
                    writer.write(chunk)
                    await writer.drain()
            if self.mode.startswith("trickle:"):
                pause = int(self.mode.split(":")[1]) / 1000.0
                while True:
                    await asyncio.sleep(pause)
                    writer.write(b"0")
                    await writer.drain()
            if self.mode == "stallafter":
                await asyncio.sleep(3600)
            writer.close()
        except (ConnectionError, asyncio.IncompleteReadError, asyncio.CancelledError):
            writer.close()


class QuietHandler(http.server.SimpleHTTPRequestHandler):
    def log_message(self, *args):
        pass


def make_pki():
    """A test CA, certificates it issued for localhost and for another
    name, and a self-signed one for localhost. Returns the folder."""
    folder = tempfile.mkdtemp(prefix="mirven-pki-")

    def run(*args):
        subprocess.run(["openssl"] + list(args), cwd=folder, check=True,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    run("req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "2", "-sha256",
        "-subj", "/CN=Mirven Test CA", "-keyout", "ca.key", "-out", "ca.pem",
        "-addext", "basicConstraints=critical,CA:TRUE",
        "-addext", "keyUsage=critical,keyCertSign,cRLSign")
    run("x509", "-in", "ca.pem", "-outform", "DER", "-out", "ca.der")
    for name, san in (("localhost", "DNS:localhost,IP:127.0.0.1"), ("other", "DNS:mail.other.test")):
        cn = san.split(",")[0][4:]
        with open(os.path.join(folder, name + ".ext"), "w") as f:
            f.write("subjectAltName=%s\nextendedKeyUsage=serverAuth\n"
                    "basicConstraints=CA:FALSE\n" % san)
        run("req", "-newkey", "rsa:2048", "-nodes", "-sha256", "-subj", "/CN=" + cn,
            "-keyout", name + ".key", "-out", name + ".csr")
        run("x509", "-req", "-in", name + ".csr", "-CA", "ca.pem", "-CAkey", "ca.key",
            "-CAcreateserial", "-days", "2", "-sha256", "-extfile", name + ".ext",
            "-out", name + ".pem")
    run("req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "2", "-sha256",
        "-subj", "/CN=localhost", "-addext", "subjectAltName=DNS:localhost",
        "-keyout", "self.key", "-out", "self.pem")
    return folder


class Hub:
    def __init__(self, done, exit_with_client):
        self.pki = None
        self.peers = {}
        self.next_id = 1
        self.done = done
        self.exit_with_client = exit_with_client

    def add(self, peer, closer):
        peer_id = str(self.next_id)
        self.next_id += 1
        self.peers[peer_id] = (peer, closer)
        return peer_id

    async def listen(self, serve, port=0):
        server = await asyncio.start_server(serve, "127.0.0.1", port)
        return server, server.sockets[0].getsockname()[1]

    async def command(self, words):
        loop = asyncio.get_running_loop()
        verb = words[0]
        if verb == "smtp":
            box = Mailbox(unb64(words[1]), unb64(words[2]))
            factory = functools.partial(SMTP, box, hostname="mirven.test",
                                        authenticator=box.authenticate,
                                        auth_require_tls=False, auth_required=True)
            server = await loop.create_server(factory, "127.0.0.1", 0)
            port = server.sockets[0].getsockname()[1]
            return ["OK %d %s" % (port, self.add(box, server.close))]
        if verb == "pki":
            if self.pki is None:
                self.pki = make_pki()
            with open(os.path.join(self.pki, "ca.der"), "rb") as f:
                return ["OK " + b64(f.read())]
        if verb == "smtptls":
            # smtptls LOGIN PASSWORD implicit|starttls CERT (localhost, other, self)
            if self.pki is None:
                self.pki = make_pki()
            context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
            context.load_cert_chain(os.path.join(self.pki, words[4] + ".pem"),
                                    os.path.join(self.pki, words[4] + ".key"))
            box = Mailbox(unb64(words[1]), unb64(words[2]))
            implicit = words[3] == "implicit"
            factory = functools.partial(SMTP, box, hostname="mirven.test",
                                        authenticator=box.authenticate, auth_required=True,
                                        auth_require_tls=not implicit,
                                        tls_context=None if implicit else context,
                                        require_starttls=not implicit)
            server = await loop.create_server(factory, "127.0.0.1", 0,
                                              ssl=context if implicit else None)
            port = server.sockets[0].getsockname()[1]
            return ["OK %d %s" % (port, self.add(box, server.close))]
        if verb == "smtpfault":
            script = ScriptedSmtp(dict(w.split("=", 1) for w in words[1:]))
            server, port = await self.listen(script.serve)
            return ["OK %d %s" % (port, self.add(script, server.close))]
        if verb == "httpfault":
            script = ScriptedHttp(words[1], unb64(words[2]))
            server, port = await self.listen(script.serve, int(words[3]) if len(words) > 3 else 0)
            return ["OK %d %s" % (port, self.add(script, server.close))]
        if verb == "http":
            handler = functools.partial(QuietHandler, directory=unb64(words[1]).decode())
            server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), handler)
            server.daemon_threads = True
            threading.Thread(target=server.serve_forever, daemon=True).start()
            return ["OK %d %s" % (server.server_address[1],
                                  self.add(server, server.shutdown))]
        if verb == "blackhole":
            # A listener whose queue is full: connection attempts go unanswered.
            listener = socket.socket()
            listener.bind(("127.0.0.1", 0))
            listener.listen(0)
            port = listener.getsockname()[1]
            fillers = []
            for _ in range(4):
                s = socket.socket()
                s.setblocking(False)
                s.connect_ex(("127.0.0.1", port))
                fillers.append(s)
            def close():
                for s in fillers + [listener]:
                    s.close()
            return ["OK %d %s" % (port, self.add(listener, close))]
        if verb == "mails":
            return self.peers[words[1]][0].describe()
        if verb == "auths":
            return ["auth %s %d" % (m, ok) for m, ok in self.peers[words[1]][0].auths]
        if verb == "log":
            return ["data " + b64(bytes(self.peers[words[1]][0].log))]
        if verb == "stop":
            peer = self.peers.pop(words[1], None)
            if peer:
                peer[1]()
            return ["OK"]
        if verb == "quit":
            loop.call_soon(loop.stop)
            return ["OK"]
        return ["ERROR unknown command"]

    async def control(self, reader, writer):
        try:
            while True:
                line = await reader.readline()
                if not line:
                    break
                words = line.decode().split()
                try:
                    lines = await self.command(words) if words else ["ERROR empty"]
                except Exception as error:  # reported to the test, not fatal
                    lines = ["ERROR " + repr(error).replace("\n", " ")]
                writer.write(("\n".join(lines + ["END"]) + "\n").encode())
                await writer.drain()
        except ConnectionError:
            pass
        writer.close()
        if self.exit_with_client and not self.done.done():
            self.done.set_result(None)


async def main():
    loop = asyncio.get_running_loop()
    done = loop.create_future()
    hub = Hub(done, "--exit-with-client" in sys.argv)
    server = await asyncio.start_server(hub.control, "127.0.0.1", 0, limit=1 << 26)
    port = server.sockets[0].getsockname()[1]
    if len(sys.argv) > 2 and sys.argv[1] == "--port-file":
        with open(sys.argv[2] + ".tmp", "w") as f:
            f.write("%d\n" % port)
        os.replace(sys.argv[2] + ".tmp", sys.argv[2])
    print("PORT %d" % port, flush=True)
    if "--port-file" not in sys.argv:
        loop.add_reader(sys.stdin.fileno(), lambda: os.read(sys.stdin.fileno(), 4096)
                        or (done.done() or done.set_result(None)))
    try:
        await asyncio.wait_for(done, timeout=3600)
    except asyncio.TimeoutError:
        pass
    finally:
        if hub.pki:
            shutil.rmtree(hub.pki, ignore_errors=True)


if __name__ == "__main__":
    try:
        asyncio.run(main())
    except RuntimeError:
        pass  # the loop was stopped by quit
