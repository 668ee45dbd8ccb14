#!/usr/bin/env bash
# A whole run chosen with real key presses: "Play" on the title screen, level 1
# in the list, the ball falls from its spawn onto the finish below it, the best
# score is written, the results card shows, and Return on it brings back the
# title screen.
. "$(dirname "$0")/lib.sh"

tw_init 800 600
printf '%s\n' "Drop" 9 9 \
  aaaaaaaaa \
  aaaajaaaa \
  aaaaaaaaa \
  aaaaaaaaa \
  aaaaaaaaa \
  aaaaaaaaa \
  aaaalaaaa \
  bbbbbbbbb \
  aaaaaaaaa > "$TW_DIR/Levels/level1.dat"

tw_start_x 800x600
tw_launch
tw_frames 18
tw_screenshot "$TW_DIR/title.png"
[ "$(tw_distinct_colours "$TW_DIR/title.png")" -gt 1 ] || tw_fail "the title screen is blank"

tw_key Return
tw_frames 18
tw_screenshot "$TW_DIR/list.png"
tw_same_picture "$TW_DIR/title.png" "$TW_DIR/list.png" && tw_fail "Return on \"Play\" did not change the screen"
[ ! -e "$TW_DIR/Levels/level1.score" ] || tw_fail "a score file exists before the run"

tw_key Return
for i in $(seq 50); do
  [ -e "$TW_DIR/Levels/level1.score" ] && break
  tw_frames 6
done
[ -e "$TW_DIR/Levels/level1.score" ] || tw_fail "no Levels/level1.score within 5 s of choosing the level"
tw_frames 18
size=$(stat -c %s "$TW_DIR/Levels/level1.score")
[ "$size" = 4 ] || tw_fail "the score file has $size bytes, expected 4"
score=$(od -An -t d4 --endian=little "$TW_DIR/Levels/level1.score" | tr -d ' ')
[ "$score" -gt 0 ] && [ "$score" -le 300 ] || tw_fail "the stored score is $score, expected 1..300"

tw_frames 30
tw_key Return
tw_wait_same "$TW_DIR/title.png" || tw_fail "Return on the results card does not show the title screen"
tw_running || tw_fail "the game ended after the finish"
tw_close
tw_expect_exit 0
tw_pass
