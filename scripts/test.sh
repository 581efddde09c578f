#!/usr/bin/env bash
# Runs every test: the native unit tests (under ASan and UBSan) and the Windows tests under
# Wine, in a private prefix with the null graphics driver and one wineserver kept alive for
# the run. Ends with one line: "N passed, N failed".
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/.." && pwd)
export KESTRO_WINE_MODE=test
source "$here/wine-env.sh"
"$here/wine-prefix.sh" || exit 1

logs="$root/build/test-logs"
mkdir -p "$logs"
unset DISPLAY # the null driver needs no X server

"$KESTRO_WINESERVER" -p
source "$here/sound-device.sh"
source "$here/smtp-sink.sh"
source "$here/ad-server.sh"
source "$here/print-queue.sh"
trap '"$KESTRO_WINESERVER" -k 2>/dev/null || true; kestro_stop_sound_device; kestro_stop_print_queue' EXIT
# The printing tests print on a private CUPS scheduler whose one printer writes PostScript into
# a file of this folder; Wine takes its printers from the scheduler that CUPS_SERVER names.
rm -rf "$logs/print-queue"
kestro_start_print_queue "$logs/print-queue" || exit 1
# Start Wine's background services now, detached from any test's output: a service started by
# the first test would inherit that test's output pipe and keep ctest waiting for it to close.
"$KESTRO_WINE" cmd.exe /c exit >/dev/null 2>&1 </dev/null

# Reads "N% tests passed, F tests failed out of T" from a ctest log into passed/failed counts.
count() {
  local log=$1 line
  line=$(grep -E 'tests passed, [0-9]+ tests? failed out of [0-9]+' "$log" | tail -n1)
  if [[ -z "$line" ]]; then
    echo "0 1"
    return
  fi
  local failed total
  failed=$(sed -E 's/.* ([0-9]+) tests? failed out of ([0-9]+).*/\1/' <<<"$line")
  total=$(sed -E 's/.* failed out of ([0-9]+).*/\1/' <<<"$line")
  echo "$((total - failed)) $failed"
}

echo "Native unit tests"
# The unit tests' temporary files go to a folder of this run's own: test runs of other clones
# on the same machine use the same file names. (Its path has no capitals: one test needs that.)
native_tmp="/tmp/kestro-unit-tests-$$"
rm -rf "$native_tmp" && mkdir -p "$native_tmp"
TEST_TMPDIR="$native_tmp" ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --test-dir "$root/build/native" -j "$(nproc)" --output-on-failure --timeout 120 \
  >"$logs/native.log" 2>&1
native_rc=$?
rm -rf "$native_tmp"
grep -E '\*\*\*|tests passed' "$logs/native.log" || true

echo "Windows tests under Wine"
# The voice-file tests read spoken recordings made here and leave their GSM and MP3 files
# beside them; check-speech.py decodes those with sox and mpg123 afterwards.
speech_dir="$logs/speech"
rm -rf "$speech_dir"
"$here/make-speech-fixtures.sh" "$speech_dir" >"$logs/speech-fixtures.log" 2>&1 ||
  echo "*** Making the spoken recordings failed: $logs/speech-fixtures.log"
export KESTRO_SPEECH="Z:${speech_dir//\//\\}"
# The release archive, which the ReleaseArchive tests unzip into a fresh folder and run from.
"$here/dist.sh" >"$logs/dist.log" 2>&1 || echo "*** Writing the release archive failed: $logs/dist.log"
release_zip="$root/build/dist/Kestro-$(head -n1 "$root/VERSION")-win64.zip"
export KESTRO_RELEASE_ZIP="Z:${release_zip//\//\\}"
# The send tests deliver to a local SMTP server that stores every message in a folder; they
# learn its port and folder (as a Windows path) from the environment.
sink_dir="$logs/smtp-sink"
rm -rf "$sink_dir" && mkdir -p "$sink_dir"
trap '"$KESTRO_WINESERVER" -k 2>/dev/null || true; kestro_stop_sound_device; kestro_stop_smtp_sink; kestro_stop_print_queue; kestro_stop_ad_server' EXIT
kestro_start_smtp_sink "$sink_dir" "$logs/smtp-sink.log" 5400
# The banner tests fetch from a local ad server that makes its archives on request and keeps
# the requests it received in a folder; they learn its port and folder from the environment.
ad_dir="$logs/ad-server"
rm -rf "$ad_dir" && mkdir -p "$ad_dir"
kestro_start_ad_server "$ad_dir" "$logs/ad-server.log" 5400
# The settings a first `make run` writes, pointed at this server (the MakeRun tests send with them).
rm -f "$logs/run-settings.ini"
"$here/run-settings.sh" "$logs/run-settings.ini" "$KESTRO_SMTP_PORT"
export KESTRO_RUN_SETTINGS="Z:${logs//\//\\}\\run-settings.ini"
# The voice recorder tests record from and play into the null sinks of a private PulseAudio
# daemon, which Wine's sound driver finds through PULSE_SERVER.
kestro_start_sound_device || exit 1
# A Windows test that fails is run once more: Wine under load now and then fails to create a
# window. A real fault fails both times; the log keeps the first failure.
ctest --test-dir "$root/build/win" --output-on-failure --timeout 120 --repeat until-pass:2 \
  >"$logs/wine.log" 2>&1
wine_rc=$?
kestro_stop_sound_device
kestro_stop_smtp_sink
kestro_stop_print_queue
kestro_stop_ad_server
grep -E '\*\*\*|tests passed' "$logs/wine.log" || true

echo "Voice files decoded on the host"
/usr/bin/python3 "$here/check-speech.py" "$speech_dir" >"$logs/speech.log" 2>&1
grep -E '^FAIL|check-speech:' "$logs/speech.log" || echo "check-speech: 0 passed, 1 failed"
read -r speech_passed speech_failed < <(sed -nE 's/^check-speech: ([0-9]+) passed, ([0-9]+) failed$/\1 \2/p' "$logs/speech.log" | grep . || echo "0 1")

read -r native_passed native_failed < <(count "$logs/native.log")
read -r wine_passed wine_failed < <(count "$logs/wine.log")
passed=$((native_passed + wine_passed + speech_passed))
failed=$((native_failed + wine_failed + speech_failed))
if [[ $native_rc -ne 0 || $wine_rc -ne 0 ]] && [[ $failed -eq 0 ]]; then
  failed=1 # a run that broke before counting
fi
echo "Logs: $logs"
echo "$passed passed, $failed failed"
[[ $failed -eq 0 ]]
