#!/bin/sh
# autoplay_cli.sh STIVRA_TOOL WORKDIR: "stivra-tool autoplay" from the
# outside: bad options are refused with exit code 2, an unwritable record
# with 1; a run prints its JSON, writes a record whose passes add up to its
# Ticks, whole and with its closing line, and is the same every time for
# the same seed.
set -u
tool=$1
work=$2
rm -rf "$work" && mkdir -p "$work" && cd "$work" || exit 1
fail=0
expect_code() {  # expected-code description arguments...
  want=$1; what=$2; shift 2
  "$tool" autoplay "$@" >/dev/null 2>&1
  got=$?
  if [ "$got" -ne "$want" ]; then echo "FAIL: $what exited with $got, expected $want"; fail=1; fi
}

expect_code 2 "--seed without a value" --seed
expect_code 2 "a seed that is not a number" --seed 12x
expect_code 2 "a negative seed" --seed -1
expect_code 2 "a seed beyond 32 bits" --seed 4294967296
expect_code 2 "--max-minutes 0" --max-minutes 0
expect_code 2 "--max-minutes beyond a day" --max-minutes 1441
expect_code 2 "--record without a file" --seed 5 --record
expect_code 2 "an unknown option" --fast
expect_code 1 "a record in a missing directory" --seed 5 --max-minutes 1 --record no/such/dir/run.txt

# One minute of game time is not enough to escape: a timeout after 1800 Ticks.
out=$("$tool" autoplay --seed 5 --max-minutes 1 --record run.txt) || { echo "FAIL: the run exited with $?"; fail=1; }
case "$out" in
  '{"seed": 5, "outcome": "timeout", "ticks": 1800, '*'"catches": '*'"stickers": '*'"task": '*'}') ;;
  *) echo "FAIL: unexpected JSON: $out"; fail=1 ;;
esac
[ "$(sed -n 1p run.txt)" = "stivra-replay 1" ] && [ "$(sed -n 2p run.txt)" = "seed 5" ] ||
  { echo "FAIL: the record's header"; fail=1; }
passes=$(awk '/^#/ { next } NR > 2 && NF == 2 && $1 > 0 { n += $1; next } NR > 2 { bad = 1 } END { print bad ? -1 : n }' run.txt)
[ "$passes" = 1800 ] || { echo "FAIL: the record holds $passes passes, not 1800"; fail=1; }
# Equal passes are merged: no two neighbouring lines have the same bits
# (a note of the game between them ends a run).
awk '/^#/ { last = ""; next } NR > 3 && $2 == last { exit 1 } { last = $2 }' run.txt || { echo "FAIL: equal passes not merged"; fail=1; }

# The same seed plays the same game, also when it comes from STIVRA_SEED.
again=$(STIVRA_SEED=5 "$tool" autoplay --max-minutes 1 --record again.txt)
[ "$again" = "$out" ] || { echo "FAIL: STIVRA_SEED=5 played another game: $again"; fail=1; }
cmp -s run.txt again.txt || { echo "FAIL: the two records differ"; fail=1; }
# The record is written whole at the end and ends on its closing line; the
# second run replaced the first record, and no temporary file is left.
tail -n 1 run.txt | grep -q '^# end: 1800 passes, 1800 ticks, hash [0-9a-f]\{16\}, states [0-9a-f]\{16\}, frames [0-9a-f]\{16\}$' ||
  { echo "FAIL: the record ends on: $(tail -n 1 run.txt)"; fail=1; }
[ "$(ls | tr '\n' ' ')" = "again.txt run.txt " ] || { echo "FAIL: the folder holds $(ls)"; fail=1; }
echo old >old.txt
expect_code 1 "a record named like a folder" --seed 5 --max-minutes 1 --record .
expect_code 1 "a record under a file" --seed 5 --max-minutes 1 --record old.txt/run.txt
[ "$(cat old.txt)" = old ] || { echo "FAIL: a refused record changed old.txt"; fail=1; }

[ $fail -eq 0 ] && echo "ok: autoplay options, JSON and record"
exit $fail
