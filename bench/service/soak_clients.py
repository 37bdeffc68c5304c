#!/usr/bin/python3
"""Clients for a soak of brivane-service: N threads, each a user of its own, that sign up
and then, until the time is up, save and delete photos, albums, pages and places over the
service's HTTP requests and upload photo files by FTP, as Brivane does. Each client keeps
what the service must hold after every answer that said the request succeeded; a request
that failed or got no answer leaves its item uncertain. At the end every user's records
(the owner's page and getalbums.asp) and uploaded files are compared with that.

    soak_clients.py --http PORT --ftp PORT --data DIR --clients 50 --seconds 300 [--seed N]

Prints "key value" lines and, for any difference, lines starting "MISMATCH".
"""

import argparse
import ftplib
import hashlib
import http.client
import html
import io
import os
import random
import re
import sqlite3
import subprocess
import threading
import time
import urllib.parse

CARD = re.compile(r'<div class="name">([^<]*)</div>(?:<div class="comment">([^<]*)</div>)?')


def quote(text):
    return urllib.parse.quote(text, safe="")


class Client(threading.Thread):
    def __init__(self, number, args, deadline, seed):
        super().__init__(daemon=True)
        self.number = number
        self.args = args
        self.deadline = deadline
        self.random = random.Random(seed)
        self.connection = None
        self.latencies = []
        self.counts = {}
        self.errors = {}
        self.problems = []
        self.user = None
        self.password = "pw%d" % number
        self.timed = True
        self.upload_password = None
        self.photos = {}            # name -> comment
        self.uncertain_photos = set()
        self.albums = {}            # name -> {"id", "pages": [None | {"rows", "cols", "slots": {}}]}
        self.uncertain_albums = set()
        self.files = {}             # file name -> sha256
        self.uncertain_files = set()
        self.next_name = 0

    # One GET over the client's kept-alive connection; (ok, body).
    def get(self, kind, path):
        started = time.monotonic()
        body = None
        for attempt in range(2):
            try:
                if self.connection is None:
                    self.connection = http.client.HTTPConnection("127.0.0.1", self.args.http, timeout=60)
                self.connection.request("GET", path)
                response = self.connection.getresponse()
                data = response.read()
                status = response.status
                if response.getheader("Connection", "").lower() == "close":
                    self.connection.close()
                    self.connection = None
                body = data.decode("utf-8", "replace")
                break
            except (OSError, http.client.HTTPException) as problem:
                if self.connection is not None:
                    self.connection.close()
                    self.connection = None
                # A kept-alive connection the server closed meanwhile: once more, fresh.
                if attempt == 1 or not isinstance(problem, (http.client.RemoteDisconnected,
                                                            BrokenPipeError, ConnectionResetError)):
                    self.fail(kind, repr(problem))
                    return False, None
        if self.timed:
            self.latencies.append(time.monotonic() - started)
            self.counts[kind] = self.counts.get(kind, 0) + 1
        error = re.search(r"^ErrorMsg=([^\r\n]+)", body, re.M)
        if status != 200 or error:
            self.fail(kind, "%d %s" % (status, error.group(1) if error else body[:80]))
            return False, body
        return True, body

    def fail(self, kind, text):
        self.errors[kind] = self.errors.get(kind, 0) + 1
        if len(self.problems) < 3:
            self.problems.append("%s: %s" % (kind, text))

    def new_name(self, prefix):
        self.next_name += 1
        return "%s %d & %d" % (prefix, self.number, self.next_name)

    def register(self):
        ok, body = self.get("register", "/register.asp?FirstName=Soak&LastName=Client%%20%d&Address1=1%%20Road"
                            "&Address2=&City=Town&State=ST&Zip=1&Country=&Phone=5&Fax=&Mobile="
                            "&Email=c%d%%40example.org&Password=%s"
                            % (self.number, self.number, quote(self.password)))
        match = ok and re.search(r"^UserId=(\d+)", body, re.M)
        if not match:
            return False
        self.user = match.group(1)
        ok, body = self.get("getpaths", "/getpaths.asp?UserId=" + self.user)
        match = ok and re.search(r"^UploadPwd=([^\r\n]*)", body, re.M)
        self.upload_password = match.group(1) if match else None
        return True

    def save_photo(self):
        if self.photos and self.random.random() < 0.3:
            name = self.random.choice(sorted(self.photos))
        else:
            name = self.new_name("Photo")
        comment = "Client %d's photo, take %d" % (self.number, self.random.randrange(1000))
        ok, _ = self.get("savephoto", "/savephoto.asp?UserId=%s&Photo=%s&Size=%d&W=640&H=480&Comment=%s"
                         % (self.user, quote(name), self.random.randrange(1, 10 ** 6),
                            quote(comment.replace("'", "''"))))
        if ok:
            self.photos[name] = comment
        else:
            self.uncertain_photos.add(name)

    def delete_photo(self):
        if not self.photos:
            return
        name = self.random.choice(sorted(self.photos))
        ok, _ = self.get("deletephoto", "/deletephoto.asp?UserId=%s&Photo=%s" % (self.user, quote(name)))
        del self.photos[name]
        if not ok:
            self.uncertain_photos.add(name)

    def save_album(self):
        if self.albums and self.random.random() < 0.3:
            name = self.random.choice(sorted(self.albums))
        else:
            name = self.new_name("Album")
        pages = self.random.randrange(1, 5)
        ok, body = self.get("savealbum", "/savealbum.asp?UserId=%s&Album=%s&NumPages=%d"
                            % (self.user, quote(name), pages))
        match = ok and re.search(r"^AlbumId=(\d+)", body, re.M)
        if not match:
            self.uncertain_albums.add(name)
            self.albums.pop(name, None)
            return
        album = self.albums.setdefault(name, {"id": match.group(1), "pages": []})
        album["pages"] = (album["pages"] + [None] * pages)[:pages]

    def save_page(self):
        name, album = self.some_album()
        if not album:
            return
        page = self.random.randrange(len(album["pages"]))
        rows, cols = self.random.randrange(1, 4), self.random.randrange(1, 4)
        ok, _ = self.get("savealbumpage", "/savealbumpage.asp?AlbumId=%s&PageNum=%d&NumRows=%d&NumCols=%d"
                         % (album["id"], page, rows, cols))
        if not ok:
            self.uncertain_albums.add(name)
            del self.albums[name]
            return
        old = album["pages"][page]
        slots = {slot: photo for slot, photo in (old["slots"].items() if old else []) if slot < rows * cols}
        album["pages"][page] = {"rows": rows, "cols": cols, "slots": slots}

    def save_place(self):
        name, album = self.some_album()
        if not album:
            return
        laid = [p for p, page in enumerate(album["pages"]) if page]
        if not laid:
            return
        page = self.random.choice(laid)
        layout = album["pages"][page]
        slot = self.random.randrange(layout["rows"] * layout["cols"])
        photo = self.random.choice(sorted(self.photos)) if self.photos and self.random.random() < 0.9 else ""
        ok, _ = self.get("savealbumphoto", "/savealbumphoto.asp?UserId=%s&AlbumId=%s&PageNum=%d&PhotoNum=%d"
                         "&PhotoName=%s" % (self.user, album["id"], page, slot, quote(photo)))
        if not ok:
            self.uncertain_albums.add(name)
            del self.albums[name]
            return
        if photo:
            layout["slots"][slot] = photo
        else:
            layout["slots"].pop(slot, None)

    def delete_album(self):
        name, album = self.some_album()
        if not album:
            return
        ok, _ = self.get("deletealbum", "/deletealbum.asp?UserId=%s&Album=%s" % (self.user, quote(name)))
        del self.albums[name]
        if not ok:
            self.uncertain_albums.add(name)

    def some_album(self):
        if not self.albums:
            return None, None
        name = self.random.choice(sorted(self.albums))
        return name, self.albums[name]

    def read(self):
        self.get("getalbums", "/getalbums.asp?UserId=" + self.user)

    def upload(self):
        if not self.upload_password:
            return
        name = "%s.jpg" % self.new_name("Upload")
        data = os.urandom(self.random.randrange(2000, 20000))
        started = time.monotonic()
        try:
            with ftplib.FTP() as ftp:
                ftp.connect("127.0.0.1", self.args.ftp, timeout=60)
                ftp.login(self.user, self.upload_password)
                try:
                    ftp.cwd("photos/" + self.user)
                except ftplib.error_perm:
                    ftp.mkd("photos/" + self.user)
                    ftp.cwd("photos/" + self.user)
                ftp.storbinary("STOR " + name, io.BytesIO(data))
        except (OSError, EOFError, ftplib.Error) as problem:
            self.fail("ftp upload", repr(problem))
            self.uncertain_files.add(name)
            return
        self.latencies.append(time.monotonic() - started)
        self.counts["ftp upload"] = self.counts.get("ftp upload", 0) + 1
        self.files[name] = hashlib.sha256(data).hexdigest()

    def run(self):
        if not self.register():
            return
        actions = [(self.save_photo, 30), (self.delete_photo, 8), (self.save_album, 10), (self.save_page, 15),
                   (self.save_place, 20), (self.delete_album, 4), (self.read, 8), (self.upload, 5)]
        functions = [a for a, _ in actions]
        weights = [w for _, w in actions]
        while time.monotonic() < self.deadline:
            self.random.choices(functions, weights)[0]()

    # What the service holds for this user, against what it must hold.
    def check(self):
        self.timed = False
        lines = []
        ok, page = self.get("check", "/viewmyphotos.asp?UserId=%s&Pwd=%s" % (self.user, quote(self.password)))
        if not ok:
            return ["user %s: the owner's page did not answer" % self.user], {}
        found = {html.unescape(n): html.unescape(c) for n, c in CARD.findall(page)}
        figures = {"photos": len(found), "albums": 0, "pages": 0, "places": 0, "files": 0}
        for name in sorted(set(found) | set(self.photos)):
            if name in self.uncertain_photos:
                continue
            if name not in found:
                lines.append("user %s: photo %r saved but not held" % (self.user, name))
            elif name not in self.photos:
                lines.append("user %s: photo %r held but never saved (or deleted)" % (self.user, name))
            elif found[name] != self.photos[name]:
                lines.append("user %s: photo %r holds %r, not %r" % (self.user, name, found[name], self.photos[name]))
        ok, body = self.get("check", "/getalbums.asp?UserId=" + self.user)
        held = {}
        album = None
        for key, value in re.findall(r"^(\w+)=([^\r\n]*)", body or "", re.M):
            if key == "AlbumName":
                album = held.setdefault(value, [])
            elif key == "NumRows":
                album.append({"rows": int(value), "slots": {}})
            elif key == "NumColumns":
                album[-1]["cols"] = int(value)
            elif key.startswith("Photo") and value[:-3]:
                album[-1]["slots"][int(key[5:])] = value[:-3]
        figures["albums"] = len(held)
        for pages in held.values():
            figures["pages"] += len(pages)
            figures["places"] += sum(len(p["slots"]) for p in pages)
        for name in sorted(set(held) | set(self.albums)):
            if name in self.uncertain_albums:
                continue
            if name not in held:
                lines.append("user %s: album %r saved but not held" % (self.user, name))
                continue
            if name not in self.albums:
                lines.append("user %s: album %r held but never saved (or deleted)" % (self.user, name))
                continue
            expected = [p or {"rows": 1, "cols": 1, "slots": {}} for p in self.albums[name]["pages"]]
            if held[name] != expected:
                lines.append("user %s: album %r holds %r, not %r" % (self.user, name, held[name], expected))
        folder = os.path.join(self.args.data, "upload", "photos", self.user)
        present = {}
        if os.path.isdir(folder):
            for entry in os.listdir(folder):
                with open(os.path.join(folder, entry), "rb") as f:
                    present[entry] = hashlib.sha256(f.read()).hexdigest()
        figures["files"] = len(present)
        for entry in sorted(set(present) | set(self.files)):
            if entry in self.uncertain_files:
                continue
            if entry not in present:
                lines.append("user %s: file %r uploaded but missing" % (self.user, entry))
            elif entry not in self.files:
                lines.append("user %s: file %r present but never uploaded whole" % (self.user, entry))
            elif present[entry] != self.files[entry]:
                lines.append("user %s: file %r differs from what was uploaded" % (self.user, entry))
        return lines, figures


