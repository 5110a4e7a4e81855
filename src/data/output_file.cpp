#include "data/output_file.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

int OutputError = 0;

namespace {

void fail(OutputFile& out) {
    if (!out.failed) OutputError = errno ? errno : EIO;
    out.failed = true;
}

// Only a regular file, or none, is replaced by renaming: /dev/full must stay
// a device, and a link keeps pointing where it pointed.
bool replaceable(const char* target) {
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::symlink_status(target, error);
    if (error) return true;  // nothing there yet (or nothing we can ask about)
    return status.type() == std::filesystem::file_type::regular ||
           status.type() == std::filesystem::file_type::not_found;
}

}  // namespace

bool output_open(OutputFile& out, const char* target) {
    out.file = nullptr;
    out.target = target;
    out.through_temporary = false;
    out.failed = false;
    out.temporary[0] = 0;
    OutputError = 0;
    if (!target || !*target) {
        OutputError = ENOENT;
        return false;
    }
    const size_t length = std::strlen(target);
    if (length > OUTPUT_NAME_MAX) {
        OutputError = ENAMETOOLONG;
        return false;
    }
    if (replaceable(target)) {
        std::memcpy(out.temporary, target, length);
        std::memcpy(out.temporary + length, ".part~", 7);
        out.file = std::fopen(out.temporary, "wb");
        out.through_temporary = out.file != nullptr;
    }
    // A folder that takes no new file may still hold a writable target, and a
    // name at the length limit has no room for the suffix.
    if (!out.file) out.file = std::fopen(target, "wb");
    if (!out.file) {
        OutputError = errno ? errno : EIO;
        return false;
    }
    return true;
}

bool output_write(OutputFile& out, const void* data, size_t size) {
    if (!out.file || out.failed) return false;
    errno = 0;
    if (size > 0 && std::fwrite(data, 1, size, out.file) != size) fail(out);
    return !out.failed;
}

bool output_seek(OutputFile& out, long offset) {
    if (!out.file || out.failed) return false;
    errno = 0;
    if (std::fseek(out.file, offset, SEEK_SET) != 0) fail(out);
    return !out.failed;
}

bool output_close(OutputFile& out) {
    if (!out.file) return false;
    errno = 0;
    // A full disk often shows only when the buffer is flushed.
    if (std::fclose(out.file) != 0) fail(out);
    out.file = nullptr;
    if (out.through_temporary) {
        // The older file goes first: a rename onto an existing file makes
        // some file systems (ext4) write the new one out to the disk at once,
        // which stalls the game for an F12 screenshot; Windows renames onto
        // no existing file anyway.
        if (!out.failed) {
            std::remove(out.target);
            errno = 0;
            if (std::rename(out.temporary, out.target) != 0) fail(out);
        }
        if (out.failed) std::remove(out.temporary);
    } else if (out.failed && replaceable(out.target)) {
        std::remove(out.target);
    }
    if (!out.failed) OutputError = 0;
    return !out.failed;
}
