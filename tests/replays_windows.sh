#!/bin/sh
# replays_windows.sh WIN_TOOL NATIVE_TOOL WIN_GAME REPLAYS WORK: the Windows
# build of stivra-tool under Wine replays every committed run to the end its
# closing line stores (GameState hash and the chains of every pass and frame
# included), as the native build does;
# and a run recorded by the Windows game through STIVRA_RECORD replays on
# both to the hash the game ended on, its screenshot the replay's last frame.
set -u
win_tool=$1
native_tool=$2
win_game=$3
replays=$4
work=$5
here=$(cd "$(dirname "$0")" && pwd)
wine_run="$here/../cmake/wine-headless.sh"
. "$here/stored_end.sh"
rm -rf "$work" && mkdir -p "$work" && cd "$work" || exit 1
fail=0
# Windows console output ends its lines with CR LF.
on_windows() { "$wine_run" "$win_tool" "$@" | tr -d '\r'; }

for f in "$replays"/*.txt; do
  name=$(basename "$f")
  cp "$f" "$name"
  want=$(stored_end "$name")
  windows=$(tool_end "$(on_windows replay "$name")")
  if [ -n "$want" ] && [ "$want" = "$windows" ]; then
    echo "ok: $name ends as stored: $windows"
  else
    echo "FAIL: $name: stored '$want', Windows '$windows'"; fail=1
  fi
done

STIVRA_SEED=4321 STIVRA_RECORD=windows_smoke.txt "$wine_run" "$win_game" -autoplay windows_smoke.bmp
# The Windows game's closing line (end and chains of every pass and frame)
# as both builds replay it.
want=$(stored_end windows_smoke.txt 2>/dev/null)
native=$(tool_end "$("$native_tool" replay windows_smoke.txt)")
windows=$(tool_end "$(on_windows replay windows_smoke.txt)")
if [ -n "$want" ] && [ "$want" = "$native" ] && [ "$want" = "$windows" ]; then
  echo "ok: the Windows game's record ends on $want, replayed alike on both builds"
else
  echo "FAIL: the Windows game recorded '$want', replayed natively '$native', on Windows '$windows'"; fail=1
fi
passes=$("$native_tool" replay windows_smoke.txt | sed 's/.*"passes": \([0-9]*\).*/\1/')
if "$native_tool" replay windows_smoke.txt --from "$passes" --frames frames >/dev/null &&
   python3 "$here/same_picture.py" windows_smoke.bmp "frames/frame_$(printf %06d "$passes").bmp"; then
  echo "ok: the Windows game's screenshot is the last frame of its record's replay"
else
  echo "FAIL: the Windows game's screenshot is not the last frame of its record's replay"; fail=1
fi
exit $fail