# Rows that no request could have left: pieces of albums, pages or users that are gone,
# and places outside their page. Then the totals of each table.
ORPHANS = {
    "pages_without_album": "SELECT COUNT(*) FROM album_pages p WHERE NOT EXISTS "
                           "(SELECT 1 FROM albums a WHERE a.album_id = p.album_id)",
    "pages_past_the_album": "SELECT COUNT(*) FROM album_pages p JOIN albums a ON a.album_id = p.album_id "
                            "WHERE p.page_num >= a.num_pages",
    "places_without_page": "SELECT COUNT(*) FROM album_slots s WHERE NOT EXISTS (SELECT 1 FROM album_pages p "
                           "WHERE p.album_id = s.album_id AND p.page_num = s.page_num)",
    "places_past_the_page": "SELECT COUNT(*) FROM album_slots s JOIN album_pages p ON p.album_id = s.album_id "
                            "AND p.page_num = s.page_num WHERE s.photo_num >= p.num_rows * p.num_cols",
    "photos_without_user": "SELECT COUNT(*) FROM photos h WHERE NOT EXISTS "
                           "(SELECT 1 FROM users u WHERE u.user_id = h.user_id)",
    "albums_without_user": "SELECT COUNT(*) FROM albums a WHERE NOT EXISTS "
                           "(SELECT 1 FROM users u WHERE u.user_id = a.user_id)",
}
TOTALS = ["users", "photos", "albums", "album_pages", "album_slots"]


