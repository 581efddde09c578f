# Sourced: the local SMTP servers with TLS and login (scripts/smtp-tls-peers.py) and the
# certificates they use, made here with openssl: a test CA, a certificate for "localhost" from
# it, and one from a second CA that nobody trusts. The Windows tests add the test CA to the
# trusted roots of the test prefix only.
#
#   kestro_start_tls_peers FOLDER LOG LIFETIME
#                           makes FOLDER/certs, starts the servers and waits until they
#                           listen; exports KESTRO_TLS_PEERS (FOLDER as a Windows path), which
#                           the Windows tests read
#   kestro_stop_tls_peers   stops them (the process started here, by its pid)
kestro_make_test_certificate() {
  local certs=$1 ca=$2 name=$3
  openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=Kestro $ca" \
    -keyout "$certs/$ca-ca.key" -out "$certs/$ca-ca.pem" 2>/dev/null
  openssl req -newkey rsa:2048 -nodes -subj "/CN=localhost" \
    -keyout "$certs/$name.key" -out "$certs/$name.csr" 2>/dev/null
  printf 'subjectAltName=DNS:localhost\nextendedKeyUsage=serverAuth\n' >"$certs/$name.ext"
  openssl x509 -req -in "$certs/$name.csr" -CA "$certs/$ca-ca.pem" -CAkey "$certs/$ca-ca.key" \
    -CAcreateserial -days 2 -extfile "$certs/$name.ext" -out "$certs/$name.pem" 2>/dev/null
}

kestro_start_tls_peers() {
  local folder=$1 log=$2 lifetime=$3
  local here
  here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
  rm -rf "$folder"
  mkdir -p "$folder/certs"
  kestro_make_test_certificate "$folder/certs" test server
  kestro_make_test_certificate "$folder/certs" stranger untrusted
  cp "$folder/certs/test-ca.pem" "$folder/ca.pem"
  /usr/bin/python3 "$here/smtp-tls-peers.py" "$folder/certs" "$folder" --lifetime "$lifetime" \
    >"$log" 2>&1 </dev/null &
  KESTRO_TLS_PEERS_PID=$!
  local _
  for _ in $(seq 600); do # a loaded machine may take a while to start Python
    [[ -f "$folder/ports" ]] && break
    sleep 0.1
  done
  export KESTRO_TLS_PEERS="Z:${folder//\//\\}"
}

kestro_stop_tls_peers() {
  if [[ -n "${KESTRO_TLS_PEERS_PID:-}" ]]; then
    kill "$KESTRO_TLS_PEERS_PID" 2>/dev/null || true
    wait "$KESTRO_TLS_PEERS_PID" 2>/dev/null || true
    KESTRO_TLS_PEERS_PID=
  fi
}
