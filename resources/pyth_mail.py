#!/usr/bin/python
"""Sends one e-mail through an SMTP account.

    pyth_mail.py USER SERVER PORT FROM TO SUBJECT BODY SSL [ATTACHMENT ...]

The password is the first line of standard input (UTF-8); whatever follows it
is ignored. SSL "Y" speaks TLS from the first byte; anything else upgrades
with STARTTLS when the server offers it. Attachments go by their base name,
typed by what they hold. Exit status 0 when the server accepted the message,
1 otherwise, with one short line on standard error that never holds the
password.
"""

import base64
import mimetypes
import smtplib
import socket
import ssl
import sys
from email.message import EmailMessage
from email.utils import formatdate, make_msgid

# Seconds any one network wait may take.
SOCKET_TIMEOUT = 60

# Leading bytes of the kinds of files we send, with their types.
MAGIC = [
    (b"\x89PNG\r\n\x1a\n", "image/png"),
    (b"\xff\xd8\xff", "image/jpeg"),
    (b"GIF87a", "image/gif"),
    (b"GIF89a", "image/gif"),
    (b"BM", "image/bmp"),
    (b"II*\x00", "image/tiff"),
    (b"MM\x00*", "image/tiff"),
    (b"%PDF-", "application/pdf"),
]


class Failure(Exception):
    pass


def content_type(data, name):
    for magic, kind in MAGIC:
        if data.startswith(magic):
            return kind
    guessed, _ = mimetypes.guess_type(name)
    return guessed or "application/octet-stream"


def read_password():
    line = sys.stdin.buffer.readline()
    return line.rstrip(b"\r\n").decode("utf-8", errors="strict")


def build_message(sender, recipient, subject, body, attachments):
    msg = EmailMessage()
    msg["From"] = sender
    msg["To"] = recipient
    msg["Subject"] = subject
    msg["Date"] = formatdate(localtime=True)
    domain = sender.rpartition("@")[2] or "localhost"
    msg["Message-ID"] = make_msgid(domain=domain)
    msg.set_content(body)
    for path in attachments:
        name = path.replace("\\", "/").rsplit("/", 1)[-1]
        try:
            with open(path, "rb") as f:
                data = f.read()
        except OSError as e:
            raise Failure("cannot read attachment %s: %s" % (name, e.strerror or e))
        maintype, _, subtype = content_type(data, name).partition("/")
        msg.add_attachment(data, maintype=maintype, subtype=subtype, filename=name)
    return msg


def login(server, user, password):
    if not password or not server.has_extn("auth"):
        return  # the server decides whether it takes mail without a login
    mechanisms = server.esmtp_features.get("auth", "").upper().split()
    if "PLAIN" in mechanisms:
        # AUTH PLAIN carries UTF-8, so any password goes as typed.
        token = base64.b64encode(("\0%s\0%s" % (user, password)).encode("utf-8")).decode("ascii")
        code, answer = server.docmd("AUTH", "PLAIN " + token)
        if code != 235:
            raise smtplib.SMTPAuthenticationError(code, answer)
    else:
        server.login(user, password)


def send(user, host, port, sender, recipient, subject, body, use_ssl, attachments, password):
    try:
        port = int(port)
    except ValueError:
        raise Failure("the port is not a number")
    if not host:
        raise Failure("no SMTP server given")
    msg = build_message(sender, recipient, subject, body, attachments)
    context = ssl.create_default_context()
    helo = socket.gethostname() or "localhost"
    if use_ssl == "Y":
        server = smtplib.SMTP_SSL(host, port, local_hostname=helo, timeout=SOCKET_TIMEOUT, context=context)
    else:
        server = smtplib.SMTP(host, port, local_hostname=helo, timeout=SOCKET_TIMEOUT)
    try:
        server.ehlo()
        if use_ssl != "Y" and server.has_extn("starttls"):
            server.starttls(context=context)
            server.ehlo()
        login(server, user, password)
        refused = server.send_message(msg, from_addr=sender, to_addrs=[recipient])
        if refused:
            raise Failure("the server refused the recipient")
    finally:
        try:
            server.quit()
        except (smtplib.SMTPException, OSError):
            server.close()


def short(text, password):
    if isinstance(text, bytes):
        text = text.decode("utf-8", errors="replace")
    line = " ".join(str(text).split())
    if password:
        line = line.replace(password, "***")
    return line[:200] or "unknown error"


def main(argv):
    if len(argv) < 9:
        sys.stderr.write("pyth_mail: usage: USER SERVER PORT FROM TO SUBJECT BODY SSL [ATTACHMENT ...]\n")
        return 1
    password = ""
    try:
        password = read_password()
        user, host, port, sender, recipient, subject, body, use_ssl = argv[1:9]
        send(user, host, port, sender, recipient, subject, body, use_ssl, argv[9:], password)
    except Failure as e:
        sys.stderr.write("pyth_mail: %s\n" % short(e, password))
        return 1
    except smtplib.SMTPResponseException as e:
        sys.stderr.write("pyth_mail: the server said %d %s\n" % (e.smtp_code, short(e.smtp_error, password)))
        return 1
    except socket.timeout:
        sys.stderr.write("pyth_mail: the server did not answer in time\n")
        return 1
    except Exception as e:  # any other failure is one short line, never a trace
        sys.stderr.write("pyth_mail: %s: %s\n" % (type(e).__name__, short(e, password)))
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
