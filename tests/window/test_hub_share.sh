#!/usr/bin/env bash
# The level hub from the game's side, with real keys against a real hub on a
# temporary SQLite file: player A retitles a level in the editor, test-runs
# it to the finish, shares it with P (naming themself on the bar) and saves
# it with its author run; player B, with a config folder and token of their
# own, finds it under "Online", opens its leaderboard, plays it, names
# themself on the results card, and the card shows the rank the hub gave the
# run. The hub's own answers say the level and both runs are there.
. "$(dirname "$0")/lib.sh"

tw_init 800 600
mkdir "$TW_DIR/no-levels"
tw_start_hub "$TW_DIR/no-levels" ""

# Player A: the ball falls from its spawn onto the finish.
printf '%s\n' "Drop" 9 9 aaaaaaaaa aaaajaaaa aaaaaaaaa aaaaaaaaa aaaaaaaaa aaaaaaaaa \
  aaaalaaaa bbbbbbbbb aaaaaaaaa > "$TW_DIR/Levels/level1.dat"
tw_settings "screenw = 800" "screenh = 600" "hub = $HUB"
tw_start_x 800x600
tw_launch
sleep 0.3
tw_keys Down Return
sleep 0.3
tw_key Return                        # level 1 in the edit list
sleep 0.5
tw_key p                             # no test run yet: the bar says to finish it first
sleep 0.3
tw_screenshot "$TW_DIR/a-unfinished.png"
tw_key Tab
xdotool type --delay 80 " shared"
tw_key Return
tw_key t
sleep 2
tw_key p
sleep 0.3
xdotool type --delay 80 "Alice"
tw_key Return
for i in $(seq 50); do
  [ "$(hub_field '/api/v1/levels?sort=new' 'len(j["levels"])')" = 1 ] && break
  sleep 0.2
done
[ "$(hub_field '/api/v1/levels?sort=new' 'j["levels"][0]["title"], j["levels"][0]["author"]')" = \
  "Drop shared Alice" ] || tw_fail "the hub does not list A's level: $(curl -s "$HUB/api/v1/levels")"
ID=$(hub_field '/api/v1/levels?sort=new' 'j["levels"][0]["id"]')
sleep 0.5
tw_screenshot "$TW_DIR/a-shared.png"
[ "$(tw_region_diff "$TW_DIR/a-unfinished.png" "$TW_DIR/a-shared.png" 800x60+0+540)" -gt 200 ] ||
  tw_fail "the editor's bar did not change after sharing"
tw_keydown Control_L
tw_key s
tw_keyup Control_L
tw_wait_file "$TW_DIR/Levels/level1.author.replay" 5 || tw_fail "the save wrote no author run beside the level"
[ "$(cat "$TW_DIR/hub-name")" = Alice ] || tw_fail "A's name is not kept"
tw_close
tw_expect_exit 0

# Player B: a folder, settings, token and name of their own.
B=$TW_DIR/b
mkdir -p "$B/Levels"
ln -s "$REPO_ROOT/Media" "$B/Media"
cp "$TW_DIR/settings.ini" "$B/"
TW_WORKDIR=$B tw_launch
sleep 0.3
tw_keys Down Down Return             # "Online"
sleep 1
tw_screenshot "$TW_DIR/b-online.png"
tw_key Return                        # the leaderboard
sleep 1
tw_screenshot "$TW_DIR/b-board.png"
[ "$(tw_region_diff "$TW_DIR/b-online.png" "$TW_DIR/b-board.png" 800x300+0+180)" -gt 500 ] ||
  tw_fail "Return on the Online list does not show the leaderboard"
tw_key Return                        # play it
sleep 2
[ -f "$B/Levels/hub/$ID.dat" ] || tw_fail "the hub level is not kept in Levels/hub/$ID.dat"
[ -f "$B/Levels/level1.dat" ] && tw_fail "the hub level was written over a slot"
tw_screenshot "$TW_DIR/b-naming.png"
xdotool type --delay 80 "Bobby"
tw_key Return
for i in $(seq 50); do
  [ "$(hub_field "/api/v1/levels/$ID/records" 'len(j["records"])')" = 2 ] && break
  sleep 0.2
done
[ "$(hub_field "/api/v1/levels/$ID/records" 'sorted(r["name"] for r in j["records"])')" = "['Alice', 'Bobby']" ] ||
  tw_fail "B's run is not on the hub: $(curl -s "$HUB/api/v1/levels/$ID/records")"
sleep 0.5
tw_screenshot "$TW_DIR/b-card.png"
[ "$(tw_region_diff "$TW_DIR/b-naming.png" "$TW_DIR/b-card.png" 560x70+120+440)" -gt 200 ] ||
  tw_fail "the card does not show the rank after the run was sent"
[ -s "$B/Levels/hub/$ID.score" ] && [ -s "$B/Levels/hub/$ID.ghost" ] || tw_fail "B's best and its ghost are not kept beside the hub level"
[ "$(cat "$B/hub-name")" = Bobby ] && [ "$(wc -c < "$B/hub-token")" -ge 33 ] || tw_fail "B's name or token is not kept"
cmp -s "$B/hub-token" "$TW_DIR/hub-token" && tw_fail "both players have the same token"
tw_close
tw_expect_exit 0
tw_pass
