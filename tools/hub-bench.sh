#!/usr/bin/env bash
# The level hub's benchmark (make hub-bench), measured the way a service is
# sized: against the ceilings of its own parts on this machine, then at a
# fixed offered load below its saturation (docs/performance.md, "The level hub").
#
#   1. the time to re-run a 30-second replay;
#   2. the read ceiling: the hub's HTTP server set-up answering a fixed small body;
#   3. on SQLite and on a throwaway PostgreSQL cluster, a hub holding a million runs:
#      - leaderboard and level-list reads a second (closed loop: the saturation),
#        with the answer cache on and, for comparison, off;
#      - the verifier ceiling (bare re-run processes, as many as the hub has
#        verifiers) and, right after it, the hub's verified runs a second;
#      - latency at 50% and 80% of the saturation rates, open loop, and of
#        runs at 2%, where the hub is nearly idle.
#
#   tools/hub-bench.sh [BUILD]   build folder (default build)
#   BENCH_SECONDS=10 CLIENTS=64  length of each load and its clients
set -euo pipefail
BUILD=${1:-build}
SECONDS_EACH=${BENCH_SECONDS:-10}
CLIENTS=${CLIENTS:-64}
RUNS=1000000
BENCH_PLAYERS=10000
VERIFIERS=$(nproc)   # the hub's default: one verifier process per core
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
echo "machine: $(nproc) processors, load average $(cut -d' ' -f1-3 /proc/loadavg) at the start"

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


# start_server LOG COMMAND..: starts a server in the background and waits until it serves at $URL.
start_server() {
  local log=$1
  shift
  rm -f "$log"   # the last server's address must not be read for this one's
  "$@" > "$log" 2>&1 &
  HUB_PID=$!
  for _ in $(seq 300); do
    URL=$(grep -o 'http://[0-9.:]*' "$log" || true)
    [ -n "$URL" ] && return 0
    sleep 0.1
  done
  cat "$log"
  exit 1
}

# start_hub DB [OPTION..]: a hub on DB without rate limits, and with the
# load's clients, all from this machine, free to hold every connection.
start_hub() {
  local db=$1
  shift
  start_server "$WORK/hub.log" "$HUB" --listen 127.0.0.1:0 --db "$db" --rate-publish-token 0 \
    --rate-publish-address 0 --rate-runs-token 0 --rate-runs-address 0 --rate-players-address 0 \
    --connections-per-address 0 "$@"
}

# rate_of LINE..: the answers a second of tetherorb2-hub-load's last line.
rate_of() { tail -n 1 | grep -o '[0-9]*/s' | head -n 1 | tr -d /s; }
# share A B [FACTOR]: A * FACTOR / B, as a whole number (percent by default)
share() { awk -v a="$1" -v b="$2" -v f="${3:-100}" 'BEGIN { printf "%d", (b > 0 ? a * f / b + 0.5 : 0) }'; }

load() { "$LOAD" "$@" | tee "$WORK/last" || echo "   (the load above had unexpected answers)"; }

