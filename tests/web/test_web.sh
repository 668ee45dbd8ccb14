#!/usr/bin/env bash
# The web page in headless Chromium beside the desktop game: the title screen
# looks like the desktop's, level 1's hint bar names the same keys, real
# Return presses choose "Play" and a level that ends by itself, the run
# reaches its finish, and after a reload the level list shows the best score,
# and the mark of the best run's ghost, exactly where the desktop game shows
# them. browser.py also plays a tab switch and two tabs saving, and asks for
# the page in German; hub_page.py opens a level hub's link to one level
# (/play/LEVELID) and plays it.
# No JavaScript error may be logged. Needs the desktop build and `make web`.
. "$(dirname "$0")/../window/lib.sh"

WEB_DIR=${WEB_DIR:-$REPO_ROOT/build-web}
[ -f "$WEB_DIR/index.html" ] || tw_fail "no web page in $WEB_DIR: run make web first"

tw_init 800 600
# The shipped solutions set medals, and the page packs them: the desktop game has them too.
mkdir -p "$TW_DIR/tests" && ln -s "$REPO_ROOT/tests/solutions" "$TW_DIR/tests/solutions"
# Its title needs the big font's glyph picture, which the page must load too.
printf '%s\n' "Drop – Прыжок" 9 9 aaaaaaaaa aaaajaaaa aaaaaaaaa aaaaaaaaa aaaaaaaaa aaaaaaaaa \
  aaaalaaaa bbbbbbbbb aaaaaaaaa > "$TW_DIR/drop.dat"
tw_start_x 1024x768
WAIT=90   # seconds any wait for the game's window may take: only a hang runs them out

# at_rest: waits until the window has drawn (more than one colour) and comes to rest.
at_rest() {
  local i
  for i in $(seq $((WAIT * 5))); do
    tw_screenshot "$TW_DIR/.drawn.png"
    [ "$(tw_distinct_colours "$TW_DIR/.drawn.png")" -gt 1 ] && break
    sleep 0.2
  done
  tw_wait_still 800x600+0+0 $WAIT || tw_fail "the window never comes to rest"
}

# desktop_picture NAME KEY...: the desktop game's window after the keys, each
# seen to change the picture, with the pointer off the window as in the headless browser.
desktop_picture() {
  local name=$1 key
  shift
  tw_launch ${DESKTOP_LANG:+LANG=$DESKTOP_LANG}
  at_rest
  for key in "$@"; do
    tw_screenshot "$TW_DIR/.before-key.png"
    tw_key "$key"
    tw_wait_differs "$TW_DIR/.before-key.png" $WAIT || tw_fail "$key changes nothing in the window"
    at_rest
  done
  xdotool mousemove 1020 760   # keys go to the window under the pointer
  at_rest
  tw_screenshot "$TW_DIR/$name"
  tw_close
  tw_expect_exit 0
}

desktop_picture desktop-title.png
DESKTOP_LANG=de_DE.UTF-8 desktop_picture desktop-title-de.png
# Level 1 after its banner, the pointer in the window (keys follow it out)
# at its centre, where the view does not lead.
cp "$REPO_ROOT"/Levels/*.dat "$TW_DIR/Levels/"
tw_launch
tw_move 400 300
at_rest
tw_screenshot "$TW_DIR/title.png"
tw_keys Return Return
tw_wait_region "$TW_DIR/title.png" 800x80+0+515 differs $WAIT || tw_fail "Return Return on the title starts no level"
tw_wait_still 800x80+0+515 $WAIT || tw_fail "level 1's hint bar never comes to rest"
tw_screenshot "$TW_DIR/desktop-hint.png"
tw_close
tw_expect_exit 0
/usr/bin/python3 "$REPO_ROOT/tests/web/browser.py" "$WEB_DIR" "$TW_DIR" "$TW_DIR/desktop-title.png" \
  "$TW_DIR/drop.dat" "$TW_DIR/desktop-title-de.png" "$TW_DIR/desktop-hint.png" || tw_fail "the web page failed"

[ "$(identify -format '%w %h' "$TW_DIR/screenshot1.png")" = "800 600" ] ||
  tw_fail "the downloaded screenshot is not an 800 x 600 picture"
score=$(cat "$TW_DIR/score.txt")
[ "$score" -gt 0 ] || tw_fail "no best score written in the browser"
cp "$TW_DIR/drop.dat" "$TW_DIR/Levels/level1.dat"
printf "$(printf '\\x%02x\\x%02x\\x%02x\\x%02x' $((score & 255)) $((score >> 8 & 255)) 0 0)" \
  > "$TW_DIR/Levels/level1.score"
cp "$TW_DIR/level1.ghost" "$TW_DIR/Levels/"   # its mark in the list shows it came back too
desktop_picture desktop-list.png Return

# differing A B: pixels that differ by more than the filtering of two GL stacks does.
differing() {
  local n
  n=$(compare -metric AE -fuzz 12% "$1" "$2" null: 2>&1)
  echo "${n%% *}"
}
hint=$(differing "$TW_DIR/hint.png[800x80+0+515]" "$TW_DIR/desktop-hint.png[800x80+0+515]")   # the bar
[ "$hint" -lt 100 ] || tw_fail "level 1's hint bar differs from the desktop's in $hint pixels: other key names"

after=$(differing "$TW_DIR/list-after.png" "$TW_DIR/desktop-list.png")
before=$(differing "$TW_DIR/list-before.png" "$TW_DIR/desktop-list.png")
echo "list pixels unlike the desktop's with best score $score: $after after the run, $before before it"
[ "$after" -lt 100 ] || tw_fail "the level list after a reload does not show the best score $score"
[ "$before" -gt 200 ] || tw_fail "the list before the run already looked like one with a score"
/usr/bin/python3 "$REPO_ROOT/tests/web/hub_page.py" "${BUILD_DIR:?}/tetherorb2-hub" "$WEB_DIR" "$TW_DIR" \
  "$TW_DIR/drop.dat" || tw_fail "the hub's link to a level failed"
tw_pass
