#!/usr/bin/env bash
# Starts Kestro on a private Xvfb, saves a PNG of the whole screen as build/screenshot.png and
# closes Kestro again.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/.." && pwd)
export KESTRO_WINE_MODE=display
source "$here/wine-env.sh"
source "$here/xvfb.sh"
"$here/wine-prefix.sh"

# A program folder of its own, with settings, so that no first-run question covers the window.
folder="$root/build/screenshot"
rm -rf "$folder" && mkdir -p "$folder"
cp "$root"/build/win/bin/Kestro.exe "$root"/build/win/bin/kto2mp3.exe "$folder/"
printf 'VERSION=20\r\nUSEMAPI=0\r\nUSERNAME=Ann Lee\r\nMAILFROM=ann@example.com\r\nSERVERNAME=127.0.0.1\r\nSMTPPORT=25\r\nX=276\r\nY=90\r\nWIDTH=472\r\nHEIGHT=560\r\n' >"$folder/Kestro.ini"

kestro_start_xvfb force
trap '"$KESTRO_WINESERVER" -k 2>/dev/null || true; kestro_stop_xvfb' EXIT
xsetroot -solid '#3a6ea5' 2>/dev/null || true
(cd "$folder" && "$KESTRO_WINE" Kestro.exe >/dev/null 2>&1 &)
for _ in $(seq 1 100); do
  xwininfo -root -tree 2>/dev/null | grep -q '"Kestro"' && break
  sleep 0.2
done
sleep "${KESTRO_SCREENSHOT_DELAY:-2}"
import -window root "$root/build/screenshot.png"
echo "Saved $root/build/screenshot.png"
(cd "$folder" && "$KESTRO_WINE" taskkill /IM Kestro.exe >/dev/null 2>&1 || true)
"$KESTRO_WINESERVER" -w
