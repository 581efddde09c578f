#!/usr/bin/python3
"""A local ad server for Kestro's banner tests.

    /usr/bin/python3 scripts/ad-server.py PORT FOLDER [--lifetime SECONDS]

Listens on 127.0.0.1:PORT only and answers HTTP/1.0 GET requests; every request is stored, as
its bytes arrived (request line and headers), in FOLDER/NNNNNN.req (written aside, then renamed).

    /location?to=URL   a small page holding <adlocation>URL</adlocation>
    /archive?...       an archive reply: the tag block, then a ZIP made now with zipfile
        frames=ff0000,00ff00   one 468 x 60 bitmap per colour (RRGGBB), entries 1.bmp, 2.bmp ...
        files=PATH,PATH        or these bitmap files of this machine
        names=a,b              other stored names for those entries
        extra=NAME:KIND        one more entry (repeatable); KIND is bmp, text or zeros (50 MB)
        num=N                  the <num> text (default: the number of frames)
        delays=100,100         one <delay> tag each (default: 100 per frame)
        link=URL               the <link> (default: http://127.0.0.1:PORT/clicked)
        filesize=wrong|none    a <filesize> one off the ZIP size, or none at all
        truncate=N             the ZIP cut by N bytes at its end (<filesize> says the cut size)

Anything else gets 404. The server stops by itself after --lifetime seconds (default 3600),
and on SIGTERM or SIGINT.
"""

import argparse
import io
import os
import signal
import struct
import threading
import zipfile
from http.server import BaseHTTPRequestHandler, ThreadingHTTPServer
from urllib.parse import parse_qs, urlsplit

WIDTH, HEIGHT = 468, 60


def bitmap(rgb):
    """A 468 x 60 24-bit bitmap filled with one colour."""
    row = bytes((rgb & 0xFF, (rgb >> 8) & 0xFF, rgb >> 16)) * WIDTH
    pixels = row * HEIGHT
    header = struct.pack("<2sIHHI", b"BM", 54 + len(pixels), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, WIDTH, HEIGHT, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    return header + info + pixels


def entry_bytes(kind):
    if kind == "zeros":
        return bytes(50 << 20)
    if kind == "text":
        return b"VERSION=20\r\nUSEMAPI=1\r\n"
    return bitmap(0x808080)


def archive_reply(query, port):
    one = lambda key, default: query.get(key, [default])[0]
    colours = [int(c, 16) for c in one("frames", "").split(",") if c]
    names = one("names", "").split(",") if "names" in query else []
    frames = [bitmap(c) for c in colours]
    for path in [p for p in one("files", "").split(",") if p]:
        with open(path, "rb") as f:
            frames.append(f.read())
    entries = [(names[k] if k < len(names) else "%d.bmp" % (k + 1), data)
               for k, data in enumerate(frames)]
    for extra in query.get("extra", []):
        name, _, kind = extra.rpartition(":")
        entries.append((name, entry_bytes(kind)))
    buffer = io.BytesIO()
    with zipfile.ZipFile(buffer, "w", zipfile.ZIP_DEFLATED, compresslevel=9) as zf:
        for name, data in entries:
            zf.writestr(zipfile.ZipInfo(name, (2024, 1, 1, 0, 0, 0)), data, zipfile.ZIP_DEFLATED)
    data = buffer.getvalue()
    data = data[:len(data) - int(one("truncate", "0"))]
    delays = one("delays", ",".join(["100"] * len(frames))).split(",")
    tags = "<link>%s</link>\r\n<num>%s</num>\r\n" % (
        one("link", "http://127.0.0.1:%d/clicked" % port), one("num", str(len(frames))))
    tags += "".join("<delay>%s</delay>" % d for d in delays if d) + "\r\n"
    size = one("filesize", "right")
    if size != "none":
        tags += "<filesize>%d</filesize>\r\n" % (len(data) + (1 if size == "wrong" else 0))
    return tags.encode("ascii") + data


class Recorder:
    """Reads from a stream and keeps every byte read."""

    def __init__(self, stream):
        self.stream, self.bytes = stream, b""

    def readline(self, *args):
        line = self.stream.readline(*args)
        self.bytes += line
        return line

    def read(self, *args):
        data = self.stream.read(*args)
        self.bytes += data
        return data

    def close(self):
        self.stream.close()


class Handler(BaseHTTPRequestHandler):
    def setup(self):
        super().setup()
        self.rfile = Recorder(self.rfile)

    def do_GET(self):
        self.server.store(self.rfile.bytes)
        url = urlsplit(self.path)
        query = parse_qs(url.query, keep_blank_values=True)
        if url.path == "/location":
            body = ("<html><body><adlocation>%s</adlocation></body></html>\r\n"
                    % query.get("to", [""])[0]).encode("ascii")
            kind = "text/html"
        elif url.path == "/archive":
            body, kind = archive_reply(query, self.server.server_address[1]), "application/zip"
        else:
            self.send_error(404)
            return
        self.send_response(200)
        self.send_header("Content-Type", kind)
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)

    def log_message(self, fmt, *args):
        print(fmt % args, flush=True)


class Server(ThreadingHTTPServer):
    def __init__(self, port, folder):
        super().__init__(("127.0.0.1", port), Handler)
        self.folder, self.count, self.lock = folder, 0, threading.Lock()

    def store(self, request):
        with self.lock:
            self.count += 1
            name = os.path.join(self.folder, "%06d.req" % self.count)
        with open(name + ".part", "wb") as out:
            out.write(request)
        os.replace(name + ".part", name)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("port", type=int)
    parser.add_argument("folder")
    parser.add_argument("--lifetime", type=float, default=3600)
    args = parser.parse_args()
    os.makedirs(args.folder, exist_ok=True)
    server = Server(args.port, args.folder)
    stop = lambda *_: threading.Thread(target=server.shutdown).start()
    signal.signal(signal.SIGTERM, stop)
    signal.signal(signal.SIGINT, stop)
    timer = threading.Timer(args.lifetime, stop)
    timer.daemon = True
    timer.start()
    server.serve_forever()


if __name__ == "__main__":
    main()
