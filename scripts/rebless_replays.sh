#!/bin/sh
# rebless_replays.sh [FILE...]: replays each recorded run (every file in
# tests/replays/ when none is named) and rewrites its closing line
# "# end: N passes, N ticks, hash H, states S, frames F" to the end and the
# chains it replays to now, and the pass hashes beside it (NAME.hashes), from
# which `stivra-tool replay FILE --check` names the first pass that differs;
# then the stored hashes of every sound (tests/sound_hashes.txt) and of every
# demo scene, icon and world picture (tests/picture_hashes.txt).
# Prints each old and new end, so that a change that moves a committed run
# shows which runs it moved; commit the rewritten files with that change, on
# purpose.
#
# STIVRA_TOOL names the stivra-tool to use (default: build/stivra-tool,
# built as Release if it is missing).
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
. "$root/tests/stored_end.sh"
tool=${STIVRA_TOOL:-$root/build/stivra-tool}
if [ ! -x "$tool" ] && [ -z "${STIVRA_TOOL:-}" ]; then
  cmake -S "$root" -B "$root/build" -DCMAKE_BUILD_TYPE=Release -DSTIVRA_TESTS=OFF -DSTIVRA_BENCH=OFF >/dev/null
  cmake --build "$root/build" -j"$(nproc)" --target stivra-tool >/dev/null
fi
[ -x "$tool" ] || { echo "$0: no stivra-tool at $tool" >&2; exit 2; }
[ $# -gt 0 ] || set -- "$root"/tests/replays/*.txt

moved=0
runs=$#
for f in "$@"; do
  json=$("$tool" replay "$f" --pass-hashes "${f%.txt}.hashes") || { echo "$0: $f does not replay" >&2; exit 1; }
  new=$(tool_end "$json")
  old=$(stored_end "$f")
  [ -n "$new" ] || { echo "$0: $f: no end in: $json" >&2; exit 1; }
  line=$(echo "$new" | { read -r passes ticks hash states frames
    echo "# end: $passes passes, $ticks ticks, hash $hash, states $states, frames $frames"; })
  # Any old closing line goes; the new one is the file's last line.
  tmp=$(mktemp "$f.XXXXXX")
  grep -v '^# end: ' "$f" >"$tmp" || true
  printf '%s\n' "$line" >>"$tmp"
  chmod 644 "$tmp"
  mv "$tmp" "$f"
  if [ "$old" = "$new" ]; then
    echo "same:  $(basename "$f")  $new"
  elif [ -n "$old" ] && [ "${new#"$old "}" != "$new" ]; then
    echo "same:  $(basename "$f")  $new (chains added)"
  else
    echo "MOVED: $(basename "$f")  ${old:-(none)} -> $new"
    moved=$((moved + 1))
  fi
done
echo "$moved of $runs runs moved"

# The stored hashes of every sound and every tool picture, rewritten whole
# or not at all; git diff shows the lines that moved.
for what in sound picture; do
  stored="$root/tests/${what}_hashes.txt"
  tmp=$(mktemp "$stored.XXXXXX")
  "$tool" "$what-hashes" >"$tmp" || { rm -f "$tmp"; echo "$0: stivra-tool $what-hashes failed" >&2; exit 1; }
  chmod 644 "$tmp"
  if cmp -s "$tmp" "$stored"; then
    echo "same:  ${what}_hashes.txt"
    rm -f "$tmp"
  else
    echo "MOVED: ${what}_hashes.txt ($(diff "$stored" "$tmp" | grep -c '^>') lines)"
    mv "$tmp" "$stored"
  fi
done
