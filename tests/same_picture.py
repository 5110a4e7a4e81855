#!/usr/bin/env python3
"""same_picture.py A.bmp B.bmp: exit 0 when two of the game's screenshots
(320x200 enlarged by a whole number, 8-bit, bottom-up) show the same 320x200
picture, colour for colour; otherwise one line saying how they differ."""
import struct
import sys


def frame(path):
    data = open(path, "rb").read()
    offset, = struct.unpack_from("<I", data, 10)
    width, height = struct.unpack_from("<ii", data, 18)
    bits, = struct.unpack_from("<H", data, 28)
    scale = width // 320
    if bits != 8 or scale < 1 or width != 320 * scale or height != 200 * scale:
        sys.exit(f"{path}: not a screenshot of the game ({width}x{height}, {bits} bits)")
    palette = [data[54 + 4 * i:57 + 4 * i] for i in range(256) if 57 + 4 * i <= offset]
    return [[palette[data[offset + (height - 1 - scale * y) * width + scale * x]] for x in range(320)]
            for y in range(200)]


a, b = frame(sys.argv[1]), frame(sys.argv[2])
differ = [(x, y) for y in range(200) for x in range(320) if a[y][x] != b[y][x]]
if differ:
    x0 = min(x for x, _ in differ); x1 = max(x for x, _ in differ)
    y0 = min(y for _, y in differ); y1 = max(y for _, y in differ)
    sys.exit(f"{len(differ)} pixels differ, within x {x0}..{x1}, y {y0}..{y1}")
