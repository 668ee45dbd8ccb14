#!/usr/bin/env bash
# What the game plays, recorded by SDL's disk audio driver: with music off the
# title is silent and a jump is heard; the music plays, M mutes and
# unmutes it, and the pause layer makes it quieter; sound = 0 and music = 0 write nothing; without an audio driver,
# or with a device that cannot be opened, or a sound file missing and
# another not audio at all, the game runs, leaves one line on stderr and exits 0.
. "$(dirname "$0")/lib.sh"

tw_init 800 600
printf '%s\n' "Flat" 9 5 bbbbbbbbb baaaaaaab baaaaaaab baaajaaab bbbbbbbbb > "$TW_DIR/Levels/level1.dat"
tw_start_x 800x600
AUDIO="$TW_DIR/audio.raw"
DISK=(SDL_AUDIODRIVER=disk "SDL_DISKAUDIOFILE=$AUDIO" SDL_DISKAUDIODELAY=20)

# peak FROM [TO]: the largest sample (0..32767) in the recording's bytes FROM..TO.
peak() {
  python3 - "$AUDIO" "$1" "${2:-}" <<'PY'
import array, sys
data = open(sys.argv[1], 'rb').read() if __import__('os').path.exists(sys.argv[1]) else b''
end = int(sys.argv[3]) if sys.argv[3] else len(data)
chunk = data[int(sys.argv[2]) // 4 * 4:end // 4 * 4]
samples = array.array('h', chunk)
print(max((abs(s) for s in samples), default=0))
PY
}
# heard FROM: true once the recording from byte FROM on peaks above 1000.
heard() { [ "$(peak "$1")" -gt 1000 ]; }

# Effects only: the title and a ball at rest are silent, a jump is heard.
tw_settings "screenw = 800" "screenh = 600" "music = 0"
tw_launch "${DISK[@]}"
tw_keys Return Return
tw_frames 90                         # the ball comes to rest
start=$(tw_audio_grow 0.5) || exit 1
quiet=$(tw_audio_grow 1) || exit 1
[ "$quiet" -gt "$start" ] || tw_fail "the disk driver records nothing"
[ "$(peak "$start" "$quiet")" = 0 ] || tw_fail "music = 0 with the ball at rest is not silent"
tw_key space
tw_until "$TW_LIMIT" heard "$quiet" || tw_fail "a jump puts no sound in the recording"
tw_exit_by_menu
! grep -q "^tetherorb2:" "$TW_DIR/game.log" || tw_fail "a complaint with working sound: $(cat "$TW_DIR/game.log")"

# Music only: the title theme plays; M mutes it, M again brings it back.
rm -f "$AUDIO"
tw_settings "screenw = 800" "screenh = 600" "sound = 0" "music = 100"
tw_launch "${DISK[@]}"
start=$(tw_audio_grow 1) || exit 1
playing=$(tw_audio_grow 1) || exit 1
[ "$(peak "$start" "$playing")" -gt 1000 ] || tw_fail "the title theme is not heard"
tw_key m
start=$(tw_audio_grow 0.5) || exit 1
muted=$(tw_audio_grow 1) || exit 1
[ "$(peak "$start" "$muted")" = 0 ] || tw_fail "M does not mute the music"
tw_key m
start=$(tw_audio_grow 0.5) || exit 1
end=$(tw_audio_grow 1.5) || exit 1
loud=$(peak "$start" "$end")
[ "$loud" -gt 1000 ] || tw_fail "M again does not bring the music back"
tw_key Escape
tw_frames 30                         # the pause layer slides in: 20 frames
start=$(tw_audio_grow 0.5) || exit 1
end=$(tw_audio_grow 1.5) || exit 1
quiet=$(peak "$start" "$end")
[ "$quiet" -gt 200 ] && [ "$quiet" -lt $((loud * 6 / 10)) ] ||
  tw_fail "paused, the music peaks at $quiet against $loud: it should go on, quieter"
tw_key Escape
tw_frames 30
tw_exit_by_menu

# Both off: the device is never opened, nothing is written.
rm -f "$AUDIO"
tw_settings "screenw = 800" "screenh = 600" "sound = 0" "music = 0"
tw_launch "${DISK[@]}"
tw_keys Return Return space
tw_frames 30
tw_exit_by_menu
[ "$(peak 0)" = 0 ] || tw_fail "sound = 0 and music = 0 still play something"

# No audio driver at all, and a device that cannot be opened: a silent game
# that still runs, one line on stderr.
tw_settings "screenw = 800" "screenh = 600"
for broken in SDL_AUDIODRIVER=nosuchdriver "SDL_DISKAUDIOFILE=$TW_DIR/nofolder/audio.raw"; do
  tw_launch "${DISK[@]}" "$broken"
  tw_keys Return Return space
  tw_exit_by_menu
  [ "$(grep -c "^tetherorb2: no sound" "$TW_DIR/game.log")" = 1 ] || tw_fail "expected one line on stderr with $broken"
done

# A missing effect and a theme that is not audio: one line names both, the rest still plays.
rm -f "$AUDIO" "$TW_DIR/Media"
mkdir -p "$TW_DIR/Media/sounds"
cp "$REPO_ROOT"/Media/*.png "$TW_DIR/Media/"
cp "$REPO_ROOT"/Media/sounds/* "$TW_DIR/Media/sounds/"
rm "$TW_DIR/Media/sounds/jump.wav"
echo "not a sound" > "$TW_DIR/Media/sounds/theme_menu.ogg"
tw_launch "${DISK[@]}"
tw_keys Return Return
tw_frames 90
start=$(tw_audio_grow 0.5) || exit 1
tw_key Down
tw_until "$TW_LIMIT" heard "$start"
tw_exit_by_menu
[ "$(grep -c "^tetherorb2:" "$TW_DIR/game.log")" = 1 ] || tw_fail "expected one line on stderr for the bad files"
grep -q "jump.wav" "$TW_DIR/game.log" && grep -q "theme_menu.ogg" "$TW_DIR/game.log" ||
  tw_fail "the stderr line does not name both bad files"
[ "$(peak "$start")" -gt 1000 ] || tw_fail "the sounds that loaded are not heard"
tw_pass
