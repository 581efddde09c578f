# Sourced: the environment for running the project's programs under Wine.
# KESTRO_WINE_MODE=test (default) uses a prefix with the null graphics driver (no X server);
# KESTRO_WINE_MODE=display uses a prefix with the X11 driver for `make run` and screenshots.
# KESTRO_WINE_DPI=144 (or another dots-per-inch figure) uses a prefix of its own whose screen
# has that DPI (Wine's LogPixels; 144 is 150%).
_kestro_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
: "${KESTRO_WINE_MODE:=test}"
_kestro_prefix="$KESTRO_WINE_MODE${KESTRO_WINE_DPI:+-dpi$KESTRO_WINE_DPI}"
export WINEPREFIX="${KESTRO_WINEPREFIX:-$_kestro_root/build/wine/$_kestro_prefix}"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
export WINEARCH=win64
if [[ -x /usr/lib/wine/wine64 ]]; then
  KESTRO_WINE=/usr/lib/wine/wine64
else
  KESTRO_WINE=$(command -v wine64 || command -v wine)
fi
if [[ -x /usr/lib/wine/wineserver64 ]]; then
  KESTRO_WINESERVER=/usr/lib/wine/wineserver64
else
  KESTRO_WINESERVER=$(command -v wineserver)
fi
export KESTRO_WINE KESTRO_WINESERVER
