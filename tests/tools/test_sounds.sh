#!/usr/bin/env bash
# The committed sounds are the generator's output, byte for byte, and all the
# audio in Media/ stays under 1.5 MB.
#   test_sounds.sh GENERATOR MEDIA_SOUNDS_DIR
set -u
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
"$1" "$out" || { echo "FAIL: the generator failed"; exit 1; }
status=0
for f in "$out"/*; do
  name=$(basename "$f")
  cmp -s "$f" "$2/$name" || { echo "FAIL: $name differs from the generator's output"; status=1; }
done
[ "$(ls "$out" | wc -l)" = "$(ls "$2" | wc -l)" ] || { echo "FAIL: Media/sounds holds files the generator does not make"; status=1; }
total=$(cat "$2"/* | wc -c)
[ "$total" -lt 1500000 ] || { echo "FAIL: the sounds take $total bytes"; status=1; }
[ $status = 0 ] && echo "PASS: $(ls "$out" | wc -l) files, $total bytes"
exit $status
