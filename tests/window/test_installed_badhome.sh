#!/usr/bin/env bash
# The installed game with player folders it cannot use: an XDG data folder
# that is a file, a home folder that cannot be written (root passes permission
# bits, so the game runs without those capabilities), a garbage user level,
# and a user settings file that is a folder. Saves fail with the editor's
# failure hint and the game goes on; nothing crashes.
. "$(dirname "$0")/lib.sh"

NOCAPS=(setpriv --bounding-set -dac_override,-dac_read_search --)
tw_init 800 600
tw_install
config="$TW_DIR/config"
mkdir -p "$config/tetherorb2"
printf '%s\n' "screenw = 800" "screenh = 600" > "$config/tetherorb2/settings.ini"
export XDG_CONFIG_HOME="$config"
tw_start_x 1280x800

# edit_level_one: opens level 1 in the editor, paints a finish cell, saves
# with B; painted.png and saved.png are the screens before and after B.
edit_level_one() {
  tw_keys Down Return Return
  tw_frames 18
  tw_keys q
  tw_click 496 300
  tw_move 400 300
  tw_frames 12
  tw_screenshot "$TW_DIR/painted.png"
  tw_key b
  tw_frames 18
  tw_screenshot "$TW_DIR/saved.png"
  tw_running || tw_fail "the game ended on saving ($1)"
}

# An XDG data folder that is a file: the save fails with the hint.
echo "not a folder" > "$TW_DIR/datafile"
tw_launch XDG_DATA_HOME="$TW_DIR/datafile"
edit_level_one "XDG_DATA_HOME is a file"
tw_same_picture "$TW_DIR/painted.png" "$TW_DIR/saved.png" && tw_fail "no hint after a save into a file"
[ "$(cat "$TW_DIR/datafile")" = "not a folder" ] || tw_fail "the file in place of the data folder changed"
tw_exit_by_menu
echo "ok data folder is a file"

# A home that cannot be written: the save fails the same way; once the home
# is writable, B again makes the folders and saves.
chmod 555 "$HOME"
tw_launch "${NOCAPS[@]}"
edit_level_one "unwritable home"
tw_same_picture "$TW_DIR/painted.png" "$TW_DIR/saved.png" && tw_fail "no hint after a save into an unwritable home"
[ -z "$(ls -A "$HOME")" ] || tw_fail "the unwritable home got: $(ls -A "$HOME")"
chmod 755 "$HOME"
tw_key b
tw_wait_file "$HOME/.local/share/tetherorb2/Levels/level1.dat"
tw_exit_by_menu
echo "ok unwritable home"

# A garbage user level loads repaired: saved back, it is a well-formed level.
user="$HOME/.local/share/tetherorb2/Levels/level1.dat"
head -c 3000 /dev/urandom > "$user"
tw_launch
edit_level_one "garbage level"
w=$(sed -n 2p "$user") h=$(sed -n 3p "$user")
[[ "$w" =~ ^[0-9]+$ && "$h" =~ ^[0-9]+$ ]] || tw_fail "the repaired level has no size lines"
[ "$(tail -n +4 "$user" | grep -cv '^[a-l]*$')" = 0 ] || tw_fail "the repaired level holds bytes outside a..l"
[ "$(tail -n +4 "$user" | wc -l)" = "$h" ] || tw_fail "the repaired level does not hold $h rows"
tw_exit_by_menu
echo "ok garbage user level"

# A settings file that is a folder: the shipped settings (1280 x 720) are used.
rm "$config/tetherorb2/settings.ini"
mkdir "$config/tetherorb2/settings.ini"
tw_launch
[ "$(tw_window_size)" = "1280 720" ] || tw_fail "window $(tw_window_size), not the shipped settings' size"
tw_exit_by_menu
echo "ok settings file is a folder"

[ "$(tw_tree_sum "$TW_PREFIX")" = "$TW_PREFIX_SUM" ] || tw_fail "the installed tree changed"
tw_pass
