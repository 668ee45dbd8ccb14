#!/usr/bin/env bash
# Real X input across screens and a lost keyboard focus. A tap of Return
# whose press and release land in one frame chooses "Play". Space still held
# from choosing the level does not jump in it. With Right held, the pointer
# leaves the window: without a window manager the keyboard goes with it, so
# play pauses, and Right let go outside is not held when play resumes.
. "$(dirname "$0")/lib.sh"

# The level below the score bar; the pause layer's bar, left of its clock (seconds tick there).
PLAY=800x500+0+100; TOP_BAR=300x60+0+0
AIM_X=600; AIM_Y=450

tw_init 800 600
tw_plain_atlas
printf '%s\n' "Focus floor" 20 8 \
  bbbbbbbbbbbbbbbbbbbb baaaaaaaaaaaaaaaaaab baaaaaaaaaaaaaaaaaab baaaaaaaaaaaaaaaaaab \
  baaaaaaaaaaaaaaaaaab baaaaaaaajaaaaaaaaab baaaaaaaaaaaaaaaaaab bbbbbbbbbbbbbbbbbbbb \
  > "$TW_DIR/Levels/level1.dat"
tw_start_x 1024x768   # room for the pointer outside the window
tw_launch
tw_move $AIM_X $AIM_Y
tw_frames 18

tw_screenshot "$TW_DIR/title.png"
xdotool key --delay 0 Return || tw_fail "key Return"
tw_wait_differs "$TW_DIR/title.png" || tw_fail "a tap of Return within one frame did not choose Play"
tw_frames 18

tw_screenshot "$TW_DIR/list.png"
tw_keydown space
tw_wait_differs "$TW_DIR/list.png" || tw_fail "Space did not start level 1"
tw_wait_still $PLAY || tw_fail "the ball keeps moving with Space held from the level list"
tw_screenshot "$TW_DIR/rest.png"
tw_stays_region "$TW_DIR/rest.png" $PLAY 36 || tw_fail "Space held from the level list jumps"
tw_keyup space

tw_keydown Right
tw_wait_region "$TW_DIR/rest.png" $PLAY differs || tw_fail "Right does not roll the ball"
tw_wait_still $PLAY || tw_fail "the ball does not come to rest at the right wall"
tw_screenshot "$TW_DIR/wall.png"
xdotool mousemove 1000 700 || tw_fail "mousemove out of the window"
tw_wait_region "$TW_DIR/wall.png" $TOP_BAR differs || tw_fail "play did not pause when the focus left"
tw_wait_still $TOP_BAR || tw_fail "the pause layer did not come to rest"
tw_keyup Right
tw_move $AIM_X $AIM_Y
tw_frames 18
tw_key Escape
tw_wait_region "$TW_DIR/wall.png" $TOP_BAR same || tw_fail "Escape did not resume play"
tw_key Left
tw_wait_region "$TW_DIR/wall.png" $PLAY differs || tw_fail "Right let go outside the window is still held"
tw_pass
