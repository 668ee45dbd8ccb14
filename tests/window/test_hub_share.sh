#!/usr/bin/env bash
# The level hub from the game's side, with real keys against a real hub on a
# temporary SQLite file: player A retitles a level in the editor, test-runs
# it to the finish, shares it with P (naming themself on the bar) and saves
# it with its author run; player B, with a config folder and token of their
# own, finds it under "Online", opens its leaderboard, plays it, names
# themself on the results card, and the card shows the rank the hub gave the
# run. The hub's own answers say the level and both runs are there.
. "$(dirname "$0")/lib.sh"

# changed NAME BEFORE GEOMETRY PIXELS: takes NAME.png; true when more than
# PIXELS differ from BEFORE.png inside GEOMETRY.
changed() {
  tw_screenshot "$TW_DIR/$1.png"
  [ "$(tw_region_diff "$TW_DIR/$2.png" "$TW_DIR/$1.png" "$3")" -gt "$4" ]
}

tw_init 800 600
mkdir "$TW_DIR/no-levels"
tw_start_hub "$TW_DIR/no-levels" ""

# Player A: the ball falls from its spawn onto the finish.
printf '%s\n' "Drop" 9 9 aaaaaaaaa aaaajaaaa aaaaaaaaa aaaaaaaaa aaaaaaaaa aaaaaaaaa \
  aaaalaaaa bbbbbbbbb aaaaaaaaa > "$TW_DIR/Levels/level1.dat"
tw_settings "screenw = 800" "screenh = 600" "hub = $HUB"
tw_start_x 800x600
tw_launch
tw_frames 18
tw_keys Down Return
tw_frames 18
tw_key Return                        # level 1 in the edit list
tw_frames 30
tw_key p                             # no test run yet: the bar says to finish it first
tw_frames 18
tw_screenshot "$TW_DIR/a-unfinished.png"
tw_key Tab
xdotool type --delay 80 " shared"
tw_key Return
tw_key t
tw_frames 120
tw_key p
tw_frames 18
xdotool type --delay 80 "Alice"
tw_key Return
one_level() { [ "$(hub_field '/api/v1/levels?sort=new' 'len(j["levels"])')" = 1 ]; }
tw_until "$TW_LIMIT" one_level
[ "$(hub_field '/api/v1/levels?sort=new' 'j["levels"][0]["title"], j["levels"][0]["author"]')" = \
  "Drop shared Alice" ] || tw_fail "the hub does not list A's level: $(curl -s "$HUB/api/v1/levels")"
ID=$(hub_field '/api/v1/levels?sort=new' 'j["levels"][0]["id"]')
tw_until "$TW_LIMIT" changed a-shared a-unfinished 800x60+0+540 200 ||
  tw_fail "the editor's bar did not change after sharing"
tw_keydown Control_L
tw_key s
tw_keyup Control_L
tw_wait_file "$TW_DIR/Levels/level1.author.replay" || tw_fail "the save wrote no author run beside the level"
[ "$(cat "$TW_DIR/hub-name")" = Alice ] || tw_fail "A's name is not kept"
tw_close
tw_expect_exit 0

# Player B: a folder, settings, token and name of their own.
B=$TW_DIR/b
mkdir -p "$B/Levels"
ln -s "$REPO_ROOT/Media" "$B/Media"
cp "$TW_DIR/settings.ini" "$B/"
TW_WORKDIR=$B tw_launch
tw_frames 18
tw_keys Down Down Return             # "Online"
tw_wait_file "$B/cache/pictures/$ID.png"
tw_wait_still 800x400+0+150 || tw_fail "the Online list does not come to rest"
tw_screenshot "$TW_DIR/b-online.png"
tw_key Return                        # the leaderboard
tw_until "$TW_LIMIT" changed b-board b-online 800x300+0+180 500 ||
  tw_fail "Return on the Online list does not show the leaderboard"
tw_key Return                        # play it
tw_until "$TW_LIMIT" test -f "$B/Levels/hub/$ID.dat" || tw_fail "the hub level is not kept in Levels/hub/$ID.dat"
tw_frames 120                        # the ball drops onto the finish
[ -f "$B/Levels/level1.dat" ] && tw_fail "the hub level was written over a slot"
tw_screenshot "$TW_DIR/b-naming.png"
xdotool type --delay 80 "Bobby"
tw_key Return
two_records() { [ "$(hub_field "/api/v1/levels/$ID/records" 'len(j["records"])')" = 2 ]; }
tw_until "$TW_LIMIT" two_records
[ "$(hub_field "/api/v1/levels/$ID/records" 'sorted(r["name"] for r in j["records"])')" = "['Alice', 'Bobby']" ] ||
  tw_fail "B's run is not on the hub: $(curl -s "$HUB/api/v1/levels/$ID/records")"
tw_until "$TW_LIMIT" changed b-card b-naming 560x70+120+440 200 ||
  tw_fail "the card does not show the rank after the run was sent"
[ -s "$B/Levels/hub/$ID.score" ] && [ -s "$B/Levels/hub/$ID.ghost" ] || tw_fail "B's best and its ghost are not kept beside the hub level"
[ "$(cat "$B/hub-name")" = Bobby ] && [ "$(wc -c < "$B/hub-token")" -ge 33 ] || tw_fail "B's name or token is not kept"
cmp -s "$B/hub-token" "$TW_DIR/hub-token" && tw_fail "both players have the same token"
tw_close
tw_expect_exit 0
tw_pass
