# lib_install.sh: the game installed with cmake --install into a prefix of its
# own, and a checksum of a tree. Sourced by lib.sh.

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
