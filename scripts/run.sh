#!/usr/bin/env bash
# Starts Kestro.exe under Wine from its writable program folder build/win/bin, on $DISPLAY or
# on a private Xvfb.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
export KESTRO_WINE_MODE=display
source "$here/wine-env.sh"
source "$here/xvfb.sh"
"$here/wine-prefix.sh"

kestro_start_xvfb
trap '"$KESTRO_WINESERVER" -k 2>/dev/null || true; kestro_stop_xvfb' EXIT
echo "Kestro is running on display $DISPLAY (close its window to end)"
cd "$here/../build/win/bin"
"$KESTRO_WINE" Kestro.exe
"$KESTRO_WINESERVER" -w
