#!/usr/bin/env bash
# Builds the libFuzzer harnesses with clang and runs each for the given number
# of seconds, seeded from tests/fuzz/corpus/<harness>/. New inputs go to a
# scratch corpus so the committed seeds stay as they are. A crash fails the run
# and leaves its input in build-fuzz/.
set -uo pipefail
SECONDS_EACH=${1:-180}
cd "$(dirname "$0")/.."
JOBS=$(nproc)

CC=clang CXX=clang++ cmake -S . -B build-fuzz -DTETHERORB_FUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo > /dev/null || exit 1
cmake --build build-fuzz -j "$JOBS" > /dev/null || exit 1

status=0
for bin in build-fuzz/fuzz_*; do
  [ -x "$bin" ] || continue
  name=$(basename "$bin")
  seeds="tests/fuzz/corpus/$name"
  scratch="build-fuzz/corpus-$name"
  mkdir -p "$scratch"
  dirs=("$scratch")
  [ -d "$seeds" ] && dirs+=("$seeds")
  echo "-- $name for ${SECONDS_EACH} s"
  if ! (cd build-fuzz && ASAN_OPTIONS=detect_leaks=0 "./$name" -max_total_time="$SECONDS_EACH" \
        -artifact_prefix="./crash-$name-" "${dirs[@]/#/../}" 2>&1 | tail -n 3); then
    status=1
  fi
  if ls build-fuzz/crash-"$name"-* > /dev/null 2>&1; then
    echo "$name found a crash: $(ls build-fuzz/crash-"$name"-*)"
    status=1
  fi
done
exit $status
