#!/usr/bin/env python3
"""The program's web site as a test needs it, on 127.0.0.1 (Wine's programs
reach Linux's loopback): the update feed from a file, sent in small blocks
so the reply reaches the program in several pieces, or a site that takes
the request and never answers.

    feed_server.py --ready FILE --requests FILE (--body FILE [--block N] | --silent)

Once listening it writes "<port> <pid>" to the ready file; every request's
head is appended to the requests file. It runs until it is killed.
"""
import argparse
import os
import socket
import threading
import time

FEED_PATH = "/vintracam/vintrafile/update.json"
BLOCK_GAP = 0.02     # seconds between the blocks of a body


def read_head(conn):
    data = b""
    while b"\r\n\r\n" not in data:
        part = conn.recv(4096)
        if not part:
            return None
        data += part
    return data.split(b"\r\n\r\n", 1)[0].decode("latin-1")


def serve(conn, args, lock):
    try:
        conn.setsockopt(socket.IPPROTO_TCP, socket.TCP_NODELAY, 1)
        head = read_head(conn)
        if head is None:
            return
        with lock, open(args.requests, "a") as log:
            log.write(head.replace("\r\n", "\n") + "\n\n")
        if args.silent:
            time.sleep(3600)
            return
        method, path = (head.split("\r\n", 1)[0].split(" ") + ["", ""])[:2]
        if method == "GET" and path == FEED_PATH:
            status, body = "200 OK", open(args.body, "rb").read()
        else:
            status, body = "404 Not Found", b"not found"
        conn.sendall(("HTTP/1.1 %s\r\nContent-Type: application/json\r\n"
                      "Content-Length: %d\r\nConnection: close\r\n\r\n"
                      % (status, len(body))).encode("ascii"))
        for at in range(0, len(body), args.block):
            conn.sendall(body[at:at + args.block])
            time.sleep(BLOCK_GAP)
    except OSError:
        pass  # the program hung up (a reply it refused)
    finally:
        conn.close()


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--ready", required=True)
    ap.add_argument("--requests", required=True)
    ap.add_argument("--body")
    ap.add_argument("--block", type=int, default=40, help="bytes of the body per send")
    ap.add_argument("--silent", action="store_true")
    args = ap.parse_args()

    server = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
    server.bind(("127.0.0.1", 0))
    server.listen(8)
    tmp = args.ready + ".tmp"
    with open(tmp, "w") as f:
        f.write("%d %d\n" % (server.getsockname()[1], os.getpid()))
    os.rename(tmp, args.ready)

    lock = threading.Lock()
    while True:
        conn, _ = server.accept()
        threading.Thread(target=serve, args=(conn, args, lock), daemon=True).start()


if __name__ == "__main__":
    main()
