"""pure-ftpd for larger installations, on a private PostgreSQL cluster: the queries of
pgsql.conf, and pure-ftpd logging users in through pure-authd and ftp_auth.py.
Exits 77 when pure-ftpd, pure-authd or PostgreSQL's programs are missing."""

import os
import shutil
import socket
import subprocess
import tempfile
import unittest

import ftp_testing as ft

PURE_FTPD = "/usr/sbin/pure-ftpd-postgresql-virtualchroot"
PURE_AUTHD = "/usr/sbin/pure-authd"
CONFIG = os.path.join(ft.SERVICE_FTP, "pure-ftpd")
ANN, BOB = "123456789", "234567891"
ANN_SPACE = 5 * 1024 * 1024 + 1


def setUpModule():
    global work, cluster, processes, port, upload
    work = tempfile.TemporaryDirectory(prefix="pure-ftpd-")
    processes = []
    cluster = ft.PostgresCluster(work.name)
    try:
        ft.make_postgres_database(cluster)
        ft.add_postgres_user(cluster, ANN, "ann-upload", ANN_SPACE)
        ft.add_postgres_user(cluster, BOB, "bob-upload", 3000)
        upload = os.path.join(work.name, "upload")
        os.makedirs(os.path.join(upload, "photos"))
        auth_socket = os.path.join(work.name, "auth.sock")
        env = dict(os.environ, BRIVANE_DATABASE=cluster.conninfo("brivane"),
                   BRIVANE_UPLOAD=upload, BRIVANE_FTP_HOMES=os.path.join(work.name, "homes"),
                   BRIVANE_FTP_USER="nobody")
        start([PURE_AUTHD, "-s", auth_socket, "-r", os.path.join(CONFIG, "ftp_auth.py")], env)
        if not ft.wait_until(lambda: os.path.exists(auth_socket)):
            raise RuntimeError("pure-authd did not start")
        port = ft.free_port()
        start([PURE_FTPD, "-l", "extauth:" + auth_socket, "-S", "127.0.0.1,%d" % port,
               "-A", "-E", "-H", "-x", "-f", "none", "-n", "100000:100000"], env)
        if not ft.wait_until(accepts):
            raise RuntimeError("pure-ftpd did not start")
    except Exception:
        tearDownModule()
        raise


def start(command, env):
    process = subprocess.Popen(command, env=env, stdin=subprocess.DEVNULL,
                               stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    processes.append((process, ft.watchdog("kill %d" % process.pid)))


def accepts():
    try:
        socket.create_connection(("127.0.0.1", port), timeout=1).close()
        return True
    except OSError:
        return False


def tearDownModule():
    for process, guard in reversed(processes):
        process.terminate()
        process.wait(timeout=20)
        guard.kill()
        guard.wait()
    cluster.stop()
    work.cleanup()


def names(listing):
    return [n for n in listing.stdout.split() if not n.startswith(b".")]


def curl(user, password, path, *args):
    return subprocess.run(["curl", "-sS", "--max-time", "20", "-u", user + ":" + password,
                           "ftp://127.0.0.1:%d%s" % (port, path), *args],
                          capture_output=True, stdin=subprocess.DEVNULL)


class PgsqlConf(unittest.TestCase):
    def test_queries_answer_from_the_service_tables(self):
        queries = {}
        with open(os.path.join(CONFIG, "pgsql.conf")) as conf:
            for line in conf:
                key, _, value = line.strip().partition(" ")
                if key.startswith("PGSQLGet"):
                    queries[key] = value.strip()

        def ask(key, user):
            return cluster.psql(queries[key].replace("\\L", user), database="brivane")

        self.assertEqual(ask("PGSQLGetPW", ANN), "ann-upload")
        self.assertEqual(ask("PGSQLGetPW", "999999999"), "")
        self.assertEqual(ask("PGSQLGetDir", ANN), "/srv/brivane/ftp-homes/%s/./" % ANN)
        self.assertEqual(ask("PGSQLGetQTASZ", ANN), "5")
        self.assertEqual(ask("PGSQLGetQTASZ", BOB), "1")
        self.assertGreater(int(ask("PGSQLGetUID", ANN)), 0)
        self.assertGreater(int(ask("PGSQLGetGID", ANN)), 0)


class PureFtpd(unittest.TestCase):
    def test_curl_logs_in_uploads_into_photos_id_and_lists_it(self):
        photo = os.path.join(work.name, "photo.jpg")
        data = os.urandom(100_000)
        with open(photo, "wb") as out:
            out.write(data)
        sent = curl(ANN, "ann-upload", "/photos/%s/photo.jpg" % ANN, "-T", photo)
        self.assertEqual(sent.returncode, 0, sent.stderr)
        listed = curl(ANN, "ann-upload", "/photos/%s/" % ANN, "-l")
        self.assertEqual(names(listed), [b"photo.jpg"])
        with open(os.path.join(upload, "photos", ANN, "photo.jpg"), "rb") as stored:
            self.assertEqual(stored.read(), data)
        # Bob's folder exists once he has logged in; Ann still sees only her own.
        self.assertEqual(curl(BOB, "bob-upload", "/photos/%s/" % BOB, "-l").returncode, 0)
        listed = curl(ANN, "ann-upload", "/photos/", "-l")
        self.assertEqual(names(listed), [ANN.encode()])
        self.assertEqual(curl(ANN, "wrong", "/photos/%s/" % ANN, "-l").returncode, 67)
        # The jail's root holds nothing but photos/.
        outside = curl(ANN, "ann-upload", "/photos/%s/../../../" % ANN, "-l")
        self.assertEqual(names(outside), [b"photos"])

    def test_space_purchased_limits_uploads(self):
        big = os.path.join(work.name, "big.jpg")
        with open(big, "wb") as out:
            out.write(b"x" * 5000)
        sent = curl(BOB, "bob-upload", "/photos/%s/big.jpg" % BOB, "-T", big)
        self.assertEqual(sent.returncode, 70, sent.stderr)  # 552
        self.assertNotIn("big.jpg", os.listdir(os.path.join(upload, "photos", BOB)))


if __name__ == "__main__":
    for program in (PURE_FTPD, PURE_AUTHD):
        if shutil.which(program) is None:
            ft.skip("%s is not installed (pure-ftpd-postgresql)" % program)
    if ft.postgres_bin() is None:
        ft.skip("PostgreSQL's server programs are not installed (postgresql)")
    if os.geteuid() != 0:
        ft.skip("pure-ftpd jails its users only when started as root")
    unittest.main()
