"""An HTTP server that answers the way a broken or hostile service might.

Prints "port=<n>" when listening; ends when its standard input closes or after two
minutes. The request's path picks the answer (or --answer picks it for every path):
/huge, /barelf, /zeros, /repeat, /binary, /stall, /reset, /echo (the request line), and
  /silent               takes the request, never answers
  /reset-before-headers resets the connection before a byte of the answer
  /reset-mid-headers    resets it half-way through the status line and headers
  /close-mid-headers    closes it there
  /close-mid-body       announces 1000 bytes, closes after a few
  /huge-length          announces 5 GB, closes after a few bytes
  /trickle-headers      the headers a byte every few seconds, never ending
  /trickle-body         the body a byte every few seconds, never ending
  /endless              a body without length and without end
  /update-paths         an update notice whose download names a file path
  /update-nul           an update notice with NUL bytes in its values
"""
import argparse
import os
import socket
import socketserver
import struct
import sys
import threading
import time


# Slower than a byte a second: what the clients count as a stalled transfer.
TRICKLE_SECONDS = 1.5
ANSWER = None


def reset(sock):
    sock.setsockopt(socket.SOL_SOCKET, socket.SO_LINGER, struct.pack("ii", 1, 0))
    sock.close()


def trickle(sock, data):
    try:
        for i in range(len(data)):
            sock.sendall(data[i:i + 1])
            time.sleep(TRICKLE_SECONDS)
        while True:
            sock.sendall(b"x")
            time.sleep(TRICKLE_SECONDS)
    except OSError:
        pass


def hostile(path, sock, head):
    """Answers one of the hostile paths; False when path is none of them."""
    send = sock.sendall
    if path == "/silent":
        time.sleep(120)
    elif path == "/reset-before-headers":
        reset(sock)
    elif path == "/reset-mid-headers":
        send(b"HTTP/1.0 200 OK\r\nContent-Ty")
        reset(sock)
    elif path == "/close-mid-headers":
        send(b"HTTP/1.0 200 OK\r\nContent-Ty")
        sock.close()
    elif path == "/close-mid-body":
        send(b"HTTP/1.0 200 OK\r\nContent-Length: 1000\r\n\r\nUploadPath=ftp://h/f\r\n")
        sock.close()
    elif path == "/huge-length":
        send(b"HTTP/1.0 200 OK\r\nContent-Length: 5368709120\r\n\r\nUploadPath=ftp://h/f\r\n")
        sock.close()
    elif path == "/trickle-headers":
        trickle(sock, b"HTTP/1.0 200 OK\r\nX-Slow: ")
    elif path == "/trickle-body":
        send(head)
        trickle(sock, b"UploadPath=ftp://h/f\r\nVersion=")
    elif path == "/endless":
        send(head)
        block = b"Version=1\r\n" * 4096
        try:
            while True:
                send(block)
        except OSError:
            pass
    elif path == "/update-paths":
        send(head + b"Version=99.0\r\nDownload=file:///etc/passwd\r\nSHA256=" + b"a" * 64 + b"\r\n")
    elif path == "/update-nul":
        send(head + b"Version=99.0\x00\r\nDownload=http://h/../\x00x\r\nSHA256=" + b"a" * 64 + b"\r\n")
    else:
        return False
    return True


class Handler(socketserver.BaseRequestHandler):
    def handle(self):
        data = b""
        while b"\r\n\r\n" not in data:
            chunk = self.request.recv(4096)
            if not chunk:
                return
            data += chunk
        request_line = data.split(b"\r\n", 1)[0]
        path = ANSWER or request_line.split(b" ", 2)[1].split(b"?", 1)[0].decode()
        head = b"HTTP/1.0 200 OK\r\nContent-Type: text/plain\r\n\r\n"
        send = self.request.sendall
        if hostile(path, self.request, head):
            return
        if path == "/huge":
            send(head)
            block = b"UploadPath=" + b"x" * 65536 + b"\r\n"
            try:
                for _ in range(64):
                    send(block)
            except OSError:
                pass
        elif path == "/barelf":
            send(head + b"UploadPath=ftp://h/f\nUploadId=bob\n")
        elif path == "/zeros":
            send(head + b"Upload\x00Id=b\x00ob\r\n")
        elif path == "/repeat":
            send(head + b"UploadId=first\r\nUploadId=second\r\nUploadPath=\r\n")
        elif path == "/binary":
            send(head + bytes(range(256)) * 16)
        elif path == "/stall":
            send(head + b"UploadPath=ftp://h/f\r\nUpload")
            time.sleep(120)
        elif path == "/reset":
            # The length announced is never delivered: the answer breaks off.
            send(b"HTTP/1.0 200 OK\r\nContent-Length: 1000\r\n\r\nUploadPath=ftp://h/f\r\nUploadId=cut")
            self.request.setsockopt(socket.SOL_SOCKET, socket.SO_LINGER, struct.pack("ii", 1, 0))
        elif path == "/echo":
            send(head + b"Request=" + request_line + b"\r\n")
        else:
            send(head + b"UploadPath=ftp://h/f\r\nUploadId=ok\r\n")


class Server(socketserver.ThreadingTCPServer):
    daemon_threads = True
    allow_reuse_address = True


def main():
    global ANSWER
    parser = argparse.ArgumentParser()
    parser.add_argument("--answer")
    ANSWER = parser.parse_args().answer
    server = Server(("127.0.0.1", 0), Handler)
    print("port=%d" % server.server_address[1], flush=True)

    def stop_with_parent():
        sys.stdin.read()
        os._exit(0)

    threading.Thread(target=stop_with_parent, daemon=True).start()
    threading.Timer(120, lambda: os._exit(0)).start()
    server.serve_forever()


if __name__ == "__main__":
    main()
