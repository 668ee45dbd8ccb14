#!/usr/bin/env bash
# Builds the libFuzzer harnesses with clang and runs each for the given number
# of seconds, seeded from tests/fuzz/corpus/<harness>/. New inputs go to a
# scratch corpus so the committed seeds stay as they are. A crash, a failed
# check inside a harness or a sanitizer report fails the run and leaves its
# input in the build folder as crash-<harness>-*.
#
#   tools/run-fuzz.sh [SECONDS]            180 s per harness by default
#   FUZZ_BUILD=build-mine tools/run-fuzz.sh  build folder (default build-fuzz),
#                                          so that runs side by side do not clash
#   FUZZ_ONLY=fuzz_level tools/run-fuzz.sh   run one harness only
set -uo pipefail
SECONDS_EACH=${1:-180}
cd "$(dirname "$0")/.."
BUILD=${FUZZ_BUILD:-build-fuzz}
JOBS=${JOBS:-$(nproc)}

CC=clang CXX=clang++ cmake -S . -B "$BUILD" -DTETHERORB_FUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo > /dev/null || exit 1
# Only the harnesses: the game, the tools and the hub's programs are built and
# tested by the other builds.
targets=()
for src in tests/fuzz/fuzz_*.cpp; do targets+=("$(basename "$src" .cpp)"); done
cmake --build "$BUILD" -j "$JOBS" --target "${targets[@]}" > /dev/null || exit 1

status=0
ran=0
for bin in "$BUILD"/fuzz_*; do
  [ -x "$bin" ] || continue
  name=$(basename "$bin")
  [ -n "${FUZZ_ONLY:-}" ] && [ "$name" != "$FUZZ_ONLY" ] && continue
  seeds="$PWD/tests/fuzz/corpus/$name"
  scratch="$PWD/$BUILD/corpus-$name"
  mkdir -p "$scratch"
  rm -f "$BUILD"/crash-"$name"-*
  dirs=("$scratch")
  [ -d "$seeds" ] && dirs+=("$seeds")
  echo "-- $name for ${SECONDS_EACH} s"
  ran=$((ran + 1))
  # Every seed runs once first, so an input that failed before is a regression check.
  # -timeout only catches an input that hangs: generous, as a busy machine is slow.
  if ! (cd "$BUILD" && ASAN_OPTIONS=detect_leaks=0:abort_on_error=1 \
        UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
        "./$name" -max_total_time="$SECONDS_EACH" -timeout=120 -rss_limit_mb=2048 \
        -artifact_prefix="./crash-$name-" "${dirs[@]}" > "fuzz-$name.log" 2>&1); then
    status=1
    echo "$name failed; the end of $BUILD/fuzz-$name.log:"
    tail -n 30 "$BUILD/fuzz-$name.log"
  else
    tail -n 2 "$BUILD/fuzz-$name.log"
  fi
  if ls "$BUILD"/crash-"$name"-* > /dev/null 2>&1; then
    echo "$name found a crash: $(ls "$BUILD"/crash-"$name"-*)"
    status=1
  fi
done
if [ "$ran" -eq 0 ]; then
  echo "no fuzz harness was built"
  status=1
fi
exit $status
