#!/usr/bin/env bash
# The game step compiled natively and compiled to WebAssembly (what the
# browser runs) ends every run with the same bits: each shipped solution and
# RUNS runs of made-up play, mostly swinging, where one bit's difference in a
# single frame grows into a different path.
#   test_step_wasm.sh NATIVE_DIGEST WASM_DIGEST_JS ROOT
set -u
RUNS=200
SEED=7
MIN_ATTACHED_PERCENT=40   # the share of frames with the tether attached that shows the swings are exercised
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
"$1" "$3" $RUNS $SEED > "$out/native.txt" || { echo "FAIL: the native digest failed"; exit 1; }
NODE_PATH=/usr/share/nodejs node "$2" "$3" $RUNS $SEED > "$out/wasm.txt" 2> "$out/wasm.err" ||
  { tail -c 2000 "$out/wasm.err"; echo "FAIL: the WebAssembly digest failed"; exit 1; }
status=0
lines=$(wc -l < "$out/native.txt")
levels=$(ls "$3"/tests/solutions/level*.replay | wc -l)
[ "$lines" -eq $((levels + RUNS + 1)) ] || { echo "FAIL: $lines lines of digest"; status=1; }
read -r frames attached < <(awk '$1 == "frames" { print $2, $4 }' "$out/native.txt")
if [ -z "${frames:-}" ] || [ $((attached * 100)) -lt $((frames * MIN_ATTACHED_PERCENT)) ]; then
  echo "FAIL: too few frames swing: ${attached:-?} of ${frames:-?}"
  status=1
fi
if ! cmp -s "$out/native.txt" "$out/wasm.txt"; then
  echo "FAIL: the runs end differently (native <, WebAssembly >):"
  diff "$out/native.txt" "$out/wasm.txt" | head -n 20
  status=1
fi
[ $status = 0 ] && echo "PASS: $lines runs alike, $attached of $frames frames swinging"
exit $status
