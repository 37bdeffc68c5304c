"""Reads the photo-sharing service's users (SQLite file or PostgreSQL)."""

import os
import sqlite3
import sys
import urllib.parse


def is_postgres(conninfo):
    return (conninfo.startswith(("postgresql://", "postgres://"))
            or "host=" in conninfo or "dbname=" in conninfo)


class Accounts:
    """Reads users from the service's database, afresh on every call."""

    def __init__(self, conninfo):
        self.conninfo = conninfo
        self.postgres = is_postgres(conninfo)
        if self.postgres:
            try:
                import psycopg2
            except ImportError:
                sys.exit("a PostgreSQL database needs python3-psycopg2")
            self.psycopg2 = psycopg2

    def describe(self):
        return "PostgreSQL" if self.postgres else self.conninfo

    def _query(self, sql, args):
        if self.postgres:
            conn = self.psycopg2.connect(self.conninfo, connect_timeout=5)
            try:
                conn.set_session(readonly=True, autocommit=True)
                with conn.cursor() as cur:
                    cur.execute(sql.replace("?", "%s"), args)
                    return cur.fetchone()
            finally:
                conn.close()
        uri = "file:%s?mode=ro" % urllib.parse.quote(os.path.abspath(self.conninfo))
        conn = sqlite3.connect(uri, uri=True, timeout=5)
        try:
            return conn.execute(sql, args).fetchone()
        finally:
            conn.close()

    def user(self, user_id):
        """(upload password, space purchased) of the user, or None."""
        return self._query(
            "SELECT upload_password, space_purchased FROM users WHERE user_id = ?",
            (user_id,))

    def check(self):
        self._query("SELECT COUNT(*) FROM users", ())
