// node home_icon.mjs IN.png SIZE OUT.png: the icon IN (a PNG of the game's
// own writer: 8-bit RGBA, rows unfiltered) centred on an opaque square of
// SIZE pixels in the page's background colour, written deflated.
//
// A phone's home screen wants such a picture: iOS fills transparent pixels
// with black and rounds the corners off (its icon is 180x180), and Android
// cuts a "maskable" icon to a circle or a rounded square, so the face must
// keep clear of the edges. The icon's pixels stay whole: IN is one of the
// game's whole scales, never resampled.
import { readFileSync, writeFileSync } from 'node:fs';
import { deflateSync, inflateSync } from 'node:zlib';

import { chunk } from './png_chunk.mjs';

const BACKGROUND = [0x14, 0x10, 0x1c];  // the page's #14101c

function fail(message) {
  console.error(`home_icon.mjs: ${message}`);
  process.exit(1);
}

const [input, sizeText, output] = process.argv.slice(2);
if (!input || !output || !/^[1-9][0-9]{0,3}$/.test(sizeText || '')) {
  console.error('usage: node home_icon.mjs IN.png SIZE OUT.png');
  process.exit(2);
}
const size = Number(sizeText);


// The icon's pixels.
const png = readFileSync(input);
if (png.length < 33 || png.toString('latin1', 1, 4) !== 'PNG' || png.toString('latin1', 12, 16) !== 'IHDR') fail(`${input} is no PNG`);
const width = png.readUInt32BE(16), height = png.readUInt32BE(20);
if (png[24] !== 8 || png[25] !== 6 || png[28] !== 0) fail(`${input} is not 8-bit RGBA without interlace`);
if (width > size || height > size) fail(`${input} (${width}x${height}) is larger than ${size}x${size}`);
const image = [];
for (let at = 8; at + 12 <= png.length;) {
  const length = png.readUInt32BE(at);
  const type = png.toString('latin1', at + 4, at + 8);
  if (type === 'IDAT') image.push(png.subarray(at + 8, at + 8 + length));
  at += 12 + length;
}
const raw = inflateSync(Buffer.concat(image));
const row = 1 + width * 4;
if (raw.length !== row * height) fail(`${input} has ${raw.length} bytes of image data, not ${row * height}`);

// Centred on the background; the icon's pixels are opaque or transparent.
const outRow = 1 + size * 4;
const out = Buffer.alloc(outRow * size);
const left = Math.floor((size - width) / 2), top = Math.floor((size - height) / 2);
for (let y = 0; y < size; ++y) {
  out[y * outRow] = 0;  // filter: none
  for (let x = 0; x < size; ++x) {
    const o = y * outRow + 1 + x * 4;
    const ix = x - left, iy = y - top;
    const inside = ix >= 0 && ix < width && iy >= 0 && iy < height;
    if (inside && raw[iy * row] !== 0) fail(`${input} has filtered rows`);
    const i = inside ? iy * row + 1 + ix * 4 : -1;
    const alpha = inside ? raw[i + 3] / 255 : 0;
    for (let c = 0; c < 3; ++c) out[o + c] = Math.round(alpha * (inside ? raw[i + c] : 0) + (1 - alpha) * BACKGROUND[c]);
    out[o + 3] = 255;
  }
}

const header = Buffer.alloc(13);
header.writeUInt32BE(size, 0);
header.writeUInt32BE(size, 4);
header[8] = 8;  // bits per channel
header[9] = 6;  // RGBA
writeFileSync(output, Buffer.concat([
  Buffer.from([0x89, 0x50, 0x4e, 0x47, 0x0d, 0x0a, 0x1a, 0x0a]),
  chunk('IHDR', header),
  chunk('IDAT', deflateSync(out, { level: 9 })),
  chunk('IEND', Buffer.alloc(0)),
]));
