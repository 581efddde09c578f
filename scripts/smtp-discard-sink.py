#!/usr/bin/python3
"""An SMTP server for the sending bench that only discards what it receives.

    /usr/bin/python3 scripts/smtp-discard-sink.py PORT LOG [--keep FILE] [--lifetime SECONDS]

Listens on 127.0.0.1:PORT, one connection at a time, and answers every command with the code a
plain server would (220, 250, 354, 221). After DATA it reads the data in large blocks and looks
only for the end-of-data mark at the end of what arrived, since a client waits for the reply to
the mark before it sends more. For every message it appends one line to LOG:

    MESSAGE <bytes> <crc32> <seconds> <cpu seconds>

bytes counts the data as it came over the wire (transparency dots included, the final ".\r\n"
not), crc32 is of everything after the 354 reply; seconds run from the accepted connection to the
end-of-data mark, measured here the same way for every client, and cpu seconds are what this
server spent meanwhile (far less than seconds: the server is not what limits the client). With --keep, the data of the first message is also written to
FILE (before the 250 reply), so that other clients can send the same bytes. A message counts
"\r\n.\r\n" as ending the data even right after the 354 reply; no client here sends an empty one.
"""

import argparse
import socket
import time
import zlib

BLOCK = 4 * 1024 * 1024
END_OF_DATA = b"\r\n.\r\n"


def read_line(connection, pending):
    while b"\r\n" not in pending:
        more = connection.recv(65536)
        if not more:
            return None, b""
        pending += more
    line, _, rest = pending.partition(b"\r\n")
    return line, rest


def read_data(connection, pending, keep):
    """Reads up to the end-of-data mark: (bytes before the final ".\\r\\n", crc32 of all that
    arrived after the 354 reply, the kept data or None), or None when the client went away."""
    buffer = bytearray(BLOCK)
    view = memoryview(buffer)
    total = len(pending)
    crc = zlib.crc32(pending)
    tail = b"\r\n" + bytes(pending[-5:])
    kept = [bytes(pending)] if keep else None
    while not (total >= 3 and tail.endswith(END_OF_DATA)):
        count = connection.recv_into(view)
        if count == 0:
            return None
        block = view[:count]
        crc = zlib.crc32(block, crc)
        total += count
        tail = (tail + bytes(block[-5:]))[-5:]
        if kept is not None:
            kept.append(bytes(block))
    data = b"".join(kept)[:-3] if kept is not None else None
    return total - 3, crc, data


def serve(connection, log, keep_path):
    """One session; True when it kept a message in keep_path."""
    start = time.perf_counter()
    cpu = time.process_time()
    connection.sendall(b"220 127.0.0.1 discard sink\r\n")
    pending = b""
    kept = False
    while True:
        line, pending = read_line(connection, pending)
        if line is None:
            return kept
        verb = line[:4].upper()
        if verb == b"DATA":
            connection.sendall(b"354 End data with <CR><LF>.<CR><LF>\r\n")
            result = read_data(connection, pending, keep_path is not None and not kept)
            pending = b""
            if result is None:
                return kept
            total, crc, data = result
            seconds = time.perf_counter() - start
            cpu_seconds = time.process_time() - cpu
            if data is not None:
                with open(keep_path, "wb") as out:
                    out.write(data)
                kept = True
            log.write("MESSAGE %d %08x %.4f %.4f\n" % (total, crc, seconds, cpu_seconds))
            log.flush()
            connection.sendall(b"250 OK\r\n")
        elif verb == b"QUIT":
            connection.sendall(b"221 Bye\r\n")
            return kept
        elif verb in (b"HELO", b"EHLO", b"MAIL", b"RCPT", b"RSET", b"NOOP"):
            connection.sendall(b"250 OK\r\n")
        else:
            connection.sendall(b"500 Unknown command\r\n")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("port", type=int)
    parser.add_argument("log")
    parser.add_argument("--keep")
    parser.add_argument("--lifetime", type=float, default=1800)
    arguments = parser.parse_args()
    listener = socket.socket()
    listener.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
    listener.setsockopt(socket.SOL_SOCKET, socket.SO_RCVBUF, BLOCK)
    listener.bind(("127.0.0.1", arguments.port))
    listener.listen(4)
    listener.settimeout(arguments.lifetime)
    keep = arguments.keep
    with open(arguments.log, "a") as log:
        while True:
            try:
                connection, _ = listener.accept()
            except socket.timeout:
                return
            connection.settimeout(None)
            with connection:
                try:
                    if serve(connection, log, keep):
                        keep = None
                except OSError:
                    pass  # a client that went away (or a probe of the port) ends only its session


if __name__ == "__main__":
    main()
