#!/bin/sh
# record_sdl.sh GAME TOOL WORK: STIVRA_RECORD in the SDL game. The smoke run's
# record replays to the hash the game ended on; a game killed in the middle
# leaves a record of whole lines that replays.
set -u
game=$1
tool=$2
work=$3
rm -rf "$work" && mkdir -p "$work" && cd "$work" || exit 1
export SDL_AUDIODRIVER=dummy
fail=0

STIVRA_SEED=99 STIVRA_RECORD=smoke.txt xvfb-run -a -s "-screen 0 1024x768x24" "$game" -autoplay smoke.bmp ||
  { echo "FAIL: the smoke run"; fail=1; }
want=$(sed -n 's/^# end: .*hash \([0-9a-f]*\)$/\1/p' smoke.txt)
got=$("$tool" replay smoke.txt | sed 's/.*"hash": "\([0-9a-f]*\)".*/\1/')
[ -n "$want" ] && [ "$want" = "$got" ] || { echo "FAIL: recorded $want, replayed $got"; fail=1; }
grep -q '^seed 99$' smoke.txt || { echo "FAIL: the seed is not recorded"; fail=1; }

# Killed after three seconds: at most the last second is missing.
STIVRA_RECORD=killed.txt xvfb-run -a -s "-screen 0 1024x768x24" sh -c \
  '"$1" & pid=$!; sleep 4; kill -9 $pid; wait $pid; exit 0' sh "$game"
out=$("$tool" replay killed.txt) || { echo "FAIL: the killed game's record does not replay"; cat killed.txt; fail=1; }
passes=$(echo "$out" | sed 's/.*"passes": \([0-9]*\).*/\1/')
[ "${passes:-0}" -ge 30 ] || { echo "FAIL: only ${passes:-0} passes recorded before the kill"; fail=1; }
grep -q '^# end' killed.txt && { echo "FAIL: a killed game cannot have closed its record"; fail=1; }

[ "$fail" -eq 0 ] && echo "ok: smoke run $want, killed game $passes passes"
exit $fail
