#!/bin/sh
# replay_tool.sh STIVRA_TOOL WORK REPLAYS: "stivra-tool replay" from the
# outside: a bad text is one line on stderr and exit code 2 with nothing
# replayed, and so is a record beyond the reader's limits; every committed run
# replays to the end stored in its closing line, and the won game ends on the
# escaped screen; --frames writes one 320x200 picture a pass, --trace one JSON
# line a pass, and --to ends the replay. Only a file or a pipe that ends is
# read, and a pipe is never waited on for good.
set -u
tool=$1
work=$2
replays=$3
. "$(dirname "$0")/check_bmp.sh"
. "$(dirname "$0")/stored_end.sh"
rm -rf "$work" && mkdir -p "$work" || exit 1
fail=0

bad() {  # text expected-start-of-message
  printf '%b' "$1" >"$work/bad.txt"
  "$tool" replay "$work/bad.txt" >"$work/out" 2>"$work/err"
  code=$?
  [ "$code" -eq 2 ] || { echo "FAIL: exit code $code for: $1"; fail=1; }
  [ ! -s "$work/out" ] || { echo "FAIL: output for a bad text: $(cat "$work/out")"; fail=1; }
  [ "$(wc -l <"$work/err")" -eq 1 ] && grep -q "bad.txt: $2" "$work/err" ||
    { echo "FAIL: message for: $1"; cat "$work/err"; fail=1; }
}
bad 'stivra-replay 1\nseed 3\n20 8\n5 0 5\n' 'line 4: TICKS 5 is outside 1..4'
bad 'stivra-replay 1\nseed 3\n20 8\n5 0' 'line 4: the text ends in the middle of a line'
bad 'stivra-replay 3\n' 'line 1: unknown version 3'
"$tool" replay "$work/no such file.txt" 2>/dev/null; [ $? -eq 2 ] || { echo "FAIL: a missing file"; fail=1; }
"$tool" replay "$replays/by_hand_seed0.txt" --fast 2>/dev/null; [ $? -eq 2 ] || { echo "FAIL: an unknown option"; fail=1; }
"$tool" replay 2>/dev/null; [ $? -eq 2 ] || { echo "FAIL: no file"; fail=1; }

# refused CODE PATTERN WHAT ARGS...: exit code CODE, nothing on stdout and
# one line on stderr matching PATTERN; each refusal is waited for with a
# deadline, so that a reader that hangs fails instead of hanging the suite.
refused() {
  want=$1; pattern=$2; what=$3; shift 3
  timeout 60 "$tool" replay "$@" >"$work/out" 2>"$work/err"
  code=$?
  [ "$code" -eq "$want" ] && [ ! -s "$work/out" ] && [ "$(wc -l <"$work/err")" -eq 1 ] &&
    grep -q "$pattern" "$work/err" || { echo "FAIL: $what: exit code $code, said: $(cat "$work/err")"; fail=1; }
}
# Only a file or a pipe that ends is read. A device, a folder or a terminal
# is refused before it is read at all; a pipe that never ends is refused at
# 4 MiB, before it is read whole. A short record that would play for days is
# refused too.
refused 2 '/dev/zero: is neither a file nor a pipe$' "/dev/zero" /dev/zero
refused 2 ': is neither a file nor a pipe$' "a folder" "$work"
if [ -c /dev/tty ] && (: </dev/tty) 2>/dev/null; then
  refused 2 '/dev/tty: is neither a file nor a pipe$' "a terminal" /dev/tty
fi
head -c 5000000 /dev/zero | timeout 60 "$tool" replay /dev/stdin >"$work/out" 2>"$work/err"
[ $? -eq 2 ] && [ ! -s "$work/out" ] && grep -q ': the record is larger than 4194304 bytes' "$work/err" ||
  { echo "FAIL: a pipe of zeros: $(cat "$work/err")"; fail=1; }
