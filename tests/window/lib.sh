# lib.sh: shared helpers for the tests that run the real game in a window.
# Source it from a tests/window/test_*.sh script. CTest gives the script
# TETHERORB2_BIN (the game), REPO_ROOT (the repository) and BUILD_DIR.
#
# A typical test:
#   . "$(dirname "$0")/lib.sh"
#   tw_init 800 600          # temp working dir with settings.ini, Media, Levels
#   tw_start_x               # private Xvfb with GLX, DISPLAY exported
#   tw_launch                # game in the background, window mapped
#   tw_key Escape            # held for a few frames
#   tw_frames 20             # lets the game run 20 frames (a menu slides)
#   tw_screenshot shot.png
#   [ "$(tw_pixel shot.png 400 300)" = "0 0 0" ] || tw_fail "..."
#   tw_close; tw_expect_exit 0
#   tw_pass
#
# Every helper that can fail prints why and ends the test with exit code 1.
# Nothing here waits a fixed time for the game: a busy machine runs fewer
# frames a second, so input is held for a number of frames the game ran (it
# counts them in TW_DIR/.frames under TETHERORB2_FRAMES) and the waits poll
# for a picture, a file or an exit up to a generous bound (TW_LIMIT seconds).
# An EXIT trap kills the game and Xvfb and removes the temp dir (set
# TW_KEEP=1 to keep the dir for a look after a failure).

set -u

TW_DIR=""          # the game's working directory
TW_XVFB_PID=""     # Xvfb started by tw_start_x
TW_PID=""          # the game started by tw_launch
TW_WIN=""          # X id of the game's top-level window
TW_EXIT=""         # exit code, once tw_wait_exit has seen the game end
TW_TITLE="Tetherorb 2"
TW_HOLD=${TW_HOLD:-2}      # frames a key or button stays down: seen down, too short to repeat
TW_LIMIT=${TW_LIMIT:-120}  # seconds any wait for the game gives up after
TW_STILL=12                # frames a region must stay unchanged to be at rest
TW_NAME=$(basename "$0" .sh)

# tw_fail MESSAGE: reports the failure with the game's log and ends the test.
tw_fail() {
  echo "FAIL $TW_NAME: $*" >&2
  if [ -n "$TW_DIR" ] && [ -s "$TW_DIR/game.log" ]; then
    echo "--- game output:" >&2
    tail -n 20 "$TW_DIR/game.log" >&2
  fi
  exit 1
}

# tw_pass: reports success and ends the test with exit code 0.
tw_pass() {
  echo "PASS $TW_NAME"
  exit 0
}

# tw_cleanup: kills the game and Xvfb this test started, removes the temp
# dir. Installed as the EXIT trap by tw_init; safe to call more than once.
tw_cleanup() {
  if [ -n "$TW_PID" ] && kill -0 "$TW_PID" 2>/dev/null; then
    kill "$TW_PID" 2>/dev/null
    sleep 0.2
    kill -9 "$TW_PID" 2>/dev/null
  fi
  TW_PID=""
  if [ -n "$TW_XVFB_PID" ]; then
    kill "$TW_XVFB_PID" 2>/dev/null
    wait "$TW_XVFB_PID" 2>/dev/null
  fi
  TW_XVFB_PID=""
  if [ -n "$TW_DIR" ] && [ -z "${TW_KEEP:-}" ]; then
    rm -rf "$TW_DIR"
  elif [ -n "$TW_DIR" ]; then
    echo "kept $TW_DIR" >&2
  fi
  TW_DIR=""
}

