# Sourced: a private PulseAudio daemon that gives Wine a sound card for the voice recorder tests.
# It has two null sinks at 8000 Hz, 8-bit mono: "speaker", the default output, and "micfeed",
# whose monitor is the default input. What is played into micfeed (pacat -d micfeed FILE) is what
# Wine records; what Wine plays can be recorded from speaker.monitor.
#
#   kestro_start_sound_device   starts it and exports PULSE_SERVER (which Wine's PulseAudio
#                               driver and the pulse tools use), KESTRO_TEST_MICROPHONE=micfeed
#                               and KESTRO_TEST_SPEAKER=speaker for the tests
#   kestro_stop_sound_device    stops it (the daemon started here, by its pid)
kestro_start_sound_device() {
  KESTRO_SOUND_DIR=$(mktemp -d /tmp/kestro-sound.XXXXXX) || return 1
  chmod 700 "$KESTRO_SOUND_DIR"
  cat >"$KESTRO_SOUND_DIR/pa.pa" <<EOF
load-module module-native-protocol-unix auth-anonymous=1 socket=$KESTRO_SOUND_DIR/native
load-module module-null-sink sink_name=speaker rate=8000 channels=1 format=u8
load-module module-null-sink sink_name=micfeed rate=8000 channels=1 format=u8
set-default-sink speaker
set-default-source micfeed.monitor
EOF
  # The daemon keeps its state (cookie, caches) in the private folder, not in the user's home.
  HOME="$KESTRO_SOUND_DIR" XDG_RUNTIME_DIR="$KESTRO_SOUND_DIR" XDG_CONFIG_HOME="$KESTRO_SOUND_DIR" \
    pulseaudio -n -F "$KESTRO_SOUND_DIR/pa.pa" --daemonize=no --exit-idle-time=-1 \
    --use-pid-file=no --disable-shm=yes >"$KESTRO_SOUND_DIR/daemon.log" 2>&1 </dev/null &
  KESTRO_PULSE_PID=$!
  export PULSE_SERVER="unix:$KESTRO_SOUND_DIR/native"
  local i
  for i in $(seq 1 100); do
    if pactl info >/dev/null 2>&1; then
      export KESTRO_TEST_MICROPHONE=micfeed KESTRO_TEST_SPEAKER=speaker
      return 0
    fi
    kill -0 "$KESTRO_PULSE_PID" 2>/dev/null || break
    sleep 0.1
  done
  echo "The test sound device did not start:" >&2
  cat "$KESTRO_SOUND_DIR/daemon.log" >&2
  kestro_stop_sound_device
  return 1
}

kestro_stop_sound_device() {
  if [[ -n "${KESTRO_PULSE_PID:-}" ]]; then
    kill "$KESTRO_PULSE_PID" 2>/dev/null || true
    wait "$KESTRO_PULSE_PID" 2>/dev/null || true
    KESTRO_PULSE_PID=
  fi
  if [[ -n "${KESTRO_SOUND_DIR:-}" && -d "$KESTRO_SOUND_DIR" ]]; then
    rm -rf "$KESTRO_SOUND_DIR"
  fi
  KESTRO_SOUND_DIR=
  unset PULSE_SERVER KESTRO_TEST_MICROPHONE KESTRO_TEST_SPEAKER
}
