#!/usr/bin/env bash
# Exit codes: 1 when SDL's video cannot start, 3 when no video mode can be set
# (each after a line with SDL's reason), 0 when the window is closed (also while paused).
. "$(dirname "$0")/lib.sh"

tw_init 800 600
code=$(tw_run SDL_VIDEODRIVER=nosuchdriver)
[ "$code" = 1 ] || tw_fail "SDL_VIDEODRIVER=nosuchdriver gave exit code $code, expected 1"
[ "$(grep -c '^Tetherorb 2: [^:]*: ..*' game.log)" = 1 ] || tw_fail "no one-line reason: $(cat game.log)"
code=$(tw_run SDL_VIDEODRIVER=dummy)
[ "$code" = 3 ] || tw_fail "SDL_VIDEODRIVER=dummy gave exit code $code, expected 3"
[ "$(grep -c '^Tetherorb 2: [^:]*: ..*' game.log)" = 1 ] || tw_fail "no one-line reason: $(cat game.log)"

tw_start_x
tw_settings "screenw=800" "screenh=600" "antialiasing=1"
tw_launch
tw_running || tw_fail "the game did not keep running with antialiasing on"
tw_close
tw_expect_exit 0

tw_launch
tw_key Escape
tw_frames 30
tw_running || tw_fail "the game ended on Escape"
tw_close
tw_expect_exit 0
[ ! -e "$TW_DIR/screenshot1.png" ] || tw_fail "closing the window wrote a screenshot"
tw_pass