# tw_init [WIDTH HEIGHT]: makes a fresh temp working dir (TW_DIR) holding a
# settings.ini with screenw/screenh (800 x 600 by default; WIDTH "none" writes
# a settings.ini without sizes), a Media symlink to the repository's Media/ and
# an empty Levels/. Installs the cleanup trap and changes into TW_DIR.
tw_init() {
  local w=${1:-800} h=${2:-600}
  : "${TETHERORB2_BIN:?TETHERORB2_BIN is not set}"
  : "${REPO_ROOT:?REPO_ROOT is not set}"
  [ -x "$TETHERORB2_BIN" ] || tw_fail "no game binary at $TETHERORB2_BIN"
  TW_DIR=$(mktemp -d "${TMPDIR:-/tmp}/tetherorb2-$TW_NAME.XXXXXX") || tw_fail "mktemp"
  # The game speaks the environment's language: English unless a test asks.
  unset LC_ALL LC_MESSAGES LANGUAGE
  export LANG=C.UTF-8
  trap tw_cleanup EXIT
  trap 'exit 1' INT TERM
  ln -s "$REPO_ROOT/Media" "$TW_DIR/Media"
  mkdir "$TW_DIR/Levels"
  if [ "$w" = none ]; then
    tw_settings "fullscreen = 0"
  else
    tw_settings "screenw = $w" "screenh = $h"
  fi
  cd "$TW_DIR" || tw_fail "cd $TW_DIR"
}

# tw_settings LINE...: replaces settings.ini in TW_DIR with the given lines.
tw_settings() {
  printf '%s\n' "$@" > "$TW_DIR/settings.ini"
}

# tw_plain_atlas: gives TW_DIR a Media/ of its own whose atlas is plain
# colours, so every pixel tells which picture is on top: ball red, background
# dark blue, normal blocks green, aim marker yellow, the particle glow
# empty, the rest grey.
tw_plain_atlas() {
  rm "$TW_DIR/Media" && mkdir "$TW_DIR/Media" || tw_fail "cannot make a Media folder"
  [ -e "$REPO_ROOT/Media/dashboard.png" ] && ln -s "$REPO_ROOT/Media/dashboard.png" "$TW_DIR/Media/"
  convert -size 1024x1024 xc:'rgb(128,128,128)' \
    -fill 'rgb(0,0,160)' -draw 'rectangle 0,512 511,1023' \
    -fill 'rgb(255,0,0)' -draw 'rectangle 0,128 127,255' \
    -fill 'rgb(0,255,0)' -draw 'rectangle 0,384 127,511' \
    -fill 'rgb(255,255,0)' -draw 'rectangle 896,768 1023,895' \
    -alpha on \( -size 128x128 xc:none \) -geometry +128+128 -compose copy -composite \
    "PNG32:$TW_DIR/Media/tetherorb2texture.png" || tw_fail "cannot make the plain atlas"
}

# tw_add_level N FILE: copies FILE into TW_DIR as Levels/levelN.dat.
tw_add_level() {
  cp "$2" "$TW_DIR/Levels/level$1.dat" || tw_fail "cannot copy level $2"
}

# tw_start_x [WxH]: starts a private Xvfb (1024x768 by default, 24-bit, GLX
# on) on a display number it picks itself, and exports DISPLAY.
tw_start_x() {
  local size=${1:-1024x768}
  local fdfile="$TW_DIR/.display"
  Xvfb -displayfd 3 -screen 0 "${size}x24" +extension GLX -nolisten tcp -noreset \
    3> "$fdfile" > "$TW_DIR/xvfb.log" 2>&1 &
  TW_XVFB_PID=$!
  local i
  for i in $(seq $(( TW_LIMIT * 10 ))); do
    [ -s "$fdfile" ] && break
    kill -0 "$TW_XVFB_PID" 2>/dev/null || tw_fail "Xvfb did not start: $(cat "$TW_DIR/xvfb.log")"
    sleep 0.1
  done
  [ -s "$fdfile" ] || tw_fail "Xvfb gave no display number"
  export DISPLAY=":$(head -n 1 "$fdfile")"
  unset XAUTHORITY
}

# tw_find_window: prints the X id of the newest visible window named TW_TITLE.
tw_find_window() {
  xdotool search --onlyvisible --name "^${TW_TITLE}\$" 2>/dev/null | tail -n 1
}

