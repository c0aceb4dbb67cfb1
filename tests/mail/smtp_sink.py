"""A real SMTP server on 127.0.0.1 for the mail tests.

    smtp_sink.py FOLDER

Listens on a free port, prints "PORT <n>" on standard output once it takes
connections, and writes every message it accepts into FOLDER: NNN.eml (the
message as received) and NNN.json (envelope, login, subject, body and the
attachments, each saved beside as NNN-K.bin). The recipient decides how the
server behaves: "reject..." is refused, "hang..." never gets an answer to
its DATA. A login with the password "wrong password" is refused.
"""

import asyncio
import json
import os
import sys
from email import policy
from email.parser import BytesParser

from aiosmtpd.smtp import SMTP, AuthResult


class Sink:
    def __init__(self, folder):
        self.folder = folder
        self.count = 0

    async def handle_RCPT(self, server, session, envelope, address, rcpt_options):
        if address.startswith("reject"):
            return "550 5.1.1 No such mailbox"
        envelope.rcpt_tos.append(address)
        return "250 OK"

    async def handle_DATA(self, server, session, envelope):
        if any(a.startswith("hang") for a in envelope.rcpt_tos):
            await asyncio.sleep(3600)
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
        return "250 Message accepted for delivery"


def authenticate(server, session, envelope, mechanism, auth_data):
    ok = auth_data.password != b"wrong password"
    return AuthResult(success=ok, handled=False, auth_data=auth_data)


async def main(folder):
    sink = Sink(folder)
    loop = asyncio.get_running_loop()
    listener = await loop.create_server(
        lambda: SMTP(sink, hostname="sink.test", authenticator=authenticate, auth_require_tls=False),
        host="127.0.0.1",
        port=0,
    )
    print("PORT %d" % listener.sockets[0].getsockname()[1], flush=True)
    await listener.serve_forever()


if __name__ == "__main__":
    asyncio.run(main(sys.argv[1]))