# The machine is shared, so rates measured one after another drift with the
# other work on it; the processor time each answer costs does not. cpu_ticks
# PID..: the processor time so far of the processes and their children, in
# clock ticks; per_answer TICKS: milliseconds of it per answer of the last load.
TICKS_PER_SECOND=$(getconf CLK_TCK)
cpu_ticks() {
  local total=0 pid
  for pid in "$@" $(for p in "$@"; do pgrep -P "$p" || true; done); do
    [ -r "/proc/$pid/stat" ] && total=$((total + $(awk '{ print $14 + $15 }' "/proc/$pid/stat" 2> /dev/null || echo 0)))
  done
  echo "$total"
}
cpu_ticks_own() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }
per_answer() {
  local answered
  answered=$(tail -n 1 "$WORK/last" | grep -o '[0-9]* answered' | cut -d' ' -f1)
  awk -v t="$1" -v n="$answered" -v s="$TICKS_PER_SECOND" 'BEGIN { printf "%.3f", (n > 0 ? t * 1000 / s / n : 0) }'
}
# The database server's processes: none for SQLite.
db_pids() { [ -f "$WORK/pg/data/postmaster.pid" ] && head -n 1 "$WORK/pg/data/postmaster.pid" || true; }
# measured LABEL LOAD-ARGS..: a load, then the processor time per answer of the hub and of the database server.
measured() {
  local label=$1 hub0 db0 hub1 db1 own0 own1
  shift
  hub0=$(cpu_ticks "$HUB_PID") db0=$(cpu_ticks $(db_pids)) own0=$(cpu_ticks_own "$HUB_PID")
  load "$@"
  hub1=$(cpu_ticks "$HUB_PID") db1=$(cpu_ticks $(db_pids)) own1=$(cpu_ticks_own "$HUB_PID")
  HUB_MS=$(per_answer $((hub1 - hub0))) DB_MS=$(per_answer $((db1 - db0)))
  echo "   $label: processor time per answer: the hub $HUB_MS ms (its request threads" \
       "$(per_answer $((own1 - own0))) ms, its verifiers the rest), the database server $DB_MS ms"
}

stop_hub() {
  kill "$HUB_PID"
  wait "$HUB_PID" || true
  HUB_PID=
}

PAIRS=()
for n in $(seq 15); do PAIRS+=("Levels/level$n.dat=tests/solutions/level$n.replay"); done

echo "== The read ceiling: the hub's HTTP server set-up answering a fixed small body =="
start_server "$WORK/fixed.log" "$LOAD" fixed
measured "fixed answers" closed "$URL" "$SECONDS_EACH" "$CLIENTS" /fixed
READ_CEILING=$(rate_of < "$WORK/last") READ_CEILING_MS=$HUB_MS
stop_hub

FIRST="(SELECT MIN(id) FROM players WHERE name_key LIKE 'bench player %')"

