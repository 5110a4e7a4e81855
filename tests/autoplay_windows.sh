#!/bin/sh
# The Windows program's smoke run under Wine: five seconds of scripted play
# must end with exit code 0 and leave a 960x600 screenshot behind.
set -u
game=$1
out=$2
here=$(cd "$(dirname "$0")" && pwd)
. "$here/check_bmp.sh"
rm -f "$out"
cd "$(dirname "$out")" || exit 1
"$here/../cmake/wine-headless.sh" "$game" -autoplay "$(basename "$out")"
code=$?
[ "$code" -eq 0 ] || { echo "FAIL: exit code $code"; exit 1; }
check_bmp "$(basename "$out")" 960 600
