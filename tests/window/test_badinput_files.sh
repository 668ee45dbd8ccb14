#!/usr/bin/env bash
# Bad score files and a bad settings.ini. Score files of 0, 2, 4 and 100 bytes
# must show in the level list exactly as well-formed 4-byte files of the
# values they stand for (0, 266, 150 and 300). settings.ini as a folder, as
# binary data, or with 10,000 lines: the game starts, runs, and ends with
# exit code 0; of the long file only the first 160 lines count.
. "$(dirname "$0")/lib.sh"

tw_init 800 600
for n in 1 2 3 4; do
  printf '%s\n' "Slot $n" 6 4 bbbbbb bjaalb baaaab bbbbbb > "$TW_DIR/Levels/level$n.dat"
done
tw_start_x

# list_shot FILE: the level list as the game shows it.
list_shot() {
  tw_key Return
  tw_frames 18
  tw_screenshot "$1"
}

S=$TW_DIR/Levels
# The bad score files, with settings.ini a folder.
: > "$S/level1.score"
printf '\012\001' > "$S/level2.score"
printf '\226\000\000\000' > "$S/level3.score"
{ printf '\054\001\000\000'; head -c 96 /dev/zero | tr '\0' '\377'; } > "$S/level4.score"
rm "$TW_DIR/settings.ini"
mkdir "$TW_DIR/settings.ini"
tw_launch
list_shot "$TW_DIR/list-bad.png"
tw_exit_by_menu
[ "$(stat -c %s "$S/level4.score")" = 100 ] || tw_fail "the 100-byte score file was rewritten"
echo "ok settings.ini as a folder"

# The same values as well-formed files (no file for 0), with binary settings.
rm "$S"/level*.score
printf '\012\001\000\000' > "$S/level2.score"
printf '\226\000\000\000' > "$S/level3.score"
printf '\054\001\000\000' > "$S/level4.score"
rmdir "$TW_DIR/settings.ini"
LC_ALL=C awk 'BEGIN { s = 3; for (i = 0; i < 20000; i++) { s = (s * 1103515245 + 12345) % 2147483648;
     printf "%c", int(s / 65536) % 256 } }' > "$TW_DIR/settings.ini"
tw_launch
list_shot "$TW_DIR/list-good.png"
tw_exit_by_menu
tw_same_picture "$TW_DIR/list-bad.png" "$TW_DIR/list-good.png" ||
  tw_fail "bad score files show other bests than their values"
echo "ok binary settings.ini; score files of 0, 2, 4 and 100 bytes"

# 10,000 lines: the size on the first two lines counts, later ones do not.
{
  printf 'screenw = 640\nscreenh = 480\n'
  for i in $(seq 3 10000); do
    if [ $((i % 1000)) = 0 ]; then echo "screenw = 1000"; else echo "; line $i of filler"; fi
  done
} > "$TW_DIR/settings.ini"
tw_launch
[ "$(tw_window_size)" = "640 480" ] || tw_fail "10,000-line settings.ini gave a window of $(tw_window_size)"
tw_screenshot "$TW_DIR/long-title.png"
list_shot "$TW_DIR/long-list.png"
tw_same_picture "$TW_DIR/long-title.png" "$TW_DIR/long-list.png" &&
  tw_fail "with the long settings.ini, Return does not open the list"
tw_exit_by_menu
echo "ok settings.ini of 10,000 lines"
tw_pass
