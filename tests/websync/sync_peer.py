"""A photo service that misbehaves, for the publishing and retrieving tests.

It answers the service's requests over HTTPS (with the reference service's certificate)
and serves the user's folder by FTP, breaking transfers off on purpose:
  RETR of a name holding "short": half the file, then "226 Transfer complete"
  RETR of a name holding "broken": half the file, then the data connection drops (426)
  STOR of a name holding "drop":  the data connection drops after 64 KiB (426)
  --hostile: MLSD lists names that must never become paths, besides the real files
Every request line it gets is appended to --log. Prints "port=<https port>" when
listening; ends when its standard input closes (the test ended).
"""
import argparse
import http.server
import logging
import os
import ssl
import sys
import threading

from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.handlers import DTPHandler, FTPHandler
from pyftpdlib.servers import FTPServer

USER = "100000001"
PASSWORD = "upload"
DROP_AFTER = 64 * 1024

HOSTILE_MLSD = (
    b"type=file;size=5;modify=20261209120000; ../x.jpg\r\n"
    b"type=file;size=5;modify=20261209120000; /etc/passwd\r\n"
    b"type=file;size=5;modify=20261209120000; a/b.jpg\r\n"
    b"type=file;size=5;modify=20261209120000; nul\x00name.jpg\r\n"
    b"type=file;size=5;modify=20261209120000; ..\r\n"
)


class CuttingDtp(DTPHandler):
    def handle_read(self):
        super().handle_read()
        if self.cmd_channel.drop_upload and self.tot_bytes_received >= DROP_AFTER and not self._closed:
            self._resp = ("426 Connection closed; transfer aborted.", logging.warning)
            self.close()

    handle_read_event = handle_read


class HalfThenFail:
    """A producer that gives the first half of its data, then fails."""

    def __init__(self, data):
        self.data = data

    def more(self):
        if self.data is None:
            raise OSError("the peer drops the connection")
        half, self.data = self.data, None
        return half


class Handler(FTPHandler):
    dtp_handler = CuttingDtp
    hostile = False
    drop_upload = False

    def ftp_STOR(self, file, mode="w"):
        self.drop_upload = "drop" in os.path.basename(file)
        return super().ftp_STOR(file, mode)

    def ftp_RETR(self, file):
        name = os.path.basename(file)
        if "short" in name or "broken" in name:
            with open(file, "rb") as source:
                data = source.read()
            half = data[: len(data) // 2]
            if "short" in name:
                return self.push_dtp_data(half, isproducer=False, cmd="RETR")
            return self.push_dtp_data(HalfThenFail(half), isproducer=True, cmd="RETR")
        return super().ftp_RETR(file)

    def ftp_MLSD(self, path):
        if not self.hostile:
            return super().ftp_MLSD(path)
        listing = b"".join(
            b"type=file;size=%d;modify=20261209120000; %s\r\n" % (os.path.getsize(os.path.join(path, n)), n.encode())
            for n in sorted(os.listdir(path)))
        return self.push_dtp_data(HOSTILE_MLSD + listing, isproducer=False, cmd="MLSD")


def web_handler(ftp_port, https_port, log):
    answers = {
        "/getpaths.asp": "UploadPath=ftp://127.0.0.1:%d/photos\r\nUploadId=%s\r\nUploadPwd=%s\r\n"
                         "WebPath=https://localhost:%d/\r\nDiskSpaceUsed=0\r\nDiskSpacePurchased=1000000000\r\n"
                         "ErrorMsg=\r\n" % (ftp_port, USER, PASSWORD, https_port),
        "/getalbums.asp": "AlbumCount=0\r\n",
    }

    class Web(http.server.BaseHTTPRequestHandler):
        def do_GET(self):
            with open(log, "a", encoding="utf-8") as out:
                out.write(self.path + "\n")
            body = answers.get(self.path.split("?")[0], "Result=OK\r\n").encode()
            self.send_response(200)
            self.send_header("Content-Type", "text/plain")
            self.send_header("Content-Length", str(len(body)))
            self.end_headers()
            self.wfile.write(body)

        def log_message(self, *args):
            pass

    return Web


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--root", required=True)
    parser.add_argument("--cert", required=True)
    parser.add_argument("--key", required=True)
    parser.add_argument("--log", required=True)
    parser.add_argument("--hostile", action="store_true")
    args = parser.parse_args()

    os.makedirs(os.path.join(args.root, "photos", USER), exist_ok=True)
    authorizer = DummyAuthorizer()
    authorizer.add_user(USER, PASSWORD, args.root, perm="elradfmwMT")
    Handler.authorizer = authorizer
    Handler.hostile = args.hostile
    logging.basicConfig(level=logging.CRITICAL)
    ftp = FTPServer(("127.0.0.1", 0), Handler)
    ftp_port = ftp.socket.getsockname()[1]

    web = http.server.ThreadingHTTPServer(("127.0.0.1", 0), None)
    https_port = web.server_address[1]
    web.RequestHandlerClass = web_handler(ftp_port, https_port, args.log)
    context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
    context.load_cert_chain(args.cert, args.key)
    web.socket = context.wrap_socket(web.socket, server_side=True)
    threading.Thread(target=web.serve_forever, daemon=True).start()
    print("port=%d" % https_port, flush=True)

    def stop_with_parent():
        sys.stdin.read()
        os._exit(0)

    threading.Thread(target=stop_with_parent, daemon=True).start()
    ftp.serve_forever()


if __name__ == "__main__":
    main()
