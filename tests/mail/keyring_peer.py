"""A private secret service for the password store's tests: a session bus of its own with
an unlocked gnome-keyring-daemon on it, in a temporary home.

Prints "address=<bus address>" once the service answers; ends both when its standard
input closes (the test ended)."""
import ctypes
import os
import signal
import shutil
import subprocess
import sys
import tempfile
import time


def end_with_peer():
    # PR_SET_PDEATHSIG: the servers go even when this script is killed.
    ctypes.CDLL(None).prctl(1, signal.SIGTERM)


def main():
    home = tempfile.mkdtemp(prefix="brivane-keyring-")
    run = os.path.join(home, "run")
    os.mkdir(run, 0o700)
    env = dict(os.environ, HOME=home, XDG_RUNTIME_DIR=run, XDG_DATA_HOME=os.path.join(home, "data"),
               XDG_CONFIG_HOME=os.path.join(home, "config"))
    bus = subprocess.Popen(["dbus-daemon", "--session", "--nofork", "--print-address=1"],
                           stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, env=env, text=True,
                           preexec_fn=end_with_peer)
    address = bus.stdout.readline().strip()
    env["DBUS_SESSION_BUS_ADDRESS"] = address
    keyring = subprocess.Popen(["gnome-keyring-daemon", "--unlock", "--components=secrets", "--foreground"],
                               stdin=subprocess.PIPE, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                               env=env, preexec_fn=end_with_peer)
    keyring.stdin.write(b"keyring-test")
    keyring.stdin.close()
    try:
        for _ in range(100):
            reply = subprocess.run(["dbus-send", "--session", "--print-reply", "--dest=org.freedesktop.DBus",
                                    "/org/freedesktop/DBus", "org.freedesktop.DBus.NameHasOwner",
                                    "string:org.freedesktop.secrets"], env=env, capture_output=True, text=True)
            if "boolean true" in reply.stdout:
                print("address=" + address, flush=True)
                sys.stdin.read()
                break
            time.sleep(0.1)
        else:
            print("the secret service did not start", flush=True)
    finally:
        keyring.terminate()
        bus.terminate()
        keyring.wait()
        bus.wait()
        shutil.rmtree(home, ignore_errors=True)


if __name__ == "__main__":
    main()
