#!/usr/bin/env python3
"""A hostile WebDAV server for the platform client's tests (standard library only).

It serves the collection /dav/ on 127.0.0.1 as an attacker would, in one of
these modes:

tricky-listing   listings naming "./", "..", the collection itself, hrefs
                 outside it, on another host, deeper than asked, and names
                 with a slash or control characters.
endless-depth    every folder holds one more folder, without end.
wide             the project holds --count files.
put-nothing      answers 201 to PUT and stores nothing.
put-truncated    keeps only the first half of every PUT body.
put-other-etag   stores PUTs but lists them with another ETag than it gave.
move-fails       stores PUTs, answers 500 to every MOVE.
trickle          replies to PROPFIND and GET a byte at a time, --pause apart.
endless-listing  a PROPFIND reply that never ends.
endless-download a GET reply that never ends.
login-page       a browser login whose "login" address is --login-url ({base}
                 and {port} stand for its own address and port).
big-token        a browser login whose poll answer is --count bytes long.

Apart from those faults it keeps files in memory. Every request is logged;
GET /__requests returns the log as JSON ("METHOD path" lines). Listens on
127.0.0.1 only, bounds every reply (--max-bytes, --max-seconds) and ends
itself after --lifetime seconds. Prints "PORT <n>" once it listens.
"""

import argparse
import email.utils
import hashlib
import json
import os
import sys
import threading
import time
from http.server import BaseHTTPRequestHandler, ThreadingHTTPServer
from urllib.parse import quote, unquote