bad 'stivra-replay 1\nseed 5\n4000000000 0\n' 'line 3: the record runs longer than a day of play'
# A byte-order mark and a last comment without its newline are no errors.
printf '\357\273\277stivra-replay 1\nseed 5\n3 8\n# end' >"$work/bom.txt"
"$tool" replay "$work/bom.txt" | grep -q '"passes": 3,' || { echo "FAIL: a record with a byte-order mark"; fail=1; }

# A pipe that ends plays like the file, also a named one (a FIFO), whether
# its writer comes first or not.
small="$replays/hide_seen_seed5.txt"
want=$("$tool" replay "$small")
[ "$(cat "$small" | timeout 60 "$tool" replay /dev/stdin)" = "$want" ] || { echo "FAIL: a record through a pipe"; fail=1; }
if mkfifo "$work/fifo" "$work/silent" "$work/unwritten"; then
  cat "$small" >"$work/fifo" &
  writer=$!
  [ "$(timeout 60 "$tool" replay "$work/fifo")" = "$want" ] || { echo "FAIL: a record through a FIFO"; fail=1; }
  kill "$writer" 2>/dev/null  # (only if the reader never came)
  wait
  # A writer that never closes its end, and a FIFO no writer opens: each is
  # refused once nothing has come for 10 seconds (the two wait side by side).
  (printf 'stivra-replay 1\nseed 5\n3 8\n'; exec sleep 300) >"$work/silent" &
  writer=$!
  timeout 60 "$tool" replay "$work/silent" >"$work/silent.out" 2>"$work/silent.err" &
  reader=$!
  refused 2 'unwritten: nothing came through the pipe for 10 seconds$' "a FIFO without a writer" "$work/unwritten"
  wait "$reader"
  code=$?
  [ "$code" -eq 2 ] && [ ! -s "$work/silent.out" ] && [ "$(wc -l <"$work/silent.err")" -eq 1 ] &&
    grep -q 'silent: nothing came through the pipe for 10 seconds$' "$work/silent.err" ||
    { echo "FAIL: a FIFO whose writer never closes: exit code $code, said: $(cat "$work/silent.err")"; fail=1; }
  kill "$writer" 2>/dev/null
  wait
else
  echo "FAIL: mkfifo"; fail=1
fi

