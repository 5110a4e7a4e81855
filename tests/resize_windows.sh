#!/bin/sh
# resize_windows.sh GAME WORKDIR [RUNS]: the Windows program under Wine in a
# private X server, RUNS times (default 3): its window resized from outside
# to 700x300 must show the picture letterboxed at the new size (480x300 with
# black bars of 110 pixels left and right), and Escape on the title must
# then end it with exit code 0.
set -u
game=$1
work=$2
runs=${3:-3}
here=$(cd "$(dirname "$0")" && pwd)
case "$game" in /*) ;; *) game="$(pwd)/$game" ;; esac

if [ "${RESIZE_INSIDE_X:-}" != 1 ]; then
  . "$here/../cmake/wine-prefix.sh"  # the prefix beside the build, like the other Wine runs
  mkdir -p "$work" || exit 1
  RESIZE_INSIDE_X=1 exec xvfb-run -a -s "-screen 0 1024x768x24" sh "$here/resize_windows.sh" "$game" "$work" "$runs"
fi

cd "$work" || exit 1
# Highest channel value (0..1) in a part of a picture.
brightest() { convert "$1" -crop "$2" +repage -format '%[fx:maxima]' info:; }

. "$here/wait_until.sh"
measure() {  # the window's size and the brightness of its bars and middle at 700x300
  timeout 10 import -window "$window" "$shot" 2>/dev/null || return 1
  size=$(identify -format '%wx%h' "$shot")
  left=$(brightest "$shot" 110x300+0+0)
  right=$(brightest "$shot" 110x300+590+0)
  middle=$(brightest "$shot" 480x300+110+0)
}
shows_picture() { shot=first.png; timeout 10 import -window "$window" "$shot" 2>/dev/null &&
  [ "$(brightest "$shot" 100%x100%+0+0)" != 0 ]; }
letterboxed() { measure && [ "$size" = 700x300 ] && [ "$left" = 0 ] && [ "$right" = 0 ] && [ "$middle" != 0 ]; }

fail=0
run=1
size=none left=? right=? middle=?
while [ "$run" -le "$runs" ]; do
  wine "$game" >"game$run.log" 2>&1 &
  pid=$!
  window=""
  if ! wait_until 120 find_window; then
    echo "FAIL: run $run: no window appeared"
    kill "$pid" 2>/dev/null
    fail=1
    break
  fi
  wait_until 60 shows_picture || echo "note: run $run: the window showed no picture before the resize"
  xdotool windowsize "$window" 700 300
  shot="resized$run.png"
  if ! wait_until 60 letterboxed; then
    echo "FAIL: run $run: not letterboxed at 700x300 (window $size, left bar $left, right bar $right, picture $middle)"
    fail=1
  fi
  xdotool windowfocus --sync "$window" key Escape
  # Bounded wait: a program that does not end is a failure, not a hang.
  ended() { ! kill -0 "$pid" 2>/dev/null; }
  if ! wait_until 60 ended; then
    echo "FAIL: run $run: Escape on the title did not end the program"
    kill "$pid" 2>/dev/null
    fail=1
  fi
  wait "$pid"
  code=$?
  wineserver -w
  if [ "$code" -ne 0 ]; then
    echo "FAIL: run $run: exit code $code after the resize"
    fail=1
  fi
  [ "$fail" -eq 0 ] || break
  echo "ok: run $run: letterboxed at 700x300, exit code 0"
  run=$((run + 1))
done
exit $fail
