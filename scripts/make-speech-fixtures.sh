#!/usr/bin/env bash
# Makes the spoken test recordings in a folder (default build/speech-fixtures): one phrase
# spoken by espeak-ng, converted by sox to the recorder's three capture formats, as
# tempwave.wav holds them, a 60-second recording of the phrase repeated for the bench, and a
# shorter phrase for the voice mail test.
#   scripts/make-speech-fixtures.sh [folder]
# The Windows tests find the folder through KESTRO_SPEECH (a Windows path, e.g. Z:\...).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
dir=${1:-"$here/../build/speech-fixtures"}
mkdir -p "$dir"
phrase="Please call me back this afternoon. The meeting moved to Thursday at four o'clock."
espeak-ng -v en-us -s 150 -w "$dir/phrase.wav" "$phrase"
# -D: no dither, so that the files are the same on every run.
sox -D "$dir/phrase.wav" -r 8000 -c 1 -b 8 -e unsigned-integer "$dir/speech-8k-8bit.wav"
sox -D "$dir/phrase.wav" -r 16000 -c 1 -b 8 -e unsigned-integer "$dir/speech-16k-8bit.wav"
sox -D "$dir/phrase.wav" -r 8000 -c 1 -b 16 -e signed-integer "$dir/speech-8k-16bit.wav"
# A shorter phrase that the voice mail test speaks into the microphone.
espeak-ng -v en-us -s 150 -w "$dir/mail-phrase.wav" "Hello Bob, the parcel arrived this morning."
sox -D "$dir/mail-phrase.wav" -r 8000 -c 1 -b 8 -e unsigned-integer "$dir/mail-phrase-8k-8bit.wav"
for name in 8k-8bit 16k-8bit 8k-16bit; do
  sox "$dir/speech-$name.wav" "$dir/speech-60s-$name.wav" repeat 20 trim 0 60
done
