#!/bin/sh
# no_display.sh GAME WORKDIR: without a display the game says so in one line
# on standard error and exits with 1 (never 0, never running unseen), while
# the image tools still work.
set -u
game=$1
work=$2
. "$(dirname "$0")/check_bmp.sh"
rm -rf "$work" && mkdir -p "$work" && cd "$work" || exit 1
fail=0

# run WHAT "VAR=VALUE..." ARGS...: the game with no display at all, plus the
# given variables, for at most 30 s.
run() {
  what=$1; vars=$2; shift 2
  # shellcheck disable=SC2086
  env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER $vars timeout 30 "$game" "$@" >out 2>err
  code=$?
}
expect_refusal() {  # expect_refusal WHAT "VAR=VALUE..."
  run "$1" "$2"
  [ "$code" -eq 1 ] || { echo "FAIL: $what: exit code $code, expected 1"; cat err; fail=1; }
  grep -q "needs a display.*-shot, -icon and -world work without one" err ||
    { echo "FAIL: $what: no line about the display"; cat err; fail=1; }
}

expect_refusal "no display" ""
[ "$(wc -l <err)" -eq 1 ] || { echo "FAIL: no display: more than one line on stderr"; cat err; fail=1; }
expect_refusal "x11 asked for, no display" SDL_VIDEODRIVER=x11
# A display that is not there: SDL falls back to its invisible driver.
expect_refusal "a display that does not answer" DISPLAY=:4711

# Asking for the invisible driver is the user's choice: the smoke run ends normally.
run "offscreen asked for" SDL_VIDEODRIVER=offscreen -autoplay shot.bmp
[ "$code" -eq 0 ] || { echo "FAIL: offscreen asked for: exit code $code"; cat err; fail=1; }
check_bmp shot.bmp 960 600 || fail=1

run "-world" "" -world 2 world.bmp
[ "$code" -eq 0 ] && check_bmp world.bmp 896 448 || { echo "FAIL: -world without a display"; fail=1; }
run "-shot" "" -shot 3 scene.bmp
[ "$code" -eq 0 ] && check_bmp scene.bmp 960 600 || { echo "FAIL: -shot without a display"; fail=1; }
run "-icon" "" -icon 2 icon.bmp
[ "$code" -eq 0 ] && check_bmp icon.bmp 64 64 || { echo "FAIL: -icon without a display"; fail=1; }

[ "$fail" -eq 0 ] && echo "ok: no display"
exit $fail
