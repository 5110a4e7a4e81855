# Sourced by the smoke tests: check_bmp FILE WIDTH HEIGHT fails unless FILE is
# an 8-bit BMP of that size.
u32() { od -An -tu4 -j "$2" -N4 "$1" | tr -d ' '; }
check_bmp() {
  [ -f "$1" ] || { echo "FAIL: $1 was not written"; return 1; }
  size=$(wc -c <"$1" | tr -d ' ')
  expected=$(( (($2 + 3) / 4 * 4) * $3 + 118 ))
  [ "$size" -eq "$expected" ] || { echo "FAIL: $1 has $size bytes, expected $expected"; return 1; }
  [ "$(head -c2 "$1")" = "BM" ] || { echo "FAIL: $1 is not a BMP"; return 1; }
  [ "$(u32 "$1" 18)" -eq "$2" ] && [ "$(u32 "$1" 22)" -eq "$3" ] || { echo "FAIL: $1 is not $2x$3"; return 1; }
  echo "ok: $1 is a ${2}x${3} BMP of $size bytes"
}
