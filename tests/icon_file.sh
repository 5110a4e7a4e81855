#!/bin/sh
# icon_file.sh STIVRA_TOOL WORKDIR: "stivra-tool ico" writes the six icon
# images (16, 24, 32, 48, 64, 128 pixels) with hard pixels: every pixel is
# either fully transparent or, fully opaque, one of the game's 16 colours.
# A resampled image (blended colours, soft edges) fails.
set -u
tool=$1
work=$2
mkdir -p "$work" || exit 1
ico="$work/stivra.ico"
"$tool" ico "$ico" || { echo "FAIL: stivra-tool ico exited with $?"; exit 1; }
od -An -v -tu1 "$ico" | awk '
  BEGIN {
    split("000000 14101c 2e2a40 4c4766 807a94 c4c0cc f4f0e8 4a2e22 " \
          "8c5a38 e8b08c b0705a 8c1822 e03c3c 2c5c8c 58a848 f0d058", hex, " ")
    for (i in hex) palette[hex[i]] = 1
    split("16 24 32 48 64 128", want, " ")
  }
  { for (i = 1; i <= NF; ++i) b[n++] = $i }
  function u32(o) { return b[o] + 256 * (b[o + 1] + 256 * (b[o + 2] + 256 * b[o + 3])) }
  END {
    fail = 0
    if (b[4] + 256 * b[5] != 6) { print "FAIL: " b[4] + 256 * b[5] " images, expected 6"; exit 1 }
    for (k = 0; k < 6; ++k) {
      e = 6 + 16 * k
      size = b[e]; offset = u32(e + 12)
      if (size != want[k + 1] || b[e + 1] != size) { print "FAIL: image " k " is " b[e] "x" b[e + 1]; fail = 1; continue }
      if (b[offset + 14] != 32) { print "FAIL: the " size " image is not 32 bits a pixel"; fail = 1; continue }
      bad = 0; delete used; colours = 0
      for (p = 0; p < size * size; ++p) {
        o = offset + 40 + 4 * p
        a = b[o + 3]
        if (a == 0) continue
        rgb = sprintf("%02x%02x%02x", b[o + 2], b[o + 1], b[o])
        if (a != 255 || !(rgb in palette)) ++bad
        if (!(rgb in used)) { used[rgb] = 1; ++colours }
      }
      if (bad) { print "FAIL: the " size " image has " bad " soft pixels (" colours " colours)"; fail = 1 }
      else print "ok: the " size " image has hard pixels in " colours " of the 16 colours"
    }
    exit fail
  }'
