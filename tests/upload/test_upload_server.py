"""The upload server on an SQLite database, driven by ftplib and the curl program."""

import concurrent.futures
import ftplib
import io
import os
import signal
import subprocess
import tempfile
import unittest

import ftp_testing as ft

ANN, BOB, CAROL, DAN, EVE = "123456789", "234567891", "345678912", "456789123", "567891234"
PASSWORD = "Up1oadPassw0rdAbCdEf"
SPACE = 10_000  # Eve's; the others have plenty


def setUpModule():
    global work, db_path, root, server
    work = tempfile.TemporaryDirectory(prefix="upload-server-")
    db_path = os.path.join(work.name, "service.db")
    root = os.path.join(work.name, "upload")
    ft.make_sqlite(db_path)
    for user in (ANN, BOB, CAROL):
        ft.add_sqlite_user(db_path, user, PASSWORD, 1 << 30)
    ft.add_sqlite_user(db_path, EVE, PASSWORD, SPACE)
    server = ft.UploadServer(root, db_path, os.path.join(work.name, "server.log"))


def tearDownModule():
    server.stop()
    work.cleanup()


def folder(user):
    return os.path.join(root, "photos", user)


def connect(user=ANN, password=PASSWORD):
    return ft.log_in(server.port, user, password)


def own_folder(user):
    ftp = connect(user)
    if not os.path.isdir(folder(user)):
        ftp.mkd("/photos/%s" % user)
    ftp.cwd("/photos/%s" % user)
    return ftp


def empty(user):
    for name in os.listdir(folder(user)):
        os.unlink(os.path.join(folder(user), name))


def store(ftp, name, data):
    ftp.storbinary("STOR " + name, io.BytesIO(data))


def refused_store(ftp, name, data):
    """The reply to a STOR that the server ends early."""
    ftp.voidcmd("TYPE I")
    conn = ftp.transfercmd("STOR " + name)
    try:
        conn.sendall(data)
    except OSError:
        pass
    conn.close()
    try:
        return ftp.voidresp()
    except ftplib.Error as err:
        return str(err)


def retrieve(ftp, name):
    out = io.BytesIO()
    ftp.retrbinary("RETR " + name, out.write)
    return out.getvalue()


def curl(*args):
    return subprocess.run(["curl", "-sS", "--max-time", "20", *args],
                          capture_output=True, stdin=subprocess.DEVNULL)


def url(path):
    return "ftp://127.0.0.1:%d%s" % (server.port, path)


class LogIn(unittest.TestCase):
    def test_only_the_user_id_with_its_upload_password_logs_in(self):
        connect().quit()

        def refused(user, password):
            with self.assertRaises(ftplib.error_perm) as caught:
                connect(user, password)
            return str(caught.exception)[:3]

        attempts = [(ANN, "wrong"), (ANN, PASSWORD.lower()), ("999999999", PASSWORD),
                    ("anonymous", "guest@"), (ANN, "")]
        with concurrent.futures.ThreadPoolExecutor(len(attempts)) as pool:
            codes = list(pool.map(lambda a: refused(*a), attempts))
        self.assertEqual(codes, ["530"] * len(attempts))

    def test_account_created_while_running_logs_in(self):
        with self.assertRaises(ftplib.error_perm):
            connect(DAN)
        ft.add_sqlite_user(db_path, DAN, "another", SPACE)
        connect(DAN, "another").quit()


