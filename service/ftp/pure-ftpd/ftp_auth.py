#!/usr/bin/python3
"""pure-authd program: logs users of the photo-sharing service in to pure-ftpd.

pure-authd runs it once per log-in with AUTHD_ACCOUNT and AUTHD_PASSWORD set; it
answers with pure-ftpd's "key:value" lines. "ftp_auth.py --prepare ID" only makes
the user's jail. Settings come from the environment:

  BRIVANE_DATABASE   SQLite file or PostgreSQL connection string of the service
  BRIVANE_UPLOAD     the service's upload folder (holds photos/<user id>/)
  BRIVANE_FTP_HOMES  folder for the per-user FTP roots
  BRIVANE_FTP_USER   system user that owns the uploaded files

Each user is jailed in BRIVANE_FTP_HOMES/<id>/, which holds only photos/<id>: a link
to BRIVANE_UPLOAD/photos/<id> (followed by pure-ftpd-postgresql-virtualchroot).
"""

import hmac
import os
import pwd
import re
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
from accounts import Accounts  # noqa: E402

USER_ID = re.compile(r"[0-9]{1,32}")


def folder_totals(folder):
    files = size = 0
    with os.scandir(folder) as entries:
        for entry in entries:
            if entry.is_file(follow_symlinks=False):
                files += 1
                size += entry.stat(follow_symlinks=False).st_size
    return files, size


def prepare_home(user_id, upload, homes, uid, gid):
    """Makes the user's jail and storage folder; returns the jail."""
    storage = os.path.join(upload, "photos", user_id)
    home = os.path.join(homes, user_id)
    os.makedirs(storage, exist_ok=True)
    os.chown(storage, uid, gid)
    os.makedirs(os.path.join(home, "photos"), exist_ok=True)
    # The jail itself belongs to the user so that pure-ftpd can keep .ftpquota there.
    os.chown(home, uid, gid)
    link = os.path.join(home, "photos", user_id)
    if not os.path.islink(link):
        os.symlink(storage, link)
    # pure-ftpd does not count through the link: tell it what the folder holds now.
    files, size = folder_totals(storage)
    quota = os.path.join(home, ".ftpquota")
    with open(quota + ".new", "w") as out:
        out.write("%d %d\n" % (files, size))
    os.chmod(quota + ".new", 0o600)
    os.chown(quota + ".new", uid, gid)
    os.replace(quota + ".new", quota)
    return home


def answer(env):
    """The lines for pure-ftpd."""
    account = env.get("AUTHD_ACCOUNT", "")
    password = env.get("AUTHD_PASSWORD", "")
    if not USER_ID.fullmatch(account):
        return ["auth_ok:0"]
    row = Accounts(env["BRIVANE_DATABASE"]).user(account)
    if row is None:
        return ["auth_ok:0"]
    if not hmac.compare_digest(password.encode(), str(row[0]).encode()):
        return ["auth_ok:-1"]
    user = pwd.getpwnam(env["BRIVANE_FTP_USER"])
    home = prepare_home(account, env["BRIVANE_UPLOAD"], env["BRIVANE_FTP_HOMES"],
                        user.pw_uid, user.pw_gid)
    return ["auth_ok:1", "uid:%d" % user.pw_uid, "gid:%d" % user.pw_gid,
            "dir:%s/./" % home, "user_quota_size:%d" % int(row[1]),
            "slow_tilde_expansion:1"]


def main():
    # pure-authd runs this with umask 077, which would lock the user out of the jail.
    os.umask(0o022)
    if len(sys.argv) == 3 and sys.argv[1] == "--prepare":
        # For back-ends that cannot make the jail at log-in (pgsql.conf).
        user = pwd.getpwnam(os.environ["BRIVANE_FTP_USER"])
        print(prepare_home(sys.argv[2], os.environ["BRIVANE_UPLOAD"],
                           os.environ["BRIVANE_FTP_HOMES"], user.pw_uid, user.pw_gid))
        return
    try:
        lines = answer(os.environ)
    except Exception as err:
        print("ftp_auth: %s" % err, file=sys.stderr)
        lines = ["auth_ok:-1"]
    print("\n".join(lines + ["end"]))


if __name__ == "__main__":
    main()
