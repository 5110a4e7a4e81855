#!/bin/sh
# The game's image tools from the outside: options, ranges, exit codes and
# the files they write.
set -u
game=$1
work=$2
. "$(dirname "$0")/check_bmp.sh"
rm -rf "$work" && mkdir -p "$work" && cd "$work" || exit 1
fail=0
expect_code() {  # expected-code description command...
  want=$1; what=$2; shift 2
  "$@" >/dev/null 2>&1
  got=$?
  if [ "$got" -ne "$want" ]; then echo "FAIL: $what exited with $got, expected $want"; fail=1; fi
}

expect_code 0 "-icon 9" "$game" -icon 9 icon9.bmp
check_bmp icon9.bmp 32 32 || fail=1
expect_code 0 "-icon 0" "$game" -icon 0 icon0.bmp
check_bmp icon0.bmp 32 32 || fail=1
cmp -s icon9.bmp icon0.bmp || { echo "FAIL: out-of-range icon sizes differ"; fail=1; }
expect_code 0 "-icon 8" "$game" -icon 8 icon8.bmp
check_bmp icon8.bmp 256 256 || fail=1
expect_code 1 "-icon without a file" "$game" -icon 2

expect_code 0 "-world 4" "$game" -world 4 world4.bmp
check_bmp world4.bmp 896 448 || fail=1
expect_code 0 "-world 0" "$game" -world 0 world0.bmp
expect_code 0 "-world 7" "$game" -world 7 world7.bmp
cmp -s world4.bmp world0.bmp && cmp -s world4.bmp world7.bmp ||
  { echo "FAIL: -world 0 and -world 7 are not floor 4"; fail=1; }
expect_code 0 "-world 1" "$game" -world 1 world1.bmp
cmp -s world4.bmp world1.bmp && { echo "FAIL: floor 1 looks like floor 4"; fail=1; }
expect_code 1 "-world into a missing directory" "$game" -world 3 no/such/dir.bmp

expect_code 1 "-shot without arguments" "$game" -shot
expect_code 0 "-shot 0" "$game" -shot 0 title.bmp
check_bmp title.bmp 960 600 || fail=1
expect_code 0 "-shot with a quoted name" "$game" -shot 4 "caught screen.bmp"
check_bmp "caught screen.bmp" 960 600 || fail=1

# The same seed gives the same game; another seed places the items elsewhere.
STIVRA_SEED=42 "$game" -shot 99 seed42a.bmp
STIVRA_SEED=42 "$game" -shot 99 seed42b.bmp
cmp -s seed42a.bmp seed42b.bmp || { echo "FAIL: STIVRA_SEED does not reproduce the scene"; fail=1; }

# A command line longer than 511 characters is cut: a tool that would then
# read another file name writes nothing and fails.
digits=0001$(printf '%0476d' 9)
expect_code 1 "-shot with a cut line" "$game" -shot "$digits" screenshot_of_scene_one.bmp
for f in scree screenshot_of_scene_one.bmp; do
  [ -e "$f" ] && { echo "FAIL: a cut -shot line wrote $f"; fail=1; }
done
mkdir -p long && long_dir=$PWD/long
long_path=$long_dir/$(printf '%0200d' 0)/$(printf '%0200d' 0)/$(printf '%0200d' 0)/shot.bmp
mkdir -p "$(dirname "$long_path")"
expect_code 1 "-shot into a path beyond the cut" "$game" -shot 0 "$long_path"
[ -z "$(find long -type f)" ] || { echo "FAIL: a cut path made $(find long -type f)"; fail=1; }
expect_code 1 "-autoplay with a cut line" "$game" -autoplay "$long_path"

# STIVRA_SEED: a value that is no seed is named in one line and ignored;
# the tool still works.
for bad in "" " 12" "12 " 0xC +12 -1 12abc 4294967297; do
  STIVRA_SEED=$bad "$game" -icon 1 seed_icon.bmp 2>seed_err.txt
  code=$?
  [ "$code" -eq 0 ] || { echo "FAIL: STIVRA_SEED='$bad' made -icon exit $code"; fail=1; }
  [ "$(wc -l <seed_err.txt)" -eq 1 ] && grep -qF "STIVRA_SEED='$bad'" seed_err.txt ||
    { echo "FAIL: STIVRA_SEED='$bad' said: $(cat seed_err.txt)"; fail=1; }
done
STIVRA_SEED=4294967295 "$game" -icon 1 seed_icon.bmp 2>seed_err.txt
[ -s seed_err.txt ] && { echo "FAIL: the largest seed was refused"; fail=1; }

[ "$fail" -eq 0 ] && echo "ok: all tool checks passed"
exit $fail
