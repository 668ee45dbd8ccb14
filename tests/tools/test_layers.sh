#!/usr/bin/env bash
# The include check fails, naming each fault, on a small tree built to break
# its rules: SDL in game, an upward include, a circle, an unknown folder,
# a call of atan2f in game; OpenGL in render, and a name or comment that
# only looks like sinf, are no fault.
#   test_layers.sh CHECKER
set -u
src=$(mktemp -d)
trap 'rm -rf "$src"' EXIT
mkdir -p "$src"/game "$src"/render "$src"/ui "$src"/platform "$src"/app
printf '#include <SDL.h>\n#include "game/b.h"\n' > "$src"/game/a.cpp
printf '#include "game/a.h"\nfloat B(float x) { return std::atan2f (x, 1) + Sinf(x); }  // sinf(x)\n' > "$src"/game/b.cpp
printf '#include "ui/c.h"\n#include <GL/gl.h>\n' > "$src"/render/d.cpp
touch "$src"/game/a.h "$src"/game/b.h "$src"/ui/c.h
status=0
out=$("$1" "$src") && { echo "FAIL: the check passed"; status=1; }
for fault in 'game/a.cpp includes <SDL.h>' 'render/d.cpp includes "ui/c.h" from a layer above' \
             'a circle of modules: game/a game/b' 'game/b.cpp calls atan2f'; do
  grep -qF "$fault" <<< "$out" || { echo "FAIL: not reported: $fault"; status=1; }
done
grep -qF 'render/d.cpp includes <GL/gl.h>' <<< "$out" && { echo "FAIL: render may include OpenGL"; status=1; }
grep -qiF 'calls sinf' <<< "$out" && { echo "FAIL: a name or comment taken for a call of sinf"; status=1; }
mkdir "$src"/server
"$1" "$src" | grep -qF 'src/server is no known layer' || { echo "FAIL: an unknown folder passed"; status=1; }
[ $status = 0 ] && echo "PASS: every fault reported"
exit $status
