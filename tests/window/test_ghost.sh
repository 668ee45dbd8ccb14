#!/usr/bin/env bash
# Ghosts with real input. A first run waits, then rolls to the finish: its
# path is saved as Levels/level1.ghost. A second run rolls at once and shows
# the ghost behind the ball; the same moment with "ghost = 0" shows none. In
# the play list G watches the best run, and a key press ends the watching.
# A best run on the tether is watched with its tether (grey in that atlas).
# With the plain-colour atlas the ghost, the ball's red at half strength over
# the blue background, has a colour of its own.
. "$(dirname "$0")/lib.sh"

W=800; H=600
tw_init $W $H
tw_plain_atlas

printf '%s\n' "Long Roll" 40 4 bbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbb \
  baaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaab bajaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaalab \
  bbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbb > "$TW_DIR/Levels/level1.dat"
GHOST="$TW_DIR/Levels/level1.ghost"

# ghost_pixels FILE.png [COLOUR]: pixels of the ghost's colour (or COLOUR) in the
# playfield, below the score bar and above the bottom bar.
ghost_pixels() {
  convert "$1" -crop 800x400+0+100 +repage -alpha off -fuzz 12% -fill white +opaque "${2:-rgb(108,0,80)}" \
    -fill black -opaque "${2:-rgb(108,0,80)}" -negate -format '%[fx:int(mean*w*h+0.5)]' info:
}

# start_level: from the title screen into level 1, the pointer at the
# window's centre, where the view does not lead away from the ball.
start_level() {
  tw_keys Return Return
  tw_move 400 300
}

tw_start_x ${W}x${H}
tw_launch
start_level
tw_frames 36
tw_keydown Right
tw_wait_file "$GHOST"
tw_keyup Right
tw_frames 42
tw_key Return   # the results card, once it takes keys, goes to the title
[ "$(head -c 4 "$GHOST")" = T2GH ] || tw_fail "the ghost file has no magic word"

# The second run, rolling at once, leads the ghost by the first run's wait;
# it ends before the finish, so the ghost stays the first run's.
race() {
  start_level
  tw_keydown Right
  tw_frames 108
  tw_screenshot "$1"
  tw_keyup Right
  tw_close
  tw_expect_exit 0
}
race "$TW_DIR/ghost.png"
tw_settings "screenw = $W" "screenh = $H" "ghost = 0"
tw_launch
race "$TW_DIR/noghost.png"
with=$(ghost_pixels "$TW_DIR/ghost.png")
without=$(ghost_pixels "$TW_DIR/noghost.png")
[ "$with" -gt 1500 ] || tw_fail "the second run shows no ghost: $with pixels of its colour"
[ "$without" -lt 300 ] || tw_fail "with ghost = 0 the run still shows $without pixels of the ghost's colour"

# Watching: G in the play list, the ghost moves with the camera on it; a key ends it.
tw_settings "screenw = $W" "screenh = $H"
tw_launch
tw_key Return
tw_move 790 590
tw_frames 18
tw_screenshot "$TW_DIR/list.png"
tw_key g
tw_wait_differs "$TW_DIR/list.png" || tw_fail "G in the play list does not start watching"
tw_frames 30
tw_screenshot "$TW_DIR/watch.png"
[ "$(ghost_pixels "$TW_DIR/watch.png")" -gt 1500 ] || tw_fail "watching shows no ghost"
tw_key x
tw_wait_same "$TW_DIR/list.png" || tw_fail "a key press does not end the watching"
tw_close
tw_expect_exit 0

python3 -c 'import struct, sys; sys.stdout.buffer.write(b"T2GH" + struct.pack("<2I", 2, 300) +
  struct.pack("<3f2h", 1, 2.5, 2.5, 6 * 32, 32) * 300)' > "$GHOST"   # at the spawn, hanging from (6, 1)
tw_launch
tw_keys Return g
tw_frames 30
tw_screenshot "$TW_DIR/tether.png"
[ "$(ghost_pixels "$TW_DIR/tether.png")" -gt 1500 ] || tw_fail "G does not watch a run on the tether"
grey=$(ghost_pixels "$TW_DIR/tether.png" 'rgb(128,128,128)')
[ "$grey" -gt 1000 ] || tw_fail "watching a run on the tether shows no tether: $grey grey pixels"
tw_close
tw_expect_exit 0
tw_pass