class FolderRules(unittest.TestCase):
    def test_root_and_photos_are_entered_but_never_listed(self):
        ftp = connect()
        for path in ("/", "/photos"):
            ftp.cwd(path)
            for command in ("LIST", "NLST", "MLSD"):
                with self.assertRaises(ftplib.error_perm, msg=command + " " + path):
                    ftp.retrlines(command, lambda line: None)
        self.assertNotEqual(curl("-u", ANN + ":" + PASSWORD, url("/photos/")).returncode, 0)
        ftp.quit()

    def test_another_users_folder_is_refused(self):
        bob = own_folder(BOB)
        store(bob, "bob.jpg", b"bob's photo")
        bob.quit()
        ftp = connect()
        other = "/photos/%s/" % BOB
        attempts = [lambda: ftp.cwd(other),
                    lambda: ftp.nlst(other),
                    lambda: retrieve(ftp, other + "bob.jpg"),
                    lambda: store(ftp, other + "mine.jpg", b"x"),
                    lambda: ftp.delete(other + "bob.jpg"),
                    lambda: ftp.rename(other + "bob.jpg", other + "gone.jpg"),
                    lambda: ftp.size(other + "bob.jpg"),
                    lambda: ftp.sendcmd("MDTM " + other + "bob.jpg"),
                    lambda: ftp.mkd("/photos/678912345"),
                    lambda: ftp.mkd("/elsewhere")]
        for attempt in attempts:
            with self.assertRaises(ftplib.error_perm) as caught:
                attempt()
            self.assertTrue(str(caught.exception).startswith("550"), caught.exception)
        self.assertEqual(os.listdir(folder(BOB)), ["bob.jpg"])
        self.assertFalse(os.path.exists(os.path.join(root, "photos", "678912345")))
        self.assertFalse(os.path.exists(os.path.join(root, "elsewhere")))
        ftp.quit()

    def test_own_folder_is_made_once_and_holds_no_folders(self):
        ftp = connect(CAROL)
        with self.assertRaises(ftplib.error_perm):
            ftp.cwd(CAROL)
        self.assertEqual(ftp.mkd("/photos/" + CAROL), "/photos/" + CAROL)
        with self.assertRaises(ftplib.error_perm):
            ftp.mkd("/photos/" + CAROL)
        ftp.cwd("/photos")
        ftp.cwd(CAROL)
        ftp.cwd("..")
        self.assertEqual(ftp.pwd(), "/photos")
        with self.assertRaises(ftplib.error_perm):
            ftp.cwd("%s/../%s" % (CAROL, BOB))
        ftp.cwd(CAROL)
        with self.assertRaises(ftplib.error_perm):
            ftp.mkd("sub")
        with self.assertRaises(ftplib.error_perm):
            ftp.rmd("/photos/" + CAROL)
        self.assertTrue(os.path.isdir(folder(CAROL)))
        self.assertEqual(os.listdir(folder(CAROL)), [])
        ftp.quit()

    def test_hostile_names_are_refused(self):
        ftp = own_folder(ANN)
        names = ["../escape.jpg", "..", "../%s/x.jpg" % BOB, "sub/x.jpg", "a\x01b.jpg",
                 "tab\there.jpg", "back\\slash.jpg", "del\x7f.jpg", ".upload-x"]
        before = sorted(os.listdir(folder(ANN)))
        for name in names:
            with self.assertRaises(ftplib.error_perm, msg=repr(name)) as caught:
                store(ftp, name, b"x")
            self.assertIn(str(caught.exception)[:3], ("550", "553"), repr(name))
        with self.assertRaises(ftplib.error_perm):
            ftp.rename("nothing.jpg", "../../escape.jpg")
        self.assertEqual(sorted(os.listdir(folder(ANN))), before)
        self.assertEqual(sorted(os.listdir(root)), ["photos"])
        # ftplib sends any character but CR and LF: a NUL goes in raw.
        ftp.sock.sendall(b"DELE a\x00b.jpg\r\n")
        with self.assertRaises(ftplib.error_perm) as caught:
            ftp.getresp()
        self.assertTrue(str(caught.exception).startswith("553"), caught.exception)
        ftp.quit()


