#!/usr/bin/python3
"""Makes Kestro's own sounds: the shutter sound the video window plays when it takes a snapshot.

    make_sounds.py OUTDIR     write snapshot.wav into OUTDIR

Standard library only. The shutter is two short mechanical clicks, the blade opening and closing:
each a burst of band-limited noise over a low knock, both dying away within a few milliseconds.
The noise comes from a fixed generator, so every build writes the same bytes.
"""

import math
import os
import struct
import sys

RATE = 22050


def noise(seed):
    """Deterministic white noise in -1..1 (a 32-bit linear congruential generator)."""
    state = seed
    while True:
        state = (state * 1664525 + 1013904223) & 0xFFFFFFFF
        yield (state >> 8) / float(1 << 23) - 1.0


def click(length, start, loudness, pitch, seed):
    """A click at `start` seconds: noise through a resonant band-pass around 3 kHz, with a knock
    at `pitch` Hz below it."""
    out = [0.0] * length
    source = noise(seed)
    # Two-pole resonator (band-pass) for the blade's metallic tick.
    centre, q = 3000.0, 4.0
    w = 2 * math.pi * centre / RATE
    r = 1 - w / (2 * q)
    a1, a2 = 2 * r * math.cos(w), -r * r
    y1 = y2 = 0.0
    first = int(start * RATE)
    for i in range(first, min(length, first + int(0.05 * RATE))):
        t = (i - first) / RATE
        tick = next(source) * math.exp(-t / 0.004)
        y = tick + a1 * y1 + a2 * y2
        y2, y1 = y1, y
        knock = math.sin(2 * math.pi * pitch * t) * math.exp(-t / 0.012)
        out[i] = loudness * (0.12 * y + 0.6 * knock)
    return out


def shutter():
    length = int(0.16 * RATE)
    opening = click(length, 0.0, 1.0, 170.0, 7)
    closing = click(length, 0.065, 0.8, 230.0, 11)
    mixed = [a + b for a, b in zip(opening, closing)]
    peak = max(abs(v) for v in mixed) or 1.0
    return [v * 0.7 / peak for v in mixed]


def wav_bytes(samples):
    data = b"".join(struct.pack("<h", max(-32767, min(32767, int(round(v * 32767))))) for v in samples)
    fmt = struct.pack("<HHIIHH", 1, 1, RATE, RATE * 2, 2, 16)
    body = b"WAVE" + b"fmt " + struct.pack("<I", len(fmt)) + fmt + b"data" + struct.pack("<I", len(data)) + data
    return b"RIFF" + struct.pack("<I", len(body)) + body


def main(argv):
    if len(argv) != 2 or argv[1].startswith("-"):
        sys.stderr.write(__doc__)
        return 2
    os.makedirs(argv[1], exist_ok=True)
    with open(os.path.join(argv[1], "snapshot.wav"), "wb") as f:
        f.write(wav_bytes(shutter()))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
