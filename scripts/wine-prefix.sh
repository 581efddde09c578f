#!/usr/bin/env bash
# Creates the private Wine prefix for KESTRO_WINE_MODE (test or display) when it is missing.
#   test:    the null graphics driver, so windows, dialogs and RichEdit run with no X server.
#   display: the X11 driver, unmanaged windows (no window manager on Xvfb).
# With KESTRO_WINE_DPI set, the screen of the prefix has that many dots per inch.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=wine-env.sh
source "$here/wine-env.sh"

stamp="$WINEPREFIX/.kestro-ready"
[[ -f "$stamp" ]] && exit 0

rm -rf "$WINEPREFIX"
mkdir -p "$WINEPREFIX"
echo "Creating Wine prefix $WINEPREFIX"
# wineboot needs no display; it only prepares the prefix.
DISPLAY= "$KESTRO_WINE" wineboot -i >/dev/null 2>&1 || true
"$KESTRO_WINESERVER" -w

reg="$WINEPREFIX/kestro.reg"
{
  echo 'REGEDIT4'
  echo
  echo '[HKEY_CURRENT_USER\Software\Wine\Drivers]'
  if [[ "$KESTRO_WINE_MODE" == test ]]; then
    echo '"Graphics"="null"'
  else
    echo '"Graphics"="x11"'
  fi
  echo
  echo '[HKEY_CURRENT_USER\Software\Wine\X11 Driver]'
  echo '"Managed"="N"'
  echo '"Decorated"="Y"'
  echo
  echo '[HKEY_CURRENT_USER\Software\Wine\WineDbg]'
  echo '"ShowCrashDialog"=dword:00000000'
  echo
  # Arial and the other common faces, served by the Liberation fonts.
  echo '[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]'
  echo '"Arial"="Liberation Sans"'
  echo '"Times New Roman"="Liberation Serif"'
  echo '"Courier New"="Liberation Mono"'
  if [[ -n "${KESTRO_WINE_DPI:-}" ]]; then
    echo
    echo '[HKEY_CURRENT_USER\Control Panel\Desktop]'
    printf '"LogPixels"=dword:%08x\n' "$KESTRO_WINE_DPI"
    echo
    echo '[HKEY_LOCAL_MACHINE\System\CurrentControlSet\Hardware Profiles\Current\Software\Fonts]'
    printf '"LogPixels"=dword:%08x\n' "$KESTRO_WINE_DPI"
  fi
} >"$reg"
DISPLAY= "$KESTRO_WINE" regedit /S "$reg" >/dev/null 2>&1
"$KESTRO_WINESERVER" -w
# Wine's own faces (Marlett draws the caption buttons, Tahoma the dialogs).
if compgen -G "/usr/share/wine/fonts/*.ttf" >/dev/null; then
  cp /usr/share/wine/fonts/*.ttf "$WINEPREFIX/drive_c/windows/Fonts/"
fi
touch "$stamp"
