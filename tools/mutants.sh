#!/usr/bin/env bash
# The mutation check (make mutants): how many one-operator faults in src/game
# and src/hub the headless tests and the hub's API test catch.
#
#   MUTANTS=30 SEED=n tools/mutants.sh
#   SITES=file tools/mutants.sh     the sites listed in file instead (a run's
#                                   survivors-SEED.tsv: the same mutants again)
#
# Draws MUTANTS sites (tools/mutants.py: comparison, arithmetic, logical and
# boolean operators on lines of logic) with SEED, printed so a run can be
# repeated. Each mutant is one change in a scratch copy of the tree
# (MUTANTS_DIR, default /tmp/tetherorb2-mutants-USER, its build folder kept
# between mutants and runs so only the changed file compiles again, through
# ccache when it is installed). The tests run cheapest first and stop at the
# first failure: unit_tests with --gtest_fail_fast, the other headless ctest
# tests, then HUB_TESTS (default tests/hub/test_hub_api.py and test_hub_service.py) against the built
# hub, each under a time limit of three times its clean run plus 30 s.
#
# A mutant is killed (a test fails; a hang counts, and is listed), survived,
# stillborn (does not compile) or known equivalent (tools/mutants-equivalent.txt,
# not built). Kill rate = killed / (drawn - stillborn - known equivalent).
# The working tree is only read.
set -uo pipefail
REPO=$(cd "$(dirname "$0")/.." && pwd)
COUNT=${MUTANTS:-30}
SEED=${SEED:-$(( $(date +%s) % 100000 ))}
WORK=${MUTANTS_DIR:-/tmp/tetherorb2-mutants-$(id -un)}
HUB_TESTS=${HUB_TESTS:-tests/hub/test_hub_api.py tests/hub/test_hub_service.py}
SRC=$WORK/src
BUILD=$WORK/build
PY="python3 $REPO/tools/mutants.py"
TARGETS="unit_tests tetherorb2-hub tetherorb2-newplayer tetherorb2-layers"
JOBS=${JOBS:-2}
if command -v ccache > /dev/null; then
  export CMAKE_CXX_COMPILER_LAUNCHER=ccache CCACHE_BASEDIR=$WORK
fi

mkdir -p "$SRC"
exec 9> "$WORK/lock"
flock -n 9 || { echo "mutants: another run holds $WORK"; exit 1; }

say() { echo "$*" | tee -a "$REPORT"; }
REPORT=$WORK/report-$SEED.txt
KEPT=$WORK/survivors-$SEED.tsv
: > "$REPORT"
if [ -n "${SITES:-}" ]; then
  cp "$SITES" "$WORK/sites.tsv" || exit 1
  say "mutants: the $(wc -l < "$WORK/sites.tsv") sites of $SITES"
  REPORT=$WORK/report-again.txt KEPT=$WORK/survivors-again.tsv
  : > "$REPORT"
else
  say "mutants: seed $SEED, $COUNT drawn from $($PY sites "$REPO" | wc -l) sites in src/game and src/hub"
fi
: > "$KEPT"

# The scratch tree follows the working tree (changed files only), then builds.
$PY sync "$REPO" "$SRC" || exit 1
[ -n "${SITES:-}" ] || $PY draw "$SRC" "$COUNT" "$SEED" > "$WORK/sites.tsv"
if [ ! -f "$BUILD/CMakeCache.txt" ]; then
  cmake -S "$SRC" -B "$BUILD" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTETHERORB_WINDOW_TESTS=OFF > "$WORK/configure.log" 2>&1 ||
    { cat "$WORK/configure.log"; exit 1; }
fi
build() { nice cmake --build "$BUILD" -j "$JOBS" --target $TARGETS > "$WORK/build.log" 2>&1; }
build || { tail -n 30 "$WORK/build.log"; echo "mutants: the clean tree does not build"; exit 1; }

# The headless ctest tests outside unit_tests (whose cases ctest lists one by one).
cases=$(cd "$BUILD" && ./unit_tests --gtest_list_tests | awk '/^[^ ]/ { s = $1 } /^  / { print s $1 }')
OTHER=$(ctest --test-dir "$BUILD" -N -L headless | sed -n 's/^ *Test *#[0-9]*: //p' |
        grep -vxF -e unit.shuffled -f <(echo "$cases") | sed 's/[.]/[.]/g' | paste -sd '|')

