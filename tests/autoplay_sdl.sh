#!/bin/sh
# The SDL2 game's smoke run: five seconds of scripted play in a private X
# server must end with exit code 0, a 960x600 screenshot, and sound written.
set -u
game=$1
out=$2
. "$(dirname "$0")/check_bmp.sh"
rm -f "$out" "$out.pcm"
SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$out.pcm" \
  xvfb-run -a -s "-screen 0 1024x768x24" "$game" -autoplay "$out"
code=$?
[ "$code" -eq 0 ] || { echo "FAIL: exit code $code"; exit 1; }
check_bmp "$out" 960 600 || exit 1
[ -s "$out.pcm" ] || { echo "FAIL: no samples reached the sound device"; exit 1; }
echo "ok: $(wc -c <"$out.pcm") bytes of sound"
