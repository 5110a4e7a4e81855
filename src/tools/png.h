// Writes an RGBA image as a PNG file (8 bits a channel, rows unfiltered).
// The image data is deflated through zlib where the build has it
// (STIVRA_ZLIB); elsewhere (the Windows and Node.js builds of stivra-tool,
// whose PNGs ship nowhere or are packed again) it is stored uncompressed.
#pragma once
#include <cstdint>

// The largest image side the one stream buffer holds: the page's 512-pixel
// app icon.
constexpr int PNG_MAX_SIDE = 512;

// Returns 1 when the whole file was written, 0 when it could not be created,
// a write failed (nothing is left behind then; OutputError tells why), or
// the image is empty or larger than PNG_MAX_SIDE a side.
// `rgba` holds width*height pixels, row by row from the top.
int write_png(const char* file_name, const uint8_t* rgba, int width, int height);

