#!/usr/bin/env bash
# Prints the video figures: Motion-JPEG compression of a raw 30-second 640x480 clip at 10 frames
# a second (made by ffmpeg's test source, with 8000 Hz sound) by Kestro's own compressor under
# Wine, beside ffmpeg's Motion-JPEG encoder on the same clip at the quality scale (-q:v) whose
# file comes closest in size, one thread each, in the same run; then the frames per second the
# Screen source captures at 640 pixels wide under Wine on a private Xvfb when 10 are asked for.
# Figures only, no verdict.
#   scripts/bench-video.sh [windows build folder]      (default build/win)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/.." && pwd)
build=$(cd "${1:-$root/build/win}" && pwd)
seconds=30
screen_seconds=10

work="$root/build/bench-video"
rm -rf "$work"
mkdir -p "$work"
raw="$work/raw.avi"
ffmpeg -v error -f lavfi -i "testsrc2=size=640x480:rate=10" -f lavfi \
  -i "sine=frequency=440:sample_rate=8000" -t "$seconds" -c:v rawvideo -pix_fmt bgr24 \
  -c:a pcm_u8 -ac 1 "$raw"
frames=$((seconds * 10))

# The Windows bench tests, in the prefix of the given mode; their BENCH lines.
wine_bench() {
  local mode=$1 filter=$2
  (
    export KESTRO_WINE_MODE=$mode
    source "$here/wine-env.sh"
    "$here/wine-prefix.sh" >/dev/null
    cd "$build/bin" && "$here/wine-run.sh" kestro_wine_tests.exe \
      --gtest_also_run_disabled_tests --gtest_filter="$filter" 2>/dev/null | tr -d '\r'
    "$KESTRO_WINESERVER" -k 2>/dev/null || true
  )
}

export KESTRO_BENCH_RAW_AVI="Z:${raw//\//\\}"
(unset DISPLAY; wine_bench test 'DISABLED_VideoBench.MotionJpegCompression') >"$work/compress.log" || {
  cat "$work/compress.log"
  echo "The compression bench failed"
  exit 1
}
kestro=$(sed -nE 's/^BENCH mjpeg-seconds ([0-9.]+)$/\1/p' "$work/compress.log")
kestro_bytes=$(stat -c %s "$work/kestro-mjpeg.avi")

# ffmpeg at the quality scale whose file comes closest in size to Kestro's.
best_q=2
best_gap=-1
for q in 2 3 4 5 6 7 8 9 10 12 15; do
  ffmpeg -v error -y -i "$raw" -c:v mjpeg -q:v "$q" -threads 1 -c:a copy "$work/ffmpeg-q$q.avi"
  size=$(stat -c %s "$work/ffmpeg-q$q.avi")
  gap=$(( size > kestro_bytes ? size - kestro_bytes : kestro_bytes - size ))
  if (( best_gap < 0 || gap < best_gap )); then
    best_gap=$gap
    best_q=$q
  fi
done
ffmpeg_bytes=$(stat -c %s "$work/ffmpeg-q$best_q.avi")
ffmpeg_time=999999
for _ in 1 2 3; do
  t0=$(date +%s.%N)
  ffmpeg -v error -y -i "$raw" -c:v mjpeg -q:v "$best_q" -threads 1 -c:a copy "$work/ffmpeg.avi"
  t1=$(date +%s.%N)
  ffmpeg_time=$(awk -v a="$t0" -v b="$t1" -v m="$ffmpeg_time" 'BEGIN { t = b - a; print (t < m ? t : m) }')
done

source "$here/xvfb.sh"
trap kestro_stop_xvfb EXIT
kestro_start_xvfb force
KESTRO_BENCH_SECONDS=$screen_seconds wine_bench display 'DISABLED_VideoBench.ScreenSourceFrameRate' \
  >"$work/screen.log" || true
kestro_stop_xvfb
screen() { sed -nE "s/^BENCH screen-$1 ([0-9.]+)$/\1/p" "$work/screen.log"; }

fps() { awk -v n="$frames" -v t="$1" 'BEGIN { printf "%.1f", n / t }'; }
mb() { awk -v b="$1" 'BEGIN { printf "%.1f MB", b / 1000000 }'; }
echo "Motion-JPEG compression of a raw ${seconds} s 640x480 clip, ${frames} frames, best of three:"
printf '  %-52s %7s fps  (%.3f s, %s)\n' "Kestro under Wine (libjpeg-turbo, quality 75)" \
  "$(fps "$kestro")" "$kestro" "$(mb "$kestro_bytes")"
printf '  %-52s %7s fps  (%.3f s, %s)\n' "ffmpeg -c:v mjpeg -q:v $best_q -threads 1" \
  "$(fps "$ffmpeg_time")" "$ffmpeg_time" "$(mb "$ffmpeg_bytes")"
printf '  %-52s %7s\n' "  Kestro / ffmpeg speed" \
  "$(awk -v a="$kestro" -v b="$ffmpeg_time" 'BEGIN { printf "%.2f", b / a }')"
if [[ -n "$(screen fps)" ]]; then
  printf 'Screen source at %s pixels wide under Wine on Xvfb, %s s at 10 frames a second asked:\n' \
    "$(screen width)" "$screen_seconds"
  printf '  %s fps  (%s frames taken, %s left empty)\n' "$(screen fps)" "$(screen frames)" \
    "$(screen empty)"
else
  cat "$work/screen.log"
  echo "The Screen source bench failed"
fi
echo "Files: $work"
