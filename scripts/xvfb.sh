# Sourced: starts a private Xvfb when there is no display, and stops it on exit.
# KESTRO_XVFB_SIZE is its screen size (default 1024x768).
# Sets DISPLAY; KESTRO_XVFB_PID is the server's pid when this script started one.
kestro_start_xvfb() {
  local force=${1:-}
  if [[ -n "${DISPLAY:-}" && -z "$force" ]]; then
    return 0
  fi
  local n
  for n in $(seq 90 130); do
    [[ -e /tmp/.X11-unix/X$n || -e /tmp/.X$n-lock ]] && continue
    Xvfb ":$n" -screen 0 "${KESTRO_XVFB_SIZE:-1024x768}x24" -nolisten tcp >/dev/null 2>&1 &
    KESTRO_XVFB_PID=$!
    local i
    for i in $(seq 1 50); do
      [[ -e /tmp/.X11-unix/X$n ]] && break
      sleep 0.1
    done
    export DISPLAY=":$n"
    return 0
  done
  echo "No free X display number for Xvfb" >&2
  return 1
}

kestro_stop_xvfb() {
  if [[ -n "${KESTRO_XVFB_PID:-}" ]]; then
    kill "$KESTRO_XVFB_PID" 2>/dev/null || true
    wait "$KESTRO_XVFB_PID" 2>/dev/null || true
    KESTRO_XVFB_PID=
  fi
}
