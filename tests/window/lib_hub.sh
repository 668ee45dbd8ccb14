# lib_hub.sh: a level hub beside the game, and reading its answers. Sourced by lib.sh.

# tw_start_hub LEVELS SOLUTIONS: a level hub on a new SQLite file in TW_DIR,
# stopped when the test ends; sets HUB_BIN, HUB_PID and HUB, its address.
tw_start_hub() {
  HUB_BIN=${BUILD_DIR:?}/tetherorb2-hub
  [ -x "$HUB_BIN" ] || tw_fail "no hub at $HUB_BIN"
  "$HUB_BIN" --listen 127.0.0.1:0 --db "$TW_DIR/hub.sqlite" --levels "$1" --solutions "$2" \
    --web "$TW_DIR/no-web" > "$TW_DIR/hub.log" 2>&1 &
  HUB_PID=$!
  trap 'kill $HUB_PID 2>/dev/null; tw_cleanup' EXIT
  tw_until "$TW_LIMIT" grep -q "serving on" "$TW_DIR/hub.log"
  HUB=$(grep -o "http://[0-9.:]*" "$TW_DIR/hub.log" | head -n 1)
  [ -n "$HUB" ] || tw_fail "the hub did not start: $(cat "$TW_DIR/hub.log")"
}

# hub_field PATH EXPR: a Python expression over the hub's JSON answer j.
hub_field() {
  curl -s "$HUB$1" | python3 -c "import json, sys; j = json.load(sys.stdin); print($2)"
}
