"""A real SMTP server on 127.0.0.1 for the mail tests.

    smtp_sink.py FOLDER [--close-after N]

Listens on three free ports: "plain" (no encryption offered), "starttls"
(offers STARTTLS) and "ssl" (TLS from the first byte). The two encrypted ones
use a certificate for 127.0.0.1 made at start and written to FOLDER/cert.pem;
a client trusts it only when told to. Once it takes connections it prints
one line on standard output: "PORTS <plain> <starttls> <ssl>".

Every message it accepts goes into FOLDER: NNN.eml (the message as
received) and NNN.json (envelope, login, subject, body, the listener, the
time it was accepted, and the attachments, each saved beside as NNN-K.bin).
Every AUTH command, accepted or not, adds a line "<listener> <encrypted>" to
FOLDER/auth.txt. With --close-after N all listeners close once N messages
were accepted, as a server that went down: later connections are refused.

The recipient decides how the server behaves: "reject..." is refused,
"hang..." never gets an answer to its DATA, "slow..." gets it after a
second. A login with the password "wrong password" is refused.
"""

import argparse
import asyncio
import json
import os
import ssl
import subprocess
import time
from email import policy
from email.parser import BytesParser

from aiosmtpd.smtp import SMTP, AuthResult, syntax


class Sink:
    def __init__(self, folder, close_after):
        self.folder = folder
        self.count = 0
        self.close_after = close_after
        self.listeners = []

    async def handle_RCPT(self, server, session, envelope, address, rcpt_options):
        if address.startswith("reject"):
            return "550 5.1.1 No such mailbox"
        envelope.rcpt_tos.append(address)
        return "250 OK"

    async def handle_DATA(self, server, session, envelope):
        if any(a.startswith("hang") for a in envelope.rcpt_tos):
            await asyncio.sleep(3600)
        if any(a.startswith("slow") for a in envelope.rcpt_tos):
            await asyncio.sleep(1)
        self.count += 1
        stem = os.path.join(self.folder, "%03d" % self.count)
        with open(stem + ".eml", "wb") as f:
            f.write(envelope.original_content)
        msg = BytesParser(policy=policy.default).parsebytes(envelope.original_content)
        body = msg.get_body(preferencelist=("plain",))
        attachments = []
        for k, part in enumerate(msg.iter_attachments(), 1):
            path = "%s-%d.bin" % (stem, k)
            with open(path, "wb") as f:
                f.write(part.get_payload(decode=True))
            attachments.append({"filename": part.get_filename(), "type": part.get_content_type(), "file": path})
        login = session.auth_data
        record = {
            "listener": server.listener_name,
            "accepted_at": time.monotonic(),
            "mail_from": envelope.mail_from,
            "rcpt_tos": envelope.rcpt_tos,
            "login": login.login.decode("utf-8") if login else None,
            "password": login.password.decode("utf-8") if login else None,
            "from": msg["From"],
            "to": msg["To"],
            "subject": msg["Subject"],
            "body": body.get_content() if body else None,
            "attachments": attachments,
        }
        # Written whole, then renamed, so a reader never sees half a record.
        with open(stem + ".tmp", "w", encoding="utf-8") as f:
            json.dump(record, f)
        os.replace(stem + ".tmp", stem + ".json")
        if self.close_after and self.count >= self.close_after:
            for listener in self.listeners:
                listener.close()  # new connections are refused from now on
        return "250 Message accepted for delivery"


class Recording_SMTP(SMTP):
    def __init__(self, handler, listener_name, encrypted_from_start, auth_log, **kwargs):
        SMTP.__init__(self, handler, **kwargs)
        self.listener_name = listener_name
        self.encrypted_from_start = encrypted_from_start
        self.auth_log = auth_log

    @syntax("AUTH <mechanism>")
    async def smtp_AUTH(self, arg):
        encrypted = self.encrypted_from_start or self._tls_protocol is not None
        with open(self.auth_log, "a", encoding="utf-8") as f:
            f.write("%s %s\n" % (self.listener_name, "encrypted" if encrypted else "plain"))
        return await SMTP.smtp_AUTH(self, arg)


def authenticate(server, session, envelope, mechanism, auth_data):
    ok = auth_data.password != b"wrong password"
    return AuthResult(success=ok, handled=False, auth_data=auth_data)


def make_certificate(folder):
    cert, key = os.path.join(folder, "cert.pem"), os.path.join(folder, "key.pem")
    subprocess.run(
        ["openssl", "req", "-x509", "-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:prime256v1", "-nodes",
         "-keyout", key, "-out", cert, "-days", "2", "-subj", "/CN=127.0.0.1",
         "-addext", "subjectAltName=IP:127.0.0.1"],
        check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    context = ssl.create_default_context(ssl.Purpose.CLIENT_AUTH)
    context.load_cert_chain(cert, key)
    return context


async def main(folder, close_after):
    sink = Sink(folder, close_after)
    context = make_certificate(folder)
    auth_log = os.path.join(folder, "auth.txt")
    loop = asyncio.get_running_loop()

    def protocol(name, **kwargs):
        return lambda: Recording_SMTP(sink, name, name == "ssl", auth_log, hostname="sink.test",
                                      authenticator=authenticate, auth_require_tls=False, **kwargs)

    ports = []
    for name, kwargs, tls in (("plain", {}, None), ("starttls", {"tls_context": context}, None),
                              ("ssl", {}, context)):
        listener = await loop.create_server(protocol(name, **kwargs), host="127.0.0.1", port=0, ssl=tls)
        sink.listeners.append(listener)
        ports.append(listener.sockets[0].getsockname()[1])
    print("PORTS %d %d %d" % tuple(ports), flush=True)
    await asyncio.Event().wait()


if __name__ == "__main__":
    parser = argparse.ArgumentParser()
    parser.add_argument("folder")
    parser.add_argument("--close-after", type=int, default=0)
    args = parser.parse_args()
    asyncio.run(main(args.folder, args.close_after))
