#!/usr/bin/env bash
# Edit a level with real keys and clicks: change the brush, paint one cell,
# press B. The file on disk differs from the original in exactly that cell,
# and the game is back on the title screen. (Saves that fail are in
# test_badinput_folders.sh and test_badinput_levels.sh.)
. "$(dirname "$0")/lib.sh"

tw_init 800 600
# 12 x 8 cells: walls, a spawn at (5, 4), open floor around it, a finish at (10, 6).
printf '%s\n' "Editor ground" 12 8 \
  bbbbbbbbbbbb baaaaaaaaaab baaaaaaaaaab baaaaaaaaaab \
  baaaajaaaaab baaaaaaaaaab baaaaaaaaalb bbbbbbbbbbbb > "$TW_DIR/original.dat"
tw_add_level 1 "$TW_DIR/original.dat"
tw_start_x
tw_launch
tw_screenshot "$TW_DIR/title.png"

tw_keys Down Return Return      # "Edit", then level 1
tw_frames 18
# The view is 12.5 cells tall in 600 pixels: 48 pixels a cell, centred on the
# spawn's centre (5.5, 4.5). Two cells right of it is cell (7, 4).
tw_move 496 300
tw_frames 12
tw_screenshot "$TW_DIR/editor_before.png"
tw_keys e e                     # brush 0 -> 2, maptype_blockharmful
tw_screenshot "$TW_DIR/editor_brush.png"
bar=$(compare -metric AE -extract 800x60+0+0 "$TW_DIR/editor_before.png" "$TW_DIR/editor_brush.png" null: 2>&1)
[ "${bar%% *}" != 0 ] || tw_fail "the brush bar did not change with E"
tw_click 496 300
tw_frames 12
tw_screenshot "$TW_DIR/editor_painted.png"
tw_same_picture "$TW_DIR/editor_brush.png" "$TW_DIR/editor_painted.png" &&
  tw_fail "painting changed nothing on screen"
tw_key b
tw_frames 18

# The file: same title line and numbers, one letter changed at row 4, column 7.
expected="$TW_DIR/expected.dat"
sed '8s/^\(.......\)a/\1c/' "$TW_DIR/original.dat" > "$expected"
if ! cmp -s "$expected" "$TW_DIR/Levels/level1.dat"; then
  diff "$expected" "$TW_DIR/Levels/level1.dat" >&2
  tw_fail "the saved level differs from the original in more or other than cell (7, 4)"
fi

# Back on the title screen, which looks as it did at start-up.
tw_move 400 300
tw_wait_same "$TW_DIR/title.png" || tw_fail "after B the screen is not the title screen"

tw_close
tw_expect_exit 0
tw_pass
