#!/usr/bin/env python3
"""Checks the voice files the Windows tests left in the speech folder with the host's decoders.

  scripts/check-speech.py <folder>

GSM 6.10 files are decoded by sox, MP3 files by mpg123; each is compared with the recording it
was made from. Measure: the loudness envelope (RMS of 20 ms windows) of the decoded sound and
of the recording, correlated (Pearson) after the decoder's delay, must reach 0.8. The decoded
length must match the recording: GSM within one 320-sample block; MP3, after the encoder's and
decoder's fixed delay of 1105 samples, within one 576-sample frame.

The voice mail test recorded the phrase mail-phrase-8k-8bit.wav through the microphone and sent
it as GSM and MP3; mail-gsm.wav and mail-mp3.mp3 are the attachments it received. The video mail
test recorded it with the screen and sent the clip; mail-video.avi is what arrived, its sound
decoded by ffmpeg. A recording
starts at no fixed point, so the phrase's envelope (20 ms windows every 10 ms) is looked for at
every offset of the decoded one; the best correlation must reach 0.8.

Prints one line a check and "check-speech: N passed, N failed"; exits 1 when any failed.
"""
import array
import os
import subprocess
import sys
import tempfile
import wave

MP3_DELAY = 576 + 529  # the encoder's start delay and the decoder's
MP3_FRAME = 576
GSM_BLOCK = 320
MIN_CORRELATION = 0.8


def pcm16(path):
    """Samples and rate of any file sox reads, as signed 16-bit mono."""
    rate = int(subprocess.check_output(["soxi", "-r", path], text=True).strip())
    raw = subprocess.check_output(
        ["sox", path, "-t", "raw", "-e", "signed-integer", "-b", "16", "-c", "1", "-"])
    samples = array.array("h")
    samples.frombytes(raw)
    if sys.byteorder != "little":
        samples.byteswap()
    return samples, rate


def mp3_pcm16(path):
    with tempfile.TemporaryDirectory() as scratch:
        decoded = os.path.join(scratch, "decoded.wav")
        subprocess.check_call(["mpg123", "-q", "-w", decoded, path])
        with wave.open(decoded) as w:
            if w.getnchannels() != 1 or w.getsampwidth() != 2:
                raise ValueError("mpg123 gave %d channels of %d bytes" %
                                 (w.getnchannels(), w.getsampwidth()))
            samples = array.array("h")
            samples.frombytes(w.readframes(w.getnframes()))
            return samples, w.getframerate()


def ffmpeg_pcm16(path):
    """The sound of a video clip, decoded by ffmpeg."""
    raw = subprocess.check_output(
        ["ffmpeg", "-v", "error", "-i", path, "-map", "0:a", "-f", "s16le", "-ac", "1", "-"])
    rate = subprocess.check_output(
        ["ffprobe", "-v", "error", "-select_streams", "a", "-show_entries", "stream=sample_rate",
         "-of", "csv=p=0", path], text=True).strip()
    samples = array.array("h")
    samples.frombytes(raw)
    if sys.byteorder != "little":
        samples.byteswap()
    return samples, int(rate)


def envelope(samples, window, step=None):
    return [
        (sum(s * s for s in samples[i:i + window]) / window) ** 0.5
        for i in range(0, len(samples) - window + 1, step or window)
    ]


def correlation(a, b):
    n = min(len(a), len(b))
    a, b = a[:n], b[:n]
    ma, mb = sum(a) / n, sum(b) / n
    cov = sum((x - ma) * (y - mb) for x, y in zip(a, b))
    va = sum((x - ma) ** 2 for x in a)
    vb = sum((y - mb) ** 2 for y in b)
    return cov / (va * vb) ** 0.5 if va > 0 and vb > 0 else 0.0


def main():
    folder = sys.argv[1]
    results = []

    def check(name, ok, detail):
        results.append(ok)
        print("%s %s: %s" % ("PASS" if ok else "FAIL", name, detail))

    for capture in ("8k-8bit", "8k-16bit"):
        name = "gsm " + capture
        out = os.path.join(folder, "out-gsm-%s.wav" % capture)
        if not os.path.exists(out):
            check(name, False, "no file (the Windows test did not write it)")
            continue
        source, source_rate = pcm16(os.path.join(folder, "speech-%s.wav" % capture))
        decoded, rate = pcm16(out)
        window = rate // 50
        r = correlation(envelope(source, window), envelope(decoded, window))
        length_ok = abs(len(decoded) - len(source)) < GSM_BLOCK
        check(name, rate == source_rate and length_ok and r >= MIN_CORRELATION,
              "%d Hz, %d samples for %d, envelope correlation %.3f" %
              (rate, len(decoded), len(source), r))

    for capture, expected_rate in (("8k-16bit", 8000), ("16k-8bit", 16000)):
        name = "mp3 " + capture
        out = os.path.join(folder, "out-mp3-%s.mp3" % capture)
        if not os.path.exists(out):
            check(name, False, "no file (the Windows test did not write it)")
            continue
        source, _ = pcm16(os.path.join(folder, "speech-%s.wav" % capture))
        decoded, rate = mp3_pcm16(out)
        window = rate // 50
        r = correlation(envelope(source, window), envelope(decoded[MP3_DELAY:], window))
        beyond = len(decoded) - MP3_DELAY - len(source)
        check(name, rate == expected_rate and abs(beyond) < MP3_FRAME and r >= MIN_CORRELATION,
              "%d Hz, %d samples for %d (+%d after the delay), envelope correlation %.3f" %
              (rate, len(decoded), len(source), beyond, r))

    phrase_path = os.path.join(folder, "mail-phrase-8k-8bit.wav")
    for name, file, decode in (("mail gsm", "mail-gsm.wav", pcm16),
                               ("mail mp3", "mail-mp3.mp3", mp3_pcm16),
                               ("mail video", "mail-video.avi", ffmpeg_pcm16)):
        out = os.path.join(folder, file)
        if not os.path.exists(out):
            check(name, False, "no file (the voice mail test did not write it)")
            continue
        phrase, phrase_rate = pcm16(phrase_path)
        decoded, rate = decode(out)
        p = envelope(phrase, phrase_rate // 50, phrase_rate // 100)
        d = envelope(decoded, rate // 50, rate // 100)
        r, at = max((correlation(p, d[lag:lag + len(p)]), lag)
                    for lag in range(max(1, len(d) - len(p) + 1)))
        check(name, len(d) >= len(p) and r >= MIN_CORRELATION,
              "%d Hz, %.2f s, the %.2f s phrase found at %.2f s, envelope correlation %.3f" %
              (rate, len(decoded) / rate, len(phrase) / phrase_rate, at / 100, r))

    failed = results.count(False)
    print("check-speech: %d passed, %d failed" % (len(results) - failed, failed))
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
