"""An SMTP server for the mail sender's tests (aiosmtpd), with ways to misbehave.

Prints "port=<n>" when listening on 127.0.0.1; ends when its standard input closes.
Each delivered message goes into --spool as <n>.eml (the data as received, dots
unstuffed) and <n>.env (the sender, then one recipient a line).
  --cert/--key        the server's certificate, for --starttls or --tls
  --starttls          offer STARTTLS
  --tls               implicit TLS from the first byte
  --auth USER:PASS    offer AUTH PLAIN and LOGIN (also without TLS) and require it
  --auth-only MECH    offer only this AUTH mechanism
  --mode MODE         refuse-sender, refuse-rcpt, refuse-data, refuse-end, refuse-ehlo,
                      stall-greeting, stall-end, close-mid
"""
import argparse
import asyncio
import logging
import os
import ssl
import sys
import threading
import warnings

from aiosmtpd.smtp import SMTP, AuthResult


class Handler:
    def __init__(self, spool, mode):
        self.spool = spool
        self.mode = mode
        self.count = 0

    async def handle_MAIL(self, server, session, envelope, address, options):
        if self.mode == "refuse-sender":
            return "553 5.1.8 Sender address rejected: not ours"
        envelope.mail_from = address
        return "250 OK"

    async def handle_RCPT(self, server, session, envelope, address, options):
        if self.mode == "refuse-rcpt":
            return "550 5.1.1 No such user here"
        envelope.rcpt_tos.append(address)
        return "250 OK"

    async def handle_DATA(self, server, session, envelope):
        if self.mode == "stall-end":
            await asyncio.sleep(3600)
        if self.mode == "refuse-end":
            return "552 5.3.4 Message refused by content filter"
        self.count += 1
        base = os.path.join(self.spool, str(self.count))
        with open(base + ".env", "w", encoding="utf-8") as f:
            f.write("\n".join([envelope.mail_from] + envelope.rcpt_tos) + "\n")
        with open(base + ".eml", "wb") as f:
            f.write(envelope.original_content)
        return "250 OK queued"


class PeerSMTP(SMTP):
    mode = ""

    async def smtp_EHLO(self, hostname):
        if self.mode == "refuse-ehlo":
            return await self.push("502 5.5.2 Command not recognized")
        return await super().smtp_EHLO(hostname)

    async def smtp_RCPT(self, arg):
        if self.mode == "close-mid":
            self.transport.close()
            return
        return await super().smtp_RCPT(arg)

    async def smtp_DATA(self, arg):
        if self.mode == "refuse-data":
            return await self.push("554 5.5.1 Error: no valid recipients")
        return await super().smtp_DATA(arg)


class Stall(asyncio.Protocol):
    """Takes the connection and never says a word."""

    def connection_made(self, transport):
        self.transport = transport


async def serve(args):
    loop = asyncio.get_running_loop()
    context = None
    if args.cert:
        context = ssl.create_default_context(ssl.Purpose.CLIENT_AUTH)
        context.load_cert_chain(args.cert, args.key)
    user, _, password = (args.auth or "").partition(":")

    def authenticate(server, session, envelope, mechanism, data):
        ok = data.login == user.encode() and data.password == password.encode()
        return AuthResult(success=ok, handled=False)

    handler = Handler(args.spool, args.mode)

    def protocol():
        if args.mode == "stall-greeting":
            return Stall()
        kwargs = {"hostname": "peer.test", "enable_SMTPUTF8": False, "data_size_limit": 10 << 20}
        if args.starttls:
            kwargs["tls_context"] = context
        if args.auth:
            kwargs.update(authenticator=authenticate, auth_required=True, auth_require_tls=False)
            if args.auth_only:
                kwargs["auth_exclude_mechanism"] = [m for m in ("PLAIN", "LOGIN") if m != args.auth_only]
        smtp = PeerSMTP(handler, **kwargs)
        smtp.mode = args.mode
        return smtp

    server = await loop.create_server(protocol, "127.0.0.1", 0, ssl=context if args.tls else None)
    print("port=%d" % server.sockets[0].getsockname()[1], flush=True)
    await asyncio.Event().wait()


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--spool", required=True)
    parser.add_argument("--cert")
    parser.add_argument("--key")
    parser.add_argument("--starttls", action="store_true")
    parser.add_argument("--tls", action="store_true")
    parser.add_argument("--auth")
    parser.add_argument("--auth-only")
    parser.add_argument("--mode", default="")
    args = parser.parse_args()
    # AUTH without TLS is what these tests mean to try.
    warnings.filterwarnings("ignore")
    logging.disable(logging.CRITICAL)

    def end_with_parent():
        sys.stdin.read()
        os._exit(0)

    threading.Thread(target=end_with_parent, daemon=True).start()
    asyncio.run(serve(args))


if __name__ == "__main__":
    main()
