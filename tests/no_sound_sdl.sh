#!/bin/sh
# no_sound_sdl.sh GAME WORK: without a sound card the game plays on and says
# so in one line; the sound library's own complaints (eight "ALSA lib ...
# cannot find card" lines) stay out. ALSA is sent to a card no machine has,
# so that this holds on a machine with a sound card too.
set -u
game=$1
work=$2
. "$(dirname "$0")/check_bmp.sh"
rm -rf "$work" && mkdir -p "$work" || exit 1
SDL_AUDIODRIVER=alsa ALSA_CARD=stivra_no_such_card \
  xvfb-run -a -s "-screen 0 1024x768x24" "$game" -autoplay "$work/shot.bmp" 2>"$work/err.txt"
code=$?
fail=0
[ "$code" -eq 0 ] || { echo "FAIL: exit code $code"; fail=1; }
check_bmp "$work/shot.bmp" 960 600 || fail=1
if [ "$(wc -l <"$work/err.txt")" -ne 1 ] || ! grep -q '^stivra: no sound (.*); the game plays without sound$' "$work/err.txt"; then
  echo "FAIL: without a sound card the game said:"
  sed 's/^/    /' "$work/err.txt"
  fail=1
fi
[ "$fail" -eq 0 ] && echo "ok: without a sound card one line: $(cat "$work/err.txt")"
exit $fail
