#!/bin/sh
# no_display_windows.sh GAME WORKDIR: the Windows program under Wine with no
# X server at all: the game cannot create its window and must exit with 1
# (after saying why), while -world still writes its picture.
set -u
game=$1
work=$2
here=$(cd "$(dirname "$0")" && pwd)
. "$here/check_bmp.sh"
. "$here/../cmake/wine-prefix.sh"  # the prefix beside the build
mkdir -p "$work" || exit 1
fail=0

env -u DISPLAY -u WAYLAND_DISPLAY timeout 60 wine "$game" >"$work/out" 2>"$work/err"
code=$?
wineserver -w
[ "$code" -eq 1 ] || { echo "FAIL: the game without a display exited with $code, expected 1"; fail=1; }
grep -q "needs a display" "$work/err" "$work/out" ||
  { echo "FAIL: the game did not say that it needs a display"; cat "$work/err"; fail=1; }

rm -f "$work/world.bmp"
env -u DISPLAY -u WAYLAND_DISPLAY timeout 60 wine "$game" -world 2 "$work/world.bmp" >/dev/null 2>&1
code=$?
wineserver -w
[ "$code" -eq 0 ] || { echo "FAIL: -world without a display exited with $code"; fail=1; }
check_bmp "$work/world.bmp" 896 448 || fail=1

[ "$fail" -eq 0 ] && echo "ok: no display under Wine"
exit $fail
