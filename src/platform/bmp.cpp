#include "platform/bmp.h"

#include <cstdio>
#include <cstring>

#include "data/little_endian.h"
#include "platform/present.h"

namespace {

uint8_t BmpRowBuffer[BMP_ROW_BUFFER];

}  // namespace

int write_bmp(const char* file_name, const uint8_t* pixels, int width, int height, int scale) {
    if (!file_name || !pixels || width < 0 || height < 0 || scale < 1) return 0;
    // Refuse what the row buffer cannot hold instead of overrunning it.
    if (static_cast<int64_t>(width) * scale > BMP_ROW_BUFFER) return 0;
    const uint32_t row_len = static_cast<uint32_t>(width * scale);
    const uint32_t stride = (row_len + 3u) & ~3u;
    const int64_t out_h = static_cast<int64_t>(height) * scale;
    const int64_t data_size = static_cast<int64_t>(stride) * out_h;
    if (data_size + 118 > 0xFFFFFFFFll) return 0;

    uint8_t header[118] = {};
    header[0] = 'B';
    header[1] = 'M';
    put_u32(header + 2, static_cast<uint32_t>(data_size + 118));
    put_u32(header + 10, 118);
    put_u32(header + 14, 40);
    put_u32(header + 18, row_len);
    put_u32(header + 22, static_cast<uint32_t>(out_h));
    put_u16(header + 26, 1);
    put_u16(header + 28, 8);
    put_u32(header + 46, 16);
    for (int i = 0; i < 16; ++i) {
        header[54 + 4 * i + 0] = Palette[i][2];
        header[54 + 4 * i + 1] = Palette[i][1];
        header[54 + 4 * i + 2] = Palette[i][0];
    }

    std::FILE* file = std::fopen(file_name, "wb");
    if (!file) return 0;
    bool ok = std::fwrite(header, 1, sizeof header, file) == sizeof header;
    for (int64_t r = out_h - 1; ok && r >= 0; --r) {
        std::memset(BmpRowBuffer, 0, stride);
        const uint8_t* src = pixels + (r / scale) * width;
        for (uint32_t x = 0; x < row_len; ++x) BmpRowBuffer[x] = src[x / scale];
        ok = std::fwrite(BmpRowBuffer, 1, stride, file) == stride;
    }
    // A file that could not be completed is a failure, not a screenshot.
    if (std::fclose(file) != 0) ok = false;
    return ok ? 1 : 0;
}
