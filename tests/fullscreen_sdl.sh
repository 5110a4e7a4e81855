#!/bin/sh
# fullscreen_sdl.sh GAME WORK: the SDL game in a bare X server (no window
# manager). Alt+Enter must cover the whole 1280x800 screen with the whole
# picture; Alt+Enter again must bring the picture back whole into the
# 960x600 window, as it was before (not drawn at the full-screen scale and
# cropped).
set -u
game=$1
work=$2
here=$(cd "$(dirname "$0")" && pwd)
case "$game" in /*) ;; *) game="$(pwd)/$game" ;; esac
for need in xdotool import compare convert; do
  command -v $need >/dev/null 2>&1 || { echo "SKIP: $need is needed (xdotool, imagemagick)"; exit 77; }
done
if [ "${FULLSCREEN_INSIDE_X:-}" != 1 ]; then
  mkdir -p "$work" || exit 1
  FULLSCREEN_INSIDE_X=1 exec xvfb-run -a -s "-screen 0 1280x800x24" sh "$0" "$game" "$work"
fi
cd "$work" || exit 1
rm -f ./*.png

SDL_AUDIODRIVER=dummy "$game" & pid=$!
trap 'kill $pid 2>/dev/null' EXIT
. "$here/wait_until.sh"
wait_until 60 find_window || { echo "FAIL: no game window"; exit 1; }
size_is() { xdotool getwindowgeometry "$window" | grep -q "Geometry: $1"; }
# The title screen twinkles a little: the pictures may differ in a few pixels.
differs_little() {  # differs_little A B [MOST]
  diff=$(compare -metric AE -fuzz 5% "$1" "$2" null: 2>&1)
  [ "${diff%.*}" -lt "${3:-20000}" ] 2>/dev/null
}
shows_as_before() { timeout 10 import -window "$window" after.png 2>/dev/null && differs_little before.png after.png; }
# The title as the window first shows it, once it has settled.
wait_until 60 sh -c "timeout 10 import -window $window before.png 2>/dev/null && \
  convert before.png -format '%[fx:maxima]' info: | grep -qv '^0$'" || { echo "FAIL: the window stays black"; exit 1; }
sleep 1 && timeout 10 import -window "$window" before.png
place=$(xdotool getwindowgeometry "$window" | grep Position)

xdotool windowfocus --sync "$window"
xdotool key --window "$window" alt+Return
# Both pictures are whole at whole-number scales (3x, 4x): sampled down to
# 320x200 they are the game's own frame.
shows_whole_at_full_screen() {
  timeout 10 import -window "$window" full.png 2>/dev/null || return 1
  convert full.png -sample 320x200! full_320.png && convert before.png -sample 320x200! before_320.png &&
    differs_little before_320.png full_320.png 2000
}
wait_until 20 size_is 1280x800 || { echo "FAIL: Alt+Enter did not cover the screen:" $(xdotool getwindowgeometry "$window"); exit 1; }
wait_until 20 shows_whole_at_full_screen || { echo "FAIL: at full screen the picture differs in $diff pixels"; exit 1; }
xdotool key --window "$window" alt+Return
wait_until 20 size_is 960x600 || { echo "FAIL: the second Alt+Enter did not leave full screen:" $(xdotool getwindowgeometry "$window"); exit 1; }
in_place() { [ "$(xdotool getwindowgeometry "$window" | grep Position)" = "$place" ]; }
wait_until 20 in_place || { echo "FAIL: after full screen the window is not back in its place:" $(xdotool getwindowgeometry "$window"); exit 1; }
if wait_until 20 shows_as_before; then
  echo "ok: after full screen and back the window shows the whole picture"
else
  echo "FAIL: after full screen and back the picture differs in $diff pixels (drawn cropped?)"
  exit 1
fi
