// Output files that appear whole or not at all: the data goes to a temporary
// file with a short name of its own in the target's folder, which is renamed
// into place only when every byte was written. A failed write leaves no
// partial file behind, and an older file of the same name survives it whole.
// When no temporary file can be made beside the target (a folder the user
// may not write to, a full disk, no inode left), nothing is written at all:
// the target is never written in place, since a failure would then leave
// neither the older file nor a whole new one.
//
// Devices (/dev/full, /dev/null) and pipes are written in place, as they
// cannot be replaced. A symbolic link is followed: the file it points to is
// replaced, and the link stays as it was.
#pragma once
#include <cstdint>
#include <cstdio>

// Longest target name written, a symbolic link followed; longer names are
// refused (no system takes them as paths anyway).
constexpr int OUTPUT_NAME_MAX = 4096;
// The temporary file's own name: "stivra-" 8 hex digits ".part~", short
// enough for any folder that takes a file at all.
constexpr int OUTPUT_TEMPORARY_NAME = 21;

struct OutputFile {
    std::FILE* file;
    bool through_temporary;  // else written in place (a device, a pipe)
    bool failed;
    char target[OUTPUT_NAME_MAX + 1];  // the file written, a link followed
    char temporary[OUTPUT_NAME_MAX + OUTPUT_TEMPORARY_NAME + 1];
};

// The errno of the last failure of output_open, output_write or
// output_close (0 when the last file was written whole).
extern int OutputError;

// Opens the output for `target`: a temporary file beside it, or the target
// itself when it is a device or a pipe. False, with OutputError, when
// neither can be made; the target is then as it was.
bool output_open(OutputFile& out, const char* target);
// Appends bytes; a failure is remembered for output_close.
bool output_write(OutputFile& out, const void* data, size_t size);
// Seeks within what was written (a header filled in at the end).
bool output_seek(OutputFile& out, long offset);
// Closes and, when everything was written, puts the file in place; on
// failure removes what was written. True only if the target is complete.
bool output_close(OutputFile& out);
// Closes and removes what was written, leaving the target as it was.
void output_discard(OutputFile& out);

// A name for a new file or folder of the caller's own in `folder` (a path
// ending in its separator, or empty for the current folder), of the form of
// the temporary files: "stivra-" 8 hex digits ".part~", one that does not
// exist yet. False when `folder` is too long for `out`.
bool output_free_name(const char* folder, char* out, size_t size);
