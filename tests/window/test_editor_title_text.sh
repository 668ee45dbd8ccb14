#!/usr/bin/env bash
# Type a title beyond ASCII with real key presses, each character on a key
# of its own: Backspace takes the last character, the typed ones arrive as
# UTF-8, and B saves them as the level's title line.
. "$(dirname "$0")/lib.sh"

tw_init 800 600
printf '%s\n' "Ab" 12 8 \
  bbbbbbbbbbbb baaaaaaaaaab baaaaaaaaaab baaaaaaaaaab \
  baaaajaaaaab baaaaaaaaaab baaaaaaaaalb bbbbbbbbbbbb > "$TW_DIR/original.dat"
tw_add_level 1 "$TW_DIR/original.dat"
tw_start_x
# The characters go on unused key codes before the game starts, so that no
# key is mapped anew while the game may still be reading the one before.
spare=($(xmodmap -pke | awk 'NF == 3 { print $2 }' | head -n 6))
[ ${#spare[@]} = 6 ] || tw_fail "no six unused key codes"
i=0
for sym in adiaeresis Lstroke oacute zacute Cyrillic_IO Cyrillic_zhe; do
  xmodmap -e "keycode ${spare[$i]} = $sym" || tw_fail "xmodmap $sym"
  i=$((i + 1))
done
tw_launch
tw_keys Down Return Return      # "Edit", then level 1
sleep 0.3
tw_move 400 300
tw_key Tab                      # the title takes the keys
sleep 0.2
tw_key BackSpace
sleep 0.2
xdotool type --delay 120 "ä Łódź Ёж" || tw_fail "xdotool type"
sleep 0.3
tw_key Return
tw_key b
sleep 0.5
title=$(head -n 1 "$TW_DIR/Levels/level1.dat")
[ "$title" = "Aä Łódź Ёж" ] || tw_fail "the saved title is '$title'"
tail -n +2 "$TW_DIR/Levels/level1.dat" | cmp -s - <(tail -n +2 "$TW_DIR/original.dat") ||
  tw_fail "the saved level changed beyond its title"
tw_close
tw_expect_exit 0
tw_pass
