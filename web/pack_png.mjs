// node pack_png.mjs IN.png OUT.png: the same PNG with its image data
// deflated. The game's own PNG writer stores its data uncompressed (its
// icons go into compressed packages); for the page, whose offline cache
// loads every file once, the 512-pixel app icon shrinks from a megabyte to
// a few kilobytes.
import { readFileSync, writeFileSync } from 'node:fs';
import { deflateSync, inflateSync } from 'node:zlib';

import { chunk } from './png_chunk.mjs';

const [input, output] = process.argv.slice(2);
const png = readFileSync(input);

const parts = [png.subarray(0, 8)];
const image = [];
for (let at = 8; at < png.length;) {
  const length = png.readUInt32BE(at);
  const type = png.toString('latin1', at + 4, at + 8);
  const data = png.subarray(at + 8, at + 8 + length);
  at += 12 + length;
  if (type === 'IDAT') {
    image.push(data);
    continue;
  }
  if (type === 'IEND') parts.push(chunk('IDAT', deflateSync(inflateSync(Buffer.concat(image)), { level: 9 })));
  parts.push(chunk(type, data));
}
writeFileSync(output, Buffer.concat(parts));
