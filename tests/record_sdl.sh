#!/bin/sh
# record_sdl.sh GAME TOOL WORK: STIVRA_RECORD in the SDL game. The smoke run's
# record replays to the hash the game ended on, and its screenshot is the
# replay's last frame; a game killed in the middle leaves a record of whole
# lines that replays. Whatever the machine's load, the game plays one game
# and records it: the replay is the comparison, never a second timed run.
set -u
game=$1
tool=$2
work=$3
here=$(cd "$(dirname "$0")" && pwd)
rm -rf "$work" && mkdir -p "$work" && cd "$work" || exit 1
export SDL_AUDIODRIVER=dummy
fail=0

STIVRA_SEED=99 STIVRA_RECORD=smoke.txt xvfb-run -a -s "-screen 0 1024x768x24" "$game" -autoplay smoke.bmp ||
  { echo "FAIL: the smoke run"; fail=1; }
# End and chains: the game's every pass and frame, as its replay has them.
"$tool" replay smoke.txt --check >/dev/null || { echo "FAIL: the record and its replay differ (above)"; fail=1; }
grep -q '^seed 99$' smoke.txt || { echo "FAIL: the seed is not recorded"; fail=1; }
passes=$("$tool" replay smoke.txt | sed 's/.*"passes": \([0-9]*\).*/\1/')
"$tool" replay smoke.txt --from "$passes" --frames frames >/dev/null &&
  python3 "$here/same_picture.py" smoke.bmp "frames/frame_$(printf %06d "$passes").bmp" ||
  { echo "FAIL: the smoke run's screenshot is not the last frame of its replay"; fail=1; }

# Killed in the middle: at most the last second is missing. The game is
# killed once its record holds a second of passes, however long it took to
# start.
count='NR > 2 && $1 ~ /^[0-9]+$/ { n += $1 } END { print n + 0 }'  # the passes in a record so far
STIVRA_RECORD=killed.txt xvfb-run -a -s "-screen 0 1024x768x24" sh -c '
  "$1" & pid=$!
  deadline=$(($(date +%s) + 90))
  while [ "$(awk "$2" killed.txt 2>/dev/null || echo 0)" -lt 30 ] && [ "$(date +%s)" -lt "$deadline" ] &&
        kill -0 $pid 2>/dev/null; do
    sleep 0.2
  done
  kill -9 $pid; wait $pid; exit 0' sh "$game" "$count"
out=$("$tool" replay killed.txt) || { echo "FAIL: the killed game's record does not replay"; cat killed.txt; fail=1; }
passes=$(echo "$out" | sed 's/.*"passes": \([0-9]*\).*/\1/')
[ "${passes:-0}" -ge 30 ] || { echo "FAIL: only ${passes:-0} passes recorded before the kill (within 90 s)"; fail=1; }
grep -q '^# end' killed.txt && { echo "FAIL: a killed game cannot have closed its record"; fail=1; }

[ "$fail" -eq 0 ] && echo "ok: smoke run replays pass by pass, killed game $passes passes"
exit $fail
