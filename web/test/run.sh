#!/bin/sh
# The browser test: the built page served on 127.0.0.1 and played in
# headless Chromium; what it plays is recorded and replayed by the native
# stivra-tool beside NATIVE_STIVRA to the same end and last frame, and every
# recorded run in tests/replays/ (and each REPLAY named here) is replayed in
# the page to the end its closing line and the native tool give. Then the
# page's kept games: the browser closed and killed and opened again, each
# game continued to the pass it was kept at, on the native tool's hash; what
# reaches the page from outside (links, addresses, the offline cache); the
# page on phones and a tablet, and a won game played there by touch alone.
#   web/test/run.sh NATIVE_STIVRA WEB_DIR OUT_DIR [REPLAY...]
# STIVRA_CHECKS='NAME,...' runs only the named checks of browser_test.mjs
# (`*` stands for any text; a name that matches none lists them all).
set -eu
game=$1
web_dir=$2
out=$3
shift 3
here=$(cd "$(dirname "$0")" && pwd)
tool=$(dirname "$game")/stivra-tool
# The optimised tool the test build makes for the auto-player replays a won
# game in seconds; the sanitized one (which the Linux tests replay every
# committed run with) takes half a minute.
[ -x "$(dirname "$game")/tests/autoplay-release/stivra-tool" ] && tool=$(dirname "$game")/tests/autoplay-release/stivra-tool
seed=4711
[ -x "$tool" ] || { echo "FAIL: $tool, the native replay tool, is missing"; exit 1; }

rm -rf "$out" && mkdir -p "$out"
out=$(cd "$out" && pwd)

# playwright-core, pinned in web/package-lock.json; it drives the system's
# Chromium and downloads no browser of its own.
command -v npm >/dev/null || { echo "FAIL: npm (part of Node.js) is needed for the browser test"; exit 1; }
(cd "$here/.." && npm ci --no-audit --no-fund --loglevel=error)

echo "-- the native title to compare with"
"$game" -shot 0 "$out/title_native.bmp"

echo "-- serving $web_dir"
. "$here/../../tests/serve_dir.sh"
serve_dir "$web_dir" "$out/server.log" ||
  { echo "FAIL: the web server did not start"; cat "$out/server.log"; exit 1; }

status=0
node "$here/browser_test.mjs" "http://127.0.0.1:$port" "$out/title_native.bmp" \
  "$seed" "$out" "$tool" "$here"/../../tests/replays/*.txt "$@" || status=1
[ -z "${STIVRA_CHECKS:-}" ] || exit "$status"

echo "-- kept games: closing and killing the browser, continuing, bad storage"
mkdir -p "$out/runs"
node "$here/runs_test.mjs" "http://127.0.0.1:$port" "$out/runs" "$tool" \
  "$here/../../tests/replays/won_seed144.txt" || status=1
echo "-- what reaches the page from outside: links, addresses, the offline cache"
node "$here/trust_test.mjs" "http://127.0.0.1:$port" "$web_dir" "$out/trust" || status=1
echo "-- phones and a tablet"
node "$here/phone_test.mjs" "http://127.0.0.1:$port" "$out" "$here/../../tests/replays/won_seed144.txt" || status=1
exit "$status"
