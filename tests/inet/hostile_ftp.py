"""An FTP server on raw sockets that turns hostile at one step of the conversation.

Standard library only. Prints "port=<n>" when listening on 127.0.0.1 (the HTTPS port
with --https, else the FTP port); ends when its standard input closes or after
--time-limit seconds. It serves one folder, "photos", holding the user's folder, with
one photo in it (or what --listing names).

  --fault STEP:ACTION   at every command of STEP ("greeting", USER, PASS, TYPE, CWD, MKD,
                        PASV (EPSV too), LIST (MLSD too), RETR, STOR, RNFR, RNTO, MFMT,
                        DELE, QUIT) do ACTION instead of answering:
                          reset    close with a reset (RST)
                          stall    say nothing, keep the connection open
                          trickle  send a reply line a byte at a time, never ending it
                        For the data connection of LIST, RETR or STOR (STEP "LIST-data",
                        "RETR-data", "STOR-data"):
                          reset    reset it after some bytes
                          trickle  send a byte every few seconds, never ending
                          stall-end  send it all, then never confirm it (no 226)
                          stall    STOR: never read, never confirm
                          short    RETR: half the file, then end as if complete
                          long     RETR: the file and more bytes than listed
                          endless  RETR: bytes without end, as fast as they are taken
  --listing KIND        mlsd (default), list (MLSD unknown: LIST), hostile-mlsd,
                        hostile-list (names that must never become paths besides the
                        photo), huge (the photo claims 5 GB)
  --no-user-folder      the user's folder does not exist until MKD makes it
  --extra NAME          the user's folder also holds NAME (a file a run deletes)
  --https CERT:KEY      also answer the service's requests over HTTPS; getpaths.asp
                        names this FTP server
  --paths KIND          a hostile service: getpaths.asp names a folder with "..", an
                        absolute one, one with NUL bytes or backslashes (dotdot, absolute,
                        nul, backslash), a user with a CR (cr); getalbums.asp names
                        "../" paths and NUL bytes (albums)
  --log FILE            every command line and request path, one a line
"""
import argparse
import http.server
import os
import socket
import ssl
import struct
import sys
import threading
import time

USER = "100000001"
PASSWORD = "upload"
PHOTO = "photo.jpg"
PHOTO_BYTES = bytes((i * 7919 >> 3) & 0xFF for i in range(20000))
HUGE = 5 * 1024 * 1024 * 1024
# A reply line trickles faster than any time-out, so that only a limit on the whole reply
# ends it; data trickles slower than a byte a second, what the client counts as stalled.
REPLY_TRICKLE_SECONDS = 0.3
DATA_TRICKLE_SECONDS = 1.5

STEPS = {"EPSV": "PASV", "MLSD": "LIST"}

HOSTILE_NAMES = [b"../up.jpg", b"/abs.jpg", b"sub/dir.jpg", b"nul\x00name.jpg", b"..", b"back\\slash.jpg",
                 b"tab\tname.jpg"]


class State:
    def __init__(self, args):
        self.args = args
        self.step, _, self.action = (args.fault or ":").partition(":")
        self.user_folder = not args.no_user_folder
        self.lock = threading.Lock()

    def log(self, text):
        if not self.args.log:
            return
        with self.lock, open(self.args.log, "a", encoding="utf-8", errors="backslashreplace") as out:
            out.write(text + "\n")

    def listed(self):
        """(name, claimed size) of every entry of the user's folder."""
        size = HUGE if self.args.listing == "huge" else len(PHOTO_BYTES)
        entries = [(PHOTO.encode(), size)]
        if self.args.extra:
            entries.append((self.args.extra.encode(), 5))
        if self.args.listing.startswith("hostile"):
            entries = [(name, 5) for name in HOSTILE_NAMES] + entries
        return entries


def reset(sock):
    try:
        sock.setsockopt(socket.SOL_SOCKET, socket.SO_LINGER, struct.pack("ii", 1, 0))
        sock.close()
    except OSError:
        pass


