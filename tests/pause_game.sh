#!/bin/sh
# pause_game.sh sdl|windows GAME TOOL WORK: pause and mute in the SDL game, or
# in the Windows game under Wine, in a private X server. P shows the darkened frame with the pause sign, adds no pass to the
# record and sends silence while F12 still saves the game's own frame; P
# again goes on. M sends zeros while the game plays on, M again brings the
# sound back. Another window taking the focus pauses, and it stays paused
# when the game gets the focus back, until P. The record of it all replays
# to the hash the game ended on.
set -u
build=$1
game=$2
tool=$3
work=$4
here=$(cd "$(dirname "$0")" && pwd)
case "$game" in /*) ;; *) game="$(pwd)/$game" ;; esac
case "$tool" in /*) ;; *) tool="$(pwd)/$tool" ;; esac

[ "$build" = windows ] && wine_needed=wine
for needed in xvfb-run xdotool import convert xmessage ${wine_needed:-}; do
  command -v "$needed" >/dev/null || { echo "skipped: $needed is not installed"; exit 77; }
done
if [ "${PAUSE_INSIDE_X:-}" != 1 ]; then
  [ "$build" = windows ] && . "$here/../cmake/wine-prefix.sh"  # the prefix beside the build
  rm -rf "$work" && mkdir -p "$work" || exit 1
  PAUSE_INSIDE_X=1 exec xvfb-run -a -s "-screen 0 1024x768x24" sh "$0" "$build" "$game" "$tool" "$work"
fi
cd "$work" || exit 1

. "$here/wait_until.sh"
# The window is 960x600 (scale 3). Its top quarter holds the bright lines of
# the play view's HUD; darkened, nothing there is brighter than 0.6.
top_brightest() { timeout 10 import -window "$window" shot.png 2>/dev/null &&
  convert shot.png -crop 960x150+0+0 +repage -format '%[fx:maxima]' info:; }
above() { awk -v a="$1" -v b="$2" 'BEGIN { exit !(a > b) }'; }
hud_shown() { b=$(top_brightest) && above "$b" 0.9; }
# The darkened frame, and the yellow of the word PAUSE where it stands.
sign_shown() { b=$(top_brightest) && above 0.6 "$b" &&
  [ "$(convert shot.png -crop 348x84+306+219 +repage -fill black +opaque '#f0d058' \
        -format '%[fx:maxima]' info:)" != 0 ]; }
passes() { awk 'NR > 2 && $1 ~ /^[0-9]+$/ { n += $1 } END { print n + 0 }' run.txt; }
sound_bytes() { stat -c %s sound.pcm 2>/dev/null || echo 0; }
# SECOND: bytes the sound device takes in at least a second. SDL's disk
# driver writes the game's own 22050 16-bit samples; under Wine the samples
# go through its mixer to an ALSA file device in the mixer's format, at most
# 48000 Hz stereo in 32 bits.
if [ "$build" = windows ]; then
  SECOND=384000
  cat >asound.conf <<EOF
</usr/share/alsa/alsa.conf>
pcm.!default {
  type file
  slave.pcm "null"
  file "$(pwd)/sound.pcm"
  format "raw"
}
EOF
  start_game() { ALSA_CONFIG_PATH="$(pwd)/asound.conf" exec wine "$game"; }
else
  SECOND=44100
  start_game() { SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE=sound.pcm exec "$game"; }
fi
sound_grew_to() { [ "$(sound_bytes)" -ge "$1" ]; }
passes_above() { [ "$(passes)" -gt "$1" ]; }
# Whether the samples from byte FROM to the end of the sound file are all zero.
silent_from() { [ -z "$(tail -c +"$(($1 + 1))" sound.pcm | od -An -v -tx1 | tr -d ' 0\n')" ]; }
game_ended() { ! kill -0 "$pid" 2>/dev/null; }
# What was queued before a change still plays: the game's four blocks, and
# under Wine its mixer's buffer.
QUEUED=$SECOND

fail=0
check() {  # MESSAGE COMMAND...
  msg=$1; shift
  "$@" || { echo "FAIL: $msg"; fail=1; }
}

STIVRA_SEED=21 STIVRA_RECORD=run.txt start_game >game.log 2>&1 &
pid=$!
wait_until 120 find_window || { echo "FAIL: no window appeared"; kill "$pid"; exit 1; }
# Through the title and the intro into play; the record so far, replayed,
# tells the mode (it is flushed at least once a second).
mode_reached() {
  m=$("$tool" replay run.txt 2>/dev/null | sed -n 's/.*"mode": \([0-9]*\).*/\1/p')
  [ "${m:-0}" -ge "$1" ]
}
for mode in 1 2; do
  tries=0
  until mode_reached $mode; do
    tries=$((tries + 1))
    [ "$tries" -le 10 ] || { echo "FAIL: Return did not lead to mode $mode"; kill "$pid"; exit 1; }
    xdotool windowfocus --sync "$window" key Return
    wait_until 10 mode_reached $mode && break
  done
