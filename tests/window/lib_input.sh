# lib_input.sh: the window tests' input: the pointer, keys and buttons, each
# held for frames the game ran (TW_HOLD). Sourced by lib.sh.

# tw_move X Y: moves the pointer to window pixel (X, Y).
tw_move() {
  xdotool mousemove --window "$TW_WIN" "$1" "$2" || tw_fail "mousemove"
  tw_frames 2
}

# tw_key KEY [FRAMES]: holds the key (an X keysym name: Escape, Return,
# space, Up, w ...) down for TW_HOLD frames, then lets it go and waits
# until the game has seen it go.
tw_key() {
  xdotool keydown "$1" || tw_fail "keydown $1"
  tw_frames "${2:-$TW_HOLD}"
  xdotool keyup "$1" || tw_fail "keyup $1"
  tw_frames 2
}

# tw_keys KEY...: tw_key for each key in turn.
tw_keys() {
  local k
  for k in "$@"; do tw_key "$k"; done
}

# tw_keydown KEY / tw_keyup KEY: a key held across other actions.
tw_keydown() { xdotool keydown "$1" || tw_fail "keydown $1"; }
tw_keyup() { xdotool keyup "$1" || tw_fail "keyup $1"; }

# tw_click X Y [BUTTON] [FRAMES]: moves to window pixel (X, Y) and holds the
# button (1 left by default) down for TW_HOLD frames.
tw_click() {
  tw_move "$1" "$2"
  xdotool mousedown "${3:-1}" || tw_fail "mousedown"
  tw_frames "${4:-$TW_HOLD}"
  xdotool mouseup "${3:-1}" || tw_fail "mouseup"
  tw_frames 2
}
