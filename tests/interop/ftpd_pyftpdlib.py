#!/usr/bin/python3
"""Serves a directory over FTP with pyftpdlib for the interop tests.

Listens on 127.0.0.1 (or the ADDRESS given, such as ::1) only, on a free
port, prints "listening on 127.0.0.1:PORT" ("[::1]:PORT" for IPv6) once
ready, and serves until killed or until its lifetime runs out (so a crashed
test never leaves a server behind).

Usage: ftpd_pyftpdlib.py ROOT USER PASSWORD [LIFETIME_SECONDS [ADDRESS]]
"""
import logging
import os
import sys
import threading

from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.handlers import FTPHandler
from pyftpdlib.servers import FTPServer


def main():
    root, user, password = sys.argv[1:4]
    lifetime = float(sys.argv[4]) if len(sys.argv) > 4 else 300.0
    address = sys.argv[5] if len(sys.argv) > 5 else "127.0.0.1"
    logging.basicConfig(level=logging.WARNING, stream=sys.stderr)
    authorizer = DummyAuthorizer()
    authorizer.add_user(user, password, root, perm="elr")
    handler = FTPHandler
    handler.authorizer = authorizer
    handler.banner = "pyftpdlib ready."
    server = FTPServer((address, 0), handler)
    port = server.socket.getsockname()[1]
    shown = "[%s]" % address if ":" in address else address
    print("listening on %s:%d" % (shown, port), flush=True)
    threading.Timer(lifetime, lambda: os._exit(0)).start()
    server.serve_forever()


if __name__ == "__main__":
    main()
