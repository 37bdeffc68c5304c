"""The upload server on a PostgreSQL database (a private cluster). Exits 77 when
PostgreSQL's programs or psycopg2 are missing."""

import ftplib
import importlib.util
import io
import os
import tempfile
import unittest

import ftp_testing as ft

ANN, BOB = "123456789", "234567891"


def setUpModule():
    global work, cluster, server
    work = tempfile.TemporaryDirectory(prefix="upload-postgres-")
    cluster = ft.PostgresCluster(work.name)
    try:
        ft.make_postgres_database(cluster)
        ft.add_postgres_user(cluster, ANN, "ann's upload", 5000)
        server = ft.UploadServer(os.path.join(work.name, "upload"),
                                 cluster.conninfo("brivane"),
                                 os.path.join(work.name, "server.log"))
    except Exception:
        cluster.stop()
        raise


def tearDownModule():
    server.stop()
    cluster.stop()
    work.cleanup()


def connect(user, password):
    return ft.log_in(server.port, user, password)


class PostgresAccounts(unittest.TestCase):
    def test_log_in_upload_and_space_come_from_postgresql(self):
        with self.assertRaises(ftplib.error_perm):
            connect(ANN, "wrong")
        ftp = connect(ANN, "ann's upload")
        ftp.mkd("/photos/" + ANN)
        ftp.cwd("/photos/" + ANN)
        ftp.storbinary("STOR a.jpg", io.BytesIO(b"a" * 5000))
        with self.assertRaises(ftplib.error_perm) as caught:
            ftp.storbinary("STOR b.jpg", io.BytesIO(b"b"))
        self.assertTrue(str(caught.exception).startswith("552"), caught.exception)
        ftp.quit()
        self.assertEqual(os.listdir(os.path.join(work.name, "upload", "photos", ANN)),
                         ["a.jpg"])

    def test_account_created_while_running_logs_in(self):
        with self.assertRaises(ftplib.error_perm):
            connect(BOB, "bob")
        ft.add_postgres_user(cluster, BOB, "bob", 1000)
        connect(BOB, "bob").quit()


if __name__ == "__main__":
    if ft.postgres_bin() is None:
        ft.skip("PostgreSQL's server programs are not installed (postgresql)")
    if importlib.util.find_spec("psycopg2") is None:
        ft.skip("psycopg2 is not installed (python3-psycopg2)")
    unittest.main()
