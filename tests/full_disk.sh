#!/bin/sh
# full_disk.sh GAME TOOL WORK: files are written whole or not at all. Every
# file-writing tool on a full disk (a small tmpfs of its own) and on /dev/full
# exits with 1 and leaves no file behind, and an older file of the same name
# survives whole: also under a name too long for a suffix (251 characters),
# on a file system without a free inode, in a folder the user may not write
# to, and for stivra-tool autoplay --record and replay --frames. stivra-tool
# says in one line what failed, the game stays silent.
# Runs as root, or as a normal user in a user namespace of its own (unshare
# -rm); skipped (77) where neither can mount a tmpfs.
set -u
if [ "$(id -u)" -ne 0 ] && [ -z "${FULL_DISK_NAMESPACE-}" ]; then
  if unshare -rm true 2>/dev/null; then
    FULL_DISK_NAMESPACE=1 exec unshare -rm sh "$0" "$@"
  fi
  echo "SKIP: not root, and no user namespace (unshare -rm) to mount a tmpfs in"
  exit 77
fi
game=$1
tool=$2
work=$3
rm -rf "$work" && mkdir -p "$work/disk" || exit 1
mount -t tmpfs -o size=64k tmpfs "$work/disk" 2>/dev/null || { echo "SKIP: cannot mount a tmpfs"; exit 77; }
trap 'umount "$work/disk"; umount "$work/inodes" 2>/dev/null; chmod 755 "$work/locked" 2>/dev/null' EXIT
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

# A file that was there before a failed write is still whole afterwards, also
# under a name that leaves no room for a suffix (251 characters of the 255 a
# name may have).
long=$(printf '%251s' '' | tr ' ' n)
for name in old.bmp "$long"; do
  rm -f disk/filler
  "$game" -icon 1 "disk/$name" || { echo "FAIL: a small icon does not fit as $name"; fail=1; }
  before=$(cksum <"disk/$name")
  head -c 50k /dev/zero >disk/filler 2>/dev/null
  "$game" -icon 8 "disk/$name" && { echo "FAIL: a 256x256 icon fitted"; fail=1; }
  "$tool" sprites "disk/$name" 2>/dev/null && { echo "FAIL: the sprite sheet fitted"; fail=1; }
  [ "$(cksum <"disk/$name")" = "$before" ] || { echo "FAIL: the older file $name was damaged"; fail=1; }
  left=$(ls disk | grep -v '^filler$')
  [ "$left" = "$name" ] || { echo "FAIL: a failed write left $left in the disk"; fail=1; }
  rm -f "disk/$name"
done

# The auto-player's record and the replayed frames, on a disk without a free
# byte: nothing of them is left, and what was there before stays.
cat /dev/zero >>disk/filler 2>/dev/null
expect_failure tool disk/run.txt "$tool" autoplay --seed 5 --max-minutes 1 --record disk/run.txt
printf 'stivra-replay 1\nseed 5\n3 0\n' >record.txt
"$tool" replay record.txt --frames disk/frames >/dev/null 2>err.txt
code=$?
[ "$code" -eq 1 ] && [ "$(wc -l <err.txt)" -eq 1 ] &&
  grep -q '^stivra-tool replay: cannot write disk/frames/frame_000001.bmp: No space left on device$' err.txt ||
  { echo "FAIL: replay --frames on a full disk exited with $code and said: $(cat err.txt)"; fail=1; }
[ ! -e disk/frames ] || { echo "FAIL: replay --frames left its folder: $(ls -R disk/frames)"; fail=1; }
rm -f disk/filler
mkdir disk/frames && echo old >disk/frames/frame_000001.bmp && echo old >disk/run.txt
cat /dev/zero >disk/filler 2>/dev/null
"$tool" replay record.txt --frames disk/frames >/dev/null 2>&1 && { echo "FAIL: the frames fitted"; fail=1; }
[ "$(ls disk/frames)" = frame_000001.bmp ] && [ "$(cat disk/frames/frame_000001.bmp)" = old ] ||
  { echo "FAIL: a failed replay --frames changed the folder: $(ls disk/frames)"; fail=1; }
