#!/bin/sh
# coverage.sh [--report FILE] [--html DIR] [--runs DIR]: which lines of the game the
# stored runs alone reach, and then with the pinned pictures and sounds. Builds the core and stivra-tool with gcc line
# coverage in build-coverage, replays every run of tests/replays/ (each must
# reach the end stored in its closing line), and prints the share of lines
# reached in each folder of src/ and in all of them.
#
#   --report FILE  also writes gcovr's text report: every file, with the
#                  lines no run reaches
#   --html DIR     also writes a browsable report, one page a file
#   --runs DIR     replays the runs of DIR instead (for trying out new runs
#                  before they are stored)
#
# JOBS builds with that many jobs (default 2). Exit codes: 0 the table was
# printed; 1 a build, a replay or the report failed; 2 a bad option, or
# packages are missing and this is not root (the one command that installs
# them is printed).
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
. scripts/packages.sh
. tests/stored_end.sh

usage() {
  echo "usage: $0 [--report FILE] [--html DIR] [--runs DIR]" >&2
  exit 2
}
report=""
html=""
runs_dir=tests/replays
while [ $# -gt 0 ]; do
  case "$1" in
    --report) [ $# -ge 2 ] && [ -n "$2" ] || usage; report=$2; shift 2 ;;
    --html) [ $# -ge 2 ] && [ -n "$2" ] || usage; html=$2; shift 2 ;;
    --runs) [ $# -ge 2 ] && [ -d "$2" ] || usage; runs_dir=$(cd "$2" && pwd); shift 2 ;;
    *) usage ;;
  esac
done
# The reports are written after the build changed folder: keep their paths.
case "$report" in ""|/*) ;; *) report=$PWD/$report ;; esac
case "$html" in ""|/*) ;; *) html=$PWD/$html ;; esac
jobs=${JOBS:-2}
case "$jobs" in ""|*[!0-9]*|0) echo "$0: JOBS must be a whole number above 0" >&2; exit 2 ;; esac

packages="cmake make g++ gcovr"
missing=$(missing_packages $packages)
if [ -n "$missing" ]; then
  if [ "$(id -u)" -ne 0 ]; then
    echo "These packages are missing: $missing"
    echo "Install them with this one command, then run the script again:"
    # shellcheck disable=SC2086
    echo "  $(install_command $missing)"
    exit 2
  fi
  echo "Installing: $missing"
  log=$(mktemp)
  # shellcheck disable=SC2086
  if ! (export DEBIAN_FRONTEND=noninteractive
        apt-get update -q &&
        apt-get install -y -q --no-install-recommends -o DPkg::Lock::Timeout=600 $missing) >"$log" 2>&1; then
    cat "$log" >&2
    rm -f "$log"
    echo "$0: installing $missing failed" >&2
    exit 1
  fi
  rm -f "$log"
fi

build=build-coverage
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Debug -DSTIVRA_COVERAGE=ON -DSTIVRA_TESTS=OFF \
  -DSTIVRA_BENCH=OFF -DSTIVRA_GAME=OFF >/dev/null
cmake --build "$build" -j"$jobs" --target stivra-tool >/dev/null
tool=$build/stivra-tool
[ -x "$tool" ] || { echo "$0: no stivra-tool was built" >&2; exit 1; }

# Counts from an earlier run of this script would add to this one's.
find "$build" -name '*.gcda' -exec rm -f {} +

runs=0
for record in "$runs_dir"/*.txt; do
  [ -f "$record" ] || continue
  # Each run must pass as stored, its chains included: a table of lines
  # that a changed game reaches would say little.
  "$tool" replay "$record" --check >/dev/null || { echo "$0: $record does not replay as stored" >&2; exit 1; }
  runs=$((runs + 1))
done
[ "$runs" -gt 0 ] || { echo "$0: no runs in $runs_dir" >&2; exit 1; }

# The tools replay the runs but are not the game: only the core is counted.
# Files that were built but never ran count with every line unreached.
filters="--root $root --filter $root/src/ --exclude $root/src/tools/"
csv=$(mktemp)
trap 'rm -f "$csv"' EXIT
# shellcheck disable=SC2086
gcovr $filters --csv "$csv" "$build" >/dev/null || { echo "$0: gcovr failed" >&2; exit 1; }
if [ -n "$report" ]; then
  # shellcheck disable=SC2086
  gcovr $filters --sort-uncovered --output "$report" "$build" >/dev/null ||
    { echo "$0: gcovr could not write $report" >&2; exit 1; }
fi
if [ -n "$html" ]; then
  mkdir -p "$html"
  # shellcheck disable=SC2086
  gcovr $filters --html-details "$html/index.html" "$build" >/dev/null ||
    { echo "$0: gcovr could not write $html" >&2; exit 1; }
fi

# table CSV: the share of lines reached in each folder, from gcovr's CSV.
table() {
  # gcovr's CSV: filename,line_total,line_covered,line_percent,... with a header.
  awk -F, '
  NR == 1 { next }
  {
    path = $1; sub(/^src\//, "", path)
    n = split(path, part, "/")
    folder = n > 1 ? "src/" part[1] : "src"
    if (!(folder in total)) order[++folders] = folder
    total[folder] += $2; reached[folder] += $3
    all += $2; all_reached += $3
  }
  END {
    if (all == 0) { print "no lines were counted" > "/dev/stderr"; exit 1 }
    # Folders in the order of the layers, each before the ones that include it.
    split("src/data src/audio src/gfx src/world src/game src/screens src/platform", layer, " ")
    printf "%-14s %7s %7s %7s\n", "folder", "lines", "reached", "share"
    for (i = 1; i in layer; i++) {
      f = layer[i]
      if (f in total) { row(f); shown[f] = 1 }
    }
    for (i = 1; i <= folders; i++) if (!(order[i] in shown)) row(order[i])
    printf "%-14s %7d %7d %6.1f%%\n", "total", all, all_reached, 100 * all_reached / all
  }
  function row(f) {
    printf "%-14s %7d %7d %6.1f%%\n", f, total[f], reached[f], total[f] ? 100 * reached[f] / total[f] : 0
  }' "$1"
}

echo "Lines of src/ reached by the $runs runs of ${runs_dir#"$root"/}:"
table "$csv"

# The demo scenes of -shot, the icons and the world pictures are reached by
# no run; the stored hashes of every picture and every sound pin them. The
# second table adds what those reach.
"$tool" picture-hashes >/dev/null && "$tool" sound-hashes >/dev/null ||
  { echo "$0: the pinned pictures and sounds could not be drawn" >&2; exit 1; }
# shellcheck disable=SC2086
gcovr $filters --csv "$csv" "$build" >/dev/null || { echo "$0: gcovr failed" >&2; exit 1; }
echo
echo "... and by the pinned pictures and sounds as well (tests/picture_hashes.txt, tests/sound_hashes.txt):"
table "$csv"
[ -z "$report" ] || echo "The unreached lines of each file: $report"
[ -z "$html" ] || echo "The report, file by file: $html/index.html"
