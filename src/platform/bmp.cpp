#include "platform/bmp.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "data/little_endian.h"
#include "data/output_file.h"
#include "platform/present.h"

namespace {

uint8_t BmpRowBuffer[BMP_ROW_BUFFER];

}  // namespace

int write_bmp(const char* file_name, const uint8_t* pixels, int width, int height, int scale) {
    OutputError = EINVAL;
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

    OutputFile file;
    if (!output_open(file, file_name)) return 0;
    bool ok = output_write(file, header, sizeof header);
    // Each source row is enlarged once and written `scale` times (F12 writes
    // from inside the main loop).
    int64_t enlarged = -1;
    for (int64_t r = out_h - 1; ok && r >= 0; --r) {
        if (r / scale != enlarged) {
            enlarged = r / scale;
            std::memset(BmpRowBuffer + row_len, 0, stride - row_len);
            const uint8_t* src = pixels + enlarged * width;
            uint8_t* out = BmpRowBuffer;
            for (int x = 0; x < width; ++x)
                for (int k = 0; k < scale; ++k) *out++ = src[x];
        }
        ok = output_write(file, BmpRowBuffer, stride);
    }
    // A file that could not be completed is a failure, not a screenshot, and
    // is not left behind.
    if (!output_close(file)) ok = false;
    return ok ? 1 : 0;
}
