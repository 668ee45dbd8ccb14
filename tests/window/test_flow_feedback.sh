#!/usr/bin/env bash
# What the game tells the player: level 1 starts with its control hint in a
# bar at the bottom (none with hints = 0).
. "$(dirname "$0")/lib.sh"

tw_init 800 600
tw_plain_atlas                       # background dark blue, panels and text grey
printf '%s\n' "Flat" 12 8 \
  bbbbbbbbbbbb baaaaaaaaaab baaaaaaaaaab baaaaaaaaaab \
  baaaajaaaaab baaaaaaaaaab baaaaaaaaalb bbbbbbbbbbbb > "$TW_DIR/Levels/level1.dat"
tw_start_x

# HINT_PIXEL: the pixel in the middle of the bottom hint bar once level 1 has started.
hint_bar_pixel() {
  tw_launch
  tw_keys Return Return
  sleep 0.5
  tw_screenshot "$TW_DIR/start.png"
  tw_close
  tw_expect_exit 0
  HINT_PIXEL=$(tw_pixel "$TW_DIR/start.png" 400 553)
}
BLUE="0 0 160"
hint_bar_pixel
[ "$HINT_PIXEL" != "$BLUE" ] || tw_fail "no hint bar at the bottom of level 1"
tw_settings "screenw = 800" "screenh = 600" "hints = 0"
hint_bar_pixel
[ "$HINT_PIXEL" = "$BLUE" ] || tw_fail "with hints = 0 the bottom of level 1 shows $HINT_PIXEL, not the background"

tw_pass