# Every committed run ends where its closing line says, and passes through
# the same states and frames on the way (its chains); the won game escapes.
# A run that differs is named with its first pass that differs.
for f in "$replays"/*.txt; do
  name=$(basename "$f")
  want=$(stored_end "$f")
  [ -n "$want" ] || { echo "FAIL: $name has no closing line '# end: N passes, N ticks, hash H, states S, frames F'"; fail=1; continue; }
  [ -f "${f%.txt}.hashes" ] || { echo "FAIL: $name has no pass hashes beside it (${name%.txt}.hashes)"; fail=1; }
  json=$("$tool" replay "$f" --check 2>"$work/check.err")
  code=$?
  got=$(tool_end "$json")
  if [ "$code" -eq 0 ] && [ "$got" = "$want" ]; then
    echo "ok: $name passes as stored: $got"
  else
    echo "FAIL: $name replays to '$got', its closing line says '$want'" \
      "(a change that moves a run reblesses it: scripts/rebless_replays.sh)"
    cat "$work/check.err"
    fail=1
  fi
  case "$name" in
    won_*) echo "$json" | grep -q '"mode": 5,' || { echo "FAIL: $name does not end on the escaped screen: $json"; fail=1; } ;;
  esac
done

# --check names the first pass that differs. A copy of a run whose input
# changes from one line on (the player stands still there instead) replays
# alike up to that line; its first pass then differs, and the pass hashes
# stored for the run name it.
run="$replays/walk_and_back_seed777.txt"
line=$(awk 'NR > 2 && $1 ~ /^[0-9]+$/ && $2 != 0 && n > 300 { print NR; exit } NR > 2 && $1 ~ /^[0-9]+$/ { n += $1 }' "$run")
first=$(awk -v stop="$line" 'NR > 2 && NR < stop && $1 ~ /^[0-9]+$/ { n += $1 } END { print n + 1 }' "$run")
awk -v stop="$line" 'NR == stop { $2 = 0 } { print }' "$run" >"$work/changed.txt"
cp "${run%.txt}.hashes" "$work/changed.hashes"
"$tool" replay "$work/changed.txt" --check >/dev/null 2>"$work/err"
code=$?
[ "$code" -eq 1 ] && grep -q 'the replay differs from the closing line: hash ' "$work/err" &&
  grep -q "changed.txt: pass $first is the first that differs: its state" "$work/err" ||
  { echo "FAIL: --check of a run changed from pass $first on: exit code $code, said: $(cat "$work/err")"; fail=1; }
# Without its pass hashes, or with those of another run, the pass is unknown,
# and a record without chains cannot pass a check.
rm "$work/changed.hashes"
"$tool" replay "$work/changed.txt" --check >/dev/null 2>"$work/err"
[ $? -eq 1 ] && grep -q 'no pass hashes to find the first pass that differs' "$work/err" ||
  { echo "FAIL: --check without pass hashes: $(cat "$work/err")"; fail=1; }
cp "$replays/by_hand_seed0.hashes" "$work/changed.hashes"
"$tool" replay "$work/changed.txt" --check >/dev/null 2>"$work/err"
[ $? -eq 1 ] && grep -q 'was written for another run' "$work/err" ||
  { echo "FAIL: --check with another run's pass hashes: $(cat "$work/err")"; fail=1; }
sed 's/, states .*$//' "$replays/hide_seen_seed5.txt" >"$work/short.txt"
"$tool" replay "$work/short.txt" --check >/dev/null 2>"$work/err"
[ $? -eq 1 ] && grep -q 'its closing line has no chains' "$work/err" ||
  { echo "FAIL: --check of a closing line without chains: $(cat "$work/err")"; fail=1; }
"$tool" replay "$work/short.txt" | grep -q '"hash": "2c82ddaf447a6619", "states": ' ||
  { echo "FAIL: the short closing line is no longer read"; fail=1; }
# --pass-hashes writes what the rebless stores; --check and --to do not mix.
"$tool" replay "$run" --pass-hashes "$work/again.hashes" >/dev/null && cmp -s "$work/again.hashes" "${run%.txt}.hashes" ||
  { echo "FAIL: --pass-hashes differs from the stored pass hashes"; fail=1; }
"$tool" replay "$run" --check --to 5 >/dev/null 2>&1; [ $? -eq 2 ] || { echo "FAIL: --check --to accepted"; fail=1; }

# Frames and trace of the smoke run's record.
run="$replays/autoplay_seed1234.txt"
mkdir -p "$work/frames"
"$tool" replay "$run" --trace --frames "$work/frames" >"$work/trace" || { echo "FAIL: --trace --frames"; fail=1; }
passes=$("$tool" replay "$run" | sed 's/.*"passes": \([0-9]*\).*/\1/')
[ "$(ls "$work/frames" | wc -l)" -eq "$passes" ] || { echo "FAIL: $(ls "$work/frames" | wc -l) frames for $passes passes"; fail=1; }
check_bmp "$work/frames/frame_000001.bmp" 320 200 >/dev/null || fail=1
check_bmp "$work/frames/frame_$(printf %06d "$passes").bmp" 320 200 || fail=1
[ "$(wc -l <"$work/trace")" -eq $((passes + 1)) ] || { echo "FAIL: trace lines"; fail=1; }
[ "$(tail -n1 "$work/trace")" = "$("$tool" replay "$run")" ] || { echo "FAIL: the trace changes the end"; fail=1; }
if command -v python3 >/dev/null 2>&1; then
  python3 -c '
