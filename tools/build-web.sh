#!/usr/bin/env bash
# Builds the web page into the folder given (build-web by default) with
# Debian's emscripten: index.html and the .js, .wasm and .data files it loads.
# LodePNG's C source comes from the npm package "lodepng", fetched into that
# folder on the first build.
set -euo pipefail
cd "$(dirname "$0")/.."
OUT=$(realpath -m "${1:-build-web}")
LODEPNG_PACKAGE=lodepng@2.3.0

# Debian's emcc runs its optimiser under node and needs Debian's acorn.
export NODE_PATH=/usr/share/nodejs

LODEPNG_DIR=$OUT/lodepng/package/vendor
if [ ! -f "$LODEPNG_DIR/lodepng.cpp" ]; then
  mkdir -p "$OUT/lodepng"
  tarball=$(cd "$OUT/lodepng" && npm pack --silent "$LODEPNG_PACKAGE")
  tar -xzf "$OUT/lodepng/$tarball" -C "$OUT/lodepng" package/vendor
  cp "$LODEPNG_DIR/lodepng.c" "$LODEPNG_DIR/lodepng.cpp"
fi

# emcmake names the toolchain file; its own "configure:" line is left out.
emcmake cmake -S . -B "$OUT" -DCMAKE_BUILD_TYPE=Release -DLODEPNG_DIR="$LODEPNG_DIR" 2>&1 > /dev/null |
  { grep -v '^configure: ' >&2 || true; }
cmake --build "$OUT" -j "${JOBS:-2}" -- --no-print-directory
ls -l "$OUT"/index.* | awk '{ print $5, $9 }'
