#!/usr/bin/env bash
# The installed game, started from an empty folder with a fresh home: it finds
# its data beside its executable, reads the player's settings from the XDG
# config folder, and keeps edited levels and scores in the XDG data folder,
# creating the folders it needs; levels past the shipped fifteen are made and
# deleted there. The installed tree is never written, and a Media folder of the
# player's own in the working folder changes nothing.
. "$(dirname "$0")/lib.sh"

tw_init 800 600
tw_install
shipped="$TW_PREFIX/share/games/tetherorb2/Levels/level1.dat"
[ -s "$shipped" ] || tw_fail "no shipped level 1 at $shipped"
mkdir -p "$HOME/.config/tetherorb2"
printf '%s\n' "screenw = 800" "screenh = 600" > "$HOME/.config/tetherorb2/settings.ini"
mkdir "$TW_WORKDIR/Media"
echo "a photo" > "$TW_WORKDIR/Media/holiday.jpg"

# Default folders: the window size comes from ~/.config; an edit of shipped
# level 1 is saved into ~/.local/share/tetherorb2/Levels, made on the way.
tw_start_x 1024x768
tw_launch
[ "$(tw_window_size)" = "800 600" ] || tw_fail "window $(tw_window_size): the user settings were not read"
tw_keys Down Return Return      # "Edit", then level 1
tw_frames 18
tw_keys e e
tw_click 496 300
tw_key b
saved="$HOME/.local/share/tetherorb2/Levels/level1.dat"
tw_wait_file "$saved" || tw_fail "the edit was not saved to $saved"
cmp -s "$saved" "$shipped" && tw_fail "the saved level is the shipped one unchanged"
[ "$(head -n 3 "$saved")" = "$(head -n 3 "$shipped")" ] || tw_fail "the saved level lost its title or size"
tw_exit_by_menu

# Beside the fifteen shipped levels "New level" makes level 16 without the
# stale best of its slot; Delete twice deletes it and restores level 1; three
# wheel steps down from the top light level 4, which B saves.
mine="$HOME/.local/share/tetherorb2/Levels"
printf 'stale' > "$mine/level16.score"
tw_launch
tw_keys Down Return End Return
tw_frames 18
tw_key b
tw_wait_file "$mine/level16.dat"
[ ! -e "$mine/level16.score" ] || tw_fail "the new level 16 kept the stale best of its slot"
tw_frames 90                      # "Saved", then the title
tw_keys Down Return Delete Delete Home Delete Delete
[ ! -e "$mine/level16.dat" ] && [ ! -e "$saved" ] || tw_fail "Delete twice left level 16 or the player's level 1"
xdotool click 5 click 5 click 5
tw_keys Return b
tw_wait_file "$mine/level4.dat"
tw_frames 90
tw_exit_by_menu

# XDG_DATA_HOME and XDG_CONFIG_HOME are followed; a user level takes the place
# of the shipped one, and its score lands beside it.
export XDG_DATA_HOME="$TW_DIR/data" XDG_CONFIG_HOME="$TW_DIR/config"
mkdir -p "$XDG_DATA_HOME/tetherorb2/Levels" "$XDG_CONFIG_HOME"
mv "$HOME/.config/tetherorb2" "$XDG_CONFIG_HOME/"
printf '%s\n' "Drop" 9 9 aaaaaaaaa aaaajaaaa aaaaaaaaa aaaaaaaaa aaaaaaaaa aaaaaaaaa aaaalaaaa \
  bbbbbbbbb aaaaaaaaa > "$XDG_DATA_HOME/tetherorb2/Levels/level1.dat"
tw_launch
tw_keys Return Return           # "Play", then level 1: the ball drops onto the finish
score="$XDG_DATA_HOME/tetherorb2/Levels/level1.score"
tw_wait_file "$score" || tw_fail "no score at $score after playing the user's level 1"
[ "$(stat -c %s "$score")" = 4 ] || tw_fail "the score file is not 4 bytes"
[ ! -e "$HOME/.local/share/tetherorb2/Levels/level1.score" ] || tw_fail "the score ignored XDG_DATA_HOME"
tw_frames 18
tw_exit_by_menu

[ "$(cd "$TW_WORKDIR" && find . | sort | xargs)" = ". ./Media ./Media/holiday.jpg" ] ||
  tw_fail "the game wrote into its working directory"
[ "$(tw_tree_sum "$TW_PREFIX")" = "$TW_PREFIX_SUM" ] || tw_fail "the installed tree changed"
tw_pass
