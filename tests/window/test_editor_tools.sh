#!/usr/bin/env bash
# Make a new level with real input: a fast stroke, an undo and a redo, a
# flood fill, a resize, a test run and back, and a save. The file written is
# exactly the template with those edits at the new size.
. "$(dirname "$0")/lib.sh"

tw_init 800 600
printf '%s\n' "Only level" 3 3 bbb bjl bbb > "$TW_DIR/one.dat"
tw_add_level 1 "$TW_DIR/one.dat"
tw_start_x
tw_launch
tw_keys Down Return Down Return    # "Edit", then "New level" (slot 2)
tw_frames 18
# 48 pixels a cell, the view centred on the spawn cell (3, 17): cell (x, y)
# has its centre at (400 + 48 (x - 3), 300 + 48 (y - 17)).
tw_key e                           # brush: normal block
tw_move 600 400
tw_frames 12
tw_screenshot "$TW_DIR/fresh.png"
tw_move 448 252                    # cell (4, 16)
xdotool mousedown 1
tw_frames 9
xdotool mousemove 736 252          # cell (10, 16) in one jump
tw_frames 9
xdotool mouseup 1
tw_move 600 400
tw_frames 12
tw_screenshot "$TW_DIR/stroke.png"
tw_same_picture "$TW_DIR/fresh.png" "$TW_DIR/stroke.png" && tw_fail "the stroke changed nothing"
tw_key ctrl+z
tw_wait_same "$TW_DIR/fresh.png" || tw_fail "undo did not give back the fresh level"
tw_key ctrl+y
tw_wait_same "$TW_DIR/stroke.png" || tw_fail "redo did not give back the stroke"

tw_key e                           # brush: harmful block
tw_move 544 252                    # cell (6, 16), inside the stroke
tw_frames 6
tw_key f
tw_keys ctrl+Right ctrl+Down       # 41 x 21
tw_move 600 400
tw_frames 12
tw_screenshot "$TW_DIR/edited.png"

tw_key t
tw_frames 24
tw_screenshot "$TW_DIR/testrun.png"
tw_same_picture "$TW_DIR/edited.png" "$TW_DIR/testrun.png" && tw_fail "T did not start a test run"
tw_key t
tw_wait_same "$TW_DIR/edited.png" || tw_fail "after the test run the editor is not as it was"
[ -e "$TW_DIR/Levels/level2.dat" ] && tw_fail "a file was written before B"
[ -e "$TW_DIR/Levels/level2.score" ] && tw_fail "the test run wrote a score"

tw_key b
tw_wait_file "$TW_DIR/Levels/level2.dat" || tw_fail "B wrote no level 2"
expected="$TW_DIR/expected.dat"
{
  printf 'Level 2\n41\n21\n'
  wall=bbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbb
  open=baaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaab
  echo "${wall}a"
  for y in $(seq 1 18); do
    case $y in
      16) echo "baaaccccccc$(printf 'a%.0s' $(seq 28))ba" ;;
      17) echo "baaj$(printf 'a%.0s' $(seq 32))laaba" ;;
      *) echo "${open}a" ;;
    esac
  done
  echo "${wall}a"
  printf 'a%.0s' $(seq 41); echo
} > "$expected"
if ! cmp -s "$expected" "$TW_DIR/Levels/level2.dat"; then
  diff "$expected" "$TW_DIR/Levels/level2.dat" >&2
  tw_fail "the saved level is not the template with the edits at 41 x 21"
fi
tw_close
tw_expect_exit 0
tw_pass
