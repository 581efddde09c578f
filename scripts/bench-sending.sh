#!/usr/bin/env bash
# Prints how fast Kestro sends mail, in one run against one local SMTP server on 127.0.0.1 that
# only discards what it receives (scripts/smtp-discard-sink.py), so that the server is not what
# is measured: one message with a 50 MB attachment sent by Kestro through its real main window
# and SMTP session under Wine (six times; the server keeps the first message's bytes), then the
# same bytes sent by a plain blocking Winsock client under Wine (the platform's ceiling), by
# curl's SMTP client, and by a native client that only writes (the server's own ceiling). The
# server times every session from the connection to the end-of-data mark and checks that all
# delivered the same bytes. With it: the working set of the sending process, and natively the
# time to convert a 1 MB RTF body to HTML and to build the text part of a 10,000-line body.
# The same message then goes over STARTTLS with a login to a local server with TLS
# (scripts/smtp-tls-peers.sh), beside curl uploading the same bytes with --ssl-reqd.
# Figures only, no verdict; the machine's load is printed beside them, since other work on it
# slows every client: compare the ratios of one run. Nothing is sent beyond 127.0.0.1.
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
# KESTRO_BENCH_SENDING_ONLY=1 leaves them out (the sending figures alone).
if [[ -z "${KESTRO_BENCH_SENDING_ONLY:-}" ]]; then
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
fi

