#!/usr/bin/env python3
"""A stand-in for the maker's web server, over HTTPS on 127.0.0.1.

    maker_server.py PORT CERT KEY ANSWERS

Every GET of /NAME?QUERY is answered from the file ANSWERS/NAME: its first
line is the HTTP status (or "hang": the connection is accepted and never
answered), the rest is the body, sent as it is. A missing file is a 404.
Each request line is appended to ANSWERS/requests.log, so that tests see
what was asked.
"""
import http.server
import os
import ssl
import sys
import threading
import time


class Handler(http.server.BaseHTTPRequestHandler):
    answers = "."

    def log_message(self, *args):
        pass

    def do_GET(self):
        with open(os.path.join(self.answers, "requests.log"), "a", encoding="utf-8") as log:
            log.write(self.path + "\n")
        name = self.path.split("?", 1)[0].lstrip("/")
        path = os.path.join(self.answers, os.path.basename(name))
        if not name or not os.path.isfile(path):
            self.send_error(404)
            return
        with open(path, "rb") as f:
            status_line, _, body = f.read().partition(b"\n")
        status = status_line.strip().decode()
        if status == "hang":
            time.sleep(3600)
            return
        self.send_response(int(status))
        self.send_header("Content-Type", "text/plain; charset=utf-8")
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)


def main():
    port, cert, key, answers = int(sys.argv[1]), sys.argv[2], sys.argv[3], sys.argv[4]
    Handler.answers = answers
    server = http.server.ThreadingHTTPServer(("127.0.0.1", port), Handler)
    server.daemon_threads = True
    context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
    context.load_cert_chain(cert, key)
    server.socket = context.wrap_socket(server.socket, server_side=True)
    threading.Thread(target=server.serve_forever, daemon=True).start()
    sys.stdout.write("ready\n")
    sys.stdout.flush()
    sys.stdin.read()  # runs until the test closes its end


if __name__ == "__main__":
    main()
