#!/usr/bin/env python3
"""Loopback stand-in for the map's two services, for the site page's tests.

Usage: fake_map_services.py LOGFILE

Listens on 127.0.0.1 on a free port, prints the port on one line and serves
until its standard input closes. Each request is appended to LOGFILE as
"<request path>|<user agent>".

Tiles, below a prefix that names the server's mood:
  /tiles/Z/X/Y.png   a 256 x 256 PNG whose colour depends on X and Y
  /mixed/Z/X/Y.png   odd X: 404; even X and odd Y: a page that is no image;
                     otherwise as /tiles
  /refuse/Z/X/Y.png  403 for every tile
  /silent/...        never answers
Place search, /search?q=...&format=json&accept-language=en-US, by q:
  empty    []
  three    three places, the second without "lat"
  object   an object of strings (an error reply)
  invalid  text that is not JSON
  error    HTTP status 500
  silent   never answers
  split    one place "Zürich", sent in chunks that cut the "ü" in two
  other    one place named after q, at 47.37, 8.54
"""

import http.server
import json
import socketserver
import struct
import sys
import threading
import time
import urllib.parse
import zlib

stopping = threading.Event()
log_lock = threading.Lock()
log_path = sys.argv[1]


def png(width, height, colour):
    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

    r, g, b = colour
    rows = []
    for y in range(height):
        row = bytearray([0])
        for x in range(width):
            edge = x < 2 or y < 2
            row += bytes((60, 60, 60)) if edge else bytes((r, g, b))
        rows.append(bytes(row))
    header = struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(b"".join(rows)))
            + chunk(b"IEND", b""))


tile_images = {}


def tile(x, y):
    key = (x % 4, y % 4)
    if key not in tile_images:
        tile_images[key] = png(256, 256, (150 + 25 * key[0], 200 - 20 * key[1], 150 + 15 * (key[0] + key[1])))
    return tile_images[key]


PLACES_THREE = [
    {"display_name": "First Place", "lat": "10.5", "lon": "20.25"},
    {"display_name": "Second Place", "lon": "21.0"},
    {"display_name": "Third Place", "lat": "-33.75", "lon": "151.125"},
]


class Handler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"

    def log_message(self, *args):
        pass

    def reply(self, status, body, kind):
        self.send_response(status)
        self.send_header("Content-Type", kind)
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)

    def hang(self):
        while not stopping.wait(0.1):
            pass
        self.close_connection = True

    def do_GET(self):
        with log_lock, open(log_path, "a", encoding="utf-8") as log:
            log.write("%s|%s\n" % (self.path, self.headers.get("User-Agent", "")))
        url = urllib.parse.urlsplit(self.path)
        parts = url.path.strip("/").split("/")
        if parts[0] == "search":
            return self.search(urllib.parse.parse_qs(url.query).get("q", [""])[0])
        if parts[0] == "silent":
            return self.hang()
        if parts[0] == "refuse":
            return self.reply(403, b"tiles refused", "text/plain")
        if len(parts) == 4 and parts[0] in ("tiles", "mixed") and parts[3].endswith(".png"):
            x, y = int(parts[2]), int(parts[3][:-4])
            if parts[0] == "mixed" and x % 2 == 1:
                return self.reply(404, b"no such tile", "text/plain")
            if parts[0] == "mixed" and y % 2 == 1:
                return self.reply(200, b"<html>not an image</html>", "text/html")
            return self.reply(200, tile(x, y), "image/png")
        self.reply(404, b"not found", "text/plain")

    def search(self, query):
        if query == "silent":
            return self.hang()
        if query == "error":
            return self.reply(500, b"server error", "text/plain")
        if query == "invalid":
            return self.reply(200, b"[{\"display_name\": ", "application/json")
        if query == "split":
            body = json.dumps([{"display_name": "Zürich", "lat": "47.37", "lon": "8.54"}],
                              ensure_ascii=False).encode("utf-8")
            cut = body.index("ü".encode("utf-8")) + 1
            self.send_response(200)
            self.send_header("Content-Type", "application/json")
            self.send_header("Transfer-Encoding", "chunked")
            self.end_headers()
            for piece in (body[:cut], body[cut:]):
                self.wfile.write(b"%x\r\n%s\r\n" % (len(piece), piece))
                self.wfile.flush()
                time.sleep(0.05)  # so that the pieces arrive apart
            self.wfile.write(b"0\r\n\r\n")
            return
        if query == "empty":
            places = []
        elif query == "three":
            places = PLACES_THREE
        elif query == "object":
            places = {"error": "Unable to geocode", "code": "400"}
        else:
            places = [{"display_name": query, "lat": "47.37", "lon": "8.54"}]
        self.reply(200, json.dumps(places, ensure_ascii=False).encode("utf-8"), "application/json")


class Server(socketserver.ThreadingMixIn, http.server.HTTPServer):
    daemon_threads = True


def main():
    server = Server(("127.0.0.1", 0), Handler)
    threading.Thread(target=server.serve_forever, daemon=True).start()
    print(server.server_address[1], flush=True)
    sys.stdin.read()
    stopping.set()
    server.shutdown()


if __name__ == "__main__":
    main()
