#!/usr/bin/env python3
"""Loopback stand-ins for the platform tests (standard library only).

login-flow  the two endpoints of a browser login with app passwords; the
            app password it hands out is the account of the WebDAV server
            given with --files-server, so files still go to that server.
            POST to the login address confirms, as the user would in the
            browser; GET /status tells which app passwords were revoked.
truncating  a WebDAV server with one project holding one file, whose
            download breaks off after a few bytes.
silent      accepts connections and never answers.

Prints "PORT <n>" once it listens on 127.0.0.1.
"""

import argparse
import base64
import json
import secrets
import socket
import sys
import threading
from http.server import BaseHTTPRequestHandler, ThreadingHTTPServer
from urllib.parse import parse_qs


def announce(port):
    print(f"PORT {port}", flush=True)


def login_flow(args):
    flows = {}  # token -> confirmed
    revoked = []
    lock = threading.Lock()

    class Handler(BaseHTTPRequestHandler):
        def log_message(self, *_):
            pass

        def base(self):
            return f"http://127.0.0.1:{self.server.server_address[1]}"

        def reply(self, status, body=b"", kind="text/plain"):
            self.send_response(status)
            self.send_header("Content-Type", kind)
            self.send_header("Content-Length", str(len(body)))
            self.end_headers()
            self.wfile.write(body)

        def reply_json(self, value):
            self.reply(200, json.dumps(value).encode(), "application/json")

        def body(self):
            return self.rfile.read(int(self.headers.get("Content-Length") or 0)).decode()

        def do_POST(self):
            body = self.body()
            if self.path == "/index.php/login/v2":
                token = secrets.token_hex(8)
                with lock:
                    flows[token] = False
                self.reply_json({
                    "poll": {"token": token, "endpoint": self.base() + "/index.php/login/v2/poll"},
                    "login": self.base() + "/login/v2/flow/" + token,
                })
            elif self.path == "/index.php/login/v2/poll":
                token = parse_qs(body).get("token", [""])[0]
                with lock:
                    confirmed = flows.get(token, False)
                    if confirmed:
                        del flows[token]  # an app password is handed out once
                if confirmed:
                    self.reply_json({"server": args.files_server, "loginName": args.login,
                                     "appPassword": args.password})
                else:
                    self.reply(404)
            elif self.path.startswith("/login/v2/flow/"):
                token = self.path.rsplit("/", 1)[1]
                with lock:
                    known = token in flows
                    if known:
                        flows[token] = True
                self.reply(200 if known else 404, b"Access granted")
            else:
                self.reply(404)

        def do_GET(self):
            if self.path == "/status":
                with lock:
                    self.reply_json({"revoked": list(revoked)})
            elif self.path.startswith("/login/v2/flow/"):
                self.reply(200, b"<html><body><form method=post><button>Grant access</button></form></body></html>",
                           "text/html")
            else:
                self.reply(404)

        def do_DELETE(self):
            auth = self.headers.get("Authorization", "")
            if self.path == "/ocs/v2.php/core/apppassword" and self.headers.get("OCS-APIRequest") == "true" \
                    and auth.startswith("Basic "):
                with lock:
                    revoked.append(base64.b64decode(auth[6:]).decode())
                self.reply(200, b"{}", "application/json")
            else:
                self.reply(401)

    serve(Handler)


def truncating(args):
    listing = {
        "/dav": ["/dav/", "/dav/Project/"],
        "/dav/Project": ["/dav/Project/", "/dav/Project/plan.xsp"],
        "/dav/Project/plan.xsp": ["/dav/Project/plan.xsp"],
    }

    def response(href):
        kind = "<D:collection/>" if href.endswith("/") else ""
        return (f"<D:response><D:href>{href}</D:href><D:propstat><D:prop>"
                f"<D:resourcetype>{kind}</D:resourcetype>"
                f"<D:getlastmodified>Thu, 10 Dec 2026 15:23:10 GMT</D:getlastmodified>"
                f"</D:prop><D:status>HTTP/1.1 200 OK</D:status></D:propstat></D:response>")

    class Handler(BaseHTTPRequestHandler):
        def log_message(self, *_):
            pass

        def reply(self, status, body=b"", length=None):
            self.send_response(status)
            self.send_header("Content-Length", str(len(body) if length is None else length))
            self.end_headers()
            self.wfile.write(body)

        def do_PROPFIND(self):
            self.rfile.read(int(self.headers.get("Content-Length") or 0))
            hrefs = listing.get(self.path.rstrip("/"))
            if hrefs is None:
                return self.reply(404)
            if self.headers.get("Depth") == "0":
                hrefs = hrefs[:1]
            body = '<?xml version="1.0"?><D:multistatus xmlns:D="DAV:">' + "".join(map(response, hrefs)) + \
                   "</D:multistatus>"
            self.reply(207, body.encode())

        def do_POST(self):
            self.reply(404)

        def do_GET(self):
            if self.path == "/dav/Project/plan.xsp":
                # Promises a thousand bytes, sends ten and hangs up.
                self.reply(200, b"0123456789", length=1000)
                self.close_connection = True
            else:
                self.reply(404)

    serve(Handler)


def silent(_args):
    listener = socket.socket()
    listener.bind(("127.0.0.1", 0))
    listener.listen(16)
    announce(listener.getsockname()[1])
    held = []
    while True:
        connection, _ = listener.accept()
        held.append(connection)


def serve(handler):
    server = ThreadingHTTPServer(("127.0.0.1", 0), handler)
    server.daemon_threads = True
    announce(server.server_address[1])
    server.serve_forever()


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("mode", choices=["login-flow", "truncating", "silent"])
    parser.add_argument("--files-server", default="")
    parser.add_argument("--login", default="")
    parser.add_argument("--password", default="")
    args = parser.parse_args()
    {"login-flow": login_flow, "truncating": truncating, "silent": silent}[args.mode](args)


if __name__ == "__main__":
    sys.exit(main())
