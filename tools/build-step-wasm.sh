#!/usr/bin/env bash
# Builds the game step's digest tool (tools/step_digest.cpp) with Debian's
# emscripten into the folder given (build-step-wasm by default), as
# tetherorb2-step-digest.js for node, reading the real file system:
#   node build-step-wasm/tetherorb2-step-digest.js ROOT [RUNS [SEED]]
set -euo pipefail
cd "$(dirname "$0")/.."
OUT=$(realpath -m "${1:-build-step-wasm}")

# Debian's emcc runs its optimiser under node and needs Debian's acorn.
export NODE_PATH=/usr/share/nodejs
# A build started from another build's make must not inherit its settings.
unset MAKEFLAGS MFLAGS MAKELEVEL

# emcmake names the toolchain file; its own "configure:" line is left out.
emcmake cmake -S . -B "$OUT" -DCMAKE_BUILD_TYPE=Release -DTETHERORB_STEP_DIGEST=ON 2>&1 > /dev/null |
  { grep -v '^configure: ' >&2 || true; }
cmake --build "$OUT" -j "${JOBS:-2}" --target tetherorb2-step-digest -- --no-print-directory > /dev/null
