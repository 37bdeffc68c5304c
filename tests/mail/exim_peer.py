"""A private Exim for the mail sender's tests: a stricter SMTP server than aiosmtpd (it
checks command synchronisation, offers PIPELINING, CHUNKING and STARTTLS with a
self-signed certificate), on a free loopback port, keeping every accepted message in
its queue under --folder (spool/input/<id>-H and -D) and its log in --folder.

Prints "port=<n>" when listening; ends when its standard input closes."""
import argparse
import ctypes
import os
import signal
import socket
import subprocess
import sys
import time

CONFIG = """\
primary_hostname = exim.test
spool_directory = {folder}spool
log_file_path = {folder}%slog
pid_file_path = {folder}exim.pid
daemon_smtp_ports = {port}
local_interfaces = 127.0.0.1
exim_user = Debian-exim
exim_group = Debian-exim
queue_only = true
acl_smtp_rcpt = accept
acl_smtp_data = accept
"""


def end_with_peer():
    # PR_SET_PDEATHSIG: Exim goes even when this script is killed.
    ctypes.CDLL(None).prctl(1, signal.SIGTERM)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--folder", required=True)
    args = parser.parse_args()
    folder = os.path.abspath(args.folder) + "/"
    probe = socket.socket()
    probe.bind(("127.0.0.1", 0))
    port = probe.getsockname()[1]
    probe.close()
    os.makedirs(folder + "spool", exist_ok=True)
    # Exim works as its own user in the spool and writes its log beside it.
    os.chmod(folder, 0o777)
    subprocess.run(["chown", "Debian-exim", folder + "spool"], check=True)
    with open(folder + "exim.conf", "w") as f:
        f.write(CONFIG.format(folder=folder, port=port))
    exim = subprocess.Popen(["/usr/sbin/exim4", "-C", folder + "exim.conf", "-bdf", "-oX", str(port)],
                            stdout=subprocess.DEVNULL, preexec_fn=end_with_peer)
    try:
        for _ in range(100):
            try:
                socket.create_connection(("127.0.0.1", port), timeout=1).close()
                break
            except OSError:
                time.sleep(0.1)
        print("port=%d" % port, flush=True)
        sys.stdin.read()
    finally:
        exim.terminate()
        exim.wait()


if __name__ == "__main__":
    main()
