#include "audio/wav.h"

#include <cerrno>
#include <cstring>

#include "data/little_endian.h"
#include "data/output_file.h"

namespace {

constexpr uint32_t WAV_HEADER_SIZE = 44;
// The RIFF size (36 + 2 bytes a sample) is 32-bit; more samples would wrap it.
constexpr uint32_t WAV_MAX_SAMPLES = (0xFFFFFFFFu - 36u) / 2u;

void fill_header(uint8_t* h, int32_t sample_rate, uint32_t sample_count) {
    const uint32_t data_size = sample_count * 2u;
    const uint32_t rate = static_cast<uint32_t>(sample_rate);
    std::memcpy(h, "RIFF", 4);
    put_u32(h + 4, 36u + data_size);
    std::memcpy(h + 8, "WAVEfmt ", 8);
    put_u32(h + 16, 16);         // format chunk size
    put_u16(h + 20, 1);          // PCM
    put_u16(h + 22, 1);          // mono
    put_u32(h + 24, rate);
    put_u32(h + 28, rate * 2u);  // bytes per second
    put_u16(h + 32, 2);          // block alignment
    put_u16(h + 34, 16);         // bits per sample
    std::memcpy(h + 36, "data", 4);
    put_u32(h + 40, data_size);
}

}  // namespace

bool wav_open(WavFile& wav, const char* file_name, int32_t sample_rate) {
    wav.sample_count = 0;
    wav.failed = false;
    wav.out.file = nullptr;
    if (!file_name || sample_rate <= 0) return false;
    if (!output_open(wav.out, file_name)) return false;
    // The sizes are filled in at the end; the rate is known now.
    uint8_t header[WAV_HEADER_SIZE] = {};
    fill_header(header, sample_rate, 0);
    wav.failed = !output_write(wav.out, header, sizeof header);
    return true;
}

void wav_write(WavFile& wav, const int16_t* samples, int32_t count) {
    if (!wav.out.file || wav.failed || count <= 0) return;
    if (static_cast<uint32_t>(count) > WAV_MAX_SAMPLES - wav.sample_count) {
        wav.failed = true;
        return;
    }
    uint8_t bytes[1024];
    int32_t done = 0;
    while (done < count && !wav.failed) {
        int32_t n = count - done;
        if (n > 512) n = 512;
        for (int32_t i = 0; i < n; ++i)
            put_u16(bytes + 2 * i, static_cast<uint16_t>(samples[done + i]));
        const size_t size = static_cast<size_t>(n) * 2;
        if (!output_write(wav.out, bytes, size)) wav.failed = true;
        done += n;
    }
    wav.sample_count += static_cast<uint32_t>(count);
}

bool wav_close(WavFile& wav) {
    if (!wav.out.file) return false;
    if (!wav.failed) {
        uint8_t sizes[4];
        put_u32(sizes, 36u + wav.sample_count * 2u);
        wav.failed = !(output_seek(wav.out, 4) && output_write(wav.out, sizes, 4));
        put_u32(sizes, wav.sample_count * 2u);
        wav.failed = wav.failed || !(output_seek(wav.out, 40) && output_write(wav.out, sizes, 4));
    }
    if (wav.failed && !wav.out.failed) {
        wav.out.failed = true;  // too long for the format's 32-bit sizes
        OutputError = EFBIG;
    }
    return output_close(wav.out) && !wav.failed;
}
