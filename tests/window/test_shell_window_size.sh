#!/usr/bin/env bash
# The window takes its size from settings.ini, and the desktop's size (here
# the Xvfb screen) when the file gives none or gives values out of range.
. "$(dirname "$0")/lib.sh"

# check_size SETTINGS-LINES... -- EXPECTED-W EXPECTED-H
check_size() {
  local lines=()
  while [ "$1" != "--" ]; do lines+=("$1"); shift; done
  shift
  tw_settings "${lines[@]}"
  tw_launch
  local size
  size=$(tw_window_size)
  [ "$size" = "$1 $2" ] || tw_fail "settings ${lines[*]}: window is $size, expected $1 $2"
  tw_screenshot "$TW_DIR/shot.png"
  [ "$(tw_image_size "$TW_DIR/shot.png")" = "$1 $2" ] ||
    tw_fail "settings ${lines[*]}: screenshot is $(tw_image_size "$TW_DIR/shot.png")"
  tw_close
  tw_expect_exit 0
}

tw_init 640 480
tw_start_x 1000x700
check_size "screenw = 640" "screenh = 480" -- 640 480
check_size "screen w=720" "Screenh=100" "screenh=400px" -- 720 400
check_size "# no sizes" -- 1000 700
check_size "screenw=0" "screenh=500" -- 1000 500
check_size "screenw=1e12" "screenh=nan" "screenbpp=-1e20" -- 1000 700
rm "$TW_DIR/settings.ini"
tw_launch
[ "$(tw_window_size)" = "1000 700" ] || tw_fail "no settings.ini: window is $(tw_window_size)"
tw_close
tw_expect_exit 0
tw_pass
