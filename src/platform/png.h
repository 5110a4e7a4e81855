// Writes an RGBA image as a PNG file (8 bits a channel, no compression: the
// icons it is made for are small, and the packages that carry them are
// compressed as a whole).
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

// The checksums of the format, exposed for the tests.
uint32_t png_crc32(uint32_t crc, const uint8_t* bytes, uint32_t count);
uint32_t png_adler32(uint32_t adler, const uint8_t* bytes, uint32_t count);
