#!/usr/bin/python3
"""A local SMTP server for Kestro's tests.

    /usr/bin/python3 scripts/smtp-sink.py PORT FOLDER [--lifetime SECONDS] [--eml]

Listens on 127.0.0.1:PORT only and stores every message it accepts as a file FOLDER/NNNNNN.msg:
the line "MAIL FROM:<sender>", one line "RCPT TO:<recipient>" per recipient, an empty line, then
the message bytes exactly as received after DATA (only the transparency dots are taken off, as
every server does). Lines of the envelope end in CR LF. A file appears whole (written aside,
then renamed).

With --eml (the mail catcher of `make run`) each message is stored as FOLDER/NNNNNN.eml instead:
the message bytes alone, as a mail program opens them, and a line on standard output names the
file, its sender and recipients.

Two recipient domains make the server misbehave on purpose:
  - anything@refused.invalid is refused: "550 5.1.1 <address>: Recipient address rejected";
  - anything@stall.invalid gets its 250 only after a pause of five seconds.

The server stops by itself after --lifetime seconds (default 3600), and on SIGTERM or SIGINT.
"""

import argparse
import asyncio
import os
import signal
import sys

from aiosmtpd.smtp import SMTP

REFUSED_DOMAIN = "@refused.invalid"
STALLING_DOMAIN = "@stall.invalid"
STALL_SECONDS = 5
# Room for the largest test message (50 MB of attachment in base64) and more.
MAX_MESSAGE_BYTES = 256 * 1024 * 1024


class Sink:
    def __init__(self, folder, eml):
        self.folder = folder
        self.count = 0
        self.extension = ".eml" if eml else ".msg"
        self.eml = eml

    async def handle_RCPT(self, server, session, envelope, address, rcpt_options):
        lowered = address.lower()
        if lowered.endswith(REFUSED_DOMAIN):
            return "550 5.1.1 <%s>: Recipient address rejected" % address
        if lowered.endswith(STALLING_DOMAIN):
            await asyncio.sleep(STALL_SECONDS)
        envelope.rcpt_tos.append(address)
        return "250 OK"

    async def handle_DATA(self, server, session, envelope):
        self.count += 1
        while os.path.exists(self.path(self.count)):
            self.count += 1  # a folder used before keeps its messages
        name = self.path(self.count)
        head = b""
        if not self.eml:
            lines = ["MAIL FROM:<%s>" % envelope.mail_from]
            lines += ["RCPT TO:<%s>" % rcpt for rcpt in envelope.rcpt_tos]
            head = ("\r\n".join(lines) + "\r\n\r\n").encode("ascii", "backslashreplace")
        with open(name + ".part", "wb") as out:
            out.write(head + envelope.original_content)
        os.replace(name + ".part", name)
        if self.eml:
            print("Received %s from <%s> to %s" % (
                name, envelope.mail_from, ", ".join("<%s>" % r for r in envelope.rcpt_tos)),
                flush=True)
        return "250 Message accepted"

    def path(self, number):
        return os.path.join(self.folder, "%06d%s" % (number, self.extension))


async def serve(port, folder, lifetime, eml):
    os.makedirs(folder, exist_ok=True)
    sink = Sink(folder, eml)
    loop = asyncio.get_running_loop()
    server = await loop.create_server(
        lambda: SMTP(sink, hostname="kestro-test-sink", decode_data=False,
                     data_size_limit=MAX_MESSAGE_BYTES),
        host="127.0.0.1", port=port)
    stop = loop.create_future()
    for signum in (signal.SIGTERM, signal.SIGINT):
        loop.add_signal_handler(signum, lambda: stop.done() or stop.set_result(None))
    loop.call_later(lifetime, lambda: stop.done() or stop.set_result(None))
    print("smtp-sink listening on 127.0.0.1:%d, storing in %s" % (port, folder), flush=True)
    await stop
    server.close()
    await server.wait_closed()


def main():
    parser = argparse.ArgumentParser(description="Local SMTP server that stores what it gets.")
    parser.add_argument("port", type=int)
    parser.add_argument("folder")
    parser.add_argument("--lifetime", type=float, default=3600.0)
    parser.add_argument("--eml", action="store_true", help="store bare .eml files")
    arguments = parser.parse_args()
    asyncio.run(serve(arguments.port, arguments.folder, arguments.lifetime, arguments.eml))
    return 0


if __name__ == "__main__":
    sys.exit(main())
