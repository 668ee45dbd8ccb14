#!/usr/bin/env bash
# The options screen, played: the music volume heard louder and quieter in
# the disk audio driver's output as it changes; Jump rebound to J, kept in
# settings.ini and still J after a restart (J jumps, Space no longer does);
# game speed 50% makes a falling ball take twice as long from an extra-time
# pickup on its way (heard) to the floor (heard).
. "$(dirname "$0")/lib.sh"

tw_init 800 600
{ echo Fall; echo 5; echo 30; echo bbbbb; echo bajab; for i in $(seq 10); do echo baaab; done
  echo bakab; for i in $(seq 16); do echo baaab; done; echo bbbbb; } > "$TW_DIR/Levels/level1.dat"
tw_start_x 800x600
AUDIO="$TW_DIR/audio.raw"
DISK=(SDL_AUDIODRIVER=disk "SDL_DISKAUDIOFILE=$AUDIO" SDL_DISKAUDIODELAY=20)

# audio MODE FROM [TO]: over the recording's bytes FROM..TO, "rms" prints
# the loudness; "onsets" prints the byte offsets where a sound starts after
# at least 50 ms of silence.
audio() {
  python3 - "$AUDIO" "$@" <<'PY'
import array, math, os, sys
path, mode, start = sys.argv[1], sys.argv[2], int(sys.argv[3]) // 4 * 4
data = open(path, 'rb').read() if os.path.exists(path) else b''
end = int(sys.argv[4]) // 4 * 4 if len(sys.argv) > 4 else len(data) // 4 * 4
s = array.array('h', data[start:end])
if mode == 'rms':
    print(int(math.sqrt(sum(v * v for v in s) / max(len(s), 1))))
else:
    step, quiet, out = 882, 5, []   # 10 ms windows of 44.1 kHz stereo
    for i in range(0, len(s) - step, step):
        loud = max(abs(v) for v in s[i:i + step]) > 1000
        if loud and quiet >= 5:
            out.append(start + i * 2)
        quiet = 0 if loud else quiet + 1
    print(' '.join(map(str, out)))
PY
}
music_rms() { local a b; a=$(tw_audio_grow 0.3) && b=$(tw_audio_grow 1.2) || exit 1; audio rms "$a" "$b"; }

# Music 50 to 100 to 0 on the options screen, effects silent meanwhile.
tw_settings "screenw = 800" "screenh = 600" "# kept as written" "sound = 0" "music = 50"
tw_launch "${DISK[@]}"
tw_keys Down Down Return Down
half=$(music_rms)
tw_keys Right Right Right Right Right
full=$(music_rms)
[ "$half" -gt 300 ] && [ "$full" -gt $((half * 15 / 10)) ] || tw_fail "music 100 is not louder: rms $full against $half"
tw_keys Left Left Left Left Left Left Left Left Left Left
off=$(music_rms)
[ "$off" -lt $((half / 10)) ] || tw_fail "music 0 is not quieter: rms $off against $half"

# Effects back on, then Jump (row 14) rebound to J.
tw_keys Up Right Right Right Right Right Right Right Right
for i in $(seq 14); do tw_key Down; done
tw_keys Return j
tw_frames 18
tw_exit_by_menu
grep -qx "key_jump = j" settings.ini && grep -qx "music = 0" settings.ini && grep -qx "# kept as written" settings.ini ||
  tw_fail "settings.ini does not keep the changes and its comment: $(cat settings.ini)"

# fall_bytes: chooses level 1 and sets FALL to the bytes of sound from the
# pickup the ball falls through to its landing: the last two sounds to start
# (the file runs ahead of the sounds mixed into it, so no later part is cut).
# The recording is the clock: a stalled mixer thread squeezes it, hence the
# band of 1.7 to 2.4 times rather than exactly two.
fall_bytes() {
  tw_key Return
  tw_frames 300
  tw_audio_grow 0.5 > /dev/null   # the sound of the last frames reaches the file
  local onsets=($(audio onsets 0))
  [ "${#onsets[@]}" -ge 2 ] || tw_fail "no pickup and landing heard after the level's choice"
  FALL=$(( onsets[-1] - onsets[-2] ))
}
sounds() { local onsets=($(audio onsets 0)); echo "${#onsets[@]}"; }

# Restarted: the binding is read again; the fall at 100%, J jumps, Space does not.
rm -f "$AUDIO"
tw_launch "${DISK[@]}"
tw_key Return
tw_frames 30
fall_bytes
normal=$FALL
before=$(sounds)
more_sounds() { [ "$(sounds)" -gt "$before" ]; }
tw_key space
tw_frames 48
tw_audio_grow 0.5 > /dev/null
[ "$(sounds)" = "$before" ] || tw_fail "Space still jumps after the rebinding"
tw_key j
tw_until "$TW_LIMIT" more_sounds || tw_fail "J does not jump after a restart"

# Back to the title, game speed 50% (row 6), the same fall again.
tw_key Escape
tw_frames 30
tw_keys Down Down Down Down Return
tw_frames 30
tw_keys Down Down Return Down Down Down Down Down Down Left Left Left Left Left b Return
tw_frames 30
fall_bytes
slow=$FALL
[ $((slow * 100)) -ge $((normal * 170)) ] && [ $((slow * 100)) -le $((normal * 240)) ] ||
  tw_fail "at 50% the fall takes $slow bytes of sound against $normal at 100%, not twice as long"
echo "music rms $half at 50, $full at 100, $off at 0; fall $normal bytes at 100%, $slow at 50%"
grep -qx "speed = 50" settings.ini || tw_fail "speed 50 not kept in settings.ini"
tw_exit_by_menu
tw_pass
