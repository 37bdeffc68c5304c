#!/usr/bin/python3
"""The photo-sharing service's FTP upload server.

Users log in with their user id and upload password from the service's database and
work only in /photos/<user id>, within the space they purchased. See README.md.
"""

import argparse
import hmac
import ipaddress
import logging
import os
import re
import signal
import socket
import sys
import tempfile

from accounts import Accounts
from pyftpdlib.authorizers import AuthenticationFailed
from pyftpdlib.filesystems import AbstractedFS
from pyftpdlib.handlers import DTPHandler, FTPHandler
from pyftpdlib.servers import FTPServer

log = logging.getLogger("upload-server")

# Uploads are received under this prefix and renamed when complete; clients never see
# or name such files.
PARTIAL_PREFIX = ".upload-"
USER_ID = re.compile(r"[0-9]{1,32}")
BAD_CHARS = re.compile(r"[\x00-\x1f\x7f\\\ufffd]")
STORAGE_EXCEEDED = "552 Exceeded storage allocation."


class UserFolders:
    """Authorizer: the FTP root is the data folder; a user may enter "/" and
    "/photos", create /photos/<own id> and work on the files directly in it."""

    def __init__(self, root, accounts):
        self.root = root
        self.photos = os.path.join(root, "photos")
        self.accounts = accounts

    def validate_authentication(self, username, password, handler):
        peer = handler.remote_ip
        row = None
        if USER_ID.fullmatch(username):
            try:
                row = self.accounts.user(username)
            except Exception as err:
                log.error("database error at log-in of %s: %s", username, err)
                raise AuthenticationFailed("Authentication failed.")
        # Compare against a dummy for unknown users too, so timing tells nothing.
        expected = str(row[0]) if row else "\x00" * 20
        ok = hmac.compare_digest(password.encode("utf-8", "replace"),
                                 expected.encode("utf-8", "replace"))
        if not (ok and row):
            log.info("failed log-in of %r from %s", username[:40], peer)
            raise AuthenticationFailed("Authentication failed.")

    def space_purchased(self, username):
        row = self.accounts.user(username)
        return int(row[1]) if row else None

    def get_home_dir(self, username):
        return self.root

    def has_perm(self, username, perm, path=None):
        if path is None:
            return False
        path = os.path.normpath(path)
        own = os.path.join(self.photos, username)
        if path in (self.root, self.photos):
            return perm == "e"
        if path == own:
            return perm in "elm"
        if os.path.dirname(path) == own and not os.path.basename(path).startswith(
                PARTIAL_PREFIX):
            return perm in "lrdfwT"
        return False

    def get_perms(self, username):
        return "elrdfwT"

    def get_msg_login(self, username):
        return "Logged in."

    def get_msg_quit(self, username):
        return "Goodbye."

    def impersonate_user(self, username, password):
        pass

    def terminate_impersonation(self, username):
        pass


class UploadFS(AbstractedFS):
    """Hides uploads still in progress from listings."""

    def listdir(self, path):
        return [n for n in super().listdir(path) if not n.startswith(PARTIAL_PREFIX)]

    def listdirinfo(self, path):
        return self.listdir(path)


class StorageExceeded(Exception):
    pass


class PartialUpload:
    """The file an upload is received into: a temporary name in the target's folder,
    renamed over the target only when complete, removed otherwise."""

    def __init__(self, target, allowance):
        self.target = target
        self.name = target  # what pyftpdlib logs and reports
        self.allowance = allowance
        self.written = 0
        fd, self.partial = tempfile.mkstemp(prefix=PARTIAL_PREFIX,
                                            dir=os.path.dirname(target))
        self.file = os.fdopen(fd, "wb")

    @property
    def closed(self):
        return self.file.closed

    def write(self, data):
        if self.written + len(data) > self.allowance:
            raise StorageExceeded()
        self.file.write(data)
        self.written += len(data)

    def commit(self):
        self.file.close()
        os.chmod(self.partial, 0o644)
        os.replace(self.partial, self.target)

    def close(self):
        """Abandons the upload unless commit() came first."""
        if not self.file.closed:
            self.file.close()
            try:
                os.unlink(self.partial)
            except FileNotFoundError:
                pass


