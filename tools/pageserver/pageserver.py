#!/usr/bin/env python3
"""A small HTTP/1.0 page server for tests and demos: serves the files of one
folder on 127.0.0.1 (port 80 by default) as text/html. It is only ever run
inside a private network namespace or on loopback."""
import argparse
import http.server
import os
import socketserver
import sys


class Handler(http.server.SimpleHTTPRequestHandler):
    protocol_version = "HTTP/1.0"
    extensions_map = {"": "text/html", ".html": "text/html", ".htm": "text/html",
                      ".txt": "text/plain", ".gif": "image/gif"}

    def log_message(self, fmt, *args):
        if os.environ.get("PAGESERVER_LOG"):
            sys.stderr.write("pageserver: " + (fmt % args) + "\n")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("folder")
    parser.add_argument("--port", type=int, default=80)
    parser.add_argument("--ready", help="file to create once the server listens")
    args = parser.parse_args()

    os.chdir(args.folder)
    socketserver.TCPServer.allow_reuse_address = True
    with socketserver.ThreadingTCPServer(("127.0.0.1", args.port), Handler) as server:
        server.daemon_threads = True
        if args.ready:
            with open(args.ready, "w") as f:
                f.write(str(os.getpid()))
        server.serve_forever()


if __name__ == "__main__":
    main()
