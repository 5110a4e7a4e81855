#!/bin/sh
# Builds the browser version of the game (emscripten) into build-web/web and
# serves it on 127.0.0.1 with Python's http.server.
#   ./web.sh                 build, then serve on port 8000 (PORT=N for another)
#   ./web.sh --build-only    build and stop
set -eu
cd "$(dirname "$0")"
. scripts/packages.sh

build_only=0
case "${1:-}" in
  --build-only) build_only=1 ;;
  "") ;;
  *) echo "usage: ./web.sh [--build-only]" >&2; exit 2 ;;
esac

# The page is served with Python's http.server.
packages="cmake make emscripten"
[ "$build_only" -eq 1 ] || packages="$packages python3"
# shellcheck disable=SC2086
need_packages $packages
# emscripten's own scripts load their Node.js modules from there.
export NODE_PATH="/usr/share/nodejs${NODE_PATH:+:$NODE_PATH}"
emcmake cmake -S . -B build-web -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build-web -j"$(nproc)"
if [ "$build_only" -eq 1 ]; then
  echo "The page is in build-web/web/ (serve it over HTTP: WebAssembly does not load from file://)."
  exit 0
fi

port=${PORT:-8000}
echo "St. Ivra Schule is served at http://127.0.0.1:$port/ (Ctrl+C stops the server)"
exec python3 -m http.server --bind 127.0.0.1 "$port" --directory build-web/web
