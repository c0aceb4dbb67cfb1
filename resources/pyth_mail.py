#!/usr/bin/python
"""Sends one e-mail through an SMTP account.

    pyth_mail.py USER SERVER PORT FROM TO SUBJECT BODY SSL [ATTACHMENT ...]

The password is the first line of standard input (UTF-8); whatever follows it
is ignored. Attachments go by their base name, typed by what they hold.

SSL "Y" speaks TLS from the first byte. Anything else requires STARTTLS: when
the server does not offer it, or the handshake fails, the script ends before
any login, so the password never crosses an unencrypted connection. Server
certificates are checked against the system's trust store (SSL_CERT_FILE and
SSL_CERT_DIR, when set, name another one).

Exit status, with one short line on standard error that never holds the
password:
    0  the server accepted the message
    1  any other failure (an attachment that cannot be read, a bad port, ...)
    2  wrong command line
    3  the server refused the login
    4  the server could not be reached, or the connection was lost
    5  the server offers no encryption (no STARTTLS, or its handshake failed)
    6  the server's certificate is not trusted
    7  the server refused the message (sender, recipient or content)
"""

import base64
import mimetypes
import smtplib
import socket
import ssl
import sys
from email.message import EmailMessage
from email.utils import formatdate, make_msgid

EXIT_SENT = 0
EXIT_OTHER = 1
EXIT_USAGE = 2
EXIT_LOGIN_REFUSED = 3
EXIT_NOT_REACHED = 4
EXIT_NO_ENCRYPTION = 5
EXIT_CERTIFICATE = 6
EXIT_MESSAGE_REFUSED = 7

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
    def __init__(self, status, text):
        Exception.__init__(self, text)
        self.status = status


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
            raise Failure(EXIT_OTHER, "cannot read attachment %s: %s" % (name, e.strerror or e))
        maintype, _, subtype = content_type(data, name).partition("/")
        msg.add_attachment(data, maintype=maintype, subtype=subtype, filename=name)
    return msg


def certificate_problem(e):
    return e.verify_message or e.reason or str(e)


def encrypt(server, context):
    """Upgrades a plain connection with STARTTLS, or ends the run."""
    if not server.has_extn("starttls"):
        raise Failure(EXIT_NO_ENCRYPTION, "the server offers no encryption (STARTTLS)")
    try:
        server.starttls(context=context)
    except ssl.SSLCertVerificationError:
        raise
    except (smtplib.SMTPException, OSError) as e:
        raise Failure(EXIT_NO_ENCRYPTION, "the encrypted connection could not be set up: %s" % e)
    server.ehlo()


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
        try:
            server.login(user, password)
        except smtplib.SMTPNotSupportedError as e:
            raise Failure(EXIT_LOGIN_REFUSED, "the server offers no way to log in that this script speaks: %s" % e)


def send(user, host, port, sender, recipient, subject, body, use_ssl, attachments, password):
    try:
        port = int(port)
    except ValueError:
        raise Failure(EXIT_OTHER, "the port is not a number")
    if not host:
        raise Failure(EXIT_NOT_REACHED, "no SMTP server given")
    msg = build_message(sender, recipient, subject, body, attachments)
    context = ssl.create_default_context()
    helo = socket.gethostname() or "localhost"
    if use_ssl == "Y":
        server = smtplib.SMTP_SSL(host, port, local_hostname=helo, timeout=SOCKET_TIMEOUT, context=context)
    else:
        server = smtplib.SMTP(host, port, local_hostname=helo, timeout=SOCKET_TIMEOUT)
    try:
        server.ehlo()
        if use_ssl != "Y":
            encrypt(server, context)
        login(server, user, password)
        refused = server.send_message(msg, from_addr=sender, to_addrs=[recipient])
        if refused:
            raise Failure(EXIT_MESSAGE_REFUSED, "the server refused the recipient")
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


def answer(e, password):
    return "%d %s" % (e.smtp_code, short(e.smtp_error, password))


def reason(e, password):
    """The exit status and the line for a failure."""
    if isinstance(e, Failure):
        return e.status, short(e, password)
    if isinstance(e, ssl.SSLCertVerificationError):
        return EXIT_CERTIFICATE, "the server's certificate is not trusted: %s" % short(certificate_problem(e), password)
    if isinstance(e, smtplib.SMTPAuthenticationError):
        return EXIT_LOGIN_REFUSED, "the server refused the login: %s" % answer(e, password)
    if isinstance(e, smtplib.SMTPNotSupportedError):
        return EXIT_MESSAGE_REFUSED, "the server cannot take the message: %s" % short(e, password)
    if isinstance(e, smtplib.SMTPRecipientsRefused):
        codes = ["%d %s" % (c, short(t, password)) for c, t in e.recipients.values()]
        return EXIT_MESSAGE_REFUSED, "the server refused the recipient: %s" % "; ".join(codes)
    if isinstance(e, (smtplib.SMTPSenderRefused, smtplib.SMTPDataError)):
        return EXIT_MESSAGE_REFUSED, "the server refused the message: %s" % answer(e, password)
    if isinstance(e, smtplib.SMTPServerDisconnected):
        return EXIT_NOT_REACHED, "the server closed the connection"
    if isinstance(e, smtplib.SMTPConnectError):
        return EXIT_NOT_REACHED, "the server did not take the connection: %s" % answer(e, password)
    if isinstance(e, socket.timeout):
        return EXIT_NOT_REACHED, "the server did not answer in time"
    if isinstance(e, ssl.SSLError):
        return EXIT_NO_ENCRYPTION, "the encrypted connection could not be set up: %s" % short(e, password)
    if isinstance(e, OSError):
        return EXIT_NOT_REACHED, "the server could not be reached: %s" % short(e.strerror or e, password)
    if isinstance(e, smtplib.SMTPResponseException):
        return EXIT_OTHER, "the server said %s" % answer(e, password)
    return EXIT_OTHER, "%s: %s" % (type(e).__name__, short(e, password))


def main(argv):
    if len(argv) < 9:
        sys.stderr.write("pyth_mail: usage: USER SERVER PORT FROM TO SUBJECT BODY SSL [ATTACHMENT ...]\n")
        return EXIT_USAGE
    password = ""
    try:
        password = read_password()
        user, host, port, sender, recipient, subject, body, use_ssl = argv[1:9]
        send(user, host, port, sender, recipient, subject, body, use_ssl, argv[9:], password)
    except Exception as e:  # any failure is one short line, never a trace
        status, line = reason(e, password)
        sys.stderr.write("pyth_mail: %s\n" % line)
        return status
    return EXIT_SENT


if __name__ == "__main__":
    sys.exit(main(sys.argv))
