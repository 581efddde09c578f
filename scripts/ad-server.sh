# Sourced: a local ad server on 127.0.0.1 (scripts/ad-server.py) for the banner tests; it makes
# its archives when asked and keeps every request it receives in a folder.
#
#   kestro_start_ad_server FOLDER LOG LIFETIME
#                           starts it on a free port and waits until it answers; exports
#                           KESTRO_AD_PORT and KESTRO_AD_REQUESTS (FOLDER as a Windows path),
#                           which the Windows tests read
#   kestro_stop_ad_server   stops it (the server started here, by its pid)
kestro_start_ad_server() {
  local folder=$1 log=$2 lifetime=$3 port
  local here
  here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
  port=$(/usr/bin/python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
  /usr/bin/python3 "$here/ad-server.py" "$port" "$folder" --lifetime "$lifetime" \
    >"$log" 2>&1 </dev/null &
  KESTRO_AD_SERVER_PID=$!
  local _
  for _ in $(seq 100); do
    (exec 3<>"/dev/tcp/127.0.0.1/$port") 2>/dev/null && break
    sleep 0.1
  done
  export KESTRO_AD_PORT=$port KESTRO_AD_REQUESTS="Z:${folder//\//\\}"
}

kestro_stop_ad_server() {
  if [[ -n "${KESTRO_AD_SERVER_PID:-}" ]]; then
    kill "$KESTRO_AD_SERVER_PID" 2>/dev/null || true
    wait "$KESTRO_AD_SERVER_PID" 2>/dev/null || true
    KESTRO_AD_SERVER_PID=
  fi
}
