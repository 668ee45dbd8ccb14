#!/usr/bin/env bash
# Folders the game cannot use: a Levels folder that is missing or unreadable
# at start-up, one that turns read-only or goes away while a level is being
# edited, and a working directory that takes no screenshot, read-only or full.
# Tests run as root, for whom permission bits stop nothing, so the game runs
# without the two capabilities that let root pass them (setpriv); the full
# disk is a small memory file system mounted for the game alone (unshare).
. "$(dirname "$0")/lib.sh"

NOCAPS=(setpriv --bounding-set -dac_override,-dac_read_search --)
tw_init 800 600
printf '%s\n' "Locked ground" 12 8 \
  bbbbbbbbbbbb baaaaaaaaaab baaaaaaaaaab baaaaaaaaaab \
  baaaajaaaaab baaaaaaaaaab baaaaaaaaaab bbbbbbbbbbbb > "$TW_DIR/original.dat"
tw_start_x


# The level list without a Levels folder, and with one the game cannot read:
# both list no level, and choosing slot 1 starts nothing.
rmdir "$TW_DIR/Levels"
tw_launch
tw_keys Return Return
tw_frames 18
tw_screenshot "$TW_DIR/list-missing.png"
tw_exit_by_menu
[ ! -e "$TW_DIR/Levels" ] || tw_fail "the game made a Levels folder"
echo "ok missing Levels"

mkdir "$TW_DIR/Levels"
cp "$TW_DIR/original.dat" "$TW_DIR/Levels/level1.dat"
chmod 000 "$TW_DIR/Levels"
tw_launch "${NOCAPS[@]}"
tw_keys Return Return
tw_frames 18
tw_screenshot "$TW_DIR/list-unreadable.png"
tw_exit_by_menu
tw_same_picture "$TW_DIR/list-missing.png" "$TW_DIR/list-unreadable.png" ||
  tw_fail "an unreadable Levels folder does not give an empty list"
chmod 755 "$TW_DIR/Levels"
cmp -s "$TW_DIR/original.dat" "$TW_DIR/Levels/level1.dat" || tw_fail "level 1 changed"
echo "ok unreadable Levels"

# Edit level 1, then save while folder and file are read-only and while the
# folder is gone: the editor stays with the edit each time, and the file is
# untouched. With only the folder read-only, B saves that edit in place.
tw_launch "${NOCAPS[@]}"
tw_keys Down Return Return      # "Edit", then level 1
tw_frames 18
tw_move 496 300                 # cell (7, 4), two cells right of the spawn
tw_keys q                       # brush 0 -> 11, maptype_finish
tw_click 496 300
tw_move 400 300
tw_frames 12
tw_screenshot "$TW_DIR/painted.png"

chmod 555 "$TW_DIR/Levels"
chmod 444 "$TW_DIR/Levels/level1.dat"
tw_key b
tw_frames 18
tw_screenshot "$TW_DIR/readonly.png"
tw_running || tw_fail "the game ended after a save into a read-only folder"
cmp -s "$TW_DIR/original.dat" "$TW_DIR/Levels/level1.dat" || tw_fail "a read-only save changed the file"
tw_same_picture "$TW_DIR/painted.png" "$TW_DIR/readonly.png" && tw_fail "no hint after the read-only save"
chmod 644 "$TW_DIR/Levels/level1.dat"
chmod 755 "$TW_DIR/Levels"

mv "$TW_DIR/Levels" "$TW_DIR/Levels.away"
tw_key b
tw_frames 18
tw_screenshot "$TW_DIR/gone.png"
tw_running || tw_fail "the game ended after a save with no Levels folder"
[ ! -e "$TW_DIR/Levels" ] || tw_fail "the failed save made a Levels folder"
[ "$(tw_region_diff "$TW_DIR/readonly.png" "$TW_DIR/gone.png" 800x515+0+0)" = 0 ] ||
  tw_fail "the editor changed after the second failed save"
