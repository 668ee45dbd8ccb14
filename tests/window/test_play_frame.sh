#!/usr/bin/env bash
# A frame of play drawn where it should be. The game runs with an atlas of
# plain colours (ball red, background dark blue, normal blocks green), so
# every pixel tells which picture is on top. The level is a
# corridor one cell high: the ball rests in it overlapping the ceiling or
# the floor, and the camera settles on a point fixed by the pointer.
. "$(dirname "$0")/lib.sh"

W=800; H=600
PX_PER_UNIT=48            # 600 pixels for the 12.5 units of the view
MOUSE_X=600; MOUSE_Y=300  # pointer to the right of the centre, level with it

tw_init $W $H
tw_plain_atlas

printf '%s\n' "Corridor" 9 5 \
  aaaaaaaaa \
  aaaaaaaaa \
  bbbbbbbbb \
  aaaajaaaa \
  bbbbbbbbb > "$TW_DIR/Levels/level1.dat"

tw_start_x ${W}x${H}
tw_launch
tw_keys Return Return
tw_move $MOUSE_X $MOUSE_Y
tw_frames 180
tw_screenshot "$TW_DIR/play.png"
tw_running || tw_fail "the game ended during play"

# The view leads toward the pointer: it settles with its centre off the ball
# by the pointer's offset across the window (-1..1) times the most lead, 7
# units or the half width less 1.25 units if that is less, so the ball stands
# that far left of the window's centre.
lead_units=$(awk -v m=$MOUSE_X -v w=$W -v h=$H 'BEGIN {
  most = 12.5 * 0.5 * w / h - 1.25; if (most > 7) most = 7
  print (2 * m / w - 1) * most }')
BX=$(awk -v a="$lead_units" -v w=$W -v p=$PX_PER_UNIT 'BEGIN { printf "%d", w / 2 - a * p }')
BY=$(( H / 2 ))
HALF=$(( PX_PER_UNIT * 705 / 1000 ))  # half of the ball's 1.41 units

is_colour() {  # is_colour X Y R G B: the pixel is within 8 of the colour
  local p
  p=$(tw_pixel "$TW_DIR/play.png" "$1" "$2")
  awk -v p="$p" -v r="$3" -v g="$4" -v b="$5" 'BEGIN {
    split(p, c, " ")
    d = (c[1] - r) ^ 2 + (c[2] - g) ^ 2 + (c[3] - b) ^ 2
    exit !(d <= 64 * 3) }'
}
RED="255 0 0"; GREEN="0 255 0"; BLUE="0 0 160"

for dx in 0 -$(( HALF - 6 )) $(( HALF - 6 )); do
  is_colour $(( BX + dx )) $BY $RED ||
    tw_fail "no ball at ($(( BX + dx )), $BY): $(tw_pixel "$TW_DIR/play.png" $(( BX + dx )) $BY)"
done
for dx in -$(( HALF + 6 )) $(( HALF + 6 )) -$(( PX_PER_UNIT * 2 )); do
  is_colour $(( BX + dx )) $BY $BLUE ||
    tw_fail "no background at ($(( BX + dx )), $BY) beside the ball: $(tw_pixel "$TW_DIR/play.png" $(( BX + dx )) $BY)"
done

# Half a unit above and below the centre: the ball is 0.4 from one block
# face and 0.6 from the other, so one pixel lies in a block drawn over the
# ball, the other in the ball over the background.
UP=$(( BY - PX_PER_UNIT / 2 )); DOWN=$(( BY + PX_PER_UNIT / 2 ))
if is_colour $BX $UP $GREEN; then
  is_colour $BX $DOWN $RED || tw_fail "below the ball's centre: $(tw_pixel "$TW_DIR/play.png" $BX $DOWN)"
elif is_colour $BX $DOWN $GREEN; then
  is_colour $BX $UP $RED || tw_fail "above the ball's centre: $(tw_pixel "$TW_DIR/play.png" $BX $UP)"
else
  tw_fail "no block drawn over the ball: ($BX, $UP) is $(tw_pixel "$TW_DIR/play.png" $BX $UP), ($BX, $DOWN) is $(tw_pixel "$TW_DIR/play.png" $BX $DOWN)"
fi
is_colour $(( BX + 3 * PX_PER_UNIT )) $(( BY - PX_PER_UNIT )) $GREEN ||
  tw_fail "no ceiling above the corridor"

tw_close
tw_expect_exit 0
tw_pass
