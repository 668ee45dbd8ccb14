#!/usr/bin/env bash
# Pause from the title screen and from play with Escape, save screenshots
# from the pause menu and leave through "Exit". The files hold the frozen
# frame without the pause layer or the pointer, as 8-bit RGBA PNGs with the
# Comment text; an existing screenshot1.png is kept.
. "$(dirname "$0")/lib.sh"

# In an 800 x 600 window, fully paused: buttons centred at x 400, y 175, 225, 275;
# bars over y 0..60 and 540..600. The strip left of the buttons shows the frozen frame.
RESUME_Y=175; EXIT_Y=225; SAVE_Y=275
STRIP=200x440+0+80
TOP_BAR=800x60+0+0
BUTTONS=340x160+230+150
TITLE_CORNER=300x60+0+0   # the bar's title and version, still once a slide ends

check_png() {
  local f=$1
  [ "$(od -An -tu1 -j24 -N2 "$f" | tr -s ' ' | sed 's/^ //')" = "8 6" ] ||
    tw_fail "$f is not 8-bit RGBA"
  LC_ALL=C grep -aq "tEXtComment.Created with LodePNG" "$f" || tw_fail "$f has no Comment text"
  [ "$(tw_image_size "$f")" = "800 600" ] || tw_fail "$f is $(tw_image_size "$f")"
}

tw_init 800 600
printf '%s\n' "Pause ground" 12 8 \
  bbbbbbbbbbbb baaaaaaaaaab baaaaaaaaaab baaaaaaaaaab \
  baaaajaaalab baaaaaaaaaab baaaaaaaaaab bbbbbbbbbbbb > "$TW_DIR/level.dat"
tw_add_level 1 "$TW_DIR/level.dat"
printf 'keep me' > "$TW_DIR/screenshot1.png"
tw_start_x
tw_launch

# From the title screen, with the pointer (and so the game's cursor) at (100, 300).
tw_move 100 300
tw_frames 12
tw_screenshot "$TW_DIR/title.png"
tw_key Escape
tw_wait_still $TITLE_CORNER || tw_fail "the pause layer did not come to rest"
tw_move 400 $SAVE_Y
tw_frames 12
tw_screenshot "$TW_DIR/paused_title.png"
# Encoding holds up the frame that saves; wait for each file before the next click.
tw_click 400 $SAVE_Y
tw_wait_file "$TW_DIR/screenshot2.png"
tw_frames 18
tw_click 400 $SAVE_Y
tw_wait_file "$TW_DIR/screenshot3.png"
tw_frames 18

[ "$(cat "$TW_DIR/screenshot1.png")" = "keep me" ] || tw_fail "screenshot1.png was overwritten"
[ -f "$TW_DIR/screenshot2.png" ] && [ -f "$TW_DIR/screenshot3.png" ] ||
  tw_fail "two clicks did not write screenshot2.png and screenshot3.png: $(ls "$TW_DIR")"
[ -e "$TW_DIR/screenshot4.png" ] && tw_fail "one click wrote more than one file"
check_png "$TW_DIR/screenshot2.png"
check_png "$TW_DIR/screenshot3.png"
shot="$TW_DIR/screenshot2.png"
[ "$(tw_region_diff "$shot" "$TW_DIR/screenshot3.png" 800x600+0+0)" = 0 ] ||
  tw_fail "two screenshots of one pause differ"
[ "$(tw_region_diff "$shot" "$TW_DIR/paused_title.png" $STRIP)" = 0 ] ||
  tw_fail "the screenshot is not the frozen frame shown behind the pause layer"
[ "$(tw_region_diff "$shot" "$TW_DIR/title.png" $TOP_BAR)" = 0 ] ||
  tw_fail "the screenshot's top differs from the title screen"
[ "$(tw_region_diff "$shot" "$TW_DIR/paused_title.png" $TOP_BAR)" != 0 ] ||
  tw_fail "the screenshot holds the dashboard bar"
[ "$(tw_region_diff "$shot" "$TW_DIR/paused_title.png" $BUTTONS)" != 0 ] ||
  tw_fail "the screenshot holds the pause menu"
[ "$(tw_region_diff "$shot" "$TW_DIR/title.png" 40x60+88+290)" != 0 ] ||
  tw_fail "the screenshot holds the pointer"
[ "$(tw_distinct_colours "$shot")" -gt 1 ] || tw_fail "the screenshot is blank"

# Resume and, two frames after the click (the slide away takes 20), Return
# as the layer slides away: it opens the play list. Then level 1, paused.
tw_move 400 $RESUME_Y
xdotool mousedown 1 || tw_fail "mousedown"
tw_frames 2
xdotool mouseup 1 || tw_fail "mouseup"
tw_frames 2
xdotool keydown Return || tw_fail "keydown Return"
tw_frames 3
xdotool keyup Return || tw_fail "keyup Return"
tw_wait_region "$TW_DIR/title.png" 320x30+70+135 differs ||   # the play list's heading
  tw_fail "Return pressed as the pause layer slid away was lost"
tw_key Return
tw_wait_region "$TW_DIR/title.png" $TITLE_CORNER differs || tw_fail "level 1 did not start"
tw_frames 18
tw_key Escape
tw_wait_still $TITLE_CORNER || tw_fail "the pause layer in play did not come to rest"
tw_move 400 $SAVE_Y
tw_frames 12
tw_screenshot "$TW_DIR/paused_play.png"
tw_click 400 $SAVE_Y
tw_wait_file "$TW_DIR/screenshot4.png"
tw_frames 18
play="$TW_DIR/screenshot4.png"
[ -f "$play" ] || tw_fail "no screenshot4.png from the pause in play"
check_png "$play"
[ "$(tw_region_diff "$play" "$TW_DIR/paused_play.png" $STRIP)" = 0 ] ||
  tw_fail "the screenshot in play is not the frozen frame"
[ "$(tw_region_diff "$play" "$shot" 800x600+0+0)" != 0 ] ||
  tw_fail "the screenshot in play shows the title screen"
[ "$(tw_region_diff "$play" "$TW_DIR/paused_play.png" $BUTTONS)" != 0 ] ||
  tw_fail "the screenshot in play holds the pause menu"

tw_click 400 $EXIT_Y
tw_expect_exit 0
tw_pass
