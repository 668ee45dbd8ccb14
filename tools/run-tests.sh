#!/usr/bin/env bash
# Runs every test: the headless and window tests of the normal build, then the
# headless tests again under AddressSanitizer and UndefinedBehaviorSanitizer,
# then a short burst of each fuzzer when clang is present.
#
#   tools/run-tests.sh [BUILD]   normal build folder (default build)
#   ASAN_BUILD=..., FUZZ_BUILD=...  the sanitizer and fuzz build folders
#   (default build-asan and build-fuzz), so that runs side by side do not clash
set -uo pipefail
BUILD=${1:-build}
ASAN_BUILD=${ASAN_BUILD:-build-asan}
cd "$(dirname "$0")/.."
JOBS=$(nproc)
status=0

echo "== Headless and window tests =="
ctest --test-dir "$BUILD" -j "$JOBS" --output-on-failure || status=1

echo "== Headless tests under AddressSanitizer and UndefinedBehaviorSanitizer =="
cmake -S . -B "$ASAN_BUILD" -DTETHERORB_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug > /dev/null &&
  cmake --build "$ASAN_BUILD" -j "$JOBS" --target unit_tests > /dev/null &&
  ASAN_OPTIONS=detect_leaks=0:abort_on_error=1 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
  ctest --test-dir "$ASAN_BUILD" -j "$JOBS" -L headless --output-on-failure || status=1

if command -v clang++ > /dev/null; then
  echo "== Fuzzers, ${FUZZ_SECONDS:-20} s each =="
  bash tools/run-fuzz.sh "${FUZZ_SECONDS:-20}" || status=1
else
  echo "== Fuzzers skipped: clang is not installed =="
fi

exit $status