class Transfers(unittest.TestCase):
    def setUp(self):
        own_folder(ANN).quit()
        empty(ANN)

    def test_store_and_retrieve_byte_for_byte_passive_and_active(self):
        data = os.urandom(300_000) + bytes(range(256)) + b"\r\n\n\r"
        for passive in (True, False):
            ftp = own_folder(ANN)
            ftp.set_pasv(passive)
            name = "photo-%s.jpg" % ("passive" if passive else "active")
            store(ftp, name, data)
            self.assertEqual(retrieve(ftp, name), data)
            ftp.quit()
        with open(os.path.join(work.name, "curl-in.jpg"), "wb") as out:
            out.write(data)
        for mode in ([], ["-P", "-"]):
            sent = curl(*mode, "-u", ANN + ":" + PASSWORD, "-T",
                        os.path.join(work.name, "curl-in.jpg"),
                        url("/photos/%s/curl.jpg" % ANN))
            self.assertEqual(sent.returncode, 0, sent.stderr)
            got = curl(*mode, "-u", ANN + ":" + PASSWORD, url("/photos/%s/curl.jpg" % ANN))
            self.assertEqual(got.stdout, data, mode)

    def test_mlsd_gives_size_and_utc_time_that_mfmt_sets(self):
        ftp = own_folder(ANN)
        store(ftp, "Fish && Chips.jpg", b"12345")
        reply = ftp.sendcmd("MFMT 20200102030405 Fish && Chips.jpg")
        self.assertTrue(reply.startswith("213"), reply)
        facts = dict(ftp.mlsd(facts=["size", "modify", "type"]))["Fish && Chips.jpg"]
        self.assertEqual((facts["size"], facts["modify"], facts["type"]),
                         ("5", "20200102030405", "file"))
        self.assertEqual(ftp.sendcmd("MDTM Fish && Chips.jpg"), "213 20200102030405")
        ftp.voidcmd("TYPE I")
        self.assertEqual(ftp.size("Fish && Chips.jpg"), 5)
        self.assertEqual(os.stat(os.path.join(folder(ANN), "Fish && Chips.jpg")).st_mtime,
                         1577934245)
        ftp.quit()

    def test_rename_and_delete_in_own_folder(self):
        ftp = own_folder(ANN)
        store(ftp, "old name.jpg", b"photo")
        ftp.rename("old name.jpg", "new name.jpg")
        self.assertIn("new name.jpg", ftp.nlst())
        self.assertNotIn("old name.jpg", ftp.nlst())
        ftp.delete("new name.jpg")
        with self.assertRaises(ftplib.error_perm):
            ftp.delete("new name.jpg")
        ftp.quit()