def wait_for_close(sock):
    try:
        while sock.recv(4096):
            pass
    except OSError:
        pass


def trickle(sock, first=b"2", pause=REPLY_TRICKLE_SECONDS):
    try:
        sock.sendall(first)
        while True:
            time.sleep(pause)
            sock.sendall(b"5")
    except OSError:
        pass


class Control:
    def __init__(self, state, sock):
        self.state = state
        self.sock = sock
        self.buffer = b""
        self.passive = None
        self.rename_from = None

    def send(self, line):
        self.sock.sendall(line.encode("utf-8", "surrogateescape") + b"\r\n")

    def hostile(self, step):
        """Does the fault's action when step is the fault's; True when it did."""
        if self.state.step != step:
            return False
        self.state.log("fault %s:%s" % (step, self.state.action))
        if self.state.action == "reset":
            reset(self.sock)
        elif self.state.action == "stall":
            wait_for_close(self.sock)
        elif self.state.action == "trickle":
            trickle(self.sock)
        return True

    def line(self):
        while b"\n" not in self.buffer:
            chunk = self.sock.recv(4096)
            if not chunk:
                return None
            self.buffer += chunk
        line, _, self.buffer = self.buffer.partition(b"\n")
        return line.rstrip(b"\r").decode("utf-8", "surrogateescape")

    def run(self):
        if self.hostile("greeting"):
            return
        self.send("220 Hostile FTP peer ready")
        while True:
            line = self.line()
            if line is None:
                return
            self.state.log(line)
            verb, _, arg = line.partition(" ")
            verb = verb.upper()
            if self.hostile(STEPS.get(verb, verb)):
                return
            handler = getattr(self, "do_" + verb, None)
            if handler is None:
                self.send("502 Command not implemented")
            elif handler(arg) is False:
                return

    def do_USER(self, arg):
        self.send("331 Password required")

    def do_PASS(self, arg):
        self.send("230 Logged in" if arg == PASSWORD else "530 Login incorrect")

    def do_PWD(self, arg):
        self.send('257 "/" is the current directory')

    def do_SYST(self, arg):
        self.send("215 UNIX Type: L8")

    def do_TYPE(self, arg):
        self.send("200 Type set")

    def do_OPTS(self, arg):
        self.send("200 OK")

    def do_NOOP(self, arg):
        self.send("200 OK")

    def do_FEAT(self, arg):
        self.sock.sendall(b"211-Features:\r\n MLST type*;size*;modify*;\r\n MFMT\r\n EPSV\r\n211 End\r\n")

    def do_CWD(self, arg):
        if arg == USER and not self.state.user_folder:
            self.send("550 No such folder")
        else:
            self.send("250 Folder changed")

    def do_MKD(self, arg):
        self.state.user_folder = True
        self.send('257 "%s" created' % arg)

    def do_EPRT(self, arg):
        # Active mode never works here: the client falls back to passive mode.
        self.send("500 EPRT not understood")

    do_PORT = do_EPRT

    def listen(self):
        self.passive = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
        self.passive.bind(("127.0.0.1", 0))
        self.passive.listen(1)
        self.passive.settimeout(10)
        return self.passive.getsockname()[1]

    def do_EPSV(self, arg):
        self.send("229 Entering Extended Passive Mode (|||%d|)" % self.listen())

    def do_PASV(self, arg):
        port = self.listen()
        self.send("227 Entering Passive Mode (127,0,0,1,%d,%d)" % (port >> 8, port & 0xFF))

    def data(self):
        if not self.passive:
            self.send("425 Use PASV first")
            return None
        try:
            conn, _ = self.passive.accept()
        except OSError:
            self.send("425 No data connection")
            return None
        finally:
            self.passive.close()
            self.passive = None
        return conn

    def data_action(self, verb):
        return self.state.action if self.state.step == verb + "-data" else ""

    def data_fault(self, conn, payload, verb):
        """Sends payload on the data connection as the data fault says; True when the
        transfer ended as a hostile one (no 226 follows)."""
        action = self.data_action(verb)
        if action == "reset":
            conn.sendall(payload[: len(payload) // 2])
            reset(conn)
            self.send("426 Connection closed; transfer aborted")
            return True
        if action == "trickle":
            trickle(conn, payload[:1], DATA_TRICKLE_SECONDS)
            conn.close()
            return True
        if action == "stall-end":
            conn.sendall(payload)
            conn.close()
            wait_for_close(self.sock)
            return True
        conn.sendall(payload)
        conn.close()
        return False

    def listing(self, mlsd):
        lines = []
        for name, size in self.state.listed():
            if mlsd:
                lines.append(b"type=file;size=%d;modify=20261209120000; %s\r\n" % (size, name))
            else:
                lines.append(b"-rw-r--r--   1 owner group %12d Dec  9  2026 %s\r\n" % (size, name))
        return b"".join(lines)

    def do_MLSD(self, arg):
        if self.state.args.listing in ("list", "hostile-list"):
            self.send('500 Command "MLSD" not understood')
            return
        self.send_listing(True)

    def do_LIST(self, arg):
        self.send_listing(False)

    def send_listing(self, mlsd):
        conn = self.data()
        if conn is None:
            return
        self.send("150 Here comes the listing")
        if not self.data_fault(conn, self.listing(mlsd), "LIST"):
            self.send("226 Listing sent")

    def do_SIZE(self, arg):
        if self.data_action("RETR") in ("long", "endless"):
            self.send("502 SIZE not implemented")
            return
        sizes = {name.decode("utf-8", "surrogateescape"): size for name, size in self.state.listed()}
        if arg in sizes:
            self.send("213 %d" % sizes[arg])
        else:
            self.send("550 No such file")

    def do_MDTM(self, arg):
        self.send("213 20261209120000")

    def do_REST(self, arg):
        self.send("350 Restarting")

    def do_RETR(self, arg):
        conn = self.data()
        if conn is None:
            return
        claimed = dict(self.state.listed()).get(arg.encode("utf-8", "surrogateescape"), len(PHOTO_BYTES))
        action = self.data_action("RETR")
        if action in ("long", "endless"):
            # No size told: only the listing's claim can bound what comes.
            self.send("150 Opening BINARY mode data connection for %s" % arg)
        else:
            self.send("150 Opening BINARY mode data connection for %s (%d bytes)" % (arg, claimed))
        try:
            if action == "short":
                conn.sendall(PHOTO_BYTES[: len(PHOTO_BYTES) // 2])
            elif action == "long":
                conn.sendall(PHOTO_BYTES + b"x" * 100000)
            elif action == "endless":
                block = b"y" * 65536
                while True:
                    conn.sendall(block)
            elif self.data_fault(conn, PHOTO_BYTES, "RETR"):
                return
            conn.close()
        except OSError:
            # The client gave up on the endless data; it ends the control connection too.
            reset(conn)
            return
        self.send("226 Transfer complete")

    def do_STOR(self, arg):
        conn = self.data()
        if conn is None:
            return
        self.send("150 Ok to send data")
        action = self.data_action("STOR")
        received = 0
        try:
            while True:
                if action == "stall":
                    wait_for_close(conn)
                    return
                chunk = conn.recv(65536)
                if not chunk:
                    break
                received += len(chunk)
                if action == "reset" and received >= 8192:
                    reset(conn)
                    self.state.log("stored-part %s %d" % (arg, received))
                    self.send("426 Connection closed; transfer aborted")
                    return
        except OSError:
            return
        conn.close()
        self.state.log("stored %s %d" % (arg, received))
        self.send("226 Transfer complete")

    def do_RNFR(self, arg):
        self.rename_from = arg
        self.send("350 Ready for RNTO")

    def do_RNTO(self, arg):
        self.state.log("renamed %s %s" % (self.rename_from, arg))
        self.send("250 Renamed")

    def do_MFMT(self, arg):
        self.send("213 Modify=%s" % arg)

    def do_DELE(self, arg):
        self.state.log("deleted %s" % arg)
        self.send("250 Deleted")

    def do_ABOR(self, arg):
        self.send("226 Aborted")

    def do_QUIT(self, arg):
        self.send("221 Goodbye")
        return False


def serve_control(state, sock):
    try:
        Control(state, sock).run()
    except OSError:
        pass
    finally:
        try:
            sock.close()
        except OSError:
            pass


def paths_answer(mode, ftp_port, https_port):
    host = "127.0.0.1:%d" % ftp_port
    folder = {"dotdot": "/photos/../../etc", "absolute": "//etc/passwd", "nul": "/pho\x00tos/..\x00/x",
              "backslash": "/photos\\..\\..\\etc"}.get(mode, "/photos")
    user = {"cr": USER + "\rDELE photo.jpg"}.get(mode, USER)
    return ("UploadPath=ftp://%s%s\r\nUploadId=%s\r\nUploadPwd=%s\r\nWebPath=https://localhost:%d/\r\n"
            "DiskSpaceUsed=0\r\nDiskSpacePurchased=1000000000\r\nErrorMsg=\r\n" % (host, folder, user, PASSWORD,
                                                                                 https_port))


def start_https(args, ftp_port, state):
    web = http.server.ThreadingHTTPServer(("127.0.0.1", 0), None)
    https_port = web.server_address[1]
    albums = {
        "albums": "AlbumCount=1\r\nAlbumNum=1\r\nAlbumName=../../Trip\x00\r\nNumPages=1\r\nNumRows=1\r\n"
                  "NumColumns=1\r\nPhoto0=../../../etc/passwd.jpg\r\n",
    }.get(args.paths, "AlbumCount=0\r\n")

    class Web(http.server.BaseHTTPRequestHandler):
        def do_GET(self):
            state.log("GET " + self.path)
            page = self.path.split("?")[0]
            if page == "/getpaths.asp":
                body = paths_answer(args.paths, ftp_port, https_port)
            elif page == "/getalbums.asp":
                body = albums
            else:
                body = "Result=OK\r\n"
            data = body.encode("utf-8")
            self.send_response(200)
            self.send_header("Content-Type", "text/plain")
            self.send_header("Content-Length", str(len(data)))
            self.end_headers()
            self.wfile.write(data)

        def log_message(self, *args):
            pass

    web.RequestHandlerClass = Web
    cert, _, key = args.https.partition(":")
    context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
    context.load_cert_chain(cert, key)
    web.socket = context.wrap_socket(web.socket, server_side=True)
    threading.Thread(target=web.serve_forever, daemon=True).start()
    return https_port


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--fault")
    parser.add_argument("--listing", default="mlsd")
    parser.add_argument("--no-user-folder", action="store_true")
    parser.add_argument("--extra")
    parser.add_argument("--https")
    parser.add_argument("--paths", default="")
    parser.add_argument("--log")
    parser.add_argument("--time-limit", type=float, default=120)
    args = parser.parse_args()
    state = State(args)

    server = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
    server.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
    server.bind(("127.0.0.1", 0))
    server.listen(16)
    ftp_port = server.getsockname()[1]
    reported = start_https(args, ftp_port, state) if args.https else ftp_port
    print("port=%d" % reported, flush=True)

    def stop_with_parent():
        sys.stdin.read()
        os._exit(0)

    threading.Thread(target=stop_with_parent, daemon=True).start()
    threading.Timer(args.time_limit, lambda: os._exit(0)).start()
    while True:
        sock, _ = server.accept()
        threading.Thread(target=serve_control, args=(state, sock), daemon=True).start()


if __name__ == "__main__":
    main()
