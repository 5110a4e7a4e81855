#!/bin/sh
# fullscreen_sdl.sh GAME WORK: the SDL game in a bare X server (no window
# manager): Alt+Enter twice, full screen on and off, must bring the picture
# back whole into the 960x600 window, as it was before (not drawn at the
# full-screen scale and cropped).
set -u
game=$1
work=$2
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
# wait_for SECONDS COMMAND...: until COMMAND succeeds, at most SECONDS.
wait_for() {
  deadline=$(( $(date +%s) + $1 )); shift
  until "$@"; do
    [ "$(date +%s)" -lt "$deadline" ] || return 1
    sleep 0.2
  done
}
find_window() { wid=$(xdotool search --name "St. Ivra" 2>/dev/null | head -1); [ -n "$wid" ]; }
wait_for 60 find_window || { echo "FAIL: no game window"; exit 1; }
size_is() { xdotool getwindowgeometry "$wid" | grep -q "Geometry: $1"; }
# The title screen twinkles a little: the pictures may differ in a few pixels.
differs_little() {  # differs_little A B
  diff=$(compare -metric AE -fuzz 5% "$1" "$2" null: 2>&1)
  [ "${diff%.*}" -lt 20000 ] 2>/dev/null
}
shows_as_before() { import -window "$wid" after.png 2>/dev/null && differs_little before.png after.png; }
# The title as the window first shows it, once it has settled.
wait_for 60 sh -c "import -window $wid before.png 2>/dev/null && \
  convert before.png -format '%[fx:maxima]' info: | grep -qv '^0$'" || { echo "FAIL: the window stays black"; exit 1; }
sleep 1 && import -window "$wid" before.png

xdotool windowfocus --sync "$wid"
xdotool key --window "$wid" alt+Return
# Without a window manager the X window keeps its size, but the game now
# draws for the whole screen: either way the window's picture changes.
changed() { ! shows_as_before || ! size_is 960x600; }
wait_for 20 changed || { echo "FAIL: Alt+Enter changed nothing"; exit 1; }
xdotool key --window "$wid" alt+Return
wait_for 20 size_is 960x600 || { echo "FAIL: the second Alt+Enter did not leave full screen:" $(xdotool getwindowgeometry "$wid"); exit 1; }
if wait_for 20 shows_as_before; then
  echo "ok: after full screen and back the window shows the whole picture"
else
  echo "FAIL: after full screen and back the picture differs in $diff pixels (drawn cropped?)"
  exit 1
fi
