#!/usr/bin/env bash
# What the game tells the player: level 1 starts with its control hint in a
# bar at the bottom (none with hints = 0); a click on a title row chooses it;
# B in the editor says "Saved" in the bottom bar; a screenshot's name shows in
# the pause footer for two seconds; a click on "Quit" ends the game.
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
  tw_frames 30
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


EDIT_Y=219; QUIT_Y=428; SAVE_Y=275          # title rows and the pause button, 800 x 600
EDITOR_BAR=800x70+0+518; FOOTER=800x58+0+542
rm -r "$TW_DIR/Media" && ln -s "$REPO_ROOT/Media" "$TW_DIR/Media"   # the real font from here on
tw_launch
tw_move 400 500
tw_frames 18
tw_screenshot "$TW_DIR/title.png"
tw_click 400 $EDIT_Y                         # "Edit": the edit list, level 1 lit
tw_key Return
tw_frames 30
tw_screenshot "$TW_DIR/editor.png"

tw_key Escape
tw_wait_still $FOOTER || tw_fail "the pause layer did not come to rest"
tw_screenshot "$TW_DIR/paused.png"
tw_click 400 $SAVE_Y
tw_wait_region "$TW_DIR/paused.png" $FOOTER differs || tw_fail "the footer does not name the screenshot"
tw_wait_file "$TW_DIR/screenshot1.png"
tw_wait_region "$TW_DIR/paused.png" $FOOTER same || tw_fail "the screenshot's name stays in the footer"
tw_key Escape
tw_frames 36

# B saves: "Saved" in the bottom bar while the key is still down, then the title.
xdotool keydown b
tw_frames 6
tw_screenshot "$TW_DIR/saved.png"
xdotool keyup b
tw_move 400 500
[ "$(tw_region_diff "$TW_DIR/editor.png" "$TW_DIR/saved.png" $EDITOR_BAR)" != 0 ] ||
  tw_fail "B in the editor did not change the bottom bar"
tw_wait_same "$TW_DIR/title.png" || tw_fail "the editor did not give way to the title after saving"
tw_click 400 $QUIT_Y
tw_expect_exit 0
tw_pass