class UploadDTPHandler(DTPHandler):

    def handle_error(self):
        if isinstance(sys.exc_info()[1], StorageExceeded):
            self._resp = (STORAGE_EXCEEDED, logging.getLogger("pyftpdlib").info)
            self.close()
        else:
            super().handle_error()

    def close(self):
        upload = self.file_obj
        if (not self._closed and self.receive and isinstance(upload, PartialUpload)
                and self.transfer_finished and not upload.closed):
            try:
                upload.commit()
            except OSError as err:
                upload.close()
                self.transfer_finished = False
                self._resp = ("451 Could not store the file: %s." % err.strerror,
                              logging.getLogger("pyftpdlib").warning)
        super().close()


def folder_usage(folder, excluding):
    total = 0
    with os.scandir(folder) as entries:
        for entry in entries:
            if entry.path != excluding and entry.is_file(follow_symlinks=False):
                total += entry.stat(follow_symlinks=False).st_size
    return total


class UploadHandler(FTPHandler):
    abstracted_fs = UploadFS
    dtp_handler = UploadDTPHandler
    banner = "Photo upload server ready."
    auth_failed_timeout = 2
    max_login_attempts = 3
    use_gmt_times = True
    # Only what a photo client needs; the rest would bypass the folder rules or the space limit.
    proto_cmds = {k: v for k, v in FTPHandler.proto_cmds.items()
                  if k not in ("APPE", "STOU", "SITE CHMOD", "RMD", "XRMD")}

    def __init__(self, conn, server, ioloop=None):
        super().__init__(conn, server, ioloop)
        self._allocation = None

    def pre_process_command(self, line, cmd, arg):
        if (self.authenticated and arg and cmd in self.proto_cmds
                and self.proto_cmds[cmd]["perm"]
                and not name_is_acceptable(arg, moving=cmd in ("CWD", "XCWD"))):
            self.respond("553 File name not allowed.")
            return
        super().pre_process_command(line, cmd, arg)

    def ftp_ALLO(self, line):
        try:
            self._allocation = int(line.split()[0])
            if self._allocation < 0:
                raise ValueError
        except (ValueError, IndexError):
            self._allocation = None
            self.respond("501 Invalid size.")
            return
        self.respond("200 Size noted.")

    def ftp_STOR(self, file, mode="w"):
        allocation, self._allocation = self._allocation, None
        if self._restart_position:
            self._restart_position = 0
            self.respond("554 Resuming uploads is not supported.")
            return
        try:
            space = self.authorizer.space_purchased(self.username)
        except Exception as err:
            log.error("database error at upload of %s: %s", self.username, err)
            self.respond("451 Cannot check the storage allocation now.")
            return
        if space is None:
            self.respond("550 The account no longer exists.")
            return
        try:
            used = folder_usage(os.path.dirname(file), excluding=file)
            if allocation is not None and used + allocation > space:
                self.respond(STORAGE_EXCEEDED)
                return
            upload = PartialUpload(file, max(0, space - used))
        except OSError as err:
            self.respond("550 %s." % err.strerror)
            return
        if self.data_channel is not None:
            self.respond("125 Data connection already open. Transfer starting.")
            self.data_channel.file_obj = upload
            self.data_channel.enable_receiving(self._current_type, "STOR")
        else:
            self.respond("150 File status okay. About to open data connection.")
            self._in_dtp_queue = (upload, "STOR")
        return file

    def flush_account(self):
        if self._in_dtp_queue is not None:
            self._in_dtp_queue[0].close()
        super().flush_account()

    def on_login(self, username):
        log.info("log-in of %s from %s", username, self.remote_ip)

    def log_transfer(self, cmd, filename, receive, completed, elapsed, bytes):
        log.info("%s %s %s %s: %d bytes in %.3f s", self.username, cmd,
                 self.fs.fs2ftp(filename) if self.fs else filename,
                 "complete" if completed else "aborted", bytes, elapsed)


