#!/bin/sh
# stamp_build.sh SOURCE_DIR WORK: the offline cache is named by a hash of
# every file the worker keeps, the icons included, and by nothing else.
set -u
src=$1
work=$2
rm -rf "$work" && mkdir -p "$work/web" && cd "$work" || exit 1
names=$(sed -n '/const FILES = \[/,/\]/p' "$src/web/sw.js" | grep -o "'[^']*'" | tr -d "'" | grep -v '^\./$')
for f in $names; do echo "$f" >"web/$f"; done
echo "not kept" >web/extra.txt
stamp() {
  cmake -DDIR=web -DTEMPLATE="$src/web/sw.js" -DSTIVRA_VERSION=9.9.9 -P "$src/web/stamp_build.cmake" >/dev/null &&
    sed -n 's/^const CACHE = .*9\.9\.9-\([0-9a-f]*\)`;$/\1/p' web/sw.js
}
fail=0
first=$(stamp)
[ ${#first} -eq 16 ] || { echo "FAIL: no build stamp in sw.js: '$first'"; exit 1; }
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
[ $fail -eq 0 ] && echo "ok: the stamp follows every kept file ($(echo $names | wc -w)) and nothing else"
exit $fail
