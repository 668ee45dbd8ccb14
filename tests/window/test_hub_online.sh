#!/usr/bin/env bash
# The Online screen against a real hub on a temporary SQLite file that knows
# the shipped levels and one more, "Drop", published by Alice through the
# API: the level pictures are fetched and kept in the cache folder; a search
# narrows the list to one row (as few rows as a search that finds nothing)
# and so does the size filter cycled to "large"; the leaderboard shows the
# level's picture (its finish's green and its spawn's orange on screen); the
# player finishes the level, names themself on the card, and U gives it a
# thumbs-up that the hub counts; then it is the level of the day, and C on
# its leaderboard reports it as copied.
. "$(dirname "$0")/lib.sh"

tw_init 800 600
tw_start_hub "$REPO_ROOT/Levels" "$REPO_ROOT/tests/solutions"

# Alice publishes "Drop": the ball falls from its spawn onto the finish with no key pressed.
ALICE=$(printf 'a%.0s' $(seq 43))
curl -s -X POST -H "Authorization: Bearer $ALICE" -d '{"name": "Alice"}' "$HUB/api/v1/players" > /dev/null
python3 -c 'import json, sys; print(json.dumps({"level": sys.argv[1], "replay": sys.argv[2]}))' \
  "$(printf '%s\n' Drop 9 9 aaaaaaaaa aaaajaaaa aaaaaaaaa aaaaaaaaa aaaaaaaaa aaaaaaaaa aaaalaaaa bbbbbbbbb aaaaaaaaa)" \
  "$(printf 'tetherorb2-replay 1\nscreen 800 600\n300 0.96 - 0 0 0\n')" > "$TW_DIR/drop.json"
ID=$(curl -s -X POST -H "Authorization: Bearer $ALICE" --data-binary "@$TW_DIR/drop.json" "$HUB/api/v1/levels" |
  python3 -c 'import json, sys; print(json.load(sys.stdin)["id"])')
[ "$(hub_field '/api/v1/levels?sort=new' 'j["levels"][0]["id"]')" = "$ID" ] || tw_fail "Drop is not published"

ROWS=720x255+40+233          # rows 2 to 6 of the list
ROW1=720x40+40+185           # row 1
ROW1_TITLE=380x24+125+183    # row 1's title
BOARD_PICTURE=200x160+560+195   # the leaderboard's picture of the lit level

# count_colour FILE GEOMETRY COLOUR: how many pixels in the region are near the colour.
count_colour() {
  convert "$1" -crop "$2" +repage -alpha off -fuzz 8% -fill '#ff00ff' -opaque "$3" \
    -fill black +opaque '#ff00ff' -fill white -opaque '#ff00ff' -format '%[fx:round(mean*w*h)]' info:
}

# search WORDS: the search field opened, emptied of what it held, WORDS typed and sent.
search() {
  tw_keydown Control_L
  tw_key f
  tw_keyup Control_L
  tw_frames 18
  tw_keys BackSpace BackSpace BackSpace BackSpace BackSpace
  [ -n "$1" ] && xdotool type --delay 80 "$1"
  tw_key Return
}

tw_settings "screenw = 800" "screenh = 600" "hub = $HUB"
tw_start_x 800x600
tw_launch
tw_move 790 590                      # the game's pointer away from the rows
tw_frames 18
tw_keys Down Down Return             # "Online"
tw_wait_file "$TW_DIR/cache/pictures/$ID.png"
cmp -s "$TW_DIR/cache/pictures/$ID.png" <(curl -s "$HUB/levels/$ID.png") || tw_fail "the kept picture is not the hub's"
tw_wait_still "$ROWS" || tw_fail "the list does not come to rest"
tw_screenshot "$TW_DIR/full.png"

search zzzz                          # no level holds it
tw_wait_region "$TW_DIR/full.png" "$ROWS" differs || tw_fail "a search that finds nothing leaves the list as it was"
tw_wait_still "$ROW1" || tw_fail "the empty list does not come to rest"
tw_screenshot "$TW_DIR/empty.png"

