#!/usr/bin/env bash
# Starts Kestro.exe under Wine from its writable program folder build/win/bin, on $DISPLAY or
# on a private Xvfb, together with a local mail catcher (scripts/smtp-sink.py on 127.0.0.1) that
# stores every message Kestro sends as an .eml file in build/outbox/. On the first start, when
# the folder has no Kestro.ini yet, one is written that sends to the catcher with Kestro's own
# SMTP client from a sample sender; a Kestro.ini that exists is never changed.
#   KESTRO_RUN_SMTP_PORT   the catcher's port for a new Kestro.ini (default 2525)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/.." && pwd)
export KESTRO_WINE_MODE=display
source "$here/wine-env.sh"
source "$here/xvfb.sh"
"$here/wine-prefix.sh"

folder="$root/build/win/bin"
outbox="$root/build/outbox"
settings="$folder/Kestro.ini"
kestro_start_xvfb

if [[ ! -e "$settings" ]]; then
  "$here/run-settings.sh" "$settings" "${KESTRO_RUN_SMTP_PORT:-2525}"
  echo "First start: $settings sends to the local mail catcher as Sample Sender"
fi

# The catcher listens where the settings point when they point at this machine, so that a port
# changed in E-mail Settings still reaches it.
server=$(sed -nE 's/^SERVERNAME=([^\r]*)\r?$/\1/p' "$settings" | tail -n1)
port=$(sed -nE 's/^SMTPPORT=([0-9]+).*/\1/p' "$settings" | tail -n1)
if [[ "$server" != 127.0.0.1 && "$server" != localhost ]] || [[ -z "$port" ]]; then
  port=${KESTRO_RUN_SMTP_PORT:-2525}
fi
mkdir -p "$outbox"
/usr/bin/python3 "$here/smtp-sink.py" "$port" "$outbox" --eml --lifetime 86400 </dev/null &
catcher=$!
trap 'kill "$catcher" 2>/dev/null || true; "$KESTRO_WINESERVER" -k 2>/dev/null || true; kestro_stop_xvfb' EXIT
sleep 0.5
if ! kill -0 "$catcher" 2>/dev/null; then
  echo "The mail catcher could not listen on 127.0.0.1:$port (in use?)." >&2
  echo "Set SMTPPORT in $settings (or KESTRO_RUN_SMTP_PORT before the first start) to a free port." >&2
  exit 1
fi
echo "Messages sent to 127.0.0.1:$port are stored as .eml files in $outbox"
echo "Kestro is running on display $DISPLAY (close its window to end)"
cd "$folder"
"$KESTRO_WINE" Kestro.exe
"$KESTRO_WINESERVER" -w
