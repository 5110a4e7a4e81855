#!/bin/sh
# The Windows program must import nothing but system DLLs.
set -u
dlls=$(x86_64-w64-mingw32-objdump -p "$1" | awk '/DLL Name:/ {print toupper($3)}' | sort -u)
echo "imports:" $dlls
for d in $dlls; do
  case "$d" in
    KERNEL32.DLL|USER32.DLL|GDI32.DLL|WINMM.DLL|MSVCRT.DLL) ;;
    *) echo "FAIL: unexpected import $d"; exit 1 ;;
  esac
done
