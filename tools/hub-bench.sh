#!/usr/bin/env bash
# The level hub's benchmark (make hub-bench): the time to re-run a
# 30-second replay, then leaderboard reads and verified run submissions from
# 64 clients against a hub holding a million runs, on SQLite and on a
# throwaway PostgreSQL cluster. The million runs are made with direct SQL.
#
#   tools/hub-bench.sh [BUILD]   build folder (default build)
#   BENCH_SECONDS=10 CLIENTS=64  length of each load and its clients
set -euo pipefail
BUILD=${1:-build}
SECONDS_EACH=${BENCH_SECONDS:-10}
CLIENTS=${CLIENTS:-64}
RUNS=1000000
BENCH_PLAYERS=10000
cd "$(dirname "$0")/.."
HUB=$PWD/$BUILD/tetherorb2-hub
LOAD=$PWD/$BUILD/tetherorb2-hub-load
WORK=$(mktemp -d /tmp/hub-bench-XXXXXX)
HUB_PID=
cleanup() {
  [ -n "$HUB_PID" ] && kill "$HUB_PID" 2> /dev/null && wait "$HUB_PID" 2> /dev/null
  [ -d "$WORK/pg" ] && bash tools/hub-pg.sh stop "$WORK/pg"
  rm -rf "$WORK"
}
trap cleanup EXIT

echo "== Re-running a 30-second replay (the first 1875 frames of level 11's solution) =="
python3 - tests/solutions/level11.replay "$WORK/thirty.replay" << 'PY'
import sys
lines, kept, frames = open(sys.argv[1]).read().split("\n"), [], 0
for line in lines:
    parts = line.split(" ")
    if len(parts) == 6 and frames < 1875:
        n = min(int(parts[0]), 1875 - frames)
        frames += n
        line = " ".join([str(n)] + parts[1:])
    elif len(parts) == 6:
        continue
    kept.append(line)
open(sys.argv[2], "w").write("\n".join(kept).strip() + "\n")
PY
"$LOAD" rerun Levels/level11.dat "$WORK/thirty.replay" 200

# start_hub DB: starts a hub on DB without rate limits and waits until it serves.
start_hub() {
  rm -f "$WORK/hub.log"   # the last hub's address must not be read for this one's
  "$HUB" --listen 127.0.0.1:0 --db "$1" --rate-publish-token 0 --rate-publish-address 0 --rate-runs-token 0 \
    --rate-runs-address 0 --rate-players-address 0 > "$WORK/hub.log" 2>&1 &
  HUB_PID=$!
  for _ in $(seq 300); do
    URL=$(grep -o 'http://[0-9.:]*' "$WORK/hub.log" || true)
    [ -n "$URL" ] && return 0
    sleep 0.1
  done
  cat "$WORK/hub.log"
  exit 1
}

stop_hub() {
  kill "$HUB_PID"
  wait "$HUB_PID" || true
  HUB_PID=
}

FIRST="(SELECT MIN(id) FROM players WHERE name_key LIKE 'bench player %')"

# The million runs: spread over the shipped levels and BENCH_PLAYERS players,
# each player's best kept as the hub keeps it, and the levels' counts made to match.
make_runs_sql() {
  local numbers=$1 best_runs=$2
  cat << SQL
INSERT INTO players (name, name_key, created)
  SELECT 'bench player ' || i, 'bench player ' || i, 0 FROM ($numbers) n WHERE i < $BENCH_PLAYERS;
CREATE TEMPORARY TABLE slots AS SELECT shipped AS slot, id FROM levels WHERE shipped > 0;
INSERT INTO runs (level_id, player_id, score, frames, created, replay)
  SELECT s.id, $FIRST + (i / 15) % $BENCH_PLAYERS,
         1 + (i * 37) % 300, 1000, 0, 'tetherorb2-replay 1' || chr(10) || 'screen 800 600' || chr(10)
  FROM ($numbers) n JOIN slots s ON s.slot = 1 + i % 15 WHERE i < $RUNS;
INSERT INTO bests (level_id, player_id, run_id, score, achieved) $best_runs;
UPDATE levels SET plays = (SELECT COUNT(*) FROM runs r WHERE r.level_id = levels.id),
                  finishes = (SELECT COUNT(*) FROM bests b WHERE b.level_id = levels.id),
                  record = (SELECT MAX(score) FROM bests b WHERE b.level_id = levels.id);
SQL
}

bench() {
  local name=$1 db=$2
  echo "== $name =="
  start_hub "$db"
  stop_hub
  local started=$SECONDS
  if [ "$name" = SQLite ]; then
    { echo "BEGIN;"
      make_runs_sql "WITH RECURSIVE c(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM c WHERE i < $RUNS - 1) SELECT i FROM c" \
        "SELECT level_id, player_id, id, MAX(score), 0 FROM runs WHERE player_id >= $FIRST GROUP BY level_id, player_id"
      echo "COMMIT; ANALYZE;"; } | sed 's/chr(10)/char(10)/g' | sqlite3 "$db"
  else
    { echo "BEGIN;"
      make_runs_sql "SELECT generate_series(0, $RUNS - 1) AS i" \
        "SELECT DISTINCT ON (level_id, player_id) level_id, player_id, id, score, 0 FROM runs
         WHERE player_id >= $FIRST ORDER BY level_id, player_id, score DESC, id"
      echo "COMMIT; ANALYZE;"; } | psql -q -v ON_ERROR_STOP=1 "$db" > /dev/null
  fi
  echo "made $RUNS runs of $BENCH_PLAYERS players with SQL in $((SECONDS - started)) s"
  start_hub "$db"
  local levels=() runs=()
  for n in $(seq 15); do
    id=$(curl -s "$URL/api/v1/levels?sort=plays&page=1" "$URL/api/v1/levels?sort=plays&page=2" |
         python3 -c "import json, sys
for page in sys.stdin.read().replace('}{', '}\n{').split('\n'):
    for l in json.loads(page)['levels']:
        if l['shipped'] == $n: print(l['id'])")
    levels+=("$id")
    runs+=("$id=tests/solutions/level$n.replay")
  done
  "$LOAD" records "$URL" "$SECONDS_EACH" "$CLIENTS" "${levels[@]}"
  "$LOAD" runs "$URL" "$SECONDS_EACH" "$CLIENTS" "${runs[@]}"
  stop_hub
}

bench SQLite "$WORK/hub.sqlite"
bench PostgreSQL "$(bash tools/hub-pg.sh start "$WORK/pg")"
