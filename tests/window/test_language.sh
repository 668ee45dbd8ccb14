#!/usr/bin/env bash
# The language: LANG=de_DE.UTF-8 shows the title screen in German (on a machine
# where that locale was never generated), LANG=C in English, and the
# `language` setting overrides the environment both ways, installed as from the build.
. "$(dirname "$0")/lib.sh"

tw_init 800 600
tw_start_x

# title_shot NAME [VAR=VALUE...]: the title screen once it holds still, as NAME.png.
title_shot() {
  local name=$1
  shift
  tw_launch "$@"
  tw_wait_still 800x600+0+0 || tw_fail "the title screen did not settle ($name)"
  tw_screenshot "$name.png"
  tw_close
  tw_expect_exit 0
}

title_shot english LANG=C
title_shot german LANG=de_DE.UTF-8
tw_same_picture english.png german.png && tw_fail "LANG=de_DE.UTF-8 left the title screen in English"
grep -q 'no readable catalogue' game.log && tw_fail "the German catalogue was not found: $(cat game.log)"

tw_settings "screenw = 800" "screenh = 600" "language = de"
title_shot german_setting LANG=C
tw_same_picture german.png german_setting.png || tw_fail "language = de did not show the same German title screen"
tw_settings "screenw = 800" "screenh = 600" "language = en"
title_shot english_setting LC_ALL=de_DE.UTF-8
tw_same_picture english.png english_setting.png || tw_fail "language = en did not override LC_ALL=de_DE.UTF-8"

# Installed, the catalogue comes from <prefix>/share/locale.
tw_install
title_shot installed_english LANG=C
title_shot installed_german LANG=de_DE.UTF-8
tw_same_picture installed_english.png installed_german.png && tw_fail "the installed game showed no German"
grep -q 'no readable catalogue' game.log && tw_fail "the installed German catalogue was not found: $(cat game.log)"
tw_pass
