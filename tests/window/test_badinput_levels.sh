#!/usr/bin/env bash
# Bad level files, each started from the level list and played: sizes of
# 99999, negative sizes, a title of thousands of bytes, short rows, missing
# rows, an empty file, binary data and a folder in place of the file. The
# levels that hold a spawn over harmful cells end by themselves on the results
# card, and Return brings the title screen back, so several are played in one session; the others are
# left through the pause menu. Then the editor saves the repaired levels: each
# saved file is well-formed. The folder does not open in the editor.
. "$(dirname "$0")/lib.sh"

tw_init 800 600
L=$TW_DIR/Levels
# pit W: twelve rows of a shaft W cells wide between walls, for the ball to fall through.
pit() { local i; for i in $(seq 12); do printf 'b%*sb\n' $(($1 - 2)) '' | tr ' ' a; done; }
{ printf 'Huge\n99999\n99999\nbbbbbbbbbb\nbjaaaaaaab\n'; pit 10; echo bcccccccccb; } > "$L/level1.dat"
printf 'Negative\n-5\n-99999\nbbb\njjj\n' > "$L/level2.dat"
{ head -c 5000 /dev/zero | tr '\0' 'T'; printf '\n6\n15\nbbbbbb\nbjaaab\n'; pit 6; echo bccccb; } > "$L/level3.dat"
{ printf 'Short\n10\n16\nbbbbbbbbbb\nbja\n'; printf 'b\n%.0s' $(seq 12); printf '\nbcccccccccc\nbb\n'; } > "$L/level4.dat"
{ printf 'Missing\n8\n500\nbbbbbbbb\nbjaaaaab\n'; pit 8; echo bccccccb; } > "$L/level5.dat"
: > "$L/level6.dat"
# Binary data of every byte value, in a fixed scrambled order.
LC_ALL=C awk 'BEGIN { s = 7; for (i = 0; i < 4096; i++) { s = (s * 1103515245 + 12345) % 2147483648;
     printf "%c", int(s / 65536) % 256 } }' > "$L/level7.dat"
mkdir "$L/level8.dat"
cp "$L/level7.dat" "$TW_DIR/binary.dat"
tw_start_x

# choose_level MODE N: from the title screen, "Play" (MODE 0) or "Edit"
# (MODE 1), then level N; the list opens on the level chosen last (LAST).
LAST=1
choose_level() {
  [ "$1" = 1 ] && tw_key Down
  tw_key Return
  local i
  for ((i = LAST; i < $2; i++)); do tw_key Down; done
  for ((i = LAST; i > $2; i--)); do tw_key Up; done
  LAST=$2
  tw_key Return
}


# Levels with nothing to end the run: play a second, then leave.
for n in 2 6 7; do
  tw_launch
  LAST=1
  choose_level 0 "$n"
  tw_frames 60
  tw_running || tw_fail "the game ended while playing level $n"
  tw_exit_by_menu
  echo "ok played level $n"
done

# One session: the levels that end on a harmful cell, each back to the title.
tw_launch
LAST=1
tw_screenshot "$TW_DIR/title.png"
for n in 1 3 4 5; do
  choose_level 0 "$n"
  tw_wait_differs "$TW_DIR/title.png" || tw_fail "level $n did not start"
  tw_wait_still 800x600+0+0 || tw_fail "level $n did not end on its harmful cells"
  tw_frames 30
  tw_key Return
  tw_wait_same "$TW_DIR/title.png" || tw_fail "Return after level $n did not bring back the title"
  echo "ok played level $n to its end"
done

# The editor saves the repaired levels and returns to the title (a second B
# after the note of a level without a spawn or finish; the title ignores it).
for n in 1 3 6; do
  choose_level 1 "$n"
  tw_frames 18
  tw_key b
  tw_frames 18
  tw_key b
  tw_wait_region "$TW_DIR/title.png" 800x140+0+0 same || tw_fail "saving level $n did not bring back the title"
done
cmp -s "$TW_DIR/binary.dat" "$L/level7.dat" || tw_fail "level 7 changed without a save"

tw_exit_by_menu

# The folder in place of level 8 does not open in the editor: the list stays
# and a line at its foot says why.
tw_launch
tw_keys Down Return Down Down Down Down Down Down Down
tw_frames 18; tw_screenshot "$TW_DIR/list8.png"
tw_key Return
tw_frames 18; tw_screenshot "$TW_DIR/chosen8.png"
[ "$(tw_region_diff "$TW_DIR/list8.png" "$TW_DIR/chosen8.png" 800x540+0+0)" = 0 ] || tw_fail "level 8 left the list"
[ "$(tw_region_diff "$TW_DIR/list8.png" "$TW_DIR/chosen8.png" 800x60+0+540)" != 0 ] || tw_fail "no line says why"
tw_exit_by_menu
[ -d "$L/level8.dat" ] || tw_fail "the folder level8.dat was written over"

# well_formed FILE W H: a title line of at most 255 bytes, then W, then H, then
# H rows of W letters 'a'..'l', and nothing more.
well_formed() {
  LC_ALL=C awk -v W="$2" -v H="$3" '
    NR == 1 { if (length($0) + 1 > 255) bad = "title of " length($0) " bytes" }
    NR == 2 && $0 != W { bad = "width " $0 }
    NR == 3 && $0 != H { bad = "height " $0 }
    NR > 3 && !($0 ~ "^[a-l]*$" && length($0) == W) { bad = "row " NR - 4 }
    END { if (NR != H + 3) bad = bad " " NR " lines"; if (bad) { print bad; exit 1 } }' "$1"
}
why=$(well_formed "$L/level1.dat" 998 1000) || tw_fail "saved level 1: $why"
why=$(well_formed "$L/level3.dat" 6 15) || tw_fail "saved level 3: $why"
why=$(well_formed "$L/level6.dat" 0 0) || tw_fail "saved level 6: $why"
[ "$(sed -n 5p "$L/level1.dat" | cut -c1-12)" = bjaaaaaaabaa ] || tw_fail "saved level 1 lost its rows"
[ "$(head -n 1 "$L/level3.dat")" = "$(head -c 254 /dev/zero | tr '\0' T)" ] ||
  tw_fail "saved level 3 does not keep the first 254 bytes of its title"
[ "$(sed -n 18p "$L/level3.dat")" = bccccb ] || tw_fail "saved level 3 lost its rows"
tw_pass
