// Output files that appear whole or not at all: the data goes to a temporary
// file beside the target, which is renamed into place only when every byte
// was written. A failed write leaves no partial file behind, and an older file
// of the same name survives it.
#pragma once
#include <cstdint>
#include <cstdio>

// Longest target name written through a temporary file; longer names are
// refused (no system takes them as paths anyway).
constexpr int OUTPUT_NAME_MAX = 4096;

struct OutputFile {
    std::FILE* file;
    const char* target;
    bool through_temporary;  // else written in place (devices, symbolic links)
    bool failed;
    char temporary[OUTPUT_NAME_MAX + 16];
};

// The errno of the last failure of output_open, output_write or
// output_close (0 when the last file was written whole).
extern int OutputError;

// Opens the output for `target`. Devices (/dev/full, /dev/null), pipes and
// symbolic links are written in place; a regular or new file through a
// temporary one beside it, or in place when the folder takes no new file.
bool output_open(OutputFile& out, const char* target);
// Appends bytes; a failure is remembered for output_close.
bool output_write(OutputFile& out, const void* data, size_t size);
// Seeks within what was written (a header filled in at the end).
bool output_seek(OutputFile& out, long offset);
// Closes and, when everything was written, puts the file in place; on
// failure removes what was written. True only if the target is complete.
bool output_close(OutputFile& out);
