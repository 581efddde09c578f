#!/usr/bin/python3
"""A local ad server for Kestro's banner tests and screenshots.

    /usr/bin/python3 scripts/ad-server.py PORT FOLDER [--lifetime SECONDS]

Listens on 127.0.0.1:PORT only; every request is kept, as its bytes arrived, in FOLDER/NNNNNN.req.
    /location?to=URL   a page holding <adlocation>URL</adlocation> (URL: the rest of the line)
    /archive?...       the tag block, then a ZIP made now: frames=RRGGBB,... (468 x 60 bitmaps
                       1.bmp, 2.bmp ...) or files=PATH,...; names=A,B (other stored names);
                       extra=NAME:bmp|text|zeros (one more entry, zeros is 50 MB); num=N;
                       delays=D,D; link=URL; filesize=wrong|none; truncate=BYTES (cut off the ZIP)
"""

import argparse
import io
import os
import struct
import time
import zipfile
from http.server import BaseHTTPRequestHandler, HTTPServer
from urllib.parse import parse_qs, urlsplit


def bitmap(rgb):
    pixels = bytes((rgb & 0xFF, (rgb >> 8) & 0xFF, rgb >> 16)) * 468 * 60
    return (struct.pack("<2sIHHI", b"BM", 54 + len(pixels), 0, 0, 54) +
            struct.pack("<IiiHHIIiiII", 40, 468, 60, 1, 24, 0, len(pixels), 2835, 2835, 0, 0) + pixels)


EXTRA = {"bmp": lambda: bitmap(0x808080), "text": lambda: b"VERSION=20\r\n", "zeros": lambda: bytes(50 << 20)}


def archive_reply(query):
    one = lambda key, default="": query.get(key, [default])[0]
    frames = [bitmap(int(c, 16)) for c in one("frames").split(",") if c]
    frames += [open(path, "rb").read() for path in one("files").split(",") if path]
    names = one("names").split(",")
    entries = [(names[k] if names[k:] and names[k] else "%d.bmp" % (k + 1), data) for k, data in enumerate(frames)]
    entries += [(e.rpartition(":")[0], EXTRA[e.rpartition(":")[2]]()) for e in query.get("extra", [])]
    buffer = io.BytesIO()
    with zipfile.ZipFile(buffer, "w", zipfile.ZIP_DEFLATED, compresslevel=9) as zf:
        for name, data in entries:
            zf.writestr(zipfile.ZipInfo(name, (2024, 1, 1, 0, 0, 0)), data, zipfile.ZIP_DEFLATED)
    data = buffer.getvalue()
    data = data[:len(data) - int(one("truncate", "0"))]
    tags = "<link>%s</link>\r\n<num>%s</num>\r\n" % (one("link", "http://127.0.0.1/clicked"), one("num", len(frames)))
    tags += "".join("<delay>%s</delay>" % d for d in one("delays", ",".join(["100"] * len(frames))).split(",") if d)
    if one("filesize") != "none":
        tags += "\r\n<filesize>%d</filesize>\r\n" % (len(data) + (one("filesize") == "wrong"))
    return tags.encode("ascii") + data


class Handler(BaseHTTPRequestHandler):
    def do_GET(self):
        url = urlsplit(self.path)
        if url.path == "/location":
            body = b"<html><body><adlocation>%s</adlocation></body></html>\r\n" % url.query[3:].encode()
        elif url.path == "/archive":
            body = archive_reply(parse_qs(url.query, keep_blank_values=True))
        else:
            return self.send_error(404)
        self.send_response(200)
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)

    def parse_request(self):
        # Keeps the request line and the headers exactly as they arrived.
        raw, line = self.raw_requestline, self.raw_requestline
        while line not in (b"\r\n", b"\n", b""):
            line = self.rfile.readline(65537)
            raw += line
        self.server.count += 1
        with open(os.path.join(self.server.folder, "%06d.req" % self.server.count), "wb") as out:
            out.write(raw)
        self.rfile = io.BytesIO(raw[len(self.raw_requestline):])
        return super().parse_request()


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("port", type=int)
    parser.add_argument("folder")
    parser.add_argument("--lifetime", type=float, default=3600)
    args = parser.parse_args()
    os.makedirs(args.folder, exist_ok=True)
    server = HTTPServer(("127.0.0.1", args.port), Handler)
    server.folder, server.count, server.timeout = args.folder, 0, 1
    end = time.time() + args.lifetime
    while time.time() < end:
        server.handle_request()


if __name__ == "__main__":
    main()
