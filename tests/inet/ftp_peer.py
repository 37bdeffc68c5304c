"""An FTP server for the client's tests: one user, a folder, and ways to misbehave.

Prints "port=<n>" when listening; ends when its standard input closes (the test ended).
  --no-mlsd        answer MLSD with 500, as servers without it do
  --hostile        list "../" and other names that must never become paths
  --refuse-active  refuse PORT/EPRT, as a server behind NAT effectively does
"""
import argparse
import logging
import os
import sys
import threading

from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.handlers import FTPHandler
from pyftpdlib.servers import FTPServer

HOSTILE_MLSD = (
    "type=file;size=5;modify=20261209120000; ../escape.jpg\r\n"
    "type=file;size=5;modify=20261209120000; a/b.jpg\r\n"
    "type=file;size=5;modify=20261209120000; bad\x01name.jpg\r\n"
    "type=dir;modify=20261209120000; folder\r\n"
    "type=file;size=7;modify=20261209120000; good.jpg\r\n"
)


class Handler(FTPHandler):
    refuse_active = False
    no_mlsd = False
    hostile = False

    def ftp_PORT(self, line):
        if self.refuse_active:
            return self.respond("501 Rejected data connection.")
        return super().ftp_PORT(line)

    def ftp_EPRT(self, line):
        if self.refuse_active:
            return self.respond("501 Rejected data connection.")
        return super().ftp_EPRT(line)

    def ftp_MLSD(self, path):
        if self.no_mlsd:
            return self.respond("500 Command \"MLSD\" not understood.")
        if self.hostile:
            return self.push_dtp_data(HOSTILE_MLSD.encode("utf-8", "surrogateescape"), isproducer=False, cmd="MLSD")
        return super().ftp_MLSD(path)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--root", required=True)
    parser.add_argument("--user", default="alice")
    parser.add_argument("--password", default="secret")
    parser.add_argument("--no-mlsd", action="store_true")
    parser.add_argument("--hostile", action="store_true")
    parser.add_argument("--refuse-active", action="store_true")
    args = parser.parse_args()

    authorizer = DummyAuthorizer()
    authorizer.add_user(args.user, args.password, args.root, perm="elradfmwMT")
    Handler.authorizer = authorizer
    Handler.refuse_active = args.refuse_active
    Handler.no_mlsd = args.no_mlsd
    Handler.hostile = args.hostile
    logging.basicConfig(level=logging.WARNING)
    server = FTPServer(("127.0.0.1", 0), Handler)
    print("port=%d" % server.socket.getsockname()[1], flush=True)

    def stop_with_parent():
        sys.stdin.read()
        os._exit(0)

    threading.Thread(target=stop_with_parent, daemon=True).start()
    server.serve_forever()


if __name__ == "__main__":
    main()
