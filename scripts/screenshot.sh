#!/usr/bin/env bash
# Starts Kestro on a private Xvfb, saves a PNG of the whole screen as build/screenshot.png and
# closes Kestro again.
#   --load-message   the program folder holds three saved messages, and the picture,
#                    build/screenshot-load-message.png, shows the Load Message dialog
#   --address-book   the Address Book with five entries (build/screenshot-address-book.png)
#   --account-book   the Account Book with two accounts (build/screenshot-account-book.png)
#   --ad-banner      the banner shows an advertiser's frame fetched from a local ad server
#                    (scripts/ad-server.py): build/screenshot-ad-banner.png
#   --ad-fallback    the banner is turned off (ADBANNER=0) and shows one of its built-in
#                    images: build/screenshot-ad-fallback.png
# KESTRO_WIN_BUILD names the Windows build tree the programs come from (default build/win).
# KESTRO_WINE_DPI=144 shows the screen at 150% (Wine's LogPixels); the picture's name then ends
# in -dpi144.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/.." && pwd)
export KESTRO_WINE_MODE=display
source "$here/wine-env.sh"
source "$here/xvfb.sh"
source "$here/ad-server.sh"
"$here/wine-prefix.sh"

view=main command=
case "${1:-}" in
  "") ;;
  --load-message) view=load-message command=10002 caption="Load Saved Message" ;;
  --address-book) view=address-book command=1011 caption="Address Book" ;;
  # The From label of the address panel opens the account book.
  --account-book) view=account-book command="1006 MAILFIELD_CLASS" caption="Account Book" ;;
  --ad-banner) view=ad-banner ;;
  --ad-fallback) view=ad-fallback ;;
  *)
    echo "usage: $0 [--load-message | --address-book | --account-book | --ad-banner | --ad-fallback]" >&2
    exit 2
    ;;
esac
bin="${KESTRO_WIN_BUILD:-$root/build/win}/bin"
suffix=${KESTRO_WINE_DPI:+-dpi$KESTRO_WINE_DPI}
if [[ $view == main ]]; then
  folder="$root/build/screenshot$suffix"
  picture="$root/build/screenshot$suffix.png"
else
  folder="$root/build/screenshot-$view$suffix"
  picture="$root/build/screenshot-$view$suffix.png"
fi

# Writes a saved message: folder name, file name, To address, subject, date, attachment count.
saved_message() {
  local dir="$folder/save/$1" file=$2 to=$3 subject=$4 date=$5 count=$6 i
  mkdir -p "$dir"
  {
    printf 'FROMemailann@example.com\r\nFROMnameAnn Lee\r\nTO1\r\n%s\r\nCC0\r\nBCC0\r\n' "$to"
    printf 'SUBJECT%s\r\nATTACHMENTS%d\r\n' "$subject" "$count"
    for ((i = 1; i <= count; i++)); do
      printf 'C:\\Kestro\\save\\%s\\attachment%d.wav\r\n' "$1" "$i"
    done
    printf 'FLAGHTML=0\r\nDATE=%s\r\nBODY\r\n{\\rtf1\\ansi %s\\par\r\r\n}\r\r\n' "$date" "$subject"
  } >"$dir/$file"
}

# A program folder of its own, with settings, so that no first-run question covers the window.
rm -rf "$folder" && mkdir -p "$folder"
cp "$bin/Kestro.exe" "$bin/kto2mp3.exe" "$bin/libmp3lame-0.dll" "$folder/"
printf 'VERSION=20\r\nUSEMAPI=0\r\nUSERNAME=Ann Lee\r\nMAILFROM=ann@example.com\r\nSERVERNAME=127.0.0.1\r\nSMTPPORT=25\r\nX=276\r\nY=90\r\nWIDTH=472\r\nHEIGHT=560\r\n' >"$folder/Kestro.ini"
if [[ -n $command ]]; then
  cp "$bin/post_command.exe" "$folder/"
fi
if [[ $view == ad-* ]]; then
  # A window wider than the banner, so that the picture stands centred between its two lines.
  sed -i 's/^WIDTH=472/WIDTH=600/; s/^X=276/X=212/' "$folder/Kestro.ini"
