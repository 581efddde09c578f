#!/usr/bin/env bash
# Prints how fast voice is compressed, as multiples of real time, for a 60-second spoken
# recording: GSM 6.10 through the Audio Compression Manager in the main program's code, and
# MP3 by kto2mp3.exe (its own encoder), both under Wine; beside them sox's GSM encoder and the
# lame command-line encoder on the same recordings in the same run. Then the sending figures of
# scripts/bench-sending.sh (a 50 MB attachment to a local SMTP server, beside curl; the RTF
# converter and the text part, natively) and of scripts/bench-video.sh (Motion-JPEG compression
# beside ffmpeg, the Screen source's frame rate). Figures only, no verdict.
#   scripts/bench.sh [windows build folder]      (default build/win)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/.." && pwd)
build=$(cd "${1:-$root/build/win}" && pwd)
export KESTRO_WINE_MODE=test
source "$here/wine-env.sh"
"$here/wine-prefix.sh" >/dev/null || exit 1
unset DISPLAY

work="$root/build/bench"
rm -rf "$work"
"$here/make-speech-fixtures.sh" "$work" >/dev/null
export KESTRO_SPEECH="Z:${work//\//\\}"
seconds=60

(cd "$build/bin" && "$here/wine-run.sh" kestro_wine_tests.exe --gtest_also_run_disabled_tests \
  --gtest_filter='DISABLED_VoiceBench.*' 2>/dev/null | tr -d '\r') >"$work/wine.log" || {
  cat "$work/wine.log"
  echo "The Wine bench failed"
  exit 1
}
figure() { sed -nE "s/^BENCH $1 ([0-9.]+).*/\1/p" "$work/wine.log"; }
gsm=$(figure gsm)
start=$(figure kto2mp3-start)
mp3_8k=$(figure mp3-8k)
mp3_16k=$(figure mp3-16k)

# Best of three wall-clock runs of a host command, in seconds.
best_of_three() {
  local best=999999 t0 t1
  for _ in 1 2 3; do
    t0=$(date +%s.%N)
    "$@" >/dev/null 2>&1
    t1=$(date +%s.%N)
    best=$(awk -v a="$t0" -v b="$t1" -v m="$best" 'BEGIN { t = b - a; print (t < m ? t : m) }')
  done
  echo "$best"
}
sox_gsm=$(best_of_three sox "$work/speech-60s-8k-8bit.wav" -e gsm-full-rate "$work/sox-gsm.wav")
lame_8k=$(best_of_three lame --quiet -b 8 -m m "$work/speech-60s-8k-16bit.wav" "$work/lame-8k.mp3")
lame_16k=$(best_of_three lame --quiet -b 16 -m m "$work/speech-60s-16k-8bit.wav" "$work/lame-16k.mp3")

speed() { awk -v s="$seconds" -v t="$1" 'BEGIN { printf "%.1f", s / t }'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", b / a }'; }
kto_8k=$(awk -v a="$mp3_8k" -v b="$start" 'BEGIN { print a - b }')
kto_16k=$(awk -v a="$mp3_16k" -v b="$start" 'BEGIN { print a - b }')

echo "Voice compression of a ${seconds} s spoken recording, best of three runs (x real time):"
printf '  %-46s %8s x  (%.3f s)\n' "GSM 6.10, Kestro (ACM under Wine, 8 kHz 8-bit)" "$(speed "$gsm")" "$gsm"
printf '  %-46s %8s x  (%.3f s)\n' "GSM 6.10, sox (8 kHz 8-bit)" "$(speed "$sox_gsm")" "$sox_gsm"
printf '  %-46s %8s\n' "  Kestro / sox speed" "$(ratio "$gsm" "$sox_gsm")"
printf '  %-46s %8s x  (%.3f s less %.3f s start-up)\n' "MP3 8 kbit/s, kto2mp3 under Wine (8 kHz 16-bit)" "$(speed "$kto_8k")" "$mp3_8k" "$start"
printf '  %-46s %8s x  (%.3f s)\n' "MP3 8 kbit/s, lame (8 kHz 16-bit)" "$(speed "$lame_8k")" "$lame_8k"
printf '  %-46s %8s\n' "  kto2mp3 / lame speed" "$(ratio "$kto_8k" "$lame_8k")"
printf '  %-46s %8s x  (%.3f s less %.3f s start-up)\n' "MP3 16 kbit/s, kto2mp3 under Wine (16 kHz 8-bit)" "$(speed "$kto_16k")" "$mp3_16k" "$start"
printf '  %-46s %8s x  (%.3f s)\n' "MP3 16 kbit/s, lame (16 kHz 8-bit)" "$(speed "$lame_16k")" "$lame_16k"
printf '  %-46s %8s\n' "  kto2mp3 / lame speed" "$(ratio "$kto_16k" "$lame_16k")"
echo "Files: $work"
echo
"$here/bench-sending.sh" "$build"

echo
"$here/bench-video.sh" "$build"
