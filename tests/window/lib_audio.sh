# lib_audio.sh: the disk audio driver's recording as a clock. Sourced by lib.sh.

# The disk audio driver's recording, $AUDIO, as a clock: its size in bytes,
# whether it has reached a size, and a wait for it to grow.
tw_audio_size() { stat -c %s "$AUDIO" 2>/dev/null || echo 0; }
tw_audio_reaches() { [ "$(tw_audio_size)" -ge "$1" ]; }
# tw_audio_grow SECONDS: waits until SECONDS more of sound (44.1 kHz, two channels of
# 16 bits) are in the recording, then prints its size: the recording is the
# clock, however busy the machine. Call it as x=$(tw_audio_grow S) || exit 1.
tw_audio_grow() {
  local target
  target=$(awk -v now="$(tw_audio_size)" -v s="$1" 'BEGIN { printf "%d", now + s * 44100 * 4 }')
  tw_until "$TW_LIMIT" tw_audio_reaches "$target" || tw_fail "the recording stopped at $(tw_audio_size) bytes"
  tw_audio_size
}