fi
if [[ $view == ad-fallback ]]; then
  printf 'ADBANNER=0\r\n' >>"$folder/Kestro.ini"
elif [[ $view == ad-banner ]]; then
  # A local ad server whose location reply names an archive of one advertiser's frame.
  mkdir -p "$folder/server"
  /usr/bin/python3 "$root/tools/make_images.py" --sample-ad "$folder/server/ad.bmp"
  kestro_start_ad_server "$folder/server/requests" "$folder/server/log" 300
  trap 'kestro_stop_ad_server' EXIT
  base="http://127.0.0.1:$KESTRO_AD_PORT"
  archive="$base/archive?files=$folder/server/ad.bmp&delays=10000&link=$base/harbor"
  location="$base/location?to=$(/usr/bin/python3 -c 'import sys, urllib.parse; print(urllib.parse.quote(sys.argv[1], safe=""))' "$archive")"
  printf 'ADLOCATION1=%s\r\nADLOCATION2=%s\r\nADBANNER=1\r\n' "$location" "$location" >>"$folder/Kestro.ini"
fi
if [[ $view == address-book ]]; then
  printf '%s\r\n' 'Bo Fox' bo@example.org 'Cy Dale' cy.dale@example.com 'Dee Ng' dee@example.net \
    'Family' family@example.org 'Team' team@example.com >"$folder/addbook.ini"
fi
if [[ $view == account-book ]]; then
  printf '%s\r\n' 'Ann Lee' ann@example.com smtp.example.com ann.lee@example.com \
    'Ann at work' ann.lee@work.example work.example '' >"$folder/accbook.ini"
fi
if [[ $view == load-message ]]; then
  saved_message Dec062026-1217AM-56 "bo@example.org-Lunch Friday  Bring the maps.kto" \
    bo@example.org 'Lunch: Friday?  Bring the maps' 'Dec 06 2026  12:17 AM' 2
  saved_message Nov302026-0415PM-08 "team@example.com-Voice note from the trip.kto" \
    team@example.com 'Voice note from the trip' 'Nov 30 2026  04:15 PM' 1
  saved_message Dec012026-0930AM-41 "dee@example.com-Quarterly figures.kto" \
    dee@example.com 'Quarterly figures' 'Dec 01 2026  09:30 AM' 0
fi

kestro_start_xvfb force
trap '"$KESTRO_WINESERVER" -k 2>/dev/null || true; kestro_stop_xvfb; kestro_stop_ad_server' EXIT
xsetroot -solid '#3a6ea5' 2>/dev/null || true
(cd "$folder" && "$KESTRO_WINE" Kestro.exe >/dev/null 2>&1 &)
for _ in $(seq 1 100); do
  xwininfo -root -tree 2>/dev/null | grep -q '"Kestro"' && break
  sleep 0.2
done
if [[ -n $command ]]; then
  sleep 1
  # shellcheck disable=SC2086 # the command may name a child window class after the id
  (cd "$folder" && "$KESTRO_WINE" post_command.exe $command >/dev/null 2>&1) ||
    echo "Could not reach the Kestro window" >&2
  for _ in $(seq 1 100); do
    xwininfo -root -tree 2>/dev/null | grep -q "\"$caption\"" && break
    sleep 0.2
  done
fi
sleep "${KESTRO_SCREENSHOT_DELAY:-2}"
if [[ $view == ad-* ]]; then
  # Only the Kestro window.
  import -window "$(xwininfo -root -tree | awk '/"Kestro": \("kestro.exe"/ {print $1; exit}')" "$picture"
else
  import -window root "$picture"
fi
echo "Saved $picture"
if [[ -n $command ]]; then
  exit 0 # the modal dialog would keep Kestro from closing; the trap ends the wineserver
fi
(cd "$folder" && "$KESTRO_WINE" taskkill /IM Kestro.exe >/dev/null 2>&1 || true)
"$KESTRO_WINESERVER" -w
