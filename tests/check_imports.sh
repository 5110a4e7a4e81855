#!/bin/sh
# What the code may import.
#
# The source folders are layers, in this order: data, audio, gfx, world,
# game, screens, platform, tools. A file includes headers of its own folder
# and of the folders before it, never of a later one. Always checked.
#
# Given the Windows program as $1: it must import nothing but system DLLs.
set -u
root=$(cd "$(dirname "$0")/.." && pwd)
layers="data audio gfx world game screens platform tools"

rank() {
  i=0
  for l in $layers; do
    if [ "$l" = "$1" ]; then echo $i; return; fi
    i=$((i + 1))
  done
  echo -1
}

status=0
for dir in $layers; do
  r=$(rank "$dir")
  for f in $(find "$root/src/$dir" \( -name '*.h' -o -name '*.cpp' \) | sort); do
    for inc in $(sed -n 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"\([a-z_0-9]*\)\/.*/\1/p' "$f"); do
      if [ "$(rank "$inc")" -gt "$r" ]; then
        echo "FAIL: ${f#"$root"/} ($dir) includes a header of $inc, a later layer"
        status=1
      fi
    done
  done
done
[ $status -eq 0 ] && echo "layers: every include goes to the same or an earlier folder"

if [ $# -ge 1 ]; then
  dlls=$(x86_64-w64-mingw32-objdump -p "$1" | awk '/DLL Name:/ {print toupper($3)}' | sort -u)
  echo "imports:" $dlls
  for d in $dlls; do
    case "$d" in
      KERNEL32.DLL|USER32.DLL|GDI32.DLL|WINMM.DLL|MSVCRT.DLL) ;;
      *) echo "FAIL: unexpected import $d"; status=1 ;;
    esac
  done
fi
exit $status
