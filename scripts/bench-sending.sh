#!/usr/bin/env bash
# Prints how fast Kestro sends mail: one message with a 50 MB attachment through the real SMTP
# session under Wine to a local SMTP server on 127.0.0.1 (scripts/smtp-sink.py), with the working
# set of the sending process; beside it curl's SMTP client uploading the same message bytes (as
# the server received them from Kestro) to the same server in the same run. Then, natively, the
# time to convert a 1 MB RTF body to HTML and to build the text part of a 10,000-line body.
# The same message then goes over STARTTLS with a login to a local server with TLS
# (scripts/smtp-tls-peers.sh), beside curl uploading the same bytes with --ssl-reqd.
# Figures only, no verdict. Nothing is sent beyond 127.0.0.1.
#   scripts/bench-sending.sh [windows build folder] [native bench build folder]
#   (defaults build/win and build/bench-native, or $KESTRO_BENCH_NATIVE; the native folder is
#   configured without the sanitizers)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/.." && pwd)
build=$(cd "${1:-$root/build/win}" && pwd)
native="${2:-${KESTRO_BENCH_NATIVE:-$root/build/bench-native}}"
export KESTRO_WINE_MODE=test
source "$here/wine-env.sh"
"$here/wine-prefix.sh" >/dev/null || exit 1
unset DISPLAY

work="$root/build/bench-sending"
rm -rf "$work"
mkdir -p "$work/sink"

# The native figures first: the bench program is built on its own, without the sanitizers.
{
  if [[ ! -f "$native/build.ninja" ]]; then
    cmake -S "$root" -B "$native" -G Ninja -DKESTRO_SANITIZE=OFF -DCMAKE_BUILD_TYPE=Release
  fi
  cmake --build "$native" --target kestro_mail_bench
} >"$work/native-build.log" 2>&1 || {
  cat "$work/native-build.log"
  echo "Building the native bench failed"
  exit 1
}
"$native/tests/kestro_mail_bench" >"$work/native.log"

source "$here/smtp-sink.sh"
source "$here/smtp-tls-peers.sh"
trap 'kestro_stop_smtp_sink; kestro_stop_tls_peers' EXIT
kestro_start_smtp_sink "$work/sink" "$work/sink.log" 1800
port=$KESTRO_SMTP_PORT

(cd "$build/bin" && "$here/wine-run.sh" kestro_wine_tests.exe --gtest_also_run_disabled_tests \
  --gtest_filter='DISABLED_SendBench.*' 2>/dev/null | tr -d '\r') >"$work/wine.log" || {
  cat "$work/wine.log"
  echo "The Wine bench failed"
  exit 1
}
kestro=$(sed -nE 's/^BENCH send-seconds ([0-9.]+)$/\1/p' "$work/wine.log")
stored=$(sed -nE 's/^BENCH send-stored (.+)$/\1/p' "$work/wine.log")
# Working set of the first send: before it, the largest seen during it, the process's peak
# before and after it (bytes).
read -r ws_before ws_largest peak_before peak_after < <(sed -nE 's/^BENCH send-memory (.+)$/\1/p' "$work/wine.log" | head -n1)

# The message as the server received it from Kestro, without the server's envelope lines.
without_envelope() {
  /usr/bin/python3 -c 'import sys
data = open(sys.argv[1], "rb").read()
open(sys.argv[2], "wb").write(data[data.index(b"\r\n\r\n") + 4:])' "$1" "$2"
}
without_envelope "$work/sink/$stored" "$work/message.eml"
rm -f "$work/sink/$stored"
bytes=$(stat -c %s "$work/message.eml")

