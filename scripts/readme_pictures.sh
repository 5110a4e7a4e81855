#!/bin/sh
# Renders the README's pictures from demo scenes: the title, a chase, the HUD
# with items, and the escape. Needs ImageMagick's convert and a built game
# (./play.sh or ./test.sh builds one). Usage: scripts/readme_pictures.sh [GAME]
set -eu
cd "$(dirname "$0")/.."
game=${1:-build/stivra}
[ -x "$game" ] || { echo "no game at $game: build it first (./play.sh)" >&2; exit 1; }
command -v convert >/dev/null || { echo "needs ImageMagick (apt-get install imagemagick)" >&2; exit 1; }
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
for pair in 0:title 2:chase 25:schoolyard 24:escape; do
  n=${pair%%:*}
  name=${pair#*:}
  STIVRA_SEED=1 "$game" -shot "$n" "$tmp/$name.bmp"
  # The BMP is 3x already; keep it crisp and small.
  convert "$tmp/$name.bmp" -sample 640x400 -strip "assets/$name.png"
  echo "assets/$name.png"
done
