#!/usr/bin/env bash
# The editor on a 998 x 1000 level with real input: the wheel zooms out
# until the whole level is in the window, Home centres it, and a click at
# that zoom paints exactly the cell under the pointer in the saved file;
# one Ctrl+Z then gives back the file byte for byte.
. "$(dirname "$0")/lib.sh"

tw_init 800 600
original="$TW_DIR/original.dat"
awk 'BEGIN {
  print "Big"; print 998; print 1000
  wall = sprintf("%998s", ""); gsub(/ /, "b", wall)
  open = sprintf("%998s", ""); gsub(/ /, "a", open)
  for (y = 0; y < 1000; y++)
    if (y == 0 || y == 999) print wall
    else if (y == 1) print "aj" substr(open, 3)
    else if (y == 998) print substr(open, 1, 990) "l" substr(open, 992)
    else print open
}' > "$original"
tw_add_level 1 "$original"
level="$TW_DIR/Levels/level1.dat"
tw_start_x
tw_launch
tw_keys Down Return Return         # "Edit", then level 1
tw_frames 18
tw_key e                           # brush: normal block
tw_move 500 350
tw_screenshot "$TW_DIR/full.png"
for i in $(seq 40); do xdotool click 5; done   # far past the whole level
tw_wait_differs "$TW_DIR/full.png" || tw_fail "the wheel did not zoom"
tw_key Home                        # the whole level, centred in the paint area

# The whole level at 800 x 600: 1000 rows in 0.5725 of the height with 4 %
# to spare, centred 61/800 of the view below the window's middle; the cell
# under pixel (500, 350):
read -r cx cy < <(awk 'BEGIN {
  v = 1000 * 1.04 / 0.5725; camy = 500 - 61 / 800 * v
  x = 499 + v * (500 / 800 * 2 - 1) * 0.5 * 800 / 600; y = camy + v * (350 / 600 * 2 - 1) * 0.5
  printf "%d %d\n", x, y }')
tw_click 500 350
tw_key ctrl+s
expected="$TW_DIR/expected.dat"
awk -v cx="$cx" -v cy="$cy" 'NR == cy + 4 { $0 = substr($0, 1, cx) "b" substr($0, cx + 2) } { print }' \
  "$original" > "$expected"
if ! tw_until "$TW_LIMIT" cmp -s "$expected" "$level"; then
  diff "$expected" "$level" | head -8 >&2
  tw_fail "the click at the whole-level zoom did not paint cell ($cx, $cy) alone"
fi
tw_key ctrl+z
tw_key ctrl+s
tw_until "$TW_LIMIT" cmp -s "$original" "$level" || tw_fail "one Ctrl+Z did not give back the level byte for byte"
tw_close
tw_expect_exit 0
tw_pass
