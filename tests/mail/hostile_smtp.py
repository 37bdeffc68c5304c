"""An SMTP server on raw sockets that turns hostile at one step of the conversation.

Standard library only. Prints "port=<n>" when listening on 127.0.0.1; ends when its
standard input closes or after --time-limit seconds. It offers STARTTLS (but never
speaks TLS) only with --starttls, and AUTH PLAIN LOGIN (taking any password).

  --fault STEP:ACTION  at STEP (greeting, EHLO, HELO, STARTTLS, AUTH, MAIL, RCPT, DATA,
                       END: the end of the data, QUIT) do ACTION instead of answering:
                         refuse4   a 4xx reply (421 for the greeting, which closes)
                         refuse5   a 5xx reply
                         stall     say nothing, keep the connection open
                         trickle   a reply line a byte at a time, never ending it
                         close     close the connection
                         reset     close with a reset (RST)
                         mute      STARTTLS: say 220, then never begin TLS
                       At HELO, EHLO is refused first so that the client falls back.
  --starttls           offer STARTTLS
  --log FILE           every line received, and "delivered" for a message taken
"""
import argparse
import os
import socket
import struct
import sys
import threading
import time

TRICKLE_SECONDS = 0.3

REFUSALS = {
    "refuse4": "451 4.3.0 Hostile peer says try again later",
    "refuse5": "554 5.7.1 Hostile peer refuses this",
}


class Session:
    def __init__(self, args, sock):
        self.args = args
        self.sock = sock
        self.buffer = b""
        self.step, _, self.action = (args.fault or ":").partition(":")

    def log(self, text):
        if self.args.log:
            with open(self.args.log, "a", encoding="utf-8", errors="backslashreplace") as out:
                out.write(text + "\n")

    def send(self, text):
        self.sock.sendall(text.encode() + b"\r\n")

    def line(self):
        while b"\n" not in self.buffer:
            chunk = self.sock.recv(4096)
            if not chunk:
                return None
            self.buffer += chunk
        line, _, self.buffer = self.buffer.partition(b"\n")
        return line.rstrip(b"\r").decode("utf-8", "replace")

    def hostile(self, step):
        """Does the fault's action at step; "ended" when the conversation is over,
        "answered" when a refusal was the answer, None when step goes on as usual."""
        if step != self.step:
            return None
        self.log("fault %s:%s" % (step, self.action))
        if self.action in REFUSALS:
            refusal = REFUSALS[self.action]
            if step == "greeting" and self.action == "refuse4":
                self.send("421 4.3.2 Hostile peer is not taking mail now")
                return "ended"
            self.send(refusal)
            return "answered"
        if self.action == "close":
            self.sock.close()
        elif self.action == "reset":
            self.sock.setsockopt(socket.SOL_SOCKET, socket.SO_LINGER, struct.pack("ii", 1, 0))
            self.sock.close()
        elif self.action == "trickle":
            try:
                self.sock.sendall(b"2")
                while True:
                    time.sleep(TRICKLE_SECONDS)
                    self.sock.sendall(b"5")
            except OSError:
                pass
        elif self.action == "mute":
            self.send("220 2.0.0 Ready to start TLS")
            self.drain()
        else:
            self.drain()
        return "ended"

    def drain(self):
        try:
            while self.sock.recv(4096):
                pass
        except OSError:
            pass

    def run(self):
        outcome = self.hostile("greeting")
        if outcome == "ended":
            return
        if outcome is None:
            self.send("220 peer.test ESMTP hostile")
        while True:
            line = self.line()
            if line is None:
                return
            self.log(line)
            verb = line.split(" ", 1)[0].upper()
            if verb == "EHLO" and self.step == "HELO":
                self.send("502 5.5.2 EHLO not known here")
                continue
            step = {"AUTH": "AUTH"}.get(verb, verb)
            outcome = self.hostile(step)
            if outcome == "ended":
                return
            if outcome == "answered":
                continue
            if verb == "EHLO":
                extensions = ["peer.test", "AUTH PLAIN LOGIN", "8BITMIME"]
                if self.args.starttls:
                    extensions.append("STARTTLS")
                for extension in extensions[:-1]:
                    self.send("250-" + extension)
                self.send("250 " + extensions[-1])
            elif verb == "HELO":
                self.send("250 peer.test")
            elif verb == "STARTTLS":
                self.send("454 4.7.0 TLS not available after all")
            elif verb == "AUTH":
                if line.upper().startswith("AUTH LOGIN"):
                    self.send("334 VXNlcm5hbWU6")
                    self.line()
                    self.send("334 UGFzc3dvcmQ6")
                    self.line()
                self.send("235 2.7.0 Authentication successful")
            elif verb in ("MAIL", "RCPT", "RSET", "NOOP"):
                self.send("250 2.0.0 OK")
            elif verb == "DATA":
                self.send("354 End data with <CR><LF>.<CR><LF>")
                while True:
                    data = self.line()
                    if data is None:
                        return
                    if data == ".":
                        break
                outcome = self.hostile("END")
                if outcome == "ended":
                    return
                if outcome is None:
                    self.log("delivered")
                    self.send("250 2.0.0 Queued")
            elif verb == "QUIT":
                self.send("221 2.0.0 Bye")
                return
            else:
                self.send("502 5.5.2 Command not recognized")


def serve(args, sock):
    try:
        Session(args, sock).run()
    except OSError:
        pass
    finally:
        try:
            sock.close()
        except OSError:
            pass


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--fault")
    parser.add_argument("--starttls", action="store_true")
    parser.add_argument("--log")
    parser.add_argument("--time-limit", type=float, default=120)
    args = parser.parse_args()

    server = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
    server.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
    server.bind(("127.0.0.1", 0))
    server.listen(8)
    print("port=%d" % server.getsockname()[1], flush=True)

    def stop_with_parent():
        sys.stdin.read()
        os._exit(0)

    threading.Thread(target=stop_with_parent, daemon=True).start()
    threading.Timer(args.time_limit, lambda: os._exit(0)).start()
    while True:
        sock, _ = server.accept()
        threading.Thread(target=serve, args=(args, sock), daemon=True).start()


if __name__ == "__main__":
    main()
