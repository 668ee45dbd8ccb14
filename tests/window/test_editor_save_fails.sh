#!/usr/bin/env bash
# With a Levels folder that takes no new file, B keeps the editor open with
# the edits, the hint bar changes, and the level file stays as it was. Once
# the folder takes files again, B saves the kept edit and leaves.
. "$(dirname "$0")/lib.sh"

tw_init 800 600
printf '%s\n' "Locked ground" 12 8 \
  bbbbbbbbbbbb baaaaaaaaaab baaaaaaaaaab baaaaaaaaaab \
  baaaajaaaaab baaaaaaaaaab baaaaaaaaaab bbbbbbbbbbbb > "$TW_DIR/original.dat"
tw_add_level 1 "$TW_DIR/original.dat"
# The save writes a temporary file beside the level and renames it; a folder
# of that name stops it even for root, and the read-only mode stops everyone else.
mkdir "$TW_DIR/Levels/level1.dat.tmp"
chmod 555 "$TW_DIR/Levels"
tw_start_x
tw_launch

tw_keys Down Return Return      # "Edit", then level 1
sleep 0.3
tw_move 496 300                 # cell (7, 4), two cells right of the spawn
tw_keys q                       # brush 0 -> 11, maptype_finish
tw_click 496 300
sleep 0.2
tw_move 400 300
sleep 0.2
tw_screenshot "$TW_DIR/painted.png"
tw_key b
sleep 0.3
tw_screenshot "$TW_DIR/failed.png"

cmp -s "$TW_DIR/original.dat" "$TW_DIR/Levels/level1.dat" ||
  tw_fail "the level file changed although the save could not be made"
tw_running || tw_fail "the game ended after the failed save"
# Still the editor: the picture above the hint bar is the same, the hint bar is not.
above=$(compare -metric AE -extract 800x500+0+0 "$TW_DIR/painted.png" "$TW_DIR/failed.png" null: 2>&1)
hint=$(compare -metric AE -extract 800x60+0+540 "$TW_DIR/painted.png" "$TW_DIR/failed.png" null: 2>&1)
[ "${above%% *}" = 0 ] || tw_fail "after the failed save the view changed ($above pixels)"
[ "${hint%% *}" != 0 ] || tw_fail "the hint bar does not tell of the failed save"

chmod 755 "$TW_DIR/Levels"
rmdir "$TW_DIR/Levels/level1.dat.tmp"
tw_key b
sleep 0.3
sed '8s/^\(.......\)a/\1l/' "$TW_DIR/original.dat" > "$TW_DIR/expected.dat"
if ! cmp -s "$TW_DIR/expected.dat" "$TW_DIR/Levels/level1.dat"; then
  diff "$TW_DIR/expected.dat" "$TW_DIR/Levels/level1.dat" >&2
  tw_fail "the second B did not save the kept edit"
fi
tw_screenshot "$TW_DIR/title.png"
after=$(compare -metric AE -extract 800x500+0+0 "$TW_DIR/failed.png" "$TW_DIR/title.png" null: 2>&1)
[ "${after%% *}" != 0 ] || tw_fail "the successful save did not leave the editor"

tw_close
tw_expect_exit 0
tw_pass
