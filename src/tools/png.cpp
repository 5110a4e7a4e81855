#include "tools/png.h"

#include <cerrno>
#include <cstring>

#include "data/output_file.h"

#ifndef STIVRA_ZLIB
#define STIVRA_ZLIB 0
#endif
#if STIVRA_ZLIB
#include <zlib.h>
#endif

namespace {

constexpr uint32_t ROW_BYTES = 1 + PNG_MAX_SIDE * 4;  // filter byte, then the pixels
constexpr uint32_t RAW_BYTES = ROW_BYTES * PNG_MAX_SIDE;
constexpr uint32_t STORED_BLOCK = 65535;  // the most one stored deflate block holds
// zlib header, one 5-byte header per stored block, the pixel rows, Adler-32;
// with room to spare for zlib's worst case (compressBound: the rows and a
// few bytes per 4 KiB), which deflate reaches only on data that does not
// compress.
constexpr uint32_t STORED_BYTES = 2 + 5 * ((RAW_BYTES + STORED_BLOCK - 1) / STORED_BLOCK) + RAW_BYTES + 4;
constexpr uint32_t STREAM_BYTES = STORED_BYTES + RAW_BYTES / 1024 + 64;

uint8_t PngRaw[RAW_BYTES];
uint8_t PngStream[STREAM_BYTES];

void put_u32_be(uint8_t* p, uint32_t v) {
    p[0] = static_cast<uint8_t>(v >> 24);
    p[1] = static_cast<uint8_t>(v >> 16);
    p[2] = static_cast<uint8_t>(v >> 8);
    p[3] = static_cast<uint8_t>(v);
}

uint32_t png_crc32(uint32_t crc, const uint8_t* bytes, uint32_t count) {
    crc = ~crc;
    for (uint32_t i = 0; i < count; ++i) {
        crc ^= bytes[i];
        for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

uint32_t png_adler32(uint32_t adler, const uint8_t* bytes, uint32_t count) {
    uint32_t a = adler & 0xFFFFu;
    uint32_t b = adler >> 16;
    for (uint32_t i = 0; i < count; ++i) {
        a = (a + bytes[i]) % 65521u;
        b = (b + a) % 65521u;
    }
    return (b << 16) | a;
}

// One chunk: length, type, data, and the CRC over type and data.
bool write_chunk(OutputFile& file, const char* type, const uint8_t* data, uint32_t length) {
    uint8_t head[8];
    put_u32_be(head, length);
    std::memcpy(head + 4, type, 4);
    uint32_t crc = png_crc32(0, head + 4, 4);
    crc = png_crc32(crc, data, length);
    uint8_t tail[4];
    put_u32_be(tail, crc);
    return output_write(file, head, 8) && (length == 0 || output_write(file, data, length)) &&
           output_write(file, tail, 4);
}

// The first `raw` bytes of PngRaw into PngStream as a zlib stream of stored
// blocks; returns its length. Always possible.
uint32_t store_rows(uint32_t raw) {
    uint32_t n = 0;
    PngStream[n++] = 0x78;  // deflate, 32 KB window
    PngStream[n++] = 0x01;  // no preset dictionary; (0x7801 % 31) == 0
    for (uint32_t done = 0; done < raw;) {
        const uint32_t len = raw - done < STORED_BLOCK ? raw - done : STORED_BLOCK;
        PngStream[n++] = done + len == raw ? 1 : 0;  // last block?, type 0 (stored)
        PngStream[n++] = static_cast<uint8_t>(len);
        PngStream[n++] = static_cast<uint8_t>(len >> 8);
        PngStream[n++] = static_cast<uint8_t>(~len);
        PngStream[n++] = static_cast<uint8_t>(~len >> 8);
        std::memcpy(PngStream + n, PngRaw + done, len);
        n += len;
        done += len;
    }
    put_u32_be(PngStream + n, png_adler32(1, PngRaw, raw));
    return n + 4;
}

// The same rows deflated by zlib at its best level (the same bytes on every
// run with one zlib); 0 when zlib is not built in or fails, and the rows are
// then stored.
uint32_t deflate_rows(uint32_t raw) {
#if STIVRA_ZLIB
    uLongf n = sizeof PngStream;
    if (compress2(PngStream, &n, PngRaw, raw, Z_BEST_COMPRESSION) == Z_OK) return static_cast<uint32_t>(n);
#else
    (void)raw;
#endif
    return 0;
}

}  // namespace

int write_png(const char* file_name, const uint8_t* rgba, int width, int height) {
    OutputError = EINVAL;
    if (!file_name || !rgba || width < 1 || height < 1 || width > PNG_MAX_SIDE ||
        height > PNG_MAX_SIDE)
        return 0;
    const uint32_t w = static_cast<uint32_t>(width);
    const uint32_t h = static_cast<uint32_t>(height);
    const uint32_t row = 1 + 4 * w;
    const uint32_t raw = row * h;
    for (uint32_t y = 0; y < h; ++y) {
        PngRaw[y * row] = 0;  // filter: none
        std::memcpy(PngRaw + y * row + 1, rgba + y * 4 * w, 4 * w);
    }
    uint32_t n = deflate_rows(raw);
    if (n == 0) n = store_rows(raw);

    uint8_t header[13] = {};
    put_u32_be(header, w);
    put_u32_be(header + 4, h);
    header[8] = 8;  // bits per channel
    header[9] = 6;  // RGBA; compression, filter and interlace stay 0
    static const uint8_t Signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

    // Whole or not at all: a failed write leaves no partial file behind.
    OutputFile file;
    if (!output_open(file, file_name)) return 0;
    bool ok = output_write(file, Signature, 8) && write_chunk(file, "IHDR", header, 13) &&
              write_chunk(file, "IDAT", PngStream, n) && write_chunk(file, "IEND", nullptr, 0);
    if (!output_close(file)) ok = false;
    return ok ? 1 : 0;
}
