#!/usr/bin/env bash
# The editor shows what a Shift + drag will fill while the button is held,
# and closing the window with unsaved edits opens the pause layer to ask
# first; a second close ends the game.
. "$(dirname "$0")/lib.sh"

tw_init 800 600
printf '%s\n' "Editor ground" 12 8 \
  bbbbbbbbbbbb baaaaaaaaaab baaaaaaaaaab baaaaaaaaaab \
  baaaajaaaaab baaaaaaaaaab baaaaaaaaalb bbbbbbbbbbbb > "$TW_DIR/Levels/level1.dat"
tw_start_x
tw_launch
tw_keys Down Return Return      # "Edit", then level 1
# 48 pixels a cell, the view centred on the spawn's centre (5.5, 4.5): cell
# (2, 2) has its top-left corner at (232, 180), cell (9, 5) its centre at (568, 348).
CORNER=24x24+220+168
tw_move 568 348
tw_frames 18
tw_screenshot "$TW_DIR/before.png"
tw_move 256 204
tw_keydown shift
xdotool mousedown 1
tw_frames 9
tw_move 568 348
tw_frames 18
tw_screenshot "$TW_DIR/dragging.png"
xdotool mouseup 1
tw_keyup shift
[ "$(tw_region_diff "$TW_DIR/before.png" "$TW_DIR/dragging.png" $CORNER)" != 0 ] ||
  tw_fail "no outline at the far corner of the rectangle being dragged"

tw_close                        # the spawn was in the rectangle: unsaved
tw_frames 30
tw_running || tw_fail "closing the window with unsaved edits quit at once"
tw_wait_region "$TW_DIR/before.png" 340x160+230+145 differs || tw_fail "the close did not open the pause layer"
tw_close
tw_expect_exit 0
tw_pass
