#!/usr/bin/env bash
# A title typed beyond ASCII with real keys (each character mapped to a
# spare key code first, so none is remapped under the game) is saved as UTF-8.
# Letters that are the editor's keys (B saves and leaves, T test plays) only
# type, and Ctrl+Z takes back the last one typed without typing a "z".
. "$(dirname "$0")/lib.sh"

tw_init 800 600
printf '%s\n' "Ab" 3 3 bbb bjl bbb > "$TW_DIR/original.dat"
tw_add_level 1 "$TW_DIR/original.dat"
tw_start_x
spare=($(xmodmap -pke | awk 'NF == 3 { print $2 }'))
i=0
for sym in adiaeresis Lstroke oacute zacute Cyrillic_IO Cyrillic_zhe; do
  xmodmap -e "keycode ${spare[$i]} = $sym" || tw_fail "no spare key code for $sym"
  i=$((i + 1))
done
tw_launch
tw_keys Down Return Return Tab BackSpace   # "Edit", level 1, the title, less its "b"
xdotool type --delay 120 "ä Łódź Ёж bet" || tw_fail "xdotool type"
tw_keys ctrl+z Return b
tw_frames 30
[ "$(head -n 1 "$TW_DIR/Levels/level1.dat")" = "Aä Łódź Ёж be" ] ||
  tw_fail "the saved title is '$(head -n 1 "$TW_DIR/Levels/level1.dat")'"
tw_close
tw_expect_exit 0
tw_pass
