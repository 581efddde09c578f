# Sourced: a local SMTP server on 127.0.0.1 (scripts/smtp-sink.py) that stores every message it
# receives in a folder, for the send tests and the sending bench.
#
#   kestro_start_smtp_sink FOLDER LOG LIFETIME
#                           starts it on a free port and waits until it answers; exports
#                           KESTRO_SMTP_PORT and KESTRO_SMTP_SINK (FOLDER as a Windows path),
#                           which the Windows tests read
#   kestro_stop_smtp_sink   stops it (the server started here, by its pid)
kestro_start_smtp_sink() {
  local folder=$1 log=$2 lifetime=$3 port
  local here
  here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
  # The system's own interpreter: it has aiosmtpd; another python3 earlier on PATH may not.
  port=$(/usr/bin/python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
  /usr/bin/python3 "$here/smtp-sink.py" "$port" "$folder" --lifetime "$lifetime" \
    >"$log" 2>&1 </dev/null &
  KESTRO_SINK_PID=$!
  local _
  for _ in $(seq 100); do
    (exec 3<>"/dev/tcp/127.0.0.1/$port") 2>/dev/null && break
    sleep 0.1
  done
  export KESTRO_SMTP_PORT=$port KESTRO_SMTP_SINK="Z:${folder//\//\\}"
}

kestro_stop_smtp_sink() {
  if [[ -n "${KESTRO_SINK_PID:-}" ]]; then
    kill "$KESTRO_SINK_PID" 2>/dev/null || true
    wait "$KESTRO_SINK_PID" 2>/dev/null || true
    KESTRO_SINK_PID=
  fi
}
