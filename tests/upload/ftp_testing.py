"""Shared by the upload server tests: the service's users table, the server process, a
private PostgreSQL cluster, and a watchdog that stops servers when the tests die."""

import ftplib
import glob
import os
import shutil
import socket
import sqlite3
import subprocess
import sys
import time

SOURCE = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))
SERVICE_FTP = os.path.join(SOURCE, "service", "ftp")
UPLOAD_SERVER = os.path.join(SERVICE_FTP, "upload_server.py")
PYTHON = "/usr/bin/python3"
SKIP = 77

USERS_TABLE = """
CREATE TABLE IF NOT EXISTS users (
  user_id          TEXT PRIMARY KEY,
  first_name TEXT NOT NULL, last_name TEXT NOT NULL,
  address1 TEXT NOT NULL, address2 TEXT NOT NULL, city TEXT NOT NULL,
  state TEXT NOT NULL, zip TEXT NOT NULL, country TEXT NOT NULL,
  phone TEXT NOT NULL, fax TEXT NOT NULL, mobile TEXT NOT NULL, email TEXT NOT NULL,
  password_hash    TEXT NOT NULL,
  upload_password  TEXT NOT NULL,
  space_used       BIGINT NOT NULL DEFAULT 0,
  space_purchased  BIGINT NOT NULL,
  created          TEXT NOT NULL
)"""

INSERT_USER = """
INSERT INTO users VALUES (?, 'Ann', 'Lee', '1 Main St', '', 'Town', 'ST', '12345', 'US',
  '555', '', '', 'ann@example.com', 'pbkdf2-sha256$100000$00$00', ?, 0, ?,
  '2026-01-01 00:00:00')"""


def make_sqlite(path):
    with sqlite3.connect(path) as db:
        db.execute("PRAGMA journal_mode=WAL")
        db.execute(USERS_TABLE)
    db.close()


def add_sqlite_user(path, user_id, upload_password, space):
    db = sqlite3.connect(path)
    with db:
        db.execute(INSERT_USER, (user_id, upload_password, space))
    db.close()


def log_in(port, user, password):
    """An FTP session on the loopback port, logged in; a refused log-in raises."""
    ftp = ftplib.FTP()
    ftp.connect("127.0.0.1", port, timeout=20)
    try:
        ftp.login(user, password)
    except ftplib.Error:
        ftp.close()
        raise
    return ftp


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


def watchdog(command):
    """Runs the shell command once this test process has gone; kill() the result
    after stopping the server normally."""
    script = "while kill -0 %d 2>/dev/null; do sleep 0.5; done; %s" % (os.getpid(), command)
    return subprocess.Popen(["sh", "-c", script], start_new_session=True,
                            stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                            stderr=subprocess.DEVNULL)


class UploadServer:
    """upload_server.py on a free port of 127.0.0.1."""

    def __init__(self, root, database, log_path, extra=()):
        self.log = open(log_path, "ab")
        self.process = subprocess.Popen(
            [PYTHON, UPLOAD_SERVER, "--root", root, "--bind", "127.0.0.1", "--port", "0",
             "--database", database, "--stop-with-parent", *extra],
            stdin=subprocess.DEVNULL, stdout=subprocess.PIPE, stderr=self.log)
        line = self.process.stdout.readline().decode()
        if not line.startswith("ftp="):
            self.stop()
            raise RuntimeError("upload server did not start; see %s" % log_path)
        self.port = int(line[4:])

    def stop(self):
        if self.process.poll() is None:
            self.process.terminate()
        code = self.process.wait(timeout=20)
        self.process.stdout.close()
        self.log.close()
        return code


def postgres_bin():
    """Folder of PostgreSQL's server programs, or None."""
    found = sorted(glob.glob("/usr/lib/postgresql/*/bin/initdb"),
                   key=lambda p: int(p.split("/")[4]))
    return os.path.dirname(found[-1]) if found else None


class PostgresCluster:
    """A private cluster reached through a Unix socket in its own folder (no TCP)."""

    def __init__(self, parent):
        self.bin = postgres_bin()
        folder = os.path.join(parent, "pg")
        self.data = os.path.join(folder, "pgdata")
        self.socket_dir = os.path.join(folder, "pgsock")
        self.port = free_port()
        os.chmod(parent, 0o755)
        os.makedirs(self.data)
        os.makedirs(self.socket_dir)
        self.as_user = []
        # The server refuses to run as root.
        if os.geteuid() == 0:
            shutil.chown(folder, "postgres")
            for path in (self.data, self.socket_dir):
                shutil.chown(path, "postgres")
            self.as_user = ["runuser", "-u", "postgres", "--"]
        self._run("initdb", "-D", self.data, "-A", "trust", "-U", "postgres",
                  "--no-sync", "-E", "UTF8")
        self._run("pg_ctl", "-D", self.data, "-w", "-l", os.path.join(self.data, "log"),
                  "-o", "-k %s -p %d -c listen_addresses='' -c fsync=off"
                  % (self.socket_dir, self.port), "start")
        self.guard = watchdog(" ".join(self.as_user + [
            os.path.join(self.bin, "pg_ctl"), "-D", self.data, "-m", "immediate", "stop"]))

    def _run(self, program, *args):
        subprocess.run(self.as_user + [os.path.join(self.bin, program), *args], check=True,
                       stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL)

    def conninfo(self, database="postgres", user="postgres"):
        return "host=%s port=%d dbname=%s user=%s" % (self.socket_dir, self.port, database,
                                                     user)

    def psql(self, sql, database="postgres"):
        """Runs SQL; returns the output rows as text (unaligned, tuples only)."""
        result = subprocess.run(
            [os.path.join(self.bin, "psql"), "-X", "-q", "-A", "-t", "-v", "ON_ERROR_STOP=1",
             "-h", self.socket_dir, "-p", str(self.port), "-U", "postgres", "-d", database,
             "-c", sql], check=True, capture_output=True, text=True)
        return result.stdout.strip()

    def stop(self):
        self._run("pg_ctl", "-D", self.data, "-m", "fast", "-w", "stop")
        self.guard.kill()
        self.guard.wait()


def make_postgres_database(cluster, name="brivane"):
    cluster.psql("CREATE DATABASE %s" % name)
    cluster.psql(USERS_TABLE, database=name)


def add_postgres_user(cluster, user_id, upload_password, space, database="brivane"):
    def literal(text):
        return "'%s'" % text.replace("'", "''")
    sql = INSERT_USER.replace("?", "%s") % (literal(user_id), literal(upload_password),
                                           int(space))
    cluster.psql(sql, database=database)


def skip(reason):
    print("SKIPPED: %s" % reason)
    sys.exit(SKIP)


def wait_until(predicate, seconds=15):
    """Polls for an outcome that comes from another process; False when it never came."""
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        if predicate():
            return True
        time.sleep(0.05)
    return predicate()