def database_counts(args):
    queries = dict(ORPHANS)
    for table in TOTALS:
        queries["rows_" + table] = "SELECT COUNT(*) FROM " + table
    counts = {}
    if args.postgres:
        for key, sql in queries.items():
            out = subprocess.run([args.psql, "-At", "-d", args.postgres, "-c", sql], capture_output=True, text=True)
            counts[key] = int(out.stdout.strip() or -1)
    else:
        with sqlite3.connect("file:%s?mode=ro" % os.path.join(args.data, "service.db"), uri=True) as db:
            for key, sql in queries.items():
                counts[key] = db.execute(sql).fetchone()[0]
    return counts


def percentile(values, share):
    if not values:
        return 0.0
    return values[min(len(values) - 1, int(share * len(values)))] * 1000


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--http", type=int, required=True)
    parser.add_argument("--ftp", type=int, required=True)
    parser.add_argument("--data", required=True)
    parser.add_argument("--clients", type=int, default=50)
    parser.add_argument("--seconds", type=float, default=300)
    parser.add_argument("--seed", type=int, default=1)
    parser.add_argument("--postgres", help="the service's PostgreSQL connection string (else SQLite in --data)")
    parser.add_argument("--psql", default="/usr/lib/postgresql/15/bin/psql")
    args = parser.parse_args()

    started = time.monotonic()
    deadline = started + args.seconds
    clients = [Client(n, args, deadline, args.seed * 1000 + n) for n in range(args.clients)]
    for client in clients:
        client.start()
    for client in clients:
        client.join(args.seconds + 300)
    elapsed = time.monotonic() - started
    stuck = sum(client.is_alive() for client in clients)

    latencies = sorted(l for client in clients for l in client.latencies)
    counts, errors = {}, {}
    for client in clients:
        for kind, n in client.counts.items():
            counts[kind] = counts.get(kind, 0) + n
        for kind, n in client.errors.items():
            errors[kind] = errors.get(kind, 0) + n
    requests = sum(counts.values())
    print("clients %d" % args.clients)
    print("signed_up %d" % sum(client.user is not None for client in clients))
    print("stuck_clients %d" % stuck)
    print("seconds %.1f" % elapsed)
    print("requests %d" % requests)
    print("requests_per_second %.1f" % (requests / elapsed))
    print("errors %d" % sum(errors.values()))
    for kind in sorted(counts):
        print("count_%s %d" % (kind.replace(" ", "_"), counts[kind]))
    for kind in sorted(errors):
        print("errors_%s %d" % (kind.replace(" ", "_"), errors[kind]))
    for label, share in (("p50", 0.5), ("p90", 0.9), ("p99", 0.99), ("p999", 0.999)):
        print("latency_%s_ms %.1f" % (label, percentile(latencies, share)))
    print("latency_max_ms %.1f" % (latencies[-1] * 1000 if latencies else 0))
    for client in clients:
        for problem in client.problems[:1]:
            print("PROBLEM client %d: %s" % (client.number, problem))

    totals = {"photos": 0, "albums": 0, "pages": 0, "places": 0, "files": 0}
    expected = {"photos": 0, "albums": 0, "files": 0}
    uncertain = 0
    mismatches = 0
    for client in clients:
        if client.user is None:
            continue
        lines, figures = client.check()
        for key, value in figures.items():
            totals[key] += value
        expected["photos"] += len(client.photos)
        expected["albums"] += len(client.albums)
        expected["files"] += len(client.files)
        uncertain += len(client.uncertain_photos) + len(client.uncertain_albums) + len(client.uncertain_files)
        for line in lines:
            mismatches += 1
            if mismatches <= 20:
                print("MISMATCH " + line)
    for key in ("photos", "albums", "files"):
        print("held_%s %d" % (key, totals[key]))
        print("expected_%s %d" % (key, expected[key]))
    print("held_pages %d" % totals["pages"])
    print("held_places %d" % totals["places"])
    print("uncertain_items %d" % uncertain)
    counts = database_counts(args)
    for key, value in counts.items():
        print("db_%s %d" % (key, value))
        if key in ORPHANS and value != 0:
            mismatches += 1
            print("MISMATCH %d rows of %s" % (value, key))
    signed_up = sum(client.user is not None for client in clients)
    for key, held in (("rows_users", signed_up), ("rows_photos", totals["photos"]), ("rows_albums", totals["albums"])):
        if counts[key] != held:
            mismatches += 1
            print("MISMATCH %s: %d in the database, %d in the answers" % (key, counts[key], held))
    print("mismatches %d" % mismatches)


if __name__ == "__main__":
    main()
