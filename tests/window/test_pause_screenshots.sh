#!/usr/bin/env bash
# Pause from the title screen and from play with Escape, save screenshots
# from the pause menu and leave through "Exit". The files hold the frozen
# frame without the pause layer or the pointer, as 8-bit RGBA PNGs with the
# Comment text; an existing screenshot1.png is kept.
. "$(dirname "$0")/lib.sh"

# ae A B GEOMETRY: how many pixels differ between A and B inside GEOMETRY.
ae() {
  local out
  out=$(compare -metric AE -extract "$3" "$1" "$2" null: 2>&1)
  echo "${out%% *}"
}

# In an 800 x 600 window, fully paused: buttons centred at x 400, y 175, 225, 275;
# bars over y 0..60 and 540..600. The strip left of the buttons shows the frozen frame.
RESUME_Y=175; EXIT_Y=225; SAVE_Y=275
STRIP=200x440+0+80
TOP_BAR=800x60+0+0
BUTTONS=340x160+230+150

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
sleep 0.2
tw_screenshot "$TW_DIR/title.png"
tw_key Escape
sleep 0.6
tw_move 400 $SAVE_Y
sleep 0.2
tw_screenshot "$TW_DIR/paused_title.png"
# Encoding holds up the frame that saves; wait for each file before the next click.
wait_for_file() {
  local i
  for i in $(seq 100); do
    [ -s "$1" ] && return 0
    sleep 0.1
  done
  tw_fail "no $1 within 10 s"
}
tw_click 400 $SAVE_Y
wait_for_file "$TW_DIR/screenshot2.png"
sleep 0.3
tw_click 400 $SAVE_Y
wait_for_file "$TW_DIR/screenshot3.png"
sleep 0.3

[ "$(cat "$TW_DIR/screenshot1.png")" = "keep me" ] || tw_fail "screenshot1.png was overwritten"
[ -f "$TW_DIR/screenshot2.png" ] && [ -f "$TW_DIR/screenshot3.png" ] ||
  tw_fail "two clicks did not write screenshot2.png and screenshot3.png: $(ls "$TW_DIR")"
[ -e "$TW_DIR/screenshot4.png" ] && tw_fail "one click wrote more than one file"
check_png "$TW_DIR/screenshot2.png"
check_png "$TW_DIR/screenshot3.png"
shot="$TW_DIR/screenshot2.png"
[ "$(ae "$shot" "$TW_DIR/screenshot3.png" 800x600+0+0)" = 0 ] ||
  tw_fail "two screenshots of one pause differ"
[ "$(ae "$shot" "$TW_DIR/paused_title.png" $STRIP)" = 0 ] ||
  tw_fail "the screenshot is not the frozen frame shown behind the pause layer"
[ "$(ae "$shot" "$TW_DIR/title.png" $TOP_BAR)" = 0 ] ||
  tw_fail "the screenshot's top differs from the title screen"
[ "$(ae "$shot" "$TW_DIR/paused_title.png" $TOP_BAR)" != 0 ] ||
  tw_fail "the screenshot holds the dashboard bar"
[ "$(ae "$shot" "$TW_DIR/paused_title.png" $BUTTONS)" != 0 ] ||
  tw_fail "the screenshot holds the pause menu"
[ "$(ae "$shot" "$TW_DIR/title.png" 40x60+88+290)" != 0 ] ||
  tw_fail "the screenshot holds the pointer"
[ "$(tw_distinct_colours "$shot")" -gt 1 ] || tw_fail "the screenshot is blank"

# Resume, play level 1, pause there and save one more.
tw_click 400 $RESUME_Y
sleep 0.6
tw_keys Return Return
sleep 0.5
tw_key Escape
sleep 0.6
tw_move 400 $SAVE_Y
sleep 0.2
tw_screenshot "$TW_DIR/paused_play.png"
tw_click 400 $SAVE_Y
wait_for_file "$TW_DIR/screenshot4.png"
sleep 0.3
play="$TW_DIR/screenshot4.png"
[ -f "$play" ] || tw_fail "no screenshot4.png from the pause in play"
check_png "$play"
[ "$(ae "$play" "$TW_DIR/paused_play.png" $STRIP)" = 0 ] ||
  tw_fail "the screenshot in play is not the frozen frame"
[ "$(ae "$play" "$shot" 800x600+0+0)" != 0 ] ||
  tw_fail "the screenshot in play shows the title screen"
[ "$(ae "$play" "$TW_DIR/paused_play.png" $BUTTONS)" != 0 ] ||
  tw_fail "the screenshot in play holds the pause menu"

tw_click 400 $EXIT_Y
tw_expect_exit 0
tw_pass
