#!/bin/sh
# stored_runs.sh DEPTH INPUTS TESTS: the recorded runs of TESTS/replays as
# fuzz_game plays them from its seed corpus (INPUTS, drawing every 32nd
# frame), through fuzz_game_depth: each must end on the GameState its
# record's closing line gives, since a run drawn in part is still the same
# game, and the won game must go through every floor to the escape.
set -u
depth=$1
inputs=$2
tests=$3
. "$tests/stored_end.sh"
fail=0
for record in "$tests"/replays/*.txt; do
  name=$(basename "$record" .txt)
  # The end only: drawing but every 32nd frame, it passes through other
  # frames than the record's chains hold.
  want=$(stored_end "$record" | cut -d' ' -f1-3)
  line=$("$depth" "$inputs/$name.run") || { echo "FAIL: $name.run does not play"; fail=1; continue; }
  got=$(printf '%s\n' "$line" | sed -n 's/.*: passes \([0-9]*\), ticks \([0-9]*\),.*, hash \([0-9a-f]*\)$/\1 \2 \3/p')
  if [ "$got" = "$want" ]; then
    echo "ok: $name as fuzz_game plays it ends as stored: $got"
  else
    echo "FAIL: $name as fuzz_game plays it ends on '$got', its record on '$want': $line"
    fail=1
  fi
  case "$name" in
    won_*) printf '%s\n' "$line" | grep -q ', floors 543210, task 9, mode 5,' ||
      { echo "FAIL: $name does not reach every floor and the escape: $line"; fail=1; } ;;
  esac
done
exit $fail
