#!/usr/bin/env bash
# Writes the Kestro.ini of a first `make run`, when FILE does not exist yet: Kestro's own SMTP
# client sends to the local mail catcher on 127.0.0.1:PORT as a sample sender, so that Send
# works at once. A file that exists is left as it is.
#   run-settings.sh FILE PORT
set -euo pipefail
file=$1 port=$2
[[ -e "$file" ]] && exit 0
# The window where Kestro places it by default: a third across, a quarter down the screen.
read -r width height < <(xdpyinfo 2>/dev/null |
  sed -nE 's/^ *dimensions: *([0-9]+)x([0-9]+).*/\1 \2/p' | head -n1) || true
: "${width:=1024}" "${height:=768}"
printf '%s\r\n' VERSION=20 USEMAPI=0 'USERNAME=Sample Sender' MAILFROM=sample.sender@example.com \
  REPLYTO= SERVERNAME=127.0.0.1 "SMTPPORT=$port" "X=$((width / 3))" "Y=$((height / 4))" \
  WIDTH=472 HEIGHT=553 ATTACHDIR= VIDEOINDEX=0 ALWAYS_CLOSE=0 ALWAYS_SAVE=0 ALWAYS_CLEAR=0 \
  ALWAYS_ADDRESS_MAPI=0 >"$file"
