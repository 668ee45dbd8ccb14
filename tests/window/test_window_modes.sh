#!/usr/bin/env bash
# Full screen and back with Alt+Enter and F11 while paused, a resize by the X
# server, and a window narrower than it is tall that shows every menu row and
# pause button in full, with clicks and keys on them working.
. "$(dirname "$0")/lib.sh"

BLUE="0 0 160"   # the plain atlas's background
GREY="128 128 128"

tw_init 800 600
tw_plain_atlas
tw_start_x 1280x1024
tw_launch
tw_key Escape
tw_wait_still "340x160+230+145" || tw_fail "the pause menu does not come to rest"

# Alt+Enter fills the screen, still paused; F11 goes back to the window.
tw_keydown Alt_L; tw_key Return; tw_keyup Alt_L
tw_frames 30
[ "$(tw_window_size)" = "1280 1024" ] || tw_fail "Alt+Enter: window is $(tw_window_size)"
import -window root "$TW_DIR/full.png" || tw_fail "root screenshot"
[ "$(tw_pixel "$TW_DIR/full.png" 1276 500)" = "$BLUE" ] || tw_fail "full screen: the picture does not reach the right edge"
tw_key F11
tw_frames 30
[ "$(tw_window_size)" = "800 600" ] || tw_fail "F11: window is $(tw_window_size)"

# The X server resizes the window: the picture fills the new size.
xdotool windowsize "$TW_WIN" 500 700 || tw_fail "windowsize"
tw_frames 30
tw_screenshot "$TW_DIR/resized.png"
[ "$(tw_image_size "$TW_DIR/resized.png")" = "500 700" ] || tw_fail "resize: picture is $(tw_image_size "$TW_DIR/resized.png")"
[ "$(tw_pixel "$TW_DIR/resized.png" 495 600)" = "$BLUE" ] || tw_fail "resize: the picture does not fill the window"

# A pause as the window grows freezes a whole picture, no band across the top.
# (Without a window manager keys go to the window under the pointer.)
tw_move 250 350
tw_key Escape
tw_wait_still "500x700+0+0" || tw_fail "the pause layer did not slide away"
xdotool windowsize "$TW_WIN" 500 800 key Escape || tw_fail "windowsize and Escape"
tw_wait_still "300x120+100+300" || tw_fail "the pause menu does not come to rest after the resize"
tw_screenshot "$TW_DIR/resize-paused.png"
[ "$(convert "$TW_DIR/resize-paused.png" -crop 500x40+0+42 +repage -format '%k' info:)" = 1 ] &&
  [ "$(tw_pixel "$TW_DIR/resize-paused.png" 5 60)" = "$BLUE" ] ||
  tw_fail "pause on a resize: the frozen picture's top below the bar is not the background"

tw_keys Down Down Return
tw_expect_exit 0

# A 600 x 900 window: both title rows with blue on either side of their panels.
tw_settings "screenw = 600" "screenh = 900"
tw_launch
tw_frames 30
tw_screenshot "$TW_DIR/narrow.png"
for y in 372 415; do
  row="$(tw_pixel "$TW_DIR/narrow.png" 1 $y)|$(tw_pixel "$TW_DIR/narrow.png" 12 $y)"
  row="$row|$(tw_pixel "$TW_DIR/narrow.png" 588 $y)|$(tw_pixel "$TW_DIR/narrow.png" 598 $y)"
  [ "$row" = "$BLUE|$GREY|$GREY|$BLUE" ] || tw_fail "600 x 900: the row at y $y is cut off ($row)"
done

# The pause buttons, scaled to fit: "Save screenshot" writes a file, "Exit" ends.
tw_key Escape
tw_wait_still "300x200+150+300" || tw_fail "600 x 900: the pause menu does not come to rest"
tw_click 300 431
tw_wait_file "$TW_DIR/screenshot1.png"
tw_click 300 394
tw_expect_exit 0
tw_pass
