"""An HTTP server that answers the way a broken or hostile service might.

Prints "port=<n>" when listening; ends when its standard input closes. The request's path
picks the answer: /huge, /barelf, /zeros, /repeat, /binary, /stall, /reset, /echo (the request line).
"""
import os
import socket
import socketserver
import struct
import sys
import threading
import time


class Handler(socketserver.BaseRequestHandler):
    def handle(self):
        data = b""
        while b"\r\n\r\n" not in data:
            chunk = self.request.recv(4096)
            if not chunk:
                return
            data += chunk
        request_line = data.split(b"\r\n", 1)[0]
        path = request_line.split(b" ", 2)[1].split(b"?", 1)[0].decode()
        head = b"HTTP/1.0 200 OK\r\nContent-Type: text/plain\r\n\r\n"
        send = self.request.sendall
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
    server = Server(("127.0.0.1", 0), Handler)
    print("port=%d" % server.server_address[1], flush=True)

    def stop_with_parent():
        sys.stdin.read()
        os._exit(0)

    threading.Thread(target=stop_with_parent, daemon=True).start()
    server.serve_forever()


if __name__ == "__main__":
    main()
