// Writes signed 16-bit mono samples as a PCM WAV file, block by block, so a
// long recording needs no buffer of its own.
#pragma once
#include <cstdint>

#include "data/output_file.h"

struct WavFile {
    OutputFile out;
    uint32_t sample_count;
    bool failed;
};

// Creates the file and writes a header for an empty recording; false when
// the file cannot be created.
bool wav_open(WavFile& wav, const char* file_name, int32_t sample_rate);
// Appends samples; a failed write is remembered for wav_close.
void wav_write(WavFile& wav, const int16_t* samples, int32_t count);
// Fills in the sizes and closes the file. True only if every write
// succeeded; otherwise nothing is left behind (see output_file.h).
bool wav_close(WavFile& wav);
