#!/usr/bin/env bash
# The flow around a run with real keys: a finish brings up the results card
# over the last frame (a Space held from play chooses nothing there), R plays
# the level again, N after a finish the next one; the pause menu's "Restart
# level" puts the ball back at the start and "Back to title" leaves the run
# (both clicked with the mouse). With the plain-colour atlas
# the card's panel is grey where play shows the background below the floor.
. "$(dirname "$0")/lib.sh"

CARD="150 300"     # inside the card, left of where the level's banner can be
BELOW_BANNER=800x260+0+240   # the ball's rows, under the level's number and title
ROOF="640 204"     # two cells above, five right of the ball, clear of the level's banner: air in level 1, blocks in level 2

tw_init 800 600
tw_plain_atlas
printf '%s\n' "Open Room" 12 5 bbbbbbbbbbbb baaaaaaaaaab baaaaaaaaaab bajaaalaaaab \
  bbbbbbbbbbbb > "$TW_DIR/Levels/level1.dat"
printf '%s\n' "Low Room" 12 5 bbbbbbbbbbbb bbbbbbbbbbbb baaaaaaaaaab bajaaalaaaab \
  bbbbbbbbbbbb > "$TW_DIR/Levels/level2.dat"
shot() { tw_screenshot "$TW_DIR/now.png"; }
card_up() { [ "$(tw_pixel "$TW_DIR/now.png" $CARD)" = "128 128 128" ]; }

# finish_to_card: holds Right until the card shows.
finish_to_card() {
  tw_keydown Right
  tw_until "$TW_LIMIT" eval 'shot; card_up'
  tw_keyup Right
  card_up || tw_fail "no results card after rolling to the finish"
}
# in_play N: play without the card, in level 1 (open roof) or 2 (blocks above).
in_play() {
  tw_frames 18
  shot
  card_up && tw_fail "the card is still up where level $1 should run"
  [ "$(tw_pixel "$TW_DIR/now.png" $ROOF)" = "0 255 0" ] && r=2 || r=1
  [ "$r" = "$1" ] || tw_fail "level $r runs where level $1 should"
}
# pause_click Y: pauses, and clicks the row at Y once the menu is at rest;
# then puts the pointer back at the centre.
pause_click() {
  tw_key Escape
  tw_wait_still 340x260+230+150 || tw_fail "the pause menu does not come to rest"
  tw_click 400 "$1"
  tw_move 400 300
}

tw_start_x 800x600
tw_launch
tw_frames 18
tw_screenshot "$TW_DIR/title.png"
tw_keys Return Return
in_play 1
tw_keydown space   # held into the card, where it chooses nothing
finish_to_card
tw_frames 60
tw_keyup space
shot
card_up || tw_fail "a Space held from play left the card"
tw_key space       # pressed again once the card takes keys
tw_frames 18
shot
card_up || tw_fail "Space, the jump key, left the card"
tw_key r
in_play 1
finish_to_card
tw_frames 42
tw_key n
in_play 2

tw_frames 60
tw_screenshot "$TW_DIR/start.png"
tw_key Left 24
tw_frames 30
tw_screenshot "$TW_DIR/moved.png"
[ "$(tw_region_diff "$TW_DIR/start.png" "$TW_DIR/moved.png" $BELOW_BANNER)" -gt 200 ] ||
  tw_fail "Left did not move the ball"
pause_click 375   # "Restart level", under "Back to title"
tw_frames 90      # the view, which leads toward the pointer, glides back
tw_wait_still "$BELOW_BANNER" || tw_fail "the view does not come to rest after the restart"
tw_screenshot "$TW_DIR/restarted.png"
[ "$(tw_region_diff "$TW_DIR/start.png" "$TW_DIR/restarted.png" $BELOW_BANNER)" -lt 200 ] ||
  tw_fail "\"Restart level\" did not put the ball back at the start"
pause_click 325
tw_wait_same "$TW_DIR/title.png" || tw_fail "\"Back to title\" does not show the title screen"
tw_close
tw_expect_exit 0
tw_pass
