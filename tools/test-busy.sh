#!/usr/bin/env bash
# Runs every test (tools/run-tests.sh) while stress-ng keeps each core busy,
# so that a test which leans on timing fails here rather than on a busy
# machine later. stress-ng is stopped when the tests end, however they end.
#
#   tools/test-busy.sh [BUILD]   normal build folder (default build)
set -uo pipefail
cd "$(dirname "$0")/.."
command -v stress-ng > /dev/null || { echo "stress-ng is missing: run make deps" >&2; exit 1; }

stress-ng --cpu "$(nproc)" --quiet &
STRESS=$!
trap 'kill "$STRESS" 2> /dev/null; wait "$STRESS" 2> /dev/null' EXIT
trap 'exit 130' INT TERM

started=$SECONDS
bash tools/run-tests.sh "$@"
status=$?
echo "busy run: $((SECONDS - started)) s with stress-ng --cpu $(nproc) beside it, exit code $status"
exit $status
