#!/usr/bin/env bash
# The editor's region tools with real input on a small level shown whole
# (Home): a selection flipped where it lies, copied, turned and pasted, moved
# by a drag and cut, each saved and compared cell by cell with what it must
# give (gravity cells turned), and one Ctrl+Z after each restoring the file
# byte for byte; a Shift+click paints a line from the last painted cell;
# then Shift+T on the finish's cell starts a test run there,
# which finishes at once and writes no score.
. "$(dirname "$0")/lib.sh"

tw_init 800 600
original="$TW_DIR/original.dat"
printf '%s\n' "Region" 12 8 bbbbbbbbbbbb baaaaaaaaaab bafgaaaaaaab bahiaaaaaaab \
  bajaaaaaaaab baaaaaaaalab baaaaaaaaaab bbbbbbbbbbbb > "$original"
tw_add_level 1 "$original"
level="$TW_DIR/Levels/level1.dat"
tw_start_x
tw_launch
tw_keys Down Return Return         # "Edit", then level 1
tw_frames 18
tw_key Home                        # the whole 12 x 8 level in the paint area

# Home shows a level of 8 rows in 0.5725 of the window's 600 pixels with 4 %
# to spare, centred 61/800 of the view below the window's middle.
cell() {
  awk -v x="$1" -v y="$2" 'BEGIN {
    v = 8 * 1.04 / 0.5725; p = 600 / v; cy = 4 - 61 / 800 * v
    printf "%d %d\n", 400 + (x + 0.5 - 6) * p, 300 + (y + 0.5 - cy) * p }'
}
drag() {   # drag X0 Y0 X1 Y1: the left button from one cell to another
  tw_move $(cell "$1" "$2")
  xdotool mousedown 1
  tw_frames "$TW_HOLD"
  tw_move $(cell "$3" "$4")
  tw_frames "$TW_HOLD"
  xdotool mouseup 1
  tw_frames 6
}
# expect NAME ROW...: Ctrl+S, then the file must become the level with these rows.
expect() {
  local name=$1 i
  shift
  printf '%s\n' "Region" 12 8 "$@" > "$TW_DIR/$name.dat"
  tw_key ctrl+s
  tw_key Home                      # the view as it was, should S have panned for a frame
  tw_until "$TW_LIMIT" cmp -s "$TW_DIR/$name.dat" "$level" && return 0
  diff "$TW_DIR/$name.dat" "$level" >&2
  tw_fail "$name: the saved level is not as expected"
}
undo() {   # undo NAME: one Ctrl+Z gives back the original file
  tw_key ctrl+z
  tw_key ctrl+s
  tw_key Home
  tw_until "$TW_LIMIT" cmp -s "$original" "$level" && return 0
  diff "$original" "$level" >&2
  tw_fail "one Ctrl+Z after $1 did not restore the level"
}

tw_key c                           # the select tool
drag 2 2 3 3                       # the four gravity cells
tw_key h                           # flipped left to right where they lie
expect flipped bbbbbbbbbbbb baaaaaaaaaab baifaaaaaaab baghaaaaaaab \
  bajaaaaaaaab baaaaaaaalab baaaaaaaaaab bbbbbbbbbbbb
undo "a flip"

tw_key ctrl+c
tw_key ctrl+v
tw_key r                           # the brush turned a quarter
tw_click $(cell 7 3)               # its 2 x 2 cells centred there: from cell (6, 2)
expect pasted bbbbbbbbbbbb baaaaaaaaaab bafgaaigaaab bahiaafhaaab \
  bajaaaaaaaab baaaaaaaalab baaaaaaaaaab bbbbbbbbbbbb
undo "a paste"

drag 2 2 3 3
drag 2 2 5 4                       # moved three cells right, two down
expect moved bbbbbbbbbbbb baaaaaaaaaab baaaaaaaaaab baaaaaaaaaab \
  bajaafgaaaab baaaahiaalab baaaaaaaaaab bbbbbbbbbbbb
undo "a move"

drag 2 2 3 3
tw_key ctrl+x
expect cut bbbbbbbbbbbb baaaaaaaaaab baaaaaaaaaab baaaaaaaaaab \
  bajaaaaaaaab baaaaaaaalab baaaaaaaaaab bbbbbbbbbbbb
undo "a cut"

drag 2 4 2 3                       # the spawn and a gravity cell, from outside the selection
tw_key ctrl+c
tw_key ctrl+v
tw_click $(cell 8 2)               # 1 x 2 cells from cell (8, 1): the spawn is left out
expect spawn bbbbbbbbbbbb baaaaaaahaab bafgaaaaaaab bahiaaaaaaab \
  bajaaaaaaaab baaaaaaaalab baaaaaaaaaab bbbbbbbbbbbb
undo "a paste with a spawn"

# A click, then a Shift+click: the line between them.
tw_key c                           # the select tool off
tw_key e                           # brush: normal block
tw_click $(cell 5 1)
tw_keydown shift
tw_click $(cell 9 1)
tw_keyup shift
expect line bbbbbbbbbbbb baaaabbbbbab bafgaaaaaaab bahiaaaaaaab \
  bajaaaaaaaab baaaaaaaalab baaaaaaaaaab bbbbbbbbbbbb
tw_key ctrl+z                      # the line
undo "a click"

# Shift+T on a wall is refused with its reason on the bar; on the finish's
# cell the run starts there and finishes at once, which from the spawn,
# walled off from the finish with 30 s on the clock, it could not.
bar=800x30+0+536
tw_move $(cell 0 0)
tw_screenshot "$TW_DIR/before.png"
tw_key shift+t
tw_wait_region "$TW_DIR/before.png" "$bar" differs || tw_fail "Shift+T on a wall said nothing"
tw_screenshot "$TW_DIR/refused.png"
tw_move $(cell 9 5)
tw_key shift+t
tw_wait_region "$TW_DIR/refused.png" "$bar" differs || tw_fail "no test run from the finish's cell ended"
tw_move $(cell 0 0)
tw_wait_region "$TW_DIR/before.png" 800x300+0+180 same || tw_fail "the editor did not come back as it was"
[ -e "$TW_DIR/Levels/level1.score" ] && tw_fail "the test run wrote a score"
cmp -s "$original" "$level" || tw_fail "the test run changed the level"
tw_close
tw_expect_exit 0
tw_pass
