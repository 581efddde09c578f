#!/usr/bin/python3
"""Local SMTP servers with TLS and login for Kestro's tests, all in one process.

    /usr/bin/python3 scripts/smtp-tls-peers.py CERTS FOLDER [--lifetime SECONDS]

CERTS holds what scripts/smtp-tls-peers.sh makes with openssl at test time: server.pem and
server.key (a certificate for "localhost" from the test CA, ca.pem) and untrusted.pem and
untrusted.key (one for "localhost" from a CA nobody trusts). Each server listens on a free
port of 127.0.0.1 only; FOLDER/ports gets one line "NAME PORT" a server once all listen.
Each stores the messages it accepts in FOLDER/NAME/ as scripts/smtp-sink.py does, and writes
the verb of every command it receives (never what follows it) to FOLDER/NAME.commands, one a
line, so that the tests can see what reached the server.

  starttls   plain at first, offers STARTTLS; AUTH PLAIN and LOGIN only after it
  tls        TLS from the first byte; AUTH PLAIN and LOGIN
  untrusted  as starttls, with the untrusted certificate
  plain      no TLS; AUTH PLAIN and LOGIN over plain TCP; SIZE 2000
  ehlo502    no TLS, no login; answers EHLO with 502, so that clients fall back to HELO

The one user is "kestro" with the password "Voice-Mail 2 go!"; a wrong password gets
"535 5.7.8 Authentication credentials invalid". The servers stop after --lifetime seconds
(default 3600), and on SIGTERM or SIGINT.
"""

import argparse
import asyncio
import importlib.util
import os
import signal
import ssl
import sys

from aiosmtpd.smtp import SMTP, AuthResult

USER = b"kestro"
PASSWORD = b"Voice-Mail 2 go!"

here = os.path.dirname(os.path.abspath(__file__))
spec = importlib.util.spec_from_file_location("smtp_sink", os.path.join(here, "smtp-sink.py"))
smtp_sink = importlib.util.module_from_spec(spec)
spec.loader.exec_module(smtp_sink)


def authenticate(server, session, envelope, mechanism, auth_data):
    ok = getattr(auth_data, "login", None) == USER and auth_data.password == PASSWORD
    return AuthResult(success=ok, handled=False)  # a refusal gets the standard 535


class LoggedSMTP(SMTP):
    """Writes each command's verb to a file before it is handled."""

    def __init__(self, handler, log, refuse_ehlo=False, **options):
        super().__init__(handler, **options)
        self._log = log
        self._refuse_ehlo = refuse_ehlo
        for verb, method in list(self._smtp_methods.items()):
            self._smtp_methods[verb] = self._logged(verb, method)

    def _logged(self, verb, method):
        async def call(arg):
            with open(self._log, "a") as out:
                out.write(verb + "\n")
            if verb == "EHLO" and self._refuse_ehlo:
                await self.push("502 5.5.1 EHLO not implemented")
                return
            await method(arg)

        return call


def server_context(certs, name):
    context = ssl.create_default_context(ssl.Purpose.CLIENT_AUTH)
    context.load_cert_chain(os.path.join(certs, name + ".pem"), os.path.join(certs, name + ".key"))
    return context


async def serve(certs, folder, lifetime):
    os.makedirs(folder, exist_ok=True)
    trusted = server_context(certs, "server")
    untrusted = server_context(certs, "untrusted")
    common = dict(hostname="kestro-test-tls", decode_data=False, authenticator=authenticate,
                  data_size_limit=smtp_sink.MAX_MESSAGE_BYTES)
    peers = {
        "starttls": (dict(tls_context=trusted, require_starttls=True), None),
        "tls": (dict(auth_require_tls=False), trusted),
        "untrusted": (dict(tls_context=untrusted, require_starttls=True), None),
        "plain": (dict(auth_require_tls=False, data_size_limit=2000), None),
        "ehlo502": (dict(refuse_ehlo=True), None),
    }
    loop = asyncio.get_running_loop()
    servers = []
    lines = []
    for name, (options, implicit) in peers.items():
        store = os.path.join(folder, name)
        os.makedirs(store, exist_ok=True)
        sink = smtp_sink.Sink(store, False)  # .msg files with their envelope
        log = os.path.join(folder, name + ".commands")
        settings = dict(common, **options)
        server = await loop.create_server(
            lambda sink=sink, log=log, settings=settings: LoggedSMTP(sink, log, **settings),
            host="127.0.0.1", port=0, ssl=implicit)
        servers.append(server)
        lines.append("%s %d\n" % (name, server.sockets[0].getsockname()[1]))
    with open(os.path.join(folder, "ports.part"), "w") as out:
        out.writelines(lines)
    os.replace(os.path.join(folder, "ports.part"), os.path.join(folder, "ports"))
    stop = loop.create_future()
    for signum in (signal.SIGTERM, signal.SIGINT):
        loop.add_signal_handler(signum, lambda: stop.done() or stop.set_result(None))
    loop.call_later(lifetime, lambda: stop.done() or stop.set_result(None))
    print("smtp-tls-peers listening: " + " ".join(l.strip() for l in lines), flush=True)
    await stop
    for server in servers:
        server.close()
        await server.wait_closed()


def main():
    parser = argparse.ArgumentParser(description="Local SMTP servers with TLS and login.")
    parser.add_argument("certs")
    parser.add_argument("folder")
    parser.add_argument("--lifetime", type=float, default=3600.0)
    arguments = parser.parse_args()
    asyncio.run(serve(arguments.certs, arguments.folder, arguments.lifetime))
    return 0


if __name__ == "__main__":
    sys.exit(main())