done
check "the play view is not shown" wait_until 30 hud_shown
wait_until 60 sound_grew_to $((SECOND * 2)) || { echo "FAIL: no sound reached the device"; fail=1; }
check "the game makes no sound before any pause" [ -n "$(od -An -v -tx1 sound.pcm | tr -d ' 0\n')" ]

# P: paused.
xdotool windowfocus --sync "$window" key p
check "P showed no pause sign" wait_until 30 sign_shown
cp shot.png paused.png 2>/dev/null
paused_passes=$(passes)
paused_sound=$(sound_bytes)
wait_until 60 sound_grew_to $((paused_sound + 2 * SECOND)) || { echo "FAIL: the sound stream stopped while paused"; fail=1; }
check "passes were recorded while paused ($paused_passes, then $(passes))" [ "$(passes)" -eq "$paused_passes" ]
check "the sound was not silent while paused" silent_from $((paused_sound + QUEUED))
xdotool windowfocus --sync "$window" key F12
shot_done() { [ "$(stat -c %s stivra_00.bmp 2>/dev/null)" = 576118 ]; }
check "F12 while paused wrote no screenshot" wait_until 30 shot_done
check "F12 while paused saved the darkened picture, not the game's frame" \
  above "$(convert stivra_00.bmp -crop 960x150+0+0 +repage -format '%[fx:maxima]' info:)" 0.9
check "the game did not stay paused" [ "$(passes)" -eq "$paused_passes" ]

# P again: the game goes on.
xdotool windowfocus --sync "$window" key p
check "P did not end the pause" wait_until 30 hud_shown
check "no passes recorded after the pause" wait_until 30 passes_above "$paused_passes"

# M: the game plays on in silence; M again, and it is heard.
xdotool windowfocus --sync "$window" key m
muted_sound=$(sound_bytes)
muted_passes=$(passes)
wait_until 60 sound_grew_to $((muted_sound + 3 * SECOND)) || { echo "FAIL: the sound stream stopped while muted"; fail=1; }
check "the sound was not silent while muted" silent_from $((muted_sound + SECOND))
check "the game did not go on while muted" passes_above "$muted_passes"
xdotool windowfocus --sync "$window" key m
loud_sound=$(sound_bytes)
wait_until 60 sound_grew_to $((loud_sound + 3 * SECOND)) || { echo "FAIL: the sound stream stopped after muting"; fail=1; }
check "the sound did not come back after M" eval '! silent_from $((loud_sound + QUEUED))'

# Another window takes the focus: paused, and still paused once the game
# has the focus again, until P.
xmessage -geometry +0+0 'another window' 2>/dev/null &
other=$!
find_other() { other_window=$(xdotool search --name xmessage 2>/dev/null | head -n 1); [ -n "$other_window" ]; }
if wait_until 60 find_other; then
  xdotool windowfocus --sync "$other_window"
  check "losing the focus did not pause" wait_until 30 sign_shown
  focus_passes=$(passes)
  # Wine takes its window back only when it is clicked (there is no window
  # manager to hand it the focus); SDL takes either.
  xdotool windowfocus --sync "$window" mousemove --window "$window" 480 300 click 1
  focus_sound=$(sound_bytes)
  wait_until 60 sound_grew_to $((focus_sound + SECOND))
  check "the focus coming back ended the pause" sign_shown
  check "passes were recorded after the focus was lost" [ "$(passes)" -eq "$focus_passes" ]
  xdotool windowfocus --sync "$window" key p
  check "P did not end the pause after the focus came back" wait_until 30 hud_shown
else
  echo "FAIL: the other window did not appear"
  fail=1
fi
kill "$other" 2>/dev/null

# Escape to the title, Escape to quit.
until game_ended; do
  xdotool windowfocus --sync "$window" key Escape 2>/dev/null
  wait_until 3 game_ended && break
  [ "$(date +%s)" -lt "${quit_deadline:=$(($(date +%s) + 60))}" ] || { echo "FAIL: Escape did not end the game"; kill "$pid"; fail=1; break; }
done
wait "$pid"
code=$?
[ "$build" = windows ] && wineserver -w
check "exit code $code" [ "$code" -eq 0 ]
# The record's closing line holds the end and the chains of every pass:
# the replay must agree on all of them.
want=$(sed -n 's/^# end: .*hash \([0-9a-f]*\).*$/\1/p' run.txt)
check "the record's end and chains differ from its replay: $("$tool" replay run.txt --check 2>&1 >/dev/null)" \
  "$tool" replay run.txt --check

[ "$fail" -eq 0 ] && echo "ok: paused, muted and paused by the loss of focus; $(passes) passes replay to $want"
exit $fail