"$tool" autoplay --seed 5 --max-minutes 1 --record disk/run.txt >/dev/null 2>&1 && { echo "FAIL: the record fitted"; fail=1; }
[ "$(cat disk/run.txt)" = old ] || { echo "FAIL: a failed autoplay --record damaged the older record"; fail=1; }
[ "$(ls disk | tr '\n' ' ')" = "filler frames run.txt " ] || { echo "FAIL: the disk holds $(ls disk)"; fail=1; }
rm -rf disk/frames disk/run.txt

# No inode left: the older file is not written in place but stays whole.
mkdir -p inodes
if mount -t tmpfs -o size=64k,nr_inodes=2 tmpfs inodes 2>/dev/null; then
  "$game" -icon 1 inodes/old.bmp || { echo "FAIL: the one file does not fit"; fail=1; }
  before=$(cksum <inodes/old.bmp)
  "$game" -icon 8 inodes/old.bmp && { echo "FAIL: a file was written without a free inode"; fail=1; }
  "$tool" ico inodes/old.bmp 2>err.txt && { echo "FAIL: an icon was written without a free inode"; fail=1; }
  grep -q '^stivra-tool ico: cannot write inodes/old.bmp: No space left on device$' err.txt ||
    { echo "FAIL: without a free inode stivra-tool said: $(cat err.txt)"; fail=1; }
  [ "$(cksum <inodes/old.bmp)" = "$before" ] || { echo "FAIL: the older file was written in place"; fail=1; }
  umount inodes
else
  echo "FAIL: no tmpfs with two inodes could be mounted"; fail=1
fi

# A read-only folder (root writes into a merely unwritable one).
rm -f disk/filler
mkdir -p ro && mount -t tmpfs -o ro,size=64k tmpfs ro 2>/dev/null && {
  expect_failure game ro/out "$game" -shot 0 ro/out
  expect_failure tool ro/out "$tool" sound 4 ro/out
  umount ro
}

# A folder the user may not write to, holding a file the user may write:
# the file is not written in place. Root (also a user namespace's) runs the
# programs without its capabilities, and so is held to the folder's mode.
if [ "$(id -u)" -ne 0 ]; then
  plain() { "$@"; }
elif setpriv --bounding-set=-all --inh-caps=-all true 2>/dev/null; then
  plain() { setpriv --bounding-set=-all --inh-caps=-all "$@"; }
else
  plain() { return 77; }
fi
mkdir -p locked && "$game" -icon 1 locked/old.bmp && echo old >locked/run.txt && chmod 555 locked
if plain true; then
  before=$(cksum <locked/old.bmp)
  plain "$game" -icon 2 locked/old.bmp && { echo "FAIL: -icon wrote into a folder that takes no file"; fail=1; }
  plain "$tool" sprites locked/old.bmp 2>err.txt && { echo "FAIL: sprites wrote into a folder that takes no file"; fail=1; }
  grep -q '^stivra-tool sprites: cannot write locked/old.bmp: Permission denied$' err.txt ||
    { echo "FAIL: in a folder that takes no file stivra-tool said: $(cat err.txt)"; fail=1; }
  # The record is refused before the game is played.
  plain "$tool" autoplay --seed 5 --record locked/run.txt >out.txt 2>err.txt
  code=$?
  [ "$code" -eq 1 ] && [ ! -s out.txt ] &&
    grep -q '^stivra-tool autoplay: cannot write locked/run.txt: Permission denied$' err.txt ||
    { echo "FAIL: autoplay --record into a folder that takes no file: exit code $code, said: $(cat err.txt)"; fail=1; }
  [ "$(cksum <locked/old.bmp)" = "$before" ] && [ "$(cat locked/run.txt)" = old ] ||
    { echo "FAIL: a file in a folder that takes no file was written in place"; fail=1; }
  [ "$(ls locked | tr '\n' ' ')" = "old.bmp run.txt " ] || { echo "FAIL: the folder holds $(ls locked)"; fail=1; }
else
  echo "SKIP (part): setpriv cannot drop root's capabilities; the folder that takes no file is not tried"
fi
chmod 755 locked

[ "$fail" -eq 0 ] && echo "ok: every tool fails whole on a full disk"
exit $fail