# The discarding server (scripts/smtp-discard-sink.py) times every session itself, from the
# accepted connection to the end-of-data mark, and keeps the first message's bytes.
port=$(/usr/bin/python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
/usr/bin/python3 "$here/smtp-discard-sink.py" "$port" "$work/sink.log" --keep "$work/message.data" \
  --lifetime 1800 >"$work/sink.err" 2>&1 </dev/null &
sink_pid=$!
stop_sink() { kill "$sink_pid" 2>/dev/null || true; wait "$sink_pid" 2>/dev/null || true; }
trap stop_sink EXIT
for _ in $(seq 100); do
  (exec 3<>"/dev/tcp/127.0.0.1/$port") 2>/dev/null && break
  sleep 0.1
done
export KESTRO_SMTP_PORT=$port KESTRO_SMTP_SINK="Z:${work//\//\\}\\sink"
sessions() { grep -c '^MESSAGE ' "$work/sink.log" 2>/dev/null || true; }
rounds=5

# 1. Kestro through its main window: six sends, the first one gives the others its bytes.
(cd "$build/bin" && "$here/wine-run.sh" kestro_wine_tests.exe --gtest_also_run_disabled_tests \
  --gtest_filter='DISABLED_SendBench.*' 2>/dev/null | tr -d '\r') >"$work/wine.log" || {
  cat "$work/wine.log"
  echo "The Wine bench failed"
  exit 1
}
# Working set of the first send: before it, the largest seen during it, the process's peak
# before and after it (bytes).
read -r ws_before ws_largest peak_before peak_after < <(sed -nE 's/^BENCH send-memory (.+)$/\1/p' "$work/wine.log" | head -n1)
kestro_first=2 kestro_last=$(sessions)

# 2. The platform's ceiling: a blocking Winsock client under Wine, 64 KB per send.
(cd "$build/bin" && "$here/wine-run.sh" blocking_smtp_send.exe "$port" \
  "Z:${work//\//\\}\\message.data" "$rounds" 2>&1 | tr -d '\r') >"$work/blocking.log" || {
  cat "$work/blocking.log"
  echo "The blocking Winsock client failed"
  exit 1
}
blocking_first=$((kestro_last + 1)) blocking_last=$(sessions)

# 3. curl's SMTP client, given the message without the transparency dots (it adds them).
/usr/bin/python3 -c 'import sys
data = open(sys.argv[1], "rb").read()
lines = data.split(b"\r\n")
open(sys.argv[2], "wb").write(b"\r\n".join(l[1:] if l.startswith(b".") else l for l in lines))' \
  "$work/message.data" "$work/message.eml"
for _ in $(seq "$rounds"); do
  curl -sS --noproxy '*' --url "smtp://127.0.0.1:$port" --mail-from ann@example.org \
    --mail-rcpt bob@example.net --upload-file "$work/message.eml" >/dev/null
done
curl_first=$((blocking_last + 1)) curl_last=$(sessions)

# 4. The server's own ceiling: a native client that writes the same bytes 1 MB at a time.
for _ in $(seq "$rounds"); do
  /usr/bin/python3 - "$port" "$work/message.data" <<'PY'
import socket, sys
s = socket.create_connection(("127.0.0.1", int(sys.argv[1])))
replies = s.makefile("rb")
def reply():
    while True:
        line = replies.readline()
        if line[3:4] != b"-":
            return line
reply()
for command in (b"HELO native\r\n", b"MAIL FROM:<ann@example.org>\r\n", b"RCPT TO:<bob@example.net>\r\n", b"DATA\r\n"):
    s.sendall(command)
    reply()
with open(sys.argv[2], "rb") as data:
    while block := data.read(1 << 20):
        s.sendall(block)
s.sendall(b".\r\n")
reply()
s.sendall(b"QUIT\r\n")
reply()
PY
done
native_first=$((curl_last + 1)) native_last=$(sessions)
stop_sink

# Every session must have delivered the same bytes: the kept ones of Kestro's first send. Kestro's
# later sends differ from it only in their Date and Message-ID, so they are held to its length.
read -r _ want_bytes want_crc _ < <(sed -n '1p' "$work/sink.log")
same="every session delivered the same bytes"
awk -v bytes="$want_bytes" -v crc="$want_crc" -v first="$blocking_first" \
  '$2 != bytes || (NR >= first && $3 != crc) { bad = 1 } END { exit bad }' "$work/sink.log" ||
  same="THE SESSIONS DELIVERED DIFFERENT BYTES"
[[ $kestro_last -ge 2 && $(sessions) -eq $((kestro_last + 3 * rounds)) ]] ||
  same="SESSIONS ARE MISSING: $(sessions) in all, $kestro_last of them Kestro's"
bytes=$(stat -c %s "$work/message.data")
fastest() { sed -n "$1,$2p" "$work/sink.log" | awk '{ print $4 }' | sort -g | head -n1; }
kestro=$(fastest "$kestro_first" "$kestro_last")
blocking=$(fastest "$blocking_first" "$blocking_last")
curl_best=$(fastest "$curl_first" "$curl_last")
native_sender=$(fastest "$native_first" "$native_last")
# What the server itself spent on a session at most (the first one also wrote the kept copy).
sink_cpu=$(sed -n "$((kestro_first)),\$p" "$work/sink.log" | awk '{ print $5 }' | sort -g | tail -n1)
all_kestro=$(sed -n "${kestro_first},${kestro_last}p" "$work/sink.log" | awk '{ printf "%s%.3f", (NR > 1 ? " " : ""), $4 }')

# The same over STARTTLS with a login: Kestro under Wine, then curl with --ssl-reqd, both timed
# from the outside (the TLS server stores what it receives, with its envelope lines first).
source "$here/smtp-tls-peers.sh"
trap 'stop_sink; kestro_stop_tls_peers' EXIT
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
read -r tls_ws_before tls_ws_largest tls_peak_before tls_peak_after < <(sed -nE 's/^BENCH send-memory (.+)$/\1/p' "$work/wine-tls.log" | head -n1)
without_envelope() {
  /usr/bin/python3 -c 'import sys
data = open(sys.argv[1], "rb").read()
open(sys.argv[2], "wb").write(data[data.index(b"\r\n\r\n") + 4:])' "$1" "$2"
}
without_envelope "$(ls -t "$work/tls/starttls"/*.msg | head -n1)" "$work/message-tls.eml"
rm -f "$work/tls/starttls"/*.msg
tls_bytes=$(stat -c %s "$work/message-tls.eml")
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


rate() { awk -v b="$bytes" -v t="$1" 'BEGIN { printf "%.1f", b / 1e6 / t }'; }
mib() { awk -v b="$1" 'BEGIN { printf "%.1f MiB", b / 1048576 }'; }
ms() { awk -v s="$1" 'BEGIN { printf "%.2f ms", s * 1000 }'; }
growth=$(awk -v a="$ws_before" -v b="$ws_largest" -v p="$peak_after" -v q="$peak_before" \
  'BEGIN { top = b; if (p > q && p > top) top = p; print top - a }')

load=$(cut -d' ' -f1-3 /proc/loadavg)
echo "Sending one message with a 50 MB attachment to a local SMTP server that discards it, in one run"
echo "($(awk -v b="$bytes" 'BEGIN { printf "%.1f", b / 1e6 }') MB of MIME text, $same; MB = 10^6 bytes;"
echo " timed by the server from the connection to the end-of-data mark; fastest of $rounds sessions each; $(nproc) cores, load $load):"
printf '  %-50s %8s MB/s  (%.3f s; all: %s)\n' "Kestro, main window and SMTP session under Wine" "$(rate "$kestro")" "$kestro" "$all_kestro"
printf '  %-50s %8s MB/s  (%.3f s)\n' "Blocking Winsock client under Wine, 64 KB sends" "$(rate "$blocking")" "$blocking"
printf '  %-50s %8s MB/s  (%.3f s)\n' "curl's SMTP client" "$(rate "$curl_best")" "$curl_best"
printf '  %-50s %8s MB/s  (%.3f s)\n' "The server alone: native client, 1 MB writes" "$(rate "$native_sender")" "$native_sender"
printf '  %-50s %8s\n' "  Kestro / blocking Winsock client speed" "$(awk -v a="$kestro" -v b="$blocking" 'BEGIN { printf "%.2f", b / a }')"
printf '  %-50s %8s\n' "  Kestro / curl speed" "$(awk -v a="$kestro" -v b="$curl_best" 'BEGIN { printf "%.2f", b / a }')"
printf '  %-50s %8s MB/s  (%.3f s of CPU at most per session)\n' "The server's own processing" "$(rate "$sink_cpu")" "$sink_cpu"
printf '  %-50s %8s\n' "  Server alone / fastest client speed" "$(awk -v n="$native_sender" -v a="$kestro" -v b="$blocking" -v c="$curl_best" 'BEGIN { m = a; if (b < m) m = b; if (c < m) m = c; printf "%.2f", m / n }')"
echo "  Working set of the process that sends (Kestro's windows and session under Wine), first send:"
echo "    $(mib "$ws_before") before, $(mib "$ws_largest") at most during it (growth $(mib "$growth")); peak $(mib "$peak_after")"
tls_growth=$(awk -v a="$tls_ws_before" -v b="$tls_ws_largest" -v p="$tls_peak_after" -v q="$tls_peak_before" \
  'BEGIN { top = b; if (p > q && p > top) top = p; print top - a }')
tls_rate() { awk -v b="$tls_bytes" -v t="$1" 'BEGIN { printf "%.1f", b / 1e6 / t }'; }
echo "The same message over STARTTLS with AUTH (TLS by the system's package, Schannel), fastest of three,"
echo "timed by each client from the Send command or its start to the server's acceptance:"
printf '  %-50s %8s MB/s  (%.3f s)\n' "Kestro, STARTTLS session under Wine" "$(tls_rate "$kestro_tls")" "$kestro_tls"
printf '  %-50s %8s MB/s  (%.3f s)\n' "curl --ssl-reqd, the same bytes" "$(tls_rate "$curl_tls_best")" "$curl_tls_best"
printf '  %-50s %8s       (%s)\n' "  Kestro / curl speed" "$(awk -v a="$kestro_tls" -v b="$curl_tls_best" 'BEGIN { printf "%.2f", b / a }')" "$same_tls"
echo "  Working set during the STARTTLS send:"
echo "    $(mib "$tls_ws_before") before, $(mib "$tls_ws_largest") at most during it (growth $(mib "$tls_growth")); peak $(mib "$tls_peak_after")"
if [[ -z "${KESTRO_BENCH_SENDING_ONLY:-}" ]]; then
  native_figure() { sed -nE "s/^BENCH $1 (.+)$/\1/p" "$work/native.log"; }
  read -r rtf_seconds rtf_in rtf_out < <(native_figure rtf-to-html)
  read -r text_seconds text_lines text_bytes < <(native_figure text-part)
  read -r qp_seconds qp_lines qp_bytes < <(native_figure text-part-qp)
  echo "Mail builder, native, best of five:"
  printf '  %-48s %12s  (%s RTF in, %s HTML out)\n' "RTF body to HTML" "$(ms "$rtf_seconds")" "$(mib "$rtf_in")" "$(mib "$rtf_out")"
  printf '  %-48s %12s  (%s lines, %s)\n' "Text part of the body, plain ASCII (7bit)" "$(ms "$text_seconds")" "$text_lines" "$(mib "$text_bytes")"
  printf '  %-48s %12s  (%s lines, %s)\n' "Text part, accented (quoted-printable)" "$(ms "$qp_seconds")" "$qp_lines" "$(mib "$qp_bytes")"
fi
echo "Files: $work"
