// node pack_png.mjs IN.png OUT.png: the same PNG with its image data
// deflated. The game's own PNG writer stores its data uncompressed (its
// icons go into compressed packages); for the page, whose offline cache
// loads every file once, the 512-pixel app icon shrinks from a megabyte to
// a few kilobytes.
import { readFileSync, writeFileSync } from 'node:fs';
import { deflateSync, inflateSync } from 'node:zlib';

const [input, output] = process.argv.slice(2);
const png = readFileSync(input);
const CRC_TABLE = Array.from({ length: 256 }, (_, n) => {
  let c = n;
  for (let k = 0; k < 8; ++k) c = c & 1 ? 0xedb88320 ^ (c >>> 1) : c >>> 1;
  return c >>> 0;
});
const crc32 = (bytes) => {
  let c = 0xffffffff;
  for (const b of bytes) c = CRC_TABLE[(c ^ b) & 0xff] ^ (c >>> 8);
  return (c ^ 0xffffffff) >>> 0;
};
const chunk = (type, data) => {
  const out = Buffer.alloc(12 + data.length);
  out.writeUInt32BE(data.length, 0);
  out.write(type, 4, 'latin1');
  data.copy(out, 8);
  out.writeUInt32BE(crc32(out.subarray(4, 8 + data.length)), 8 + data.length);
  return out;
};

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
