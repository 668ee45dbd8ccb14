#!/usr/bin/env bash
# Runs every test: the headless and window tests of the normal build, the web
# page in headless Chromium, then the headless tests again under AddressSanitizer and UndefinedBehaviorSanitizer,
# then a short burst of each fuzzer when clang is present.
#
#   tools/run-tests.sh [BUILD]   normal build folder (default build)
#   ASAN_BUILD=..., FUZZ_BUILD=..., WEB_BUILD=...  the sanitizer, fuzz and web
#   build folders (default build-asan, build-fuzz and build-web), so that runs
#   side by side do not clash
set -uo pipefail
BUILD=${1:-build}
ASAN_BUILD=${ASAN_BUILD:-build-asan}
WEB_BUILD=${WEB_BUILD:-build-web}
cd "$(dirname "$0")/.."
JOBS=$(nproc)
status=0
passed=0
failed=0
LOG=$(mktemp)
trap 'rm -f "$LOG"' EXIT

# count_ctest: adds the passed and failed counts of the ctest run in $LOG.
count_ctest() {
  local line total bad
  line=$(grep -E "tests passed, [0-9]+ tests? failed out of [0-9]+" "$LOG" | tail -n 1)
  [ -n "$line" ] || { failed=$((failed + 1)); return; }
  bad=$(sed -E 's/.* ([0-9]+) tests? failed out of.*/\1/' <<< "$line")
  total=$(sed -E 's/.*out of ([0-9]+).*/\1/' <<< "$line")
  passed=$((passed + total - bad))
  failed=$((failed + bad))
}

echo "== Headless and window tests =="
ctest --test-dir "$BUILD" -j "$JOBS" --output-on-failure 2>&1 | tee "$LOG" || status=1
count_ctest

echo "== The web page in headless Chromium =="
if bash tools/build-web.sh "$WEB_BUILD" > "$LOG" 2>&1 &&
   TETHERORB2_BIN="$(cd "$BUILD" && pwd)/tetherorb2" REPO_ROOT="$PWD" BUILD_DIR="$(cd "$BUILD" && pwd)" \
   WEB_DIR="$(cd "$WEB_BUILD" && pwd)" bash tests/web/test_web.sh; then
  passed=$((passed + 1))
else
  tail -n 20 "$LOG"
  failed=$((failed + 1))
  status=1
fi

echo "== Headless tests under AddressSanitizer and UndefinedBehaviorSanitizer =="
cmake -S . -B "$ASAN_BUILD" -DTETHERORB_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug > /dev/null &&
  cmake --build "$ASAN_BUILD" -j "$JOBS" --target unit_tests tetherorb2-check tetherorb2-newplayer > /dev/null &&
  ASAN_OPTIONS=detect_leaks=0:abort_on_error=1 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
  ctest --test-dir "$ASAN_BUILD" -j "$JOBS" -L headless --output-on-failure 2>&1 | tee "$LOG" || status=1
count_ctest

if command -v clang++ > /dev/null; then
  echo "== Fuzzers, ${FUZZ_SECONDS:-20} s each =="
  bash tools/run-fuzz.sh "${FUZZ_SECONDS:-20}" 2>&1 | tee "$LOG" || status=1
  harnesses=$(grep -c "^-- fuzz_" "$LOG")
  crashes=$(grep -c "found a crash" "$LOG")
  if [ "$harnesses" -eq 0 ]; then
    failed=$((failed + 1))
  fi
  passed=$((passed + harnesses - crashes))
  failed=$((failed + crashes))
else
  echo "== Fuzzers skipped: clang is not installed =="
fi

[ "$status" -ne 0 ] && [ "$failed" -eq 0 ] && failed=1
echo "summary: $passed passed, $failed failed"
exit $status
