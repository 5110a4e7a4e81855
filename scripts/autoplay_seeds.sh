#!/bin/sh
# autoplay_seeds.sh FIRST LAST: the auto-player plays every seed from FIRST
# to LAST and prints one line per seed and a summary (won, median Ticks,
# catches). Exits with 1 if any seed was not won.
#
# STIVRA_TOOL names the stivra-tool to use (default: build/stivra-tool,
# built as Release if it is missing); JOBS runs that many seeds at once
# (default 2); MAX_MINUTES is each game's time limit (default 30).
set -eu
if [ $# -ne 2 ]; then
  echo "usage: $0 FIRST LAST" >&2
  exit 2
fi
case "$1$2" in
  *[!0-9]*|"") echo "$0: FIRST and LAST must be whole numbers" >&2; exit 2 ;;
esac
first=$1
last=$2
if [ "$first" -gt "$last" ]; then
  echo "$0: FIRST is after LAST" >&2
  exit 2
fi
root=$(cd "$(dirname "$0")/.." && pwd)
tool=${STIVRA_TOOL:-$root/build/stivra-tool}
jobs=${JOBS:-2}
minutes=${MAX_MINUTES:-30}
if [ ! -x "$tool" ] && [ -z "${STIVRA_TOOL:-}" ]; then
  cmake -S "$root" -B "$root/build" -DCMAKE_BUILD_TYPE=Release -DSTIVRA_TESTS=OFF -DSTIVRA_BENCH=OFF >/dev/null
  cmake --build "$root/build" -j"$jobs" --target stivra-tool >/dev/null
fi
[ -x "$tool" ] || { echo "$0: no stivra-tool at $tool" >&2; exit 2; }

results=$(mktemp)
trap 'rm -f "$results"' EXIT
seq "$first" "$last" |
  xargs -P "$jobs" -I{} sh -c '"$1" autoplay --seed "$2" --max-minutes "$3" || echo "{\"seed\": $2, \"outcome\": \"failed\"}"' \
    sh "$tool" {} "$minutes" >"$results"

# One JSON object a line, always in the same field order: pick the values out.
sort -t: -k2 -n "$results" | awk '
  function field(name,    m) {
    if (match($0, "\"" name "\": \"?[^,\"}]*")) {
      m = substr($0, RSTART, RLENGTH); sub(/^[^:]*: "?/, "", m); return m
    }
    return "-"
  }
  BEGIN {
    printf "%8s  %-8s %8s %8s %8s %5s %6s %6s %6s %6s\n", "seed", "outcome", "ticks", "catches", "stickers", "task",
      "hides", "calls", "brawls", "phone"
  }
  {
    seed = field("seed"); outcome = field("outcome"); ticks = field("ticks")
    catches = field("catches"); stickers = field("stickers"); task = field("task")
    hides = field("hides"); calls = field("calls"); brawls = field("brawls")
    phone = field("phone_taken") == "1" ? "taken" : "kept"
    printf "%8s  %-8s %8s %8s %8s %5s %6s %6s %6s %6s\n", seed, outcome, ticks, catches, stickers, task,
      hides, calls, brawls, phone
    if (phone == "taken") taken += 1
    n += 1
    if (outcome == "won") { won += 1; t[won] = ticks + 0 }
    if (catches != "-") { caught += catches; if (catches + 0 > most) most = catches + 0; if (catches + 0 == 0) clean += 1 }
  }
  END {
    # Median of the won games: sort their Ticks (insertion sort; a few hundred at most).
    for (i = 2; i <= won; i++) { v = t[i]; j = i - 1; while (j >= 1 && t[j] > v) { t[j + 1] = t[j]; j-- } t[j + 1] = v }
    median = won ? (won % 2 ? t[(won + 1) / 2] : int((t[won / 2] + t[won / 2 + 1]) / 2)) : 0
    printf "\nwon %d of %d; median %d Ticks (%.1f minutes) of the won games; catches %d in all, at most %d in one game, %d games without one; phone taken in %d\n",
      won, n, median, median / 1800, caught, most, clean, taken
    exit won == n ? 0 : 1
  }'
