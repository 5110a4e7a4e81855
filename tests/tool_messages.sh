#!/bin/sh
# tool_messages.sh TOOL WORK: every stivra-tool failure says in one line what
# failed and why: wrong arguments give exit code 2 and a usage line, a file
# that cannot be written exit code 1 and a line naming it and the reason.
set -u
tool=$1
work=$2
rm -rf "$work" && mkdir -p "$work" && cd "$work" || exit 1
fail=0
# expect CODE PATTERN ARGS...: exit code CODE and exactly one line matching PATTERN.
expect() {
  want=$1; pattern=$2; shift 2
  "$tool" "$@" >/dev/null 2>err.txt
  got=$?
  [ "$got" -eq "$want" ] || { echo "FAIL: $* exited with $got, expected $want"; fail=1; }
  [ "$(wc -l <err.txt)" -eq 1 ] && grep -q "$pattern" err.txt ||
    { echo "FAIL: $* said: $(cat err.txt)"; fail=1; }
}
for command in sprites figures ico; do
  expect 2 "^usage: stivra-tool $command FILE" "$command"
  expect 2 "^usage: stivra-tool $command FILE" "$command" a b
done
# Effect 0 is the game's "no sound": refused, not written as an empty WAV.
expect 2 "^usage: stivra-tool sound N FILE.wav.*0 is no sound" sound 0 zero.wav
[ -e zero.wav ] && { echo "FAIL: sound 0 wrote zero.wav"; fail=1; }
expect 2 "^usage: stivra-tool sound" sound 20 x.wav

expect 2 "^usage: stivra-tool sound-hashes" sound-hashes extra
# Output that cannot be written whole is a failure, not a short stored file.
if [ -w /dev/full ]; then
  "$tool" sound-hashes >/dev/full 2>err.txt
  got=$?
  [ "$got" -eq 1 ] && [ "$(wc -l <err.txt)" -eq 1 ] &&
    grep -q "^stivra-tool sound-hashes: cannot write standard output: " err.txt ||
    { echo "FAIL: sound-hashes into a full device exited with $got: $(cat err.txt)"; fail=1; }
fi

why="cannot write no/such/folder/out: No such file or directory$"
expect 1 "^stivra-tool sound: $why" sound 3 no/such/folder/out
expect 1 "^stivra-tool note: $why" note 0 60 no/such/folder/out
expect 1 "^stivra-tool song: $why" song 1 1 no/such/folder/out
expect 1 "^stivra-tool sprites: $why" sprites no/such/folder/out
expect 1 "^stivra-tool figures: $why" figures no/such/folder/out
expect 1 "^stivra-tool ico: $why" ico no/such/folder/out
expect 1 "^stivra-tool sound: cannot write \.: " sound 3 .

# What works still works and says nothing.
"$tool" sound 1 one.wav 2>err.txt && [ ! -s err.txt ] && [ -s one.wav ] ||
  { echo "FAIL: sound 1 did not write one.wav quietly"; fail=1; }
[ "$fail" -eq 0 ] && echo "ok: every failure says what and why"
exit $fail