# The million runs: spread over the shipped levels and BENCH_PLAYERS players,
# each player's best kept as the hub keeps it, and the levels' counts made to match.
# Each has a replay hash of its own, as long as a real one (64 characters), so
# that the hub does not hash them when it starts and the index is its real size.
HASH_FILL=$(printf 'f%.0s' $(seq 56))
make_runs_sql() {
  local numbers=$1 best_runs=$2
  cat << SQL
INSERT INTO players (name, name_key, created)
  SELECT 'bench player ' || i, 'bench player ' || i, 0 FROM ($numbers) n WHERE i < $BENCH_PLAYERS;
CREATE TEMPORARY TABLE slots AS SELECT shipped AS slot, id FROM levels WHERE shipped > 0;
INSERT INTO runs (level_id, player_id, score, frames, created, replay, replay_hash)
  SELECT s.id, $FIRST + (i / 15) % $BENCH_PLAYERS,
         1 + (i * 37) % 300, 1000, 0, 'tetherorb2-replay 1' || chr(10) || 'screen 800 600' || chr(10),
         i || '-$HASH_FILL'
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
      # Vacuumed and written out now, so that neither autovacuum nor the
      # checkpointer goes over the million runs during the loads.
      echo "COMMIT; VACUUM ANALYZE; CHECKPOINT;"; } | psql -q -v ON_ERROR_STOP=1 "$db" > /dev/null
  fi
  echo "made $RUNS runs of $BENCH_PLAYERS players with SQL in $((SECONDS - started)) s"
  start_hub "$db"
  local records=() lists=() tokened=() runs=()
  for n in $(seq 15); do
    id=$(curl -s "$URL/api/v1/levels?sort=plays&page=1" "$URL/api/v1/levels?sort=plays&page=2" |
         python3 -c "import json, sys
for page in sys.stdin.read().replace('}{', '}\n{').split('\n'):
    for l in json.loads(page)['levels']:
        if l['shipped'] == $n: print(l['id'])")
    records+=("/api/v1/levels/$id/records?limit=10")
    tokened+=("+/api/v1/levels/$id/records?limit=10")
    runs+=("$id=tests/solutions/level$n.replay=Levels/level$n.dat")
  done
  for sort in new plays rating; do
    for page in 1 2 3; do lists+=("/api/v1/levels?sort=$sort&page=$page"); done
  done
  local reads=("${records[@]}" "${lists[@]}")
  echo "-- reads a second (read ceiling $READ_CEILING/s, $READ_CEILING_MS ms of processor time each) --"
  measured leaderboards closed "$URL" "$SECONDS_EACH" "$CLIENTS" "${records[@]}"
  echo "   $(share "$(rate_of < "$WORK/last")" "$READ_CEILING")% of the read ceiling;" \
       "by processor time $(share "$READ_CEILING_MS" "$(awk "BEGIN { print $HUB_MS + $DB_MS }")")%"
  measured "level lists" closed "$URL" "$SECONDS_EACH" "$CLIENTS" "${lists[@]}"
  echo "   $(share "$(rate_of < "$WORK/last")" "$READ_CEILING")% of the read ceiling;" \
       "by processor time $(share "$READ_CEILING_MS" "$(awk "BEGIN { print $HUB_MS + $DB_MS }")")%"
  load closed "$URL" "$SECONDS_EACH" "$CLIENTS" "${reads[@]}"
  local read_rate
  read_rate=$(rate_of < "$WORK/last")
  echo "   leaderboards and lists in turn: the read saturation rate"
  measured "leaderboards with the player's own rank (a token)" closed "$URL" "$SECONDS_EACH" "$CLIENTS" "${tokened[@]}"
  echo "-- verified runs a second --"
  load ceiling "$SECONDS_EACH" "$VERIFIERS" "${PAIRS[@]}"
  local ceiling run_rate rerun_ms rerun_cpu
  ceiling=$(rate_of < "$WORK/last")
  rerun_cpu=$(tail -n 1 "$WORK/last" | grep -o '[0-9.]* ms of processor' | cut -d' ' -f1)
  measured "verified runs" closed "$URL" "$SECONDS_EACH" "$CLIENTS" "${runs[@]}"
  run_rate=$(rate_of < "$WORK/last")
  rerun_ms=$(awk -v v="$VERIFIERS" -v c="$ceiling" 'BEGIN { printf "%.2f", (c > 0 ? v * 1000 / c : 0) }')
  echo "   $(share "$run_rate" "$ceiling")% of the verifier ceiling measured just before;" \
       "by processor time $(share "$rerun_cpu" "$(awk "BEGIN { print $HUB_MS + $DB_MS }")")%" \
       "($rerun_cpu ms a bare re-run); a re-run took $rerun_ms ms at the ceiling"
  echo "-- latency at a fixed offered load (open loop) --"
  echo "   runs at 2% of saturation, the hub nearly idle: a run's time without queueing"
  load open "$URL" "$SECONDS_EACH" "$(share "$run_rate" 100 2)" "$CLIENTS" "${runs[@]}"
  for percent in 50 80; do
    load open "$URL" "$SECONDS_EACH" "$(share "$read_rate" 100 "$percent")" "$CLIENTS" "${reads[@]}"
    load open "$URL" "$SECONDS_EACH" "$(share "$run_rate" 100 "$percent")" "$CLIENTS" "${runs[@]}"
  done
  echo "   aims at 50%: reads p99 under 10 ms, runs p99 under three re-runs:" \
       "$(awk -v r="$rerun_ms" 'BEGIN { printf "%.1f", 3 * r }') ms at the mean re-run, 3 in re-runs of each run's own"
  stop_hub
  echo "-- reads a second without the answer cache (--cache-ms 0) --"
  start_hub "$db" --cache-ms 0
  load closed "$URL" "$SECONDS_EACH" "$CLIENTS" "${records[@]}"
  load closed "$URL" "$SECONDS_EACH" "$CLIENTS" "${lists[@]}"
  stop_hub
}

bench SQLite "$WORK/hub.sqlite"
bench PostgreSQL "$(bash tools/hub-pg.sh start "$WORK/pg")"