search drop
tw_wait_region "$TW_DIR/empty.png" "$ROW1" differs || tw_fail "searching \"drop\" shows no row"
tw_wait_region "$TW_DIR/empty.png" "$ROWS" same || tw_fail "searching \"drop\" shows more than one row"

search ""
tw_wait_region "$TW_DIR/empty.png" "$ROWS" differs || tw_fail "an empty search does not show every level again"
tw_keys z z z                        # small, medium, large: the longest shipped level alone
tw_wait_region "$TW_DIR/empty.png" "$ROWS" same || tw_fail "the size filter \"large\" shows more than one row"
tw_wait_region "$TW_DIR/empty.png" "$ROW1" differs || tw_fail "the size filter \"large\" shows no row"
tw_key z                             # any size again
tw_wait_region "$TW_DIR/empty.png" "$ROWS" differs || tw_fail "the size filter does not come back to any size"
tw_wait_region "$TW_DIR/full.png" "$ROWS" same || tw_fail "the whole list is not as it was"

tw_key Return                        # Drop's leaderboard, beside its picture
board_shown() {
  tw_screenshot "$TW_DIR/board.png"
  green=$(count_colour "$TW_DIR/board.png" "$BOARD_PICTURE" 'rgb(40,190,90)')
  orange=$(count_colour "$TW_DIR/board.png" "$BOARD_PICTURE" 'rgb(242,112,28)')
  [ "$green" -ge 30 ] && [ "$orange" -ge 30 ]
}
tw_until "$TW_LIMIT" board_shown
[ "$green" -ge 30 ] && [ "$orange" -ge 30 ] ||
  tw_fail "the leaderboard shows no picture of Drop ($green green, $orange orange pixels)"
[ "$(count_colour "$TW_DIR/full.png" "$BOARD_PICTURE" 'rgb(40,190,90)')" = 0 ] ||
  tw_fail "the finish's green is on the list where no picture is"

tw_key Return                        # play it: the ball drops onto the finish
tw_frames 120
xdotool type --delay 80 "Bobby"
tw_key Return
two_records() { [ "$(hub_field "/api/v1/levels/$ID/records" 'len(j["records"])')" = 2 ]; }
tw_until "$TW_LIMIT" two_records
[ "$(hub_field "/api/v1/levels/$ID/records" 'len(j["records"])')" = 2 ] || tw_fail "Bobby's run is not on the hub"
[ "$(hub_field '/api/v1/levels?sort=new' 'j["levels"][0]["rating"]')" = 0 ] || tw_fail "Drop has a thumbs-up already"
for i in $(seq 30); do
  tw_key u
  [ "$(hub_field '/api/v1/levels?sort=new' 'j["levels"][0]["rating"]')" = 1 ] && break
  tw_frames 18
done
[ "$(hub_field '/api/v1/levels?sort=new' 'j["levels"][0]["rating"]')" = 1 ] || tw_fail "U on the card gave no thumbs-up"

# Finished by a player besides its author, Drop can be the level of the day: the only one.
[ "$(hub_field /api/v1/daily 'j["id"]')" = "$ID" ] || tw_fail "the hub has no level of the day"
tw_key Return                        # the title screen
tw_frames 30
tw_keys Down Down Return             # "Online" again: "Level of the day: Drop" first
tw_wait_region "$TW_DIR/full.png" "$ROW1_TITLE" differs || tw_fail "the level of the day is not marked"
tw_wait_region "$TW_DIR/full.png" "$ROWS" same || tw_fail "the rows after the level of the day are not the page's"

# A report from Drop's leaderboard: the third reason, "copied", reaches the hub.
tw_key Return
tw_frames 30
tw_keys k Down Down Return
reported() { "$HUB_BIN" reports --db "$TW_DIR/hub.sqlite" 2>/dev/null | grep -q "^$ID .*copied 1"; }
tw_until "$TW_LIMIT" reported
"$HUB_BIN" reports --db "$TW_DIR/hub.sqlite" | grep -q "^$ID .*broken 0  offensive 0  copied 1" ||
  tw_fail "the report did not reach the hub: $("$HUB_BIN" reports --db "$TW_DIR/hub.sqlite" 2>&1)"
tw_close
tw_expect_exit 0
tw_pass