curl_best=999999
same="the server stored the same bytes"
for _ in 1 2 3; do
  t0=$(date +%s.%N)
  curl -sS --noproxy '*' --url "smtp://127.0.0.1:$port" --mail-from ann@example.org \
    --mail-rcpt bob@example.net --upload-file "$work/message.eml" >/dev/null
  t1=$(date +%s.%N)
  curl_best=$(awk -v a="$t0" -v b="$t1" -v m="$curl_best" 'BEGIN { t = b - a; print (t < m ? t : m) }')
  copy=$(ls -t "$work/sink"/*.msg | head -n1)
  without_envelope "$copy" "$work/curl.eml"
  cmp -s "$work/message.eml" "$work/curl.eml" || same="the server's copy differs from Kestro's"
  rm -f "$copy"
done

# The same over STARTTLS with a login: Kestro under Wine, then curl with --ssl-reqd.
kestro_stop_smtp_sink
kestro_start_tls_peers "$work/tls" "$work/tls.log" 1800
tls_port=$(awk '$1 == "starttls" { print $2 }' "$work/tls/ports")
(cd "$build/bin" && KESTRO_BENCH_STARTTLS=1 KESTRO_SMTP_PORT=$tls_port \
  KESTRO_SMTP_SINK="$KESTRO_TLS_PEERS\\starttls" "$here/wine-run.sh" kestro_wine_tests.exe \
  --gtest_also_run_disabled_tests --gtest_filter='DISABLED_SendBench.*' 2>/dev/null |
  tr -d '\r') >"$work/wine-tls.log" || {
  cat "$work/wine-tls.log"
  echo "The Wine bench over STARTTLS failed"
  exit 1
}
kestro_tls=$(sed -nE 's/^BENCH send-seconds ([0-9.]+)$/\1/p' "$work/wine-tls.log")
stored_tls=$(sed -nE 's/^BENCH send-stored (.+)$/\1/p' "$work/wine-tls.log")
read -r tls_ws_before tls_ws_largest tls_peak_before tls_peak_after < <(sed -nE 's/^BENCH send-memory (.+)$/\1/p' "$work/wine-tls.log" | head -n1)
without_envelope "$work/tls/starttls/$stored_tls" "$work/message-tls.eml"
rm -f "$work/tls/starttls/$stored_tls"
curl_tls_best=999999
same_tls="the server stored the same bytes"
for _ in 1 2 3; do
  t0=$(date +%s.%N)
  curl -sS --noproxy '*' --ssl-reqd --cacert "$work/tls/ca.pem" --url "smtp://localhost:$tls_port" \
    --user "kestro:Voice-Mail 2 go!" --mail-from ann@example.org --mail-rcpt bob@example.net \
    --upload-file "$work/message-tls.eml" >/dev/null
  t1=$(date +%s.%N)
  curl_tls_best=$(awk -v a="$t0" -v b="$t1" -v m="$curl_tls_best" 'BEGIN { t = b - a; print (t < m ? t : m) }')
  copy=$(ls -t "$work/tls/starttls"/*.msg | head -n1)
  without_envelope "$copy" "$work/curl-tls.eml"
  cmp -s "$work/message-tls.eml" "$work/curl-tls.eml" || same_tls="the server's copy differs from Kestro's"
  rm -f "$copy"
done
kestro_stop_tls_peers

native_figure() { sed -nE "s/^BENCH $1 (.+)$/\1/p" "$work/native.log"; }
read -r rtf_seconds rtf_in rtf_out < <(native_figure rtf-to-html)
read -r text_seconds text_lines text_bytes < <(native_figure text-part)
read -r qp_seconds qp_lines qp_bytes < <(native_figure text-part-qp)

rate() { awk -v b="$bytes" -v t="$1" 'BEGIN { printf "%.1f", b / 1e6 / t }'; }
mib() { awk -v b="$1" 'BEGIN { printf "%.1f MiB", b / 1048576 }'; }
ms() { awk -v s="$1" 'BEGIN { printf "%.2f ms", s * 1000 }'; }
growth=$(awk -v a="$ws_before" -v b="$ws_largest" -v p="$peak_after" -v q="$peak_before" \
  'BEGIN { top = b; if (p > q && p > top) top = p; print top - a }')

echo "Sending one message with a 50 MB attachment to a local SMTP server, fastest of three runs"
echo "($(awk -v b="$bytes" 'BEGIN { printf "%.1f", b / 1e6 }') MB of MIME text; MB = 10^6 bytes):"
printf '  %-48s %8s MB/s  (%.3f s)\n' "Kestro, SMTP session over Winsock under Wine" "$(rate "$kestro")" "$kestro"
printf '  %-48s %8s MB/s  (%.3f s)\n' "curl's SMTP client, the same bytes" "$(rate "$curl_best")" "$curl_best"
printf '  %-48s %8s       (%s)\n' "  Kestro / curl speed" "$(awk -v a="$kestro" -v b="$curl_best" 'BEGIN { printf "%.2f", b / a }')" "$same"
echo "  Working set of the process that sends (Kestro's windows and session under Wine), first send:"
echo "    $(mib "$ws_before") before, $(mib "$ws_largest") at most during it (growth $(mib "$growth")); peak $(mib "$peak_after")"
tls_growth=$(awk -v a="$tls_ws_before" -v b="$tls_ws_largest" -v p="$tls_peak_after" -v q="$tls_peak_before" \
  'BEGIN { top = b; if (p > q && p > top) top = p; print top - a }')
echo "The same message over STARTTLS with AUTH (TLS by the system's package, Schannel), fastest of three:"
printf '  %-48s %8s MB/s  (%.3f s)\n' "Kestro, STARTTLS session under Wine" "$(rate "$kestro_tls")" "$kestro_tls"
printf '  %-48s %8s MB/s  (%.3f s)\n' "curl --ssl-reqd, the same bytes" "$(rate "$curl_tls_best")" "$curl_tls_best"
printf '  %-48s %8s       (%s)\n' "  Kestro / curl speed" "$(awk -v a="$kestro_tls" -v b="$curl_tls_best" 'BEGIN { printf "%.2f", b / a }')" "$same_tls"
echo "  Working set during the STARTTLS send:"
echo "    $(mib "$tls_ws_before") before, $(mib "$tls_ws_largest") at most during it (growth $(mib "$tls_growth")); peak $(mib "$tls_peak_after")"
echo "Mail builder, native, best of five:"
printf '  %-48s %12s  (%s RTF in, %s HTML out)\n' "RTF body to HTML" "$(ms "$rtf_seconds")" "$(mib "$rtf_in")" "$(mib "$rtf_out")"
printf '  %-48s %12s  (%s lines, %s)\n' "Text part of the body, plain ASCII (7bit)" "$(ms "$text_seconds")" "$text_lines" "$(mib "$text_bytes")"
printf '  %-48s %12s  (%s lines, %s)\n' "Text part, accented (quoted-printable)" "$(ms "$qp_seconds")" "$qp_lines" "$(mib "$qp_bytes")"
echo "Files: $work"
