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
#   tw_screenshot shot.png
#   [ "$(tw_pixel shot.png 400 300)" = "0 0 0" ] || tw_fail "..."
#   tw_close; tw_expect_exit 0
#   tw_pass
#
# Every helper that can fail prints why and ends the test with exit code 1.
# An EXIT trap kills the game and Xvfb and removes the temp dir (set
# TW_KEEP=1 to keep the dir for a look after a failure).

set -u

TW_DIR=""          # the game's working directory
TW_XVFB_PID=""     # Xvfb started by tw_start_x
TW_PID=""          # the game started by tw_launch
TW_WIN=""          # X id of the game's top-level window
TW_EXIT=""         # exit code, once tw_wait_exit has seen the game end
TW_TITLE="Tetherorb 2"
TW_HOLD=${TW_HOLD:-0.15}   # seconds a key or button stays down: several 16 ms frames
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
  for i in $(seq 100); do
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

# tw_launch [VAR=VALUE...]: starts the game in TW_DIR (or TW_WORKDIR) in the background with
# the given extra environment, output to game.log; waits (20 s at most) until
# its window is mapped and stays the same window for half a second (the
# desktop-size probe maps a first window that the real mode replaces), sets
# TW_PID and TW_WIN, and puts the pointer in the middle of the window.
tw_launch() {
  [ -n "${DISPLAY:-}" ] || tw_fail "tw_launch before tw_start_x"
  (cd "${TW_WORKDIR:-$TW_DIR}" && exec env "$@" "$TETHERORB2_BIN") > "$TW_DIR/game.log" 2>&1 &
  TW_PID=$!
  TW_EXIT=""
  TW_WIN=""
  local i found
  for i in $(seq 200); do
    found=$(tw_find_window)
    if [ -n "$found" ] && [ "$found" = "$TW_WIN" ]; then
      break
    fi
    TW_WIN=$found
    if ! tw_running; then
      tw_wait_exit 1
      tw_fail "the game ended with code $TW_EXIT before its window appeared"
    fi
    if [ -n "$TW_WIN" ]; then sleep 0.5; else sleep 0.1; fi
  done
  [ -n "$TW_WIN" ] && [ "$found" = "$TW_WIN" ] || tw_fail "no window named \"$TW_TITLE\" within 20 s"
  local size
  size=$(tw_window_size)
  tw_move $(( ${size% *} / 2 )) $(( ${size#* } / 2 ))
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

# tw_move X Y: moves the pointer to window pixel (X, Y).
tw_move() {
  xdotool mousemove --window "$TW_WIN" "$1" "$2" || tw_fail "mousemove"
  sleep 0.05
}

# tw_key KEY [SECONDS]: holds the key (an X keysym name: Escape, Return,
# space, Up, w ...) down for TW_HOLD seconds, then lets it go.
tw_key() {
  xdotool keydown "$1" || tw_fail "keydown $1"
  sleep "${2:-$TW_HOLD}"
  xdotool keyup "$1" || tw_fail "keyup $1"
  sleep 0.05
}

# tw_keys KEY...: tw_key for each key in turn.
tw_keys() {
  local k
  for k in "$@"; do tw_key "$k"; done
}

# tw_keydown KEY / tw_keyup KEY: a key held across other actions.
tw_keydown() { xdotool keydown "$1" || tw_fail "keydown $1"; }
tw_keyup() { xdotool keyup "$1" || tw_fail "keyup $1"; }

# tw_click X Y [BUTTON] [SECONDS]: moves to window pixel (X, Y) and holds the
# button (1 left by default) down for TW_HOLD seconds.
tw_click() {
  tw_move "$1" "$2"
  xdotool mousedown "${3:-1}" || tw_fail "mousedown"
  sleep "${4:-$TW_HOLD}"
  xdotool mouseup "${3:-1}" || tw_fail "mouseup"
  sleep 0.05
}

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

# tw_wait_same REF.png [SECONDS]: waits (10 s by default) until the window
# shows exactly REF.png; false when it never does. Frames run slower on a
# busy machine, so tests wait for a picture instead of sleeping a fixed time.
tw_wait_same() {
  local limit=${2:-10} i
  for i in $(seq $(( limit * 5 ))); do
    tw_screenshot "$TW_DIR/.poll.png"
    tw_same_picture "$1" "$TW_DIR/.poll.png" && return 0
    sleep 0.2
  done
  return 1
}

# tw_wait_differs REF.png [SECONDS]: waits until the window no longer shows REF.png.
tw_wait_differs() {
  local limit=${2:-10} i
  for i in $(seq $(( limit * 5 ))); do
    tw_screenshot "$TW_DIR/.poll.png"
    tw_same_picture "$1" "$TW_DIR/.poll.png" || return 0
    sleep 0.2
  done
  return 1
}

# tw_region_diff A.png B.png GEOMETRY: prints how many pixels differ between
# the two pictures inside GEOMETRY (WxH+X+Y).
tw_region_diff() {
  local out
  out=$(compare -metric AE -extract "$3" "$1" "$2" null: 2>&1)
  echo "${out%% *}"
}

# tw_wait_region REF.png GEOMETRY same|differs [SECONDS]: waits (10 s by
# default) until the window's GEOMETRY region is the same as in REF.png, or
# differs from it; false when it never does.
tw_wait_region() {
  local limit=${4:-10} i n
  for i in $(seq $(( limit * 5 ))); do
    tw_screenshot "$TW_DIR/.poll.png"
    n=$(tw_region_diff "$1" "$TW_DIR/.poll.png" "$2")
    if [ "$3" = same ]; then [ "$n" = 0 ] && return 0; else [ "$n" != 0 ] && return 0; fi
    sleep 0.2
  done
  return 1
}

# tw_wait_still GEOMETRY [SECONDS]: waits until the window's GEOMETRY region
# shows the same in two screenshots 0.2 s apart (a slide has come to rest).
tw_wait_still() {
  local limit=${2:-10} i
  tw_screenshot "$TW_DIR/.still.png"
  for i in $(seq $(( limit * 5 ))); do
    sleep 0.2
    tw_screenshot "$TW_DIR/.poll.png"
    [ "$(tw_region_diff "$TW_DIR/.still.png" "$TW_DIR/.poll.png" "$1")" = 0 ] && return 0
    mv "$TW_DIR/.poll.png" "$TW_DIR/.still.png"
  done
  return 1
}

# tw_wait_file FILE [SECONDS]: waits (10 s by default) until FILE exists and
# is not empty; fails the test when it never does.
tw_wait_file() {
  local limit=${2:-10} i
  for i in $(seq $(( limit * 10 ))); do
    [ -s "$1" ] && return 0
    sleep 0.1
  done
  tw_fail "no $1 within $limit s"
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

# tw_wait_exit [SECONDS]: waits (10 s by default) for the game to end and
# sets TW_EXIT to its exit code, or to "timeout" when it is still running.
# Call it directly, not in $(...): only this shell can collect the code.
tw_wait_exit() {
  local limit=${1:-10} i
  for i in $(seq $(( limit * 10 ))); do
    tw_running || break
    sleep 0.1
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
  tw_wait_exit "${2:-10}"
  [ "$TW_EXIT" = "$1" ] || tw_fail "expected exit code $1, got $TW_EXIT"
}

# tw_run VAR=VALUE...: runs the game in the foreground in TW_DIR with the given
# environment (20 s at most) and prints its exit code.
tw_run() {
  local code
  (cd "$TW_DIR" && timeout 20 env "$@" "$TETHERORB2_BIN") > "$TW_DIR/game.log" 2>&1
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
  if ! tw_wait_exit 2; then
    tw_click $((w / 2)) $((h / 2 - 75))
    tw_wait_exit
  fi
  [ "$TW_EXIT" = 0 ] || tw_fail "expected exit code 0, got $TW_EXIT"
}

# tw_install: installs the build into a fresh prefix ($TW_DIR/prefix) with
# `cmake --install`, points TETHERORB2_BIN at the installed game, and empties
# TW_DIR of the repository layout so the game runs installed. HOME is set to
# $TW_DIR/home and the XDG variables are cleared. TW_PREFIX_SUM holds a
# checksum of the whole installed tree (names, modes and contents). The game
# starts in the empty folder TW_WORKDIR.
tw_install() {
  TW_PREFIX="$TW_DIR/prefix"
  cmake --install "${BUILD_DIR:?}" --prefix "$TW_PREFIX" > "$TW_DIR/install.log" 2>&1 ||
    tw_fail "cmake --install failed: $(tail -n 5 "$TW_DIR/install.log")"
  TETHERORB2_BIN="$TW_PREFIX/games/tetherorb2"
  [ -x "$TETHERORB2_BIN" ] || tw_fail "no installed game at $TETHERORB2_BIN"
  rm -rf "$TW_DIR/Media" "$TW_DIR/Levels" "$TW_DIR/settings.ini"
  mkdir "$TW_DIR/home" "$TW_DIR/work"
  TW_WORKDIR="$TW_DIR/work"
  export HOME="$TW_DIR/home"
  unset XDG_DATA_HOME XDG_CONFIG_HOME
  TW_PREFIX_SUM=$(tw_tree_sum "$TW_PREFIX")
}

# tw_tree_sum DIR: one checksum over every path, mode and file content under DIR.
tw_tree_sum() {
  (cd "$1" && find . -printf '%p %m %y\n' | sort && find . -type f -print0 | sort -z |
    xargs -0 sha256sum) | sha256sum
}

# tw_start_hub LEVELS SOLUTIONS: a level hub on a new SQLite file in TW_DIR,
# stopped when the test ends; sets HUB_BIN, HUB_PID and HUB, its address.
tw_start_hub() {
  HUB_BIN=${BUILD_DIR:?}/tetherorb2-hub
  [ -x "$HUB_BIN" ] || tw_fail "no hub at $HUB_BIN"
  "$HUB_BIN" --listen 127.0.0.1:0 --db "$TW_DIR/hub.sqlite" --levels "$1" --solutions "$2" \
    --web "$TW_DIR/no-web" > "$TW_DIR/hub.log" 2>&1 &
  HUB_PID=$!
  trap 'kill $HUB_PID 2>/dev/null; tw_cleanup' EXIT
  for i in $(seq 100); do grep -q "serving on" "$TW_DIR/hub.log" && break; sleep 0.1; done
  HUB=$(grep -o "http://[0-9.:]*" "$TW_DIR/hub.log" | head -n 1)
  [ -n "$HUB" ] || tw_fail "the hub did not start: $(cat "$TW_DIR/hub.log")"
}

# hub_field PATH EXPR: a Python expression over the hub's JSON answer j.
hub_field() {
  curl -s "$HUB$1" | python3 -c "import json, sys; j = json.load(sys.stdin); print($2)"
}
