#!/bin/sh
# full_disk.sh GAME TOOL WORK: every file-writing tool on a full disk (a
# small tmpfs of its own) and on /dev/full exits with 1 and leaves no file
# behind; stivra-tool says in one line what failed, the game stays silent.
# Skipped (77) where no tmpfs can be mounted (not root, no mount rights).
set -u
game=$1
tool=$2
work=$3
rm -rf "$work" && mkdir -p "$work/disk" || exit 1
mount -t tmpfs -o size=64k tmpfs "$work/disk" 2>/dev/null || { echo "SKIP: cannot mount a tmpfs"; exit 77; }
trap 'umount "$work/disk"' EXIT
trap 'exit 1' INT TERM HUP PIPE  # so that the EXIT trap unmounts then too
cd "$work" || exit 1
fail=0
# Fill the disk but for a few KiB, so that a file is created and then cut short.
head -c 56k /dev/zero >disk/filler 2>/dev/null
sync

# expect_failure WHO FILE COMMAND...: exit 1, FILE absent, nothing else
# left in the disk, and for stivra-tool one line on stderr naming FILE.
expect_failure() {
  who=$1; file=$2; shift 2
  "$@" >/dev/null 2>err.txt
  code=$?
  [ "$code" -eq 1 ] || { echo "FAIL: $* exited with $code, expected 1"; fail=1; }
  if [ "$file" != /dev/full ] && [ -e "$file" ]; then
    echo "FAIL: $* left $file behind ($(wc -c <"$file") bytes)"; fail=1; rm -f "$file"
  fi
  left=$(ls disk | grep -v '^filler$')
  [ -z "$left" ] || { echo "FAIL: $* left $left in the disk"; fail=1; rm -f disk/*.part~; }
  lines=$(wc -l <err.txt)
  if [ "$who" = tool ]; then
    [ "$lines" -eq 1 ] && grep -q "cannot write $file: " err.txt ||
      { echo "FAIL: $* said: $(cat err.txt)"; fail=1; }
  elif [ "$lines" -ne 0 ]; then
    echo "FAIL: $* printed: $(cat err.txt)"; fail=1
  fi
}

for target in disk/out /dev/full; do
  expect_failure game "$target" "$game" -shot 0 "$target"
  expect_failure game "$target" "$game" -world 4 "$target"
  expect_failure game "$target" "$game" -icon 8 "$target"
  expect_failure tool "$target" "$tool" song 1 10 "$target"
  expect_failure tool "$target" "$tool" sound 4 "$target"
  expect_failure tool "$target" "$tool" note 0 60 "$target"
  expect_failure tool "$target" "$tool" sprites "$target"
  expect_failure tool "$target" "$tool" figures "$target"
  expect_failure tool "$target" "$tool" ico "$target"
done
[ -c /dev/full ] || { echo "FAIL: /dev/full is no longer a device"; fail=1; }

# A file that was there before a failed write is still whole afterwards.
rm -f disk/filler
"$game" -icon 1 disk/old.bmp || { echo "FAIL: a small icon does not fit"; fail=1; }
before=$(cksum <disk/old.bmp)
head -c 50k /dev/zero >disk/filler 2>/dev/null
"$game" -icon 8 disk/old.bmp && { echo "FAIL: a 256x256 icon fitted"; fail=1; }
[ "$(cksum <disk/old.bmp)" = "$before" ] || { echo "FAIL: the older file was damaged"; fail=1; }

# A read-only folder (root writes into a merely unwritable one).
rm -f disk/old.bmp
mkdir -p ro && mount -t tmpfs -o ro,size=64k tmpfs ro 2>/dev/null && {
  expect_failure game ro/out "$game" -shot 0 ro/out
  expect_failure tool ro/out "$tool" sound 4 ro/out
  umount ro
}

[ "$fail" -eq 0 ] && echo "ok: every tool fails whole on a full disk"
exit $fail