BASE = "/dav/"


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("mode")
    parser.add_argument("--count", type=int, default=100)
    parser.add_argument("--pause", type=float, default=0.5)
    parser.add_argument("--login-url", default="")
    parser.add_argument("--max-bytes", type=int, default=64 << 20)
    parser.add_argument("--max-seconds", type=float, default=20)
    parser.add_argument("--lifetime", type=float, default=120)
    args = parser.parse_args()

    # The server ends itself whatever the test does.
    threading.Timer(args.lifetime, lambda: os._exit(0)).start()

    lock = threading.Lock()
    log = []
    files = {"/dav/Project/plan.xsp": b"the old project"}
    folders = {"/dav/", "/dav/Project/"}
    stamp = email.utils.formatdate(1796915000, usegmt=True)

    def etag(body):
        return '"' + hashlib.sha1(body).hexdigest()[:16] + '"'

    def response(href, folder, size=None, tag=None):
        kind = "<D:collection/>" if folder else ""
        extra = ""
        if size is not None:
            extra += f"<D:getcontentlength>{size}</D:getcontentlength>"
        if tag is not None:
            extra += f"<D:getetag>{tag}</D:getetag>"
        return (f"<D:response><D:href>{href}</D:href><D:propstat><D:prop>"
                f"<D:resourcetype>{kind}</D:resourcetype><D:getlastmodified>{stamp}</D:getlastmodified>"
                f"{extra}</D:prop><D:status>HTTP/1.1 200 OK</D:status></D:propstat></D:response>")

    def multistatus(parts):
        return ('<?xml version="1.0"?><D:multistatus xmlns:D="DAV:">' + "".join(parts) +
                "</D:multistatus>").encode()

    def stored_listing(path, depth):
        """The in-memory tree: the object and (depth 1) its children."""
        if path in files:
            body = files[path]
            tag = etag(body) if args.mode != "put-other-etag" else '"another"'
            return [response(quote(path), False, len(body), tag)]
        if path not in folders:
            return None
        parts = [response(quote(path), True)]
        if depth != "0":
            for name in sorted(folders):
                if name != path and name.startswith(path) and "/" not in name[len(path):-1]:
                    parts.append(response(quote(name), True))
            for name, body in sorted(files.items()):
                if name.startswith(path) and "/" not in name[len(path):]:
                    tag = etag(body) if args.mode != "put-other-etag" else '"another"'
                    parts.append(response(quote(name), False, len(body), tag))
        return parts

    def tricky_listing(path, depth):
        if path == "/dav/":
            parts = [response("/dav/", True), response("/dav/Project/", True), response("/dav/./", True),
                     response("/dav/../", True), response("/", True), response("/other/Stolen/", True),
                     response("http://elsewhere.example/dav/Remote/", True),
                     response("/dav/Project/inner/", True), response("/dav/a%2Fb/", True),
                     response("/dav/bell%07/", True)]
        elif path == "/dav/Project/":
            parts = [response("/dav/Project/", True), response("/dav/Project/./", True),
                     response("/dav/Project/../", True), response("/dav/Project/%2E%2E/", True),
                     response("/dav/Project/plan.xsp", False, 15, '"x"')]
        elif path == "/dav/Project/plan.xsp":
            parts = [response("/dav/Project/plan.xsp", False, 15, '"x"')]
        else:
            return None
        return parts if depth != "0" else parts[:1]

    def endless_depth(path, depth):
        if not path.startswith("/dav/"):
            return None
        parts = [response(quote(path), True)]
        if depth != "0":
            child = "/dav/Project/" if path == "/dav/" else path + "d/"
            parts.append(response(quote(child), True))
        return parts

    def wide(path, depth):
        if path == "/dav/":
            return [response("/dav/", True), response("/dav/Project/", True)][: 1 if depth == "0" else 2]
        if path == "/dav/Project/":
            parts = [response("/dav/Project/", True)]
            if depth != "0":
                parts += [response(f"/dav/Project/f{i}.txt", False, 1, f'"{i}"') for i in range(args.count)]
            return parts
        return None

    class Handler(BaseHTTPRequestHandler):
        protocol_version = "HTTP/1.1"
        timeout = args.max_seconds

        def log_message(self, *_):
            pass

        def note(self):
            with lock:
                log.append(f"{self.command} {self.path}")

        def body(self):
            length = min(int(self.headers.get("Content-Length") or 0), args.max_bytes)
            return self.rfile.read(length)

        def reply(self, status, body=b"", headers=()):
            self.send_response(status)
            self.send_header("Content-Length", str(len(body)))
            for name, value in headers:
                self.send_header(name, value)
            self.end_headers()
            self.wfile.write(body[: args.max_bytes])

        def endless(self, status, head, unit):
            """A reply of unknown length that goes on until a bound ends it."""
            self.send_response(status)
            self.send_header("Connection", "close")
            self.end_headers()
            self.close_connection = True
            sent, start = 0, time.monotonic()
            try:
                self.wfile.write(head)
                while sent < args.max_bytes and time.monotonic() - start < args.max_seconds:
                    self.wfile.write(unit)
                    sent += len(unit)
            except OSError:
                pass  # the client gave up, as it should

        def trickle(self, status, body):
            self.send_response(status)
            self.send_header("Content-Length", str(len(body)))
            self.end_headers()
            start = time.monotonic()
            try:
                for i in range(len(body)):
                    if time.monotonic() - start > args.max_seconds:
                        break
                    self.wfile.write(body[i:i + 1])
                    self.wfile.flush()
                    time.sleep(args.pause)
            except OSError:
                pass
            self.close_connection = True

        def do_PROPFIND(self):
            self.note()
            self.body()
            path = unquote(self.path)
            depth = self.headers.get("Depth", "1")
            if args.mode == "endless-listing":
                return self.endless(207, b'<?xml version="1.0"?><D:multistatus xmlns:D="DAV:">',
                                    response("/dav/Project/", True).encode() * 64)
            listing = {"tricky-listing": tricky_listing, "endless-depth": endless_depth, "wide": wide}.get(args.mode)
            with lock:
                parts = listing(path, depth) if listing else stored_listing(path, depth)
            if parts is None:
                return self.reply(404)
            body = multistatus(parts)
            if args.mode == "trickle":
                return self.trickle(207, body)
            self.reply(207, body, [("Content-Type", "application/xml; charset=utf-8")])

        def do_GET(self):
            if self.path == "/__requests":
                with lock:
                    return self.reply(200, json.dumps(log).encode())
            self.note()
            if args.mode == "endless-download":
                return self.endless(200, b"", b"x" * 65536)
            with lock:
                body = files.get(unquote(self.path))
            if body is None:
                return self.reply(404)
            if args.mode == "trickle":
                return self.trickle(200, body)
            self.reply(200, body)

        def do_PUT(self):
            self.note()
            body = self.body()
            path = unquote(self.path)
            with lock:
                if path in files or path in folders:
                    return self.reply(412)
                if args.mode == "put-truncated":
                    files[path] = body[: len(body) // 2]
                elif args.mode != "put-nothing":
                    files[path] = body
            self.reply(201, headers=[("ETag", etag(body))])

        def do_MKCOL(self):
            self.note()
            self.body()
            path = unquote(self.path)
            with lock:
                if path in folders or path in files:
                    return self.reply(405)
                folders.add(path)
            self.reply(201)

        def do_MOVE(self):
            self.note()
            if args.mode == "move-fails":
                return self.reply(500)
            source = unquote(self.path)
            target = unquote(self.headers.get("Destination", "").split("://", 1)[-1].partition("/")[2])
            target = "/" + target
            with lock:
                if target in files or source not in files:
                    return self.reply(412 if target in files else 404)
                files[target] = files.pop(source)
            self.reply(201)

        def do_DELETE(self):
            self.note()
            path = unquote(self.path)
            with lock:
                if path in files:
                    del files[path]
                elif path in folders:
                    folders.discard(path)
                    for name in [n for n in files if n.startswith(path)]:
                        del files[name]
                else:
                    return self.reply(404)
            self.reply(204)

        def do_POST(self):
            self.note()
            self.body()
            base = f"http://127.0.0.1:{self.server.server_address[1]}"
            if self.path == "/index.php/login/v2":
                if args.mode == "big-token":
                    filler = "x" * max(args.count - 100, 0)
                    return self.reply(200, json.dumps({
                        "poll": {"token": filler, "endpoint": base + "/index.php/login/v2/poll"},
                        "login": base + "/login"}).encode())
                return self.reply(200, json.dumps({
                    "poll": {"token": "t", "endpoint": base + "/index.php/login/v2/poll"},
                    "login": args.login_url.replace("{base}", base).replace(
                        "{port}", str(self.server.server_address[1]))}).encode())
            self.reply(404)

    server = ThreadingHTTPServer(("127.0.0.1", 0), Handler)
    server.daemon_threads = True
    print(f"PORT {server.server_address[1]}", flush=True)
    server.serve_forever()


if __name__ == "__main__":
    sys.exit(main())
