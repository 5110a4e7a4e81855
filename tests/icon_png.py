#!/usr/bin/env python3
"""icon_png.py STIVRA_TOOL WORKDIR VERSION deflated|stored

"stivra-tool png SIZE FILE" writes PNGs that a strict reader accepts (every
chunk's CRC, the zlib stream with its Adler-32), of the right size, with the
same pixels as the .ico's image of that size; 256 is the 128 image doubled.
A tool built with zlib deflates the image data (the 256 icon's 257 KiB of
rows to a few KiB), one without stores it.
Bad sizes and unwritable files are refused, and --version prints VERSION.
"""
import os
import struct
import subprocess
import sys
import zlib

tool, work, version, packing = sys.argv[1:5]
os.makedirs(work, exist_ok=True)
failed = 0


def check(ok, what):
    global failed
    print(("ok: " if ok else "FAIL: ") + what)
    failed += 0 if ok else 1


def read_png(path):
    """The PNG's width, height, RGBA rows and image data's size; raises on any fault."""
    data = open(path, "rb").read()
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        raise ValueError("no PNG signature")
    pos, chunks = 8, []
    while pos < len(data):
        (length,) = struct.unpack(">I", data[pos:pos + 4])
        kind, body = data[pos + 4:pos + 8], data[pos + 8:pos + 8 + length]
        (crc,) = struct.unpack(">I", data[pos + 8 + length:pos + 12 + length])
        if zlib.crc32(kind + body) != crc:
            raise ValueError("bad CRC in " + kind.decode())
        chunks.append((kind, body))
        pos += 12 + length
    if [k for k, _ in chunks] != [b"IHDR", b"IDAT", b"IEND"]:
        raise ValueError("chunks " + str([k for k, _ in chunks]))
    w, h, depth, colour, comp, filt, inter = struct.unpack(">IIBBBBB", chunks[0][1])
    if (depth, colour, comp, filt, inter) != (8, 6, 0, 0, 0):
        raise ValueError("not plain 8-bit RGBA")
    raw = zlib.decompress(chunks[1][1])  # checks the Adler-32 too
    if len(raw) != h * (1 + 4 * w):
        raise ValueError("%d bytes of rows" % len(raw))
    rows = []
    for y in range(h):
        row = raw[y * (1 + 4 * w):(y + 1) * (1 + 4 * w)]
        if row[0] != 0:
            raise ValueError("row filter %d" % row[0])
        rows.append(row[1:])
    return w, h, rows, len(chunks[1][1])


def ico_images(path):
    """size -> RGBA rows (top first) of every image in the .ico."""
    data = open(path, "rb").read()
    (count,) = struct.unpack("<H", data[4:6])
    images = {}
    for i in range(count):
        size = data[6 + 16 * i]
        (offset,) = struct.unpack("<I", data[6 + 16 * i + 12:6 + 16 * i + 16])
        pixels = data[offset + 40:offset + 40 + size * size * 4]
        rows = []
        for y in range(size - 1, -1, -1):  # stored bottom-up, BGRA
            bgra = pixels[y * size * 4:(y + 1) * size * 4]
            rows.append(b"".join(bgra[x + 2:x + 3] + bgra[x + 1:x + 2] + bgra[x:x + 1] + bgra[x + 3:x + 4]
                                 for x in range(0, len(bgra), 4)))
        images[size] = rows
    return images


ico = os.path.join(work, "stivra.ico")
check(subprocess.run([tool, "ico", ico]).returncode == 0, "stivra-tool ico writes the icon file")
images = ico_images(ico)
pngs = {}
for size in (16, 24, 32, 48, 64, 128, 192, 256, 512):
    path = os.path.join(work, "stivra_%d.png" % size)
    if os.path.exists(path):
        os.remove(path)
    code = subprocess.run([tool, "png", str(size), path]).returncode
    try:
        w, h, rows, packed = read_png(path)
        pngs[size] = rows
        check(code == 0 and (w, h) == (size, size), "the %d PNG is read whole, %dx%d" % (size, w, h))
    except (OSError, ValueError, zlib.error) as e:
        check(False, "the %d PNG: exit %d, %s" % (size, code, e))
        continue
    raw = size * (1 + 4 * size)
    if packing == "deflated":
        check(packed * 4 < raw, "the %d PNG's image data is deflated: %d bytes for %d" % (size, packed, raw))
    else:
        check(packed > raw, "the %d PNG's image data is stored: %d bytes for %d" % (size, packed, raw))
    if size in images:
        check(rows == images[size], "the %d PNG has the pixels of the .ico's %d image" % (size, size))
if 128 in pngs and 256 in pngs:
    doubled = [b"".join(r[x:x + 4] * 2 for x in range(0, len(r), 4)) for r in pngs[128] for _ in (0, 1)]
    check(pngs[256] == doubled, "the 256 PNG is the 128 one with every pixel doubled")
if 256 in pngs and 512 in pngs:
    doubled = [b"".join(r[x:x + 4] * 2 for x in range(0, len(r), 4)) for r in pngs[256] for _ in (0, 1)]
    check(pngs[512] == doubled, "the 512 PNG (the page's app icon) is the 256 one with every pixel doubled")

for bad in ("0", "8", "100", "016", "16px", "1024", ""):
    path = os.path.join(work, "bad.png")
    run = subprocess.run([tool, "png", bad, path], capture_output=True, text=True)
    check(run.returncode == 2 and not os.path.exists(path) and run.stderr.startswith("usage: stivra-tool png SIZE"),
          "size %r is refused with exit 2, a usage line and no file" % bad)
run = subprocess.run([tool, "png", "32"], capture_output=True, text=True)
check(run.returncode == 2 and run.stderr.startswith("usage: stivra-tool png"), "a missing FILE is refused with exit 2")
for target in (os.path.join(work, "no-such-dir", "x.png"), "/dev/full"):
    run = subprocess.run([tool, "png", "256", target], capture_output=True, text=True)
    check(run.returncode == 1 and ("stivra-tool png: cannot write %s: " % target) in run.stderr,
          "%s gives exit 1 and a line naming it (%r)" % (target, run.stderr.strip()))

out = subprocess.run([tool, "--version"], capture_output=True, text=True)
check(out.returncode == 0 and out.stdout == "stivra-tool %s\n" % version,
      "--version prints %r (got %r)" % (version, out.stdout))
sys.exit(1 if failed else 0)
