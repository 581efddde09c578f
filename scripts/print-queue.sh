# Sourced: a private print queue for the printing tests. Debian's CUPS scheduler runs with its
# own configuration, spool, logs and socket in a private folder, and holds one PostScript
# printer, "KestroTest", whose device is a file: every job's PostScript lands in
# FOLDER/printed.ps. Wine's printing reaches the scheduler through CUPS_SERVER, so the
# machine's own scheduler, if it has one, is never asked.
#
#   kestro_start_print_queue FOLDER  starts it, adds the printer and exports CUPS_SERVER and
#                                    KESTRO_PRINT_OUTPUT (the file, as a Windows path)
#   kestro_stop_print_queue          stops it (the scheduler started here, by its pid)
kestro_start_print_queue() {
  local folder=$1
  KESTRO_CUPS_DIR=$(mktemp -d /tmp/kestro-cups.XXXXXX) || return 1
  # The filters run as the lp user and read the spool below this folder.
  chmod 755 "$KESTRO_CUPS_DIR"
  local d=$KESTRO_CUPS_DIR
  mkdir -p "$d/conf" "$d/spool" "$d/cache" "$d/state" "$d/tmp" "$d/log" "$folder"
  cat >"$d/conf/cupsd.conf" <<CONF
Listen $d/cups.sock
Browsing No
WebInterface No
DefaultAuthType None
<Location />
  Order allow,deny
  Allow all
</Location>
<Policy default>
  <Limit All>
    Order deny,allow
  </Limit>
</Policy>
CONF
  cat >"$d/conf/cups-files.conf" <<CONF
ServerRoot $d/conf
RequestRoot $d/spool
CacheDir $d/cache
StateDir $d/state
TempDir $d/tmp
AccessLog $d/log/access_log
ErrorLog $d/log/error_log
PageLog $d/log/page_log
FileDevice Yes
SystemGroup root
CONF
  /usr/sbin/cupsd -f -c "$d/conf/cupsd.conf" -s "$d/conf/cups-files.conf" \
    >"$d/log/cupsd.out" 2>&1 </dev/null &
  KESTRO_CUPS_PID=$!
  export CUPS_SERVER="$d/cups.sock"
  local _
  for _ in $(seq 100); do
    lpstat -r 2>/dev/null | grep -q 'is running' && break
    kill -0 "$KESTRO_CUPS_PID" 2>/dev/null || break
    sleep 0.1
  done
  # Letter paper at 300 dpi, Wine's PostScript driver in front of it.
  if ! lpadmin -p KestroTest -E -v "file://$folder/printed.ps" -m drv:///sample.drv/generic.ppd \
    >>"$d/log/cupsd.out" 2>&1 || ! lpadmin -d KestroTest >>"$d/log/cupsd.out" 2>&1; then
    echo "The test print queue did not start:" >&2
    cat "$d/log/cupsd.out" "$d/log/error_log" >&2 2>/dev/null
    kestro_stop_print_queue
    return 1
  fi
  export KESTRO_PRINT_OUTPUT="Z:${folder//\//\\}\\printed.ps"
}

kestro_stop_print_queue() {
  if [[ -n "${KESTRO_CUPS_PID:-}" ]]; then
    kill "$KESTRO_CUPS_PID" 2>/dev/null || true
    wait "$KESTRO_CUPS_PID" 2>/dev/null || true
    KESTRO_CUPS_PID=
  fi
  if [[ -n "${KESTRO_CUPS_DIR:-}" && -d "$KESTRO_CUPS_DIR" ]]; then
    rm -rf "$KESTRO_CUPS_DIR"
  fi
  KESTRO_CUPS_DIR=
  unset CUPS_SERVER KESTRO_PRINT_OUTPUT
}