# Each stage prints the name of what failed and returns 1, or 2 on a hang.
unit_stage() {
  (cd "$BUILD" && timeout "$1" nice ./unit_tests --gtest_fail_fast --gtest_brief=1 > "$WORK/test.log" 2>&1)
  local rc=$?
  [ $rc -eq 0 ] && return 0
  [ $rc -eq 124 ] && { echo "unit_tests (hang)"; return 2; }
  [ $rc -gt 128 ] && { echo "unit_tests (crash: signal $((rc - 128)))"; return 1; }
  echo "unit_tests $(grep -m1 -o '\[  FAILED  \] [^ ]*' "$WORK/test.log" | cut -c 14-)"
  return 1
}
other_stage() {
  [ -n "$OTHER" ] || return 0
  nice ctest --test-dir "$BUILD" -R "^($OTHER)\$" --stop-on-failure --timeout "$1" > "$WORK/test.log" 2>&1 && return 0
  echo "ctest $(grep -m1 -oE '[^ ]+ [.]*\**(Failed|Timeout)' "$WORK/test.log" | cut -d' ' -f1)"
  grep -q '\*\*\*Timeout' "$WORK/test.log" && return 2
  return 1
}
hub_stage() {
  local t rc
  for t in $HUB_TESTS; do
    (cd "$SRC" && timeout "$1" nice python3 "$t" "$BUILD/tetherorb2-hub" --failfast > "$WORK/test.log" 2>&1)
    rc=$?
    [ $rc -eq 0 ] && continue
    [ $rc -eq 124 ] && { echo "$(basename "$t") (hang)"; return 2; }
    echo "$(basename "$t") $(grep -m1 -oE '^(FAIL|ERROR): [a-z_0-9]+' "$WORK/test.log" | cut -d' ' -f2)"
    return 1
  done
  return 0
}

# The clean run: every stage must pass, and its time sets the limits.
limits=()
for stage in unit_stage other_stage hub_stage; do
  start=$(date +%s)
  why=$($stage 3600) || { echo "mutants: the clean tree fails: $why"; tail -n 30 "$WORK/test.log"; exit 1; }
  limits+=( $(( ($(date +%s) - start) * 3 + 30 )) )
done
say "mutants: time limits ${limits[*]} s (unit_tests, other headless tests, hub tests)"

SAVED=$WORK/saved
current=""
restore() { [ -n "$current" ] && cp "$SAVED" "$SRC/$current"; current=""; }
trap 'restore' EXIT
trap 'restore; exit 130' INT TERM

killed=0 hangs=0 survived=0 stillborn=0 equivalent=0 i=0
survivors=() hanging=()
while IFS= read -r site; do
  i=$((i + 1))
  file=${site%%$'\t'*}
  change=$($PY change "$SRC" "$site")
  if $PY known "$SRC" "$site"; then
    equivalent=$((equivalent + 1)); say "[$i] equivalent (listed)  $change"; continue
  fi
  cp "$SRC/$file" "$SAVED"
  current=$file
  $PY apply "$SRC" "$site"
  if ! build; then
    stillborn=$((stillborn + 1)); say "[$i] stillborn  $change"; restore; continue
  fi
  verdict="" rc=0
  for n in 0 1 2; do
    stage=(unit_stage other_stage hub_stage)
    verdict=$(${stage[$n]} "${limits[$n]}") && continue
    rc=$?
    break
  done
  if [ $rc -eq 0 ]; then
    survived=$((survived + 1)); survivors+=("$change"); say "[$i] SURVIVED  $change"
    echo "$site" >> "$KEPT"
  else
    killed=$((killed + 1))
    [ $rc -eq 2 ] && { hangs=$((hangs + 1)); hanging+=("$change"); }
    say "[$i] killed by $verdict  $change"
  fi
  restore
done < "$WORK/sites.tsv"
build > /dev/null   # the scratch build back to the clean tree for the next run

counted=$((i - stillborn - equivalent))
say ""
say "${SITES:-seed $SEED}: $i mutants: $killed killed ($hangs by a hang), $survived survived, $stillborn stillborn, $equivalent listed as equivalent"
if [ $counted -gt 0 ]; then
  say "kill rate: $killed / $counted = $((killed * 100 / counted))%"
fi
[ ${#survivors[@]} -gt 0 ] && { say "survivors (file | line | change):"; for s in "${survivors[@]}"; do say "  $s"; done; }
[ ${#hanging[@]} -gt 0 ] && { say "killed by a hang:"; for s in "${hanging[@]}"; do say "  $s"; done; }
say "(report in $REPORT, survivors' sites in $KEPT)"
exit 0
