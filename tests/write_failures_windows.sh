#!/bin/sh
# write_failures_windows.sh GAME TOOL WORK: the Windows builds under Wine
# report failed writes as failures: -autoplay and -shot into a missing folder
# and a -shot whose command line was cut exit with 1 and write nothing,
# stivra-tool says what failed, and a file written twice is replaced (Windows
# renames onto no existing file). With a small tmpfs (root only), a full disk
# leaves nothing behind either.
set -u
game=$1
tool=$2
work=$3
here=$(cd "$(dirname "$0")" && pwd)
. "$here/check_bmp.sh"
. "$here/../cmake/wine-prefix.sh"
rm -rf "$work" && mkdir -p "$work" && cd "$work" || exit 1
fail=0
# on_wine EXPECTED WHAT PROGRAM ARGS...: the exit code must be EXPECTED.
on_wine() {
  want=$1; what=$2; shift 2
  wine "$@" >out.txt 2>err.txt
  got=$?
  wineserver -w
  [ "$got" -eq "$want" ] || { echo "FAIL: $what exited with $got, expected $want"; fail=1; }
}

echo "(each run under Wine takes a few seconds)"
"$here/../cmake/wine-headless.sh" "$game" -autoplay 'C:\nope\x.bmp' >/dev/null 2>&1
code=$?
[ "$code" -eq 1 ] || { echo "FAIL: -autoplay into a missing folder exited with $code"; fail=1; }

on_wine 1 "-shot into a missing folder" "$game" -shot 0 'C:\nope\x.bmp'
digits=0001$(printf '%0476d' 9)
on_wine 1 "-shot with a cut line" "$game" -shot "$digits" screenshot_of_scene_one.bmp
ls | grep -q '^scree' && { echo "FAIL: a cut -shot line wrote $(ls | grep '^scree')"; fail=1; }

on_wine 0 "-icon 2" "$game" -icon 2 twice.bmp
on_wine 0 "-icon 1 over it" "$game" -icon 1 twice.bmp
check_bmp twice.bmp 32 32 || fail=1
ls | grep -q 'part~' && { echo "FAIL: a temporary file was left: $(ls)"; fail=1; }

on_wine 1 "stivra-tool sound into a missing folder" "$tool" sound 3 'C:\nope\x.wav'
tr -d '\r' <err.txt | grep -q '^stivra-tool sound: cannot write C:\\nope\\x.wav: ' ||
  { echo "FAIL: stivra-tool said: $(cat err.txt)"; fail=1; }

if mkdir -p disk && mount -t tmpfs -o size=64k tmpfs disk 2>/dev/null; then
  head -c 56k /dev/zero >disk/filler 2>/dev/null
  on_wine 1 "-world on a full disk" "$game" -world 4 disk/world.bmp
  on_wine 1 "stivra-tool song on a full disk" "$tool" song 1 10 disk/song.wav
  left=$(ls disk | grep -v '^filler$')
  [ -z "$left" ] || { echo "FAIL: a full disk kept $left"; fail=1; }
  umount disk
else
  echo "(no tmpfs could be mounted: the full disk is not tried)"
fi

[ "$fail" -eq 0 ] && echo "ok: the Windows builds report failed writes"
exit $fail