[ "$(tw_region_diff "$TW_DIR/readonly.png" "$TW_DIR/gone.png" 800x70+0+518)" != 0 ] ||
  tw_fail "a read-only folder and a missing one give the same cause in the bottom bar"
mv "$TW_DIR/Levels.away" "$TW_DIR/Levels"
cmp -s "$TW_DIR/original.dat" "$TW_DIR/Levels/level1.dat" || tw_fail "level 1 changed while its folder was away"
[ -z "$(ls "$TW_DIR/Levels" | grep -v '^level1.dat$')" ] || tw_fail "failed saves left files: $(ls "$TW_DIR/Levels")"

chmod 555 "$TW_DIR/Levels"
tw_key b
tw_frames 18
chmod 755 "$TW_DIR/Levels"
sed '8s/^\(.......\)a/\1l/' "$TW_DIR/original.dat" > "$TW_DIR/expected.dat"
cmp -s "$TW_DIR/expected.dat" "$TW_DIR/Levels/level1.dat" || tw_fail "the kept edit was not saved in place at last"
[ "$(ls "$TW_DIR/Levels")" = level1.dat ] || tw_fail "the save in place left files: $(ls "$TW_DIR/Levels")"
tw_exit_by_menu
echo "ok read-only and vanished Levels while editing"

# screenshots_in DIR: prints the screenshot files DIR holds.
screenshots_in() { ls "$1" | grep '^screenshot' || true; }

# A working directory that turns read-only: "Save screenshot" writes nothing
# and the game goes on; once it is writable again, the same button saves.
tw_launch "${NOCAPS[@]}"
chmod 555 "$TW_DIR"
tw_key Escape
tw_frames 36
tw_click 400 275                # "Save screenshot"
tw_click 400 275
tw_frames 18
tw_running || tw_fail "the game ended on a screenshot into a read-only folder"
[ -z "$(screenshots_in "$TW_DIR")" ] || tw_fail "read-only folder, yet: $(screenshots_in "$TW_DIR")"
chmod 755 "$TW_DIR"
tw_click 400 275
tw_frames 18
[ "$(screenshots_in "$TW_DIR")" = screenshot1.png ] || tw_fail "no screenshot1.png once writable"
tw_click 400 225
tw_expect_exit 0
rm -f "$TW_DIR"/screenshot*.png
echo "ok read-only working directory"

# A full disk: a 16 KiB file system as the working directory. The PNG does not
# fit, and no partial file is left; with room made, the same button saves.
if ! unshare -m sh -c 'mount -t tmpfs -o size=16k probe "$0"' "$TW_DIR"; then
  echo "no private mount namespace here: the full-disk case is left out"
  tw_pass
fi
mkdir "$TW_DIR/stage" "$TW_DIR/full"
cp -a "$TW_DIR/settings.ini" "$TW_DIR/Media" "$TW_DIR/stage/"
tw_launch unshare -m sh -c \
  'mount -t tmpfs -o size=16k tetherorb2-full full && cp -a stage/. full/ && cd full && exec "$0"'
CWD=/proc/$TW_PID/cwd
[ -e "$CWD/settings.ini" ] || tw_fail "the game does not run in the small file system"
tw_key Escape
tw_frames 36
tw_click 400 275
tw_frames 18
tw_running || tw_fail "the game ended on a screenshot onto a full disk"
[ -z "$(screenshots_in "$CWD")" ] || tw_fail "a full disk left: $(screenshots_in "$CWD")"
nsenter -t "$TW_PID" -m mount -o remount,size=8m "$TW_DIR/full" || tw_fail "cannot grow the file system"
tw_click 400 275
tw_frames 18
[ "$(screenshots_in "$CWD")" = screenshot1.png ] || tw_fail "no screenshot1.png once there was room"
tw_click 400 225
tw_expect_exit 0
echo "ok full disk"
tw_pass
