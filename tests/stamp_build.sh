#!/bin/sh
# stamp_build.sh SOURCE_DIR WORK: the offline worker keeps every file of the
# page (the release facts' page files and the files the build writes) and
# names its cache by a hash of them and of nothing else.
set -u
src=$1
work=$2
. "$src/packaging/release_facts.sh"
rm -rf "$work" && mkdir -p "$work/web" && cd "$work" || exit 1
page=$(cd "$src/web" && for f in $WEB_PAGE_FILES; do [ "$f" = "$WEB_WORKER" ] || echo "$f"; done)
names=$(printf '%s\n' $WEB_BUILT_FILES $page | LC_ALL=C sort)
files=$(echo $names | tr ' ' ',')
for f in $names; do echo "$f" >"web/$f"; done
echo "not kept" >web/extra.txt
stamp() {
  cmake -DDIR=web -DTEMPLATE="$src/web/$WEB_WORKER" -DSTIVRA_VERSION=9.9.9 "-DFILES=$files" \
    -P "$src/web/stamp_build.cmake" >/dev/null &&
    sed -n 's/^const CACHE = .*9\.9\.9-\([0-9a-f]*\)`;$/\1/p' web/sw.js
}
fail=0
first=$(stamp)
[ ${#first} -eq 16 ] || { echo "FAIL: no build stamp in sw.js: '$first'"; exit 1; }
# The worker's list, as the browser reads it: the page itself, then each file.
kept=$(node -e '
  const s = require("fs").readFileSync("web/sw.js", "utf8");
  const m = s.match(/^const FILES = (.*);$/m);
  console.log(eval(m[1]).join("\n"));' 2>&1)
[ "$kept" = "$(printf './\n%s' "$names")" ] || { echo "FAIL: the worker keeps: $kept"; fail=1; }
for f in index.html page.js stivra.wasm version.js icon-512.png; do
  echo "$names" | grep -qx "$f" || { echo "FAIL: the worker does not keep $f"; fail=1; }
done
echo changed >web/extra.txt
[ "$(stamp)" = "$first" ] || { echo "FAIL: a file the worker does not keep changed the stamp"; fail=1; }
for f in $names; do
  echo changed >>"web/$f"
  now=$(stamp)
  [ "$now" != "$first" ] || { echo "FAIL: $f changed, the stamp did not"; fail=1; }
  first=$now
done
rm web/icon-192.png
stamp >/dev/null 2>&1 && { echo "FAIL: a kept file missing was stamped all the same"; fail=1; }
[ $fail -eq 0 ] && echo "ok: the worker keeps and the stamp follows every file of the page ($(echo $names | wc -w)) and nothing else"
exit $fail