# tw_launch [VAR=VALUE...]: starts the game in TW_DIR (or TW_WORKDIR) in the
# background with the given extra environment, output to game.log; waits until
# it has run its first frame (its window is then in its real mode: the
# desktop-size probe maps a first window that the real mode replaces), sets
# TW_PID and TW_WIN, and puts the pointer in the middle of the window.
tw_launch() {
  [ -n "${DISPLAY:-}" ] || tw_fail "tw_launch before tw_start_x"
  rm -f "$TW_DIR/.frames"
  (cd "${TW_WORKDIR:-$TW_DIR}" && exec env TETHERORB2_FRAMES="$TW_DIR/.frames" "$@" "$TETHERORB2_BIN") \
    > "$TW_DIR/game.log" 2>&1 &
  TW_PID=$!
  TW_EXIT=""
  TW_WIN=""
  local end=$(( SECONDS + TW_LIMIT ))
  until tw_read_frames; [ "$TW_FRAMES_RUN" -ge 1 ]; do
    if ! tw_running; then
      tw_wait_exit 1
      tw_fail "the game ended with code $TW_EXIT before its first frame"
    fi
    [ "$SECONDS" -lt "$end" ] || tw_fail "the game ran no frame within $TW_LIMIT s"
    sleep 0.1
  done
  TW_WIN=$(tw_find_window)
  [ -n "$TW_WIN" ] || tw_fail "no window named \"$TW_TITLE\" after the first frame"
  local size
  size=$(tw_window_size)
  tw_move $(( ${size% *} / 2 )) $(( ${size#* } / 2 ))
}

# tw_read_frames: sets TW_FRAMES_RUN to how many frames the game has run (0
# before the first); tw_frame_count prints it.
tw_read_frames() {
  local a="" b=""
  while :; do   # read twice: a read never mixes two writes when both agree
    read -r a 2>/dev/null < "$TW_DIR/.frames"
    read -r b 2>/dev/null < "$TW_DIR/.frames"
    [ "$a" = "$b" ] && break
  done
  TW_FRAMES_RUN=${a:-0}
}
tw_frame_count() { tw_read_frames; echo "$TW_FRAMES_RUN"; }

# tw_frames N: waits until the game has run N more frames, or has ended
# (the checks after it see that); fails when it runs none for TW_LIMIT s.
# Input sent before the call is seen by the game once N >= 2.
tw_frames() {
  tw_read_frames
  local target=$(( TW_FRAMES_RUN + $1 )) end=$(( SECONDS + TW_LIMIT )) last=-1
  while tw_running; do
    tw_read_frames
    [ "$TW_FRAMES_RUN" -ge "$target" ] && return 0
    if [ "$TW_FRAMES_RUN" != "$last" ]; then last=$TW_FRAMES_RUN end=$(( SECONDS + TW_LIMIT )); fi
    [ "$SECONDS" -lt "$end" ] || tw_fail "the game ran no frame for $TW_LIMIT s"
    sleep 0.03
  done
}

# tw_window_size: prints the game window's "WIDTH HEIGHT".
tw_window_size() {
  local WIDTH="" HEIGHT=""
  eval "$(xdotool getwindowgeometry --shell "$TW_WIN" | grep -E '^(WIDTH|HEIGHT)=')"
  echo "$WIDTH $HEIGHT"
}

# tw_screen_size: prints the X screen's "WIDTH HEIGHT".
tw_screen_size() {
  xdotool getdisplaygeometry
}

# tw_wait_file FILE [SECONDS]: waits (TW_LIMIT s by default) until FILE
# exists and is not empty; fails the test when it never does.
tw_wait_file() {
  local end=$(( SECONDS + ${2:-$TW_LIMIT} ))
  until [ -s "$1" ]; do
    [ "$SECONDS" -lt "$end" ] || tw_fail "no $1 within ${2:-$TW_LIMIT} s"
    sleep 0.1
  done
}

# tw_until SECONDS COMMAND...: runs COMMAND every tenth of a second until it
# succeeds (true) or SECONDS have passed (false).
tw_until() {
  local end=$(( SECONDS + $1 ))
  shift
  until "$@"; do
    [ "$SECONDS" -lt "$end" ] || return 1
    sleep 0.1
  done
}

# tw_close: asks the game window to close as a window manager's close button
# does (WM_DELETE_WINDOW, which SDL turns into SDL_QUIT).
tw_close() {
  local helper="${BUILD_DIR:-}/tetherorb2-wmclose"
  [ -x "$helper" ] || tw_fail "no window-close helper at $helper"
  "$helper" "$TW_WIN" || tw_fail "could not send WM_DELETE_WINDOW"
}

# tw_running: true while the game process is alive.
tw_running() {
  [ -n "$TW_PID" ] && kill -0 "$TW_PID" 2>/dev/null
}

# tw_wait_exit [SECONDS]: waits (TW_LIMIT s by default) for the game to end
# and sets TW_EXIT to its exit code, or to "timeout" when it is still running.
# Call it directly, not in $(...): only this shell can collect the code.
tw_wait_exit() {
  local end=$(( SECONDS + ${1:-$TW_LIMIT} ))
  while tw_running && [ "$SECONDS" -lt "$end" ]; do
    sleep 0.05
  done
  if tw_running; then
    TW_EXIT=timeout
    return 1
  fi
  wait "$TW_PID" 2>/dev/null
  TW_EXIT=$?
  TW_PID=""
}

# tw_expect_exit CODE [SECONDS]: fails unless the game ends with CODE in time.
tw_expect_exit() {
  tw_wait_exit "${2:-$TW_LIMIT}"
  [ "$TW_EXIT" = "$1" ] || tw_fail "expected exit code $1, got $TW_EXIT"
}

# tw_run VAR=VALUE...: runs the game in the foreground in TW_DIR with the given
# environment (TW_LIMIT s at most) and prints its exit code.
tw_run() {
  local code
  (cd "$TW_DIR" && timeout "$TW_LIMIT" env "$@" "$TETHERORB2_BIN") > "$TW_DIR/game.log" 2>&1
  code=$?
  echo "$code"
}

# tw_exit_by_menu: pauses with Escape, waits until the pause menu has slid in
# and come to rest, clicks its "Exit" button (twice when the editor holds
# unsaved edits and asks again) and expects exit code 0.
tw_exit_by_menu() {
  local size w h geometry
  size=$(tw_window_size)
  w=${size% *} h=${size#* }
  geometry="340x160+$((w / 2 - 170))+$((h / 2 - 155))"   # the three buttons at rest
  tw_screenshot "$TW_DIR/.before-pause.png"
  tw_key Escape
  tw_wait_region "$TW_DIR/.before-pause.png" "$geometry" differs || tw_fail "Escape shows no pause menu"
  tw_wait_still "$geometry" || tw_fail "the pause menu does not come to rest"
  tw_click $((w / 2)) $((h / 2 - 75))
  tw_frames 20
  tw_running && tw_click $((w / 2)) $((h / 2 - 75))
  tw_wait_exit
  [ "$TW_EXIT" = 0 ] || tw_fail "expected exit code 0, got $TW_EXIT"
}

# The helpers by what they drive, each file sourced here so a test needs lib.sh alone.
TW_LIB=$(dirname "${BASH_SOURCE[0]}")
. "$TW_LIB/lib_input.sh"     # keys, buttons and the pointer
. "$TW_LIB/lib_picture.sh"   # screenshots, waits for pictures, pixels
. "$TW_LIB/lib_install.sh"   # the game installed into a prefix
. "$TW_LIB/lib_hub.sh"       # a level hub beside the game
. "$TW_LIB/lib_audio.sh"     # the sound recording as a clock
