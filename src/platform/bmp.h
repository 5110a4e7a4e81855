// Writes an image of Palette indices as an 8-bit BMP file, each pixel an
// S x S square.
#pragma once
#include <cstdint>

// Size of the one row buffer: W*S may not exceed it.
constexpr int BMP_ROW_BUFFER = 4096;

// Returns 1 when the whole file was written, 0 when it could not be created,
// a write failed, or the image does not fit the row buffer.
int write_bmp(const char* file_name, const uint8_t* pixels, int width, int height, int scale);
