#!/bin/sh
# measure_stalls.sh GAME [OUT_DIR [WINDOW_MANAGER]]: plays the SDL game in a
# private X server (without a window manager, or under the one named, such as
# openbox) and presses, a second or two apart, F12 three times,
# Enter twice (title, intro, play: the mode changes), F12 twice, Alt+Enter
# twice, and resizes the window three times; then Escape twice. The game's
# own record (STIVRA_RECORD) gives the Ticks each main-loop pass ran: a pass
# of 3 or more Ticks followed a stall of more than two frames (67 ms). It
# prints those passes with what was pressed just before, and the sound
# written by SDL's disk driver. GAME may be the Windows program (stivra.exe):
# it then runs under Wine, in the prefix beside it.
set -eu
game=$1
out=${2:-stall_run}
wm=${3:-}
case "$game" in /*) ;; *) game="$(pwd)/$game" ;; esac
self="$(cd "$(dirname "$0")" && pwd)/$(basename "$0")"
case "$game" in
  *.exe) : "${WINEPREFIX:=$(dirname "$game")/wine-prefix}"; run=wine ;;
  *) run= ;;
esac
mkdir -p "$out" && cd "$out"
rm -f stivra_0*.bmp record.txt events.txt sound.raw
if [ "${STALLS_INSIDE_X:-}" != 1 ]; then
  [ -z "$run" ] || . "$(dirname "$self")/../cmake/wine-prefix.sh"
  STALLS_INSIDE_X=1 exec xvfb-run -a -s "-screen 0 1280x800x24" sh "$self" "$game" . "$wm"
fi
if [ -n "$wm" ]; then
  "$wm" >/dev/null 2>&1 &
  for i in $(seq 100); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
    sleep 0.1
  done
  xprop -root _NET_SUPPORTING_WM_CHECK | grep -q 'window id' || { echo "$wm did not start" >&2; exit 1; }
fi
start=$(date +%s%N)
note() { echo "$(( ($(date +%s%N) - start) / 1000000 )) $1" >>events.txt; }
SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE=sound.raw STIVRA_RECORD=record.txt $run "$game" 2>/dev/null &
pid=$!
for i in $(seq 1200); do
  wid=$(xdotool search --name "St. Ivra" 2>/dev/null | head -1) && [ -n "$wid" ] && break
  sleep 0.1
done
sleep 2
xdotool windowfocus --sync "$wid"
key() { note "$1"; xdotool key --window "$wid" "$1"; sleep "${2:-1.5}"; }
key F12; key F12; key F12
key Return; key Return 3
key F12; key F12
key alt+Return 2; key alt+Return 2
for size in "700 400" "1100 700" "960 600"; do
  note "resize $size"; xdotool windowsize "$wid" $size; sleep 1.5
done
key Escape 1; key Escape 1
wait "$pid" || true
echo "Pressed (ms after start):"; sed 's/^/  /' events.txt
echo "Passes of 3 or more Ticks (pass number: COUNT BITS TICKS):"
awk 'NR > 2 && !/^#/ { passes += $1; if ($3 >= 3) print "  " passes ": " $0 }' record.txt
[ ! -f sound.raw ] || echo "Sound: $(($(wc -c <sound.raw) / 2)) samples written"