import json, sys
lines = open(sys.argv[1]).read().splitlines()
for n, line in enumerate(lines[:-1], 1):
    d = json.loads(line)
    assert d["pass"] == n, (n, d["pass"])
    assert len(d["npcs"]) == 4 and all(k.startswith("npc_") for k in d["npcs"][0]), d["npcs"][0]
    assert len(d["taken"]) == 48 and set(d["taken"]) <= {"0", "1"}, d["taken"]
    assert isinstance(d["message_line1"], str) and isinstance(d["floor_open"], list)
last = json.loads(lines[-2])
assert last["mode"] == 2 and last["total_ticks"] == 150, last["mode"]
' "$work/trace" || { echo "FAIL: the trace is not the GameState by name"; fail=1; }
fi
# --from keeps frames and trace to the passes from N on; --to ends the replay
# after pass M, and the end is that pass's.
[ "$("$tool" replay "$run" --frames "$work/some" --trace --from 3 --to 5 | tail -n1)" = "$("$tool" replay "$run" --to 5)" ] ||
  { echo "FAIL: --from/--to change the end at pass 5"; fail=1; }
"$tool" replay "$run" --to 5 | grep -q '"passes": 5, "ticks": 5,' || { echo "FAIL: --to 5 does not end after pass 5"; fail=1; }
[ "$(ls "$work/some")" = "$(printf 'frame_000003.bmp\nframe_000004.bmp\nframe_000005.bmp')" ] ||
  { echo "FAIL: --from 3 --to 5 wrote $(ls "$work/some" | tr '\n' ' ')"; fail=1; }
"$tool" replay "$run" --from x >/dev/null 2>&1; [ $? -eq 2 ] || { echo "FAIL: --from x accepted"; fail=1; }
"$tool" replay "$run" --to 0 >/dev/null 2>&1; [ $? -eq 2 ] || { echo "FAIL: --to 0 accepted"; fail=1; }
# The folder for the frames is made; one that cannot be made is named, and
# a bad record makes none.
"$tool" replay "$run" --to 2 --frames "$work/new/frames" >/dev/null &&
  [ "$(ls "$work/new/frames")" = "$(printf 'frame_000001.bmp\nframe_000002.bmp')" ] ||
  { echo "FAIL: --frames into a folder that does not exist yet: $(ls "$work/new/frames")"; fail=1; }
"$tool" replay "$run" --frames "$work/bom.txt/frames" >/dev/null 2>"$work/err"
[ $? -eq 1 ] && [ "$(wc -l <"$work/err")" -eq 1 ] || { echo "FAIL: frames under a file: $(cat "$work/err")"; fail=1; }
printf 'stivra-replay 1\nseed 3\n5 0 5\n' >"$work/bad.txt"
refused 2 'line 3: TICKS 5' "a bad record with --frames" "$work/bad.txt" --frames "$work/unmade/frames"
[ ! -e "$work/unmade" ] || { echo "FAIL: a bad record made a folder for its frames"; fail=1; }
# Frames into a folder that holds files already: what is not a frame stays,
# a frame of the same name is replaced, and nothing else is left there.
mkdir -p "$work/kept" && echo keep >"$work/kept/notes.txt" && echo old >"$work/kept/frame_000002.bmp"
"$tool" replay "$run" --to 3 --frames "$work/kept" >/dev/null || { echo "FAIL: frames beside other files"; fail=1; }
[ "$(ls "$work/kept" | tr '\n' ' ')" = "frame_000001.bmp frame_000002.bmp frame_000003.bmp notes.txt " ] &&
  [ "$(cat "$work/kept/notes.txt")" = keep ] && check_bmp "$work/kept/frame_000002.bmp" 320 200 >/dev/null ||
  { echo "FAIL: frames beside other files left: $(ls "$work/kept" | tr '\n' ' ')"; fail=1; }

[ "$fail" -eq 0 ] && echo "ok: replay tool checks passed"
exit $fail
