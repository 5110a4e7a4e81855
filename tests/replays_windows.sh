#!/bin/sh
# replays_windows.sh WIN_TOOL NATIVE_TOOL WIN_GAME REPLAYS WORK: the Windows
# build of stivra-tool under Wine replays every committed run to the same
# JSON (GameState hash included) as the native build, and a run recorded by
# the Windows game through STIVRA_RECORD replays on both to the hash the game
# ended on.
set -u
win_tool=$1
native_tool=$2
win_game=$3
replays=$4
work=$5
wine_run="$(cd "$(dirname "$0")/.." && pwd)/cmake/wine-headless.sh"
rm -rf "$work" && mkdir -p "$work" && cd "$work" || exit 1
fail=0
# Windows console output ends its lines with CR LF.
on_windows() { "$wine_run" "$win_tool" "$@" | tr -d '\r'; }

for f in "$replays"/*.txt; do
  name=$(basename "$f")
  cp "$f" "$name"
  native=$("$native_tool" replay "$name")
  windows=$(on_windows replay "$name")
  if [ -n "$native" ] && [ "$native" = "$windows" ]; then
    echo "ok: $name $native"
  else
    echo "FAIL: $name: native $native, Windows $windows"; fail=1
  fi
done

STIVRA_SEED=4321 STIVRA_RECORD=windows_smoke.txt "$wine_run" "$win_game" -autoplay windows_smoke.bmp
want=$(sed -n 's/^# end: .*hash \([0-9a-f]*\)$/\1/p' windows_smoke.txt 2>/dev/null)
native=$("$native_tool" replay windows_smoke.txt | sed 's/.*"hash": "\([0-9a-f]*\)".*/\1/')
windows=$(on_windows replay windows_smoke.txt | sed 's/.*"hash": "\([0-9a-f]*\)".*/\1/')
if [ -n "$want" ] && [ "$want" = "$native" ] && [ "$want" = "$windows" ]; then
  echo "ok: the Windows game's record ends on $want, replayed alike on both builds"
else
  echo "FAIL: the Windows game recorded '$want', replayed natively '$native', on Windows '$windows'"; fail=1
fi
exit $fail