class Space(unittest.TestCase):
    """Eve has SPACE bytes; each test starts from an empty folder."""

    def setUp(self):
        self.ftp = own_folder(EVE)
        empty(EVE)

    def tearDown(self):
        self.ftp.close()

    def files(self):
        return sorted(os.listdir(folder(EVE)))

    def content(self, name):
        with open(os.path.join(folder(EVE), name), "rb") as f:
            return f.read()

    def test_announced_size_over_the_limit_is_refused_before_data(self):
        store(self.ftp, "a.jpg", b"a" * 4000)
        self.assertTrue(self.ftp.sendcmd("ALLO 7000").startswith("200"))
        with self.assertRaises(ftplib.error_perm) as caught:
            self.ftp.storbinary("STOR b.jpg", io.BytesIO(b""))
        self.assertTrue(str(caught.exception).startswith("552"), caught.exception)
        self.assertEqual(self.files(), ["a.jpg"])
        # Replacing a.jpg frees its bytes.
        self.ftp.sendcmd("ALLO 10000")
        store(self.ftp, "a.jpg", b"b" * 10000)
        self.assertEqual(self.content("a.jpg"), b"b" * 10000)

    def test_upload_past_the_limit_is_aborted_keeping_the_old_file(self):
        store(self.ftp, "keep.jpg", b"old" * 1000)
        store(self.ftp, "other.jpg", b"o" * 5000)
        for data in (b"n" * (SPACE - 5000 + 1), os.urandom(200_000)):
            reply = refused_store(self.ftp, "keep.jpg", data)
            self.assertTrue(reply.startswith("552"), reply)
            self.assertEqual(self.files(), ["keep.jpg", "other.jpg"])
            self.assertEqual(self.content("keep.jpg"), b"old" * 1000)
        store(self.ftp, "keep.jpg", b"n" * (SPACE - 5000))
        self.assertEqual(self.content("keep.jpg"), b"n" * (SPACE - 5000))
        sent = curl("-u", EVE + ":" + PASSWORD, "-T", __file__,
                    url("/photos/%s/big.jpg" % EVE))
        self.assertEqual(sent.returncode, 70, sent.stderr)  # curl: remote disk full
        self.assertEqual(self.files(), ["keep.jpg", "other.jpg"])

    def test_overwrite_keeps_the_old_file_until_complete(self):
        store(self.ftp, "photo.jpg", b"old photo")
        self.ftp.voidcmd("TYPE I")
        conn = self.ftp.transfercmd("STOR photo.jpg")
        conn.sendall(b"new ")
        watcher = own_folder(EVE)
        self.assertEqual(watcher.nlst(), ["photo.jpg"])
        self.assertEqual(self.content("photo.jpg"), b"old photo")
        conn.sendall(b"photo")
        conn.close()
        self.ftp.voidresp()
        self.assertEqual(self.content("photo.jpg"), b"new photo")
        self.assertEqual(self.files(), ["photo.jpg"])
        # A dropped connection leaves the old file and no partial one.
        conn = self.ftp.transfercmd("STOR photo.jpg")
        conn.sendall(b"half")
        self.ftp.close()
        conn.close()
        self.assertTrue(ft.wait_until(lambda: self.files() == ["photo.jpg"]), self.files())
        self.assertEqual(self.content("photo.jpg"), b"new photo")
        self.assertEqual(watcher.nlst(), ["photo.jpg"])
        watcher.quit()


class Process(unittest.TestCase):
    def test_ends_cleanly_on_sigterm_and_sigint_and_drops_leftover_uploads(self):
        leftover = os.path.join(work.name, "own", "photos", ANN, ".upload-crashed")
        os.makedirs(os.path.dirname(leftover))
        with open(leftover, "wb") as out:
            out.write(b"half")
        for sig in (signal.SIGTERM, signal.SIGINT):
            own = ft.UploadServer(os.path.join(work.name, "own"), db_path,
                                  os.path.join(work.name, "own.log"))
            self.assertFalse(os.path.exists(leftover))
            own.process.send_signal(sig)
            self.assertEqual(own.stop(), 0)

    def test_ends_with_its_parent(self):
        parent = subprocess.Popen(
            [ft.PYTHON, "-c", "import subprocess, sys, time\n"
             "p = subprocess.Popen(sys.argv[1:], stdout=subprocess.PIPE)\n"
             "print(p.pid, p.stdout.readline().decode().strip(), flush=True)\n"
             "time.sleep(60)\n",
             ft.PYTHON, ft.UPLOAD_SERVER, "--root", os.path.join(work.name, "child"),
             "--bind", "127.0.0.1", "--port", "0", "--database", db_path,
             "--stop-with-parent"],
            stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
        pid, ready = parent.stdout.readline().decode().split()
        self.assertTrue(ready.startswith("ftp="))
        parent.kill()
        parent.wait()
        parent.stdout.close()

        def gone():
            try:
                os.kill(int(pid), 0)
                return False
            except ProcessLookupError:
                return True
        self.assertTrue(ft.wait_until(gone))

    def test_bad_options_are_named(self):
        result = subprocess.run(
            [ft.PYTHON, ft.UPLOAD_SERVER, "--root", work.name, "--bind", "127.0.0.1",
             "--port", "0", "--database", db_path, "--passive-ports", "60000-50000"],
            capture_output=True, text=True, timeout=20)
        self.assertEqual(result.returncode, 2)
        self.assertIn("--passive-ports", result.stderr)


if __name__ == "__main__":
    unittest.main()
