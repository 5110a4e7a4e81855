#!/bin/sh
# The layer check itself: run on a small tree of its own, it passes the
# includes the layers allow and refuses each kind it must, naming why.
set -u
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail=0

mkdir -p "$work/tests" "$work/src/platform/sdl"
cp "$here/check_imports.sh" "$work/tests/"
for layer in data audio gfx world game screens platform tools; do mkdir -p "$work/src/$layer"; done
printf '#pragma once\n' > "$work/src/data/a.h"
printf '#include <cstdio>\n#include "data/a.h"\n' > "$work/src/data/a.cpp"
printf '  #  include "game/g.h"\n#include "data/a.h"\n#include "world/w.h"\n' > "$work/src/game/g.cpp"
printf '#include "platform/sdl/s.h"\n#include "game/g.h"\n' > "$work/src/platform/sdl/s.cpp"

if ! out=$(sh "$work/tests/check_imports.sh" 2>&1); then
  echo "FAIL: a tree that keeps to its layers is refused:"
  echo "$out"
  fail=1
fi

# expect_refused FILE INCLUDE WHY: FILE with that one include is refused, saying WHY.
expect_refused() {
  printf '#include "%s"\n' "$2" > "$work/src/$1"
  if out=$(sh "$work/tests/check_imports.sh" 2>&1); then
    echo "FAIL: \"$2\" in src/$1 passes"
    fail=1
  elif ! printf '%s\n' "$out" | grep -F "src/$1 includes \"$2\"" | grep -qF "$3"; then
    echo "FAIL: \"$2\" in src/$1 is refused without saying \"$3\":"
    echo "$out"
    fail=1
  fi
  rm -f "$work/src/$1"
}
expect_refused data/bad.cpp "game/g.h" "a later layer"
expect_refused game/bad.h "tools/t.h" "a later layer"
expect_refused game/bad.cpp "../data/a.h" "no ./ or ../"
expect_refused game/bad.cpp "data/../tools/t.h" "no ./ or ../"
expect_refused game/bad.cpp "./g.h" "no ./ or ../"
expect_refused game/bad.cpp "third_party/x.h" "no layer"
expect_refused game/bad.cpp "g.h" "without its folder"
expect_refused game/bad.cpp "/usr/include/stdio.h" "absolute"

[ $fail -eq 0 ] && echo "the layer check passes what the layers allow and refuses the rest"
exit $fail
