#!/usr/bin/env bash
# The include check fails, naming each fault, on a small tree built to break
# its rules: SDL in game, an upward include, a circle of modules, an unknown
# folder, a call of atan2f in game, a game file in no room, a room including
# one it may not (files including edit) and so a circle of rooms; OpenGL in
# render, edit including files, and a name or comment that only looks like
# sinf, are no fault.
#   test_layers.sh CHECKER
set -u
src=$(mktemp -d)
trap 'rm -rf "$src"' EXIT
mkdir -p "$src"/game/base "$src"/game/files "$src"/game/edit "$src"/render "$src"/ui "$src"/platform "$src"/app
printf '#include <SDL.h>\n#include "game/base/b.h"\n' > "$src"/game/base/a.cpp
printf '#include "game/base/a.h"\nfloat B(float x) { return std::atan2f (x, 1) + Sinf(x); }  // sinf(x)\n' > "$src"/game/base/b.cpp
printf '#include "ui/c.h"\n#include <GL/gl.h>\n' > "$src"/render/d.cpp
printf '#include "game/edit/e.h"\n' > "$src"/game/files/f.cpp
printf '#include "game/files/h.h"\n' > "$src"/game/edit/g.cpp
touch "$src"/game/base/a.h "$src"/game/base/b.h "$src"/ui/c.h "$src"/game/edit/e.h "$src"/game/files/h.h "$src"/game/loose.h
status=0
out=$("$1" "$src") && { echo "FAIL: the check passed"; status=1; }
for fault in 'game/base/a.cpp includes <SDL.h>' 'render/d.cpp includes "ui/c.h" from a layer above' \
             'a circle of modules: game/base/a game/base/b' 'game/base/b.cpp calls atan2f' \
             'game/loose.h lies in no room' 'game/files/f.cpp includes "game/edit/e.h" from a room it may not' \
             'a circle of rooms: game/edit game/files'; do
  grep -qF "$fault" <<< "$out" || { echo "FAIL: not reported: $fault"; status=1; }
done
grep -qF 'render/d.cpp includes <GL/gl.h>' <<< "$out" && { echo "FAIL: render may include OpenGL"; status=1; }
grep -qF 'game/edit/g.cpp' <<< "$out" && { echo "FAIL: edit may include files"; status=1; }
grep -qiF 'calls sinf' <<< "$out" && { echo "FAIL: a name or comment taken for a call of sinf"; status=1; }
mkdir "$src"/server
"$1" "$src" | grep -qF 'src/server is no known layer' || { echo "FAIL: an unknown folder passed"; status=1; }
[ $status = 0 ] && echo "PASS: every fault reported"
exit $status
