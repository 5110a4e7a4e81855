#!/bin/sh
# What the code may import.
#
# The source folders are layers, in this order: data, audio, gfx, world,
# game, screens, platform, tools. A file includes headers of its own folder
# and of the folders before it, never of a later one, and names each as
# "FOLDER/name.h" so that its layer is known. Always checked.
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

# One quoted include: file $1 of layer number $2 includes "$3". A path the
# check cannot place (absolute, with ./ or ../, without a folder, or of a
# folder that is no layer) is refused too: it could reach any header.
check_include() {
  where="${1#"$root"/} includes \"$3\""
  case "$3" in
    /*) echo "FAIL: $where, an absolute path; name the header as FOLDER/name.h"; return 1 ;;
  esac
  case "/$3/" in
    */../*|*/./*) echo "FAIL: $where; no ./ or ../ in an include, name the header as FOLDER/name.h"; return 1 ;;
  esac
  case "$3" in
    */*) ;;
    *) echo "FAIL: $where without its folder; name it as FOLDER/$3 so that its layer is known"; return 1 ;;
  esac
  folder=${3%%/*}
  inc_rank=$(rank "$folder")
  if [ "$inc_rank" -lt 0 ]; then
    echo "FAIL: $where; $folder is no layer (the layers: $layers)"
    return 1
  fi
  if [ "$inc_rank" -gt "$2" ]; then
    echo "FAIL: $where, a header of $folder, a later layer"
    return 1
  fi
  return 0
}

status=0
for dir in $layers; do
  file_rank=$(rank "$dir")
  for f in $(find "$root/src/$dir" \( -name '*.h' -o -name '*.cpp' \) | sort); do
    includes=$(sed -n 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"\([^"]*\)".*/\1/p' "$f")
    while IFS= read -r inc; do
      [ -n "$inc" ] || continue
      check_include "$f" "$file_rank" "$inc" || status=1
    done <<END_OF_INCLUDES
$includes
END_OF_INCLUDES
  done
done
[ $status -eq 0 ] && echo "layers: every include names a header of the same or an earlier folder"

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