def name_is_acceptable(arg, moving=False):
    """Whether a path argument is free of hostile names; ".." only to change folder
    (has_perm still bounds where to)."""
    if BAD_CHARS.search(arg):
        return False
    return all((part != ".." or moving) and not part.startswith(PARTIAL_PREFIX)
               for part in arg.split("/"))


def remove_partials(photos):
    with os.scandir(photos) as folders:
        for folder in folders:
            if folder.is_dir(follow_symlinks=False):
                with os.scandir(folder.path) as entries:
                    for entry in entries:
                        if entry.name.startswith(PARTIAL_PREFIX):
                            os.unlink(entry.path)


def masquerade_address(public_host):
    """The IPv4 address PASV replies announce, or None for a loopback name (EPSV,
    which carries no address, serves IPv6)."""
    if not public_host or public_host == "localhost" or ":" in public_host:
        return None
    try:
        address = socket.gethostbyname(public_host)
    except OSError as err:
        sys.exit("upload-server: cannot resolve --public-host %s: %s" % (public_host, err))
    return None if ipaddress.ip_address(address).is_loopback else address


def port_range(text):
    match = re.fullmatch(r"(\d+)-(\d+)", text)
    if not match or not 1024 <= int(match[1]) <= int(match[2]) <= 65535:
        raise argparse.ArgumentTypeError("expected A-B with 1024 <= A <= B <= 65535")
    return range(int(match[1]), int(match[2]) + 1)


def parse_args(argv):
    parser = argparse.ArgumentParser(description="The photo-sharing service's FTP upload server.")
    parser.add_argument("--root", required=True, help="folder holding photos/<user id>/")
    parser.add_argument("--bind", required=True, help="address to listen on")
    parser.add_argument("--port", required=True, type=int, help="port; 0 picks a free one")
    parser.add_argument("--database", required=True,
                        help="SQLite file, or a PostgreSQL connection string")
    parser.add_argument("--passive-ports", type=port_range, metavar="A-B")
    parser.add_argument("--public-host", help="name clients reach this server by")
    parser.add_argument("--stop-with-parent", action="store_true",
                        help="end when the process that started this one ends")
    return parser.parse_args(argv)


def main(argv=None):
    args = parse_args(argv)
    logging.basicConfig(stream=sys.stderr, level=logging.INFO,
                        format="%(asctime)s upload-server: %(message)s")
    logging.getLogger("pyftpdlib").setLevel(logging.WARNING)

    root = os.path.realpath(args.root)
    photos = os.path.join(root, "photos")
    os.makedirs(photos, exist_ok=True)
    remove_partials(photos)

    accounts = Accounts(args.database)
    try:
        accounts.check()
    except Exception as err:
        # The service may still be creating its tables; log-ins will tell.
        log.warning("database %s not readable yet: %s", accounts.describe(), err)

    UploadHandler.authorizer = UserFolders(root, accounts)
    UploadHandler.passive_ports = args.passive_ports
    UploadHandler.masquerade_address = masquerade_address(args.public_host)
    if UploadHandler.masquerade_address:
        # Clients on this machine still get the loopback address.
        UploadHandler.masquerade_address_map = {"127.0.0.1": "127.0.0.1"}

    try:
        server = FTPServer((args.bind, args.port), UploadHandler)
    except OSError as err:
        sys.exit("upload-server: cannot listen on %s port %d: %s"
                 % (args.bind, args.port, err.strerror))

    def stop(signum, frame):
        raise SystemExit(0)

    signal.signal(signal.SIGTERM, stop)
    signal.signal(signal.SIGINT, stop)

    wake = None
    if args.stop_with_parent:
        parent = os.getppid()

        def check_parent():
            if os.getppid() != parent:
                raise SystemExit(0)

        server.ioloop.call_every(0.5, check_parent)
        # Without a poll timeout the loop sleeps until the next connection.
        wake = 0.5

    print("ftp=%d" % server.address[1], flush=True)
    log.info("serving %s on %s port %d", root, args.bind, server.address[1])
    server.serve_forever(timeout=wake, handle_exit=True)
    log.info("stopped")


if __name__ == "__main__":
    main()
