# lib_picture.sh: what the game window shows: screenshots, waits for a
# picture or a region to match, change or come to rest, and pixels. Sourced by lib.sh.

# tw_screenshot FILE.png: saves what the game window shows now.
tw_screenshot() {
  import -window "$TW_WIN" "png:$1" 2>/dev/null || tw_fail "screenshot $1"
}

# tw_same_picture A.png B.png: true when the two pictures are identical.
tw_same_picture() {
  local n
  n=$(compare -metric AE "$1" "$2" null: 2>&1)
  [ "${n%% *}" = 0 ]
}

# tw_wait_same REF.png [SECONDS]: waits (TW_LIMIT s by default) until the
# window shows exactly REF.png; false when it never does. Frames run slower
# on a busy machine, so tests wait for a picture instead of a fixed time.
tw_wait_same() {
  local end=$(( SECONDS + ${2:-$TW_LIMIT} ))
  while :; do
    tw_screenshot "$TW_DIR/.poll.png"
    tw_same_picture "$1" "$TW_DIR/.poll.png" && return 0
    [ "$SECONDS" -lt "$end" ] || return 1
    sleep 0.1
  done
}

# tw_wait_differs REF.png [SECONDS]: waits until the window no longer shows REF.png.
tw_wait_differs() {
  local end=$(( SECONDS + ${2:-$TW_LIMIT} ))
  while :; do
    tw_screenshot "$TW_DIR/.poll.png"
    tw_same_picture "$1" "$TW_DIR/.poll.png" || return 0
    [ "$SECONDS" -lt "$end" ] || return 1
    sleep 0.1
  done
}

# tw_region_diff A.png B.png GEOMETRY: prints how many pixels differ between
# the two pictures inside GEOMETRY (WxH+X+Y).
tw_region_diff() {
  local out
  out=$(compare -metric AE -extract "$3" "$1" "$2" null: 2>&1)
  echo "${out%% *}"
}

# tw_wait_region REF.png GEOMETRY same|differs [SECONDS]: waits (TW_LIMIT s
# by default) until the window's GEOMETRY region is the same as in REF.png,
# or differs from it; false when it never does.
tw_wait_region() {
  local end=$(( SECONDS + ${4:-$TW_LIMIT} )) n
  while :; do
    tw_screenshot "$TW_DIR/.poll.png"
    n=$(tw_region_diff "$1" "$TW_DIR/.poll.png" "$2")
    if [ "$3" = same ]; then [ "$n" = 0 ] && return 0; else [ "$n" != 0 ] && return 0; fi
    [ "$SECONDS" -lt "$end" ] || return 1
    sleep 0.1
  done
}

# tw_stays_region REF.png GEOMETRY FRAMES: true when the window's GEOMETRY
# region shows what REF.png does in every look over the next FRAMES frames.
tw_stays_region() {
  tw_read_frames
  local target=$(( TW_FRAMES_RUN + $3 ))
  while :; do
    tw_screenshot "$TW_DIR/.poll.png"
    [ "$(tw_region_diff "$1" "$TW_DIR/.poll.png" "$2")" = 0 ] || return 1
    tw_read_frames
    if [ "$TW_FRAMES_RUN" -ge "$target" ] || ! tw_running; then return 0; fi
    tw_frames 2
  done
}

# tw_wait_still GEOMETRY [SECONDS]: waits until the window's GEOMETRY region
# shows the same in two screenshots TW_STILL frames apart (a slide has come
# to rest). Leave the pause layer's clock out of GEOMETRY: on a busy machine
# TW_STILL frames can last longer than its second.
tw_wait_still() {
  local end=$(( SECONDS + ${2:-$TW_LIMIT} ))
  tw_screenshot "$TW_DIR/.still.png"
  while :; do
    tw_frames "$TW_STILL"
    tw_screenshot "$TW_DIR/.poll.png"
    [ "$(tw_region_diff "$TW_DIR/.still.png" "$TW_DIR/.poll.png" "$1")" = 0 ] && return 0
    [ "$SECONDS" -lt "$end" ] || return 1
    mv "$TW_DIR/.poll.png" "$TW_DIR/.still.png"
  done
}

# tw_pixel FILE.png X Y: prints the pixel's "R G B", 0..255 each.
tw_pixel() {
  convert "$1[1x1+$2+$3]" -alpha off -depth 8 txt:- 2>/dev/null |
    sed -n 's/.*(\([0-9.]*\),\([0-9.]*\),\([0-9.]*\).*/\1 \2 \3/p' | head -n 1 |
    awk '{ printf "%d %d %d\n", $1, $2, $3 }'
}

# tw_image_size FILE.png: prints the picture's "WIDTH HEIGHT".
tw_image_size() {
  identify -format '%w %h' "$1" 2>/dev/null
}

# tw_distinct_colours FILE.png: prints how many colours the picture has
# (1 for a blank screen).
tw_distinct_colours() {
  identify -format '%k' "$1" 2>/dev/null
}
