#!/usr/bin/env bash
# Bad pictures in Media/: the folder missing, and each of the two pictures
# missing, empty, not a PNG at all, cut short, or a PNG of the wrong size and
# kind. In every case the game opens, draws frames, goes from the title to a
# level and into the pause menu on real key presses, and its "Exit" button
# ends it with exit code 0. Where a picture is good, what it draws must change
# with the input.
. "$(dirname "$0")/lib.sh"

tw_init 800 600
tw_add_level 1 "$REPO_ROOT/Levels/level1.dat"
ATLAS=tetherorb2texture.png
DASH=dashboard.png
printf 'This is not a picture.\n' > "$TW_DIR/text.png"
head -c 3000 "$REPO_ROOT/Media/$ATLAS" > "$TW_DIR/cut.png"
convert -size 8x8 xc:red -type Palette "PNG8:$TW_DIR/palette.png" ||
  tw_fail "cannot make the palette picture"
tw_start_x

# media_case NAME ATLAS_SOURCE DASH_SOURCE: each source is "good", "missing",
# "empty" or a file in TW_DIR; "nofolder" as ATLAS_SOURCE removes Media/.
media_case() {
  local name=$1 atlas=$2 dash=$3
  rm -rf "$TW_DIR/Media"
  if [ "$atlas" != nofolder ]; then
    mkdir "$TW_DIR/Media"
    place_picture "$ATLAS" "$atlas"
    place_picture "$DASH" "$dash"
  fi
  tw_launch
  tw_screenshot "$TW_DIR/$name-title.png"
  tw_keys Return Return        # "Play", then level 1
  tw_frames 24
  tw_screenshot "$TW_DIR/$name-play.png"
  tw_key Escape
  tw_frames 36
  tw_screenshot "$TW_DIR/$name-pause.png"
  tw_running || tw_fail "$name: the game ended on its own"

  # Black is the clear colour: a frame with anything drawn is not all black.
  [ "$(tw_distinct_colours "$TW_DIR/$name-play.png")" != 1 ] ||
    [ "$(tw_pixel "$TW_DIR/$name-play.png" 10 10)" != "0 0 0" ] ||
    tw_fail "$name: nothing is drawn"
  if [ "$atlas" = good ]; then
    ! tw_same_picture "$TW_DIR/$name-title.png" "$TW_DIR/$name-play.png" || tw_fail "$name: the level does not show after Return Return"
  fi
  if [ "$dash" = good ]; then
    ! tw_same_picture "$TW_DIR/$name-play.png" "$TW_DIR/$name-pause.png" || tw_fail "$name: Escape shows no pause menu"
  fi

  tw_click 400 225               # "Exit"
  tw_expect_exit 0
  echo "ok $name"
}

place_picture() {
  case $2 in
    good) cp "$REPO_ROOT/Media/$1" "$TW_DIR/Media/$1" ;;
    missing) ;;
    empty) : > "$TW_DIR/Media/$1" ;;
    *) cp "$TW_DIR/$2" "$TW_DIR/Media/$1" ;;
  esac
}

media_case nofolder nofolder -
media_case atlasmissing missing empty
media_case atlasempty empty text.png
media_case atlastext text.png missing
media_case atlascut cut.png good
media_case dashcut palette.png cut.png
media_case dashbad good text.png
tw_pass
