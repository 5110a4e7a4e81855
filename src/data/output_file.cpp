#include "data/output_file.h"

#include <cerrno>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <string>
#include <system_error>

int OutputError = 0;

namespace {

namespace fs = std::filesystem;

// The temporary file is made only where no file of its name is: a name
// someone else made (a link planted in a shared folder) is never written
// through. Windows' C library knows no "x"; the name is checked first there.
#ifdef _WIN32
const char* const NEW_FILE_MODE = "wb";
#else
const char* const NEW_FILE_MODE = "wbx";
#endif

constexpr int LINKS_FOLLOWED_MAX = 40;  // as many as Linux follows in a path
constexpr int NAME_TRIES = 16;

void fail(OutputFile& out) {
    if (!out.failed) OutputError = errno ? errno : EIO;
    out.failed = true;
}

bool is_separator(char c) {
#ifdef _WIN32
    return c == '/' || c == '\\' || c == ':';
#else
    return c == '/';
#endif
}

// The length of the folder part of `name`, its last separator included (0
// for a name in the current folder).
size_t folder_length(const char* name) {
    size_t length = std::strlen(name);
    while (length > 0 && !is_separator(name[length - 1])) --length;
    return length;
}

bool exists_as_anything(const char* name) {
    std::error_code error;
    return fs::symlink_status(name, error).type() != fs::file_type::not_found;
}

// 32 bits that differ from call to call and from process to process: the
// clock, where this process's data lies, and a count.
uint32_t name_bits() {
    static uint64_t count = 0;
    count += 1;
    uint64_t x = static_cast<uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
    x ^= static_cast<uint64_t>(reinterpret_cast<uintptr_t>(&count)) * 0x9E3779B97F4A7C15ull;
    x += count * 0xBF58476D1CE4E5B9ull;
    x ^= x >> 31;
    x *= 0x94D049BB133111EBull;
    x ^= x >> 29;
    return static_cast<uint32_t>(x ^ (x >> 32));
}

// The target, or the file its symbolic links lead to, into out.target.
// False with OutputError when the chain is too long or cannot be read.
bool follow_links(OutputFile& out, const char* target) {
    std::memcpy(out.target, target, std::strlen(target) + 1);
    fs::path path = target;
    for (int hop = 0;; ++hop) {
        std::error_code error;
        if (fs::symlink_status(path, error).type() != fs::file_type::symlink) break;
        if (hop == LINKS_FOLLOWED_MAX) {
            OutputError = ELOOP;
            return false;
        }
        const fs::path link = fs::read_symlink(path, error);
        if (error) {
            OutputError = error.value() ? error.value() : EIO;
            return false;
        }
        path = link.is_absolute() ? link : path.parent_path() / link;
        const std::string name = path.string();
        if (name.size() > OUTPUT_NAME_MAX) {
            OutputError = ENAMETOOLONG;
            return false;
        }
        std::memcpy(out.target, name.c_str(), name.size() + 1);
    }
    return true;
}

// Opens a temporary file of a free name in the target's folder.
bool open_temporary(OutputFile& out) {
    const size_t folder = folder_length(out.target);
    std::memcpy(out.temporary, out.target, folder);
    out.temporary[folder] = 0;
    for (int attempt = 0; attempt < NAME_TRIES; ++attempt) {
        output_free_name(out.temporary, out.temporary, sizeof out.temporary);
        errno = 0;
        out.file = std::fopen(out.temporary, NEW_FILE_MODE);
        if (out.file) return true;
        // Another file took the name in between: try another one. Anything
        // else is the folder's answer (no such folder, no right, no room).
        if (errno != EEXIST) break;
        out.temporary[folder] = 0;
    }
    OutputError = errno ? errno : EIO;
    return false;
}

// Puts the complete temporary file in place of the target. An older target
// is first renamed aside, then the new file renamed to its name, then the
// older one removed: a rename onto an existing file makes some file systems
// (ext4) write the new one out to the disk at once, which stalls the game
// for an F12 screenshot; Windows renames onto no existing file anyway. Until
// the new file is in place the older one is kept, and it is put back when
// the new one cannot take its name.
bool put_in_place(OutputFile& out) {
    errno = 0;
    std::error_code error;
    const fs::file_type type = fs::symlink_status(out.target, error).type();
    if (type == fs::file_type::not_found) return std::rename(out.temporary, out.target) == 0;
    if (type == fs::file_type::directory) {  // made there while the file was written
        errno = EISDIR;
        return false;
    }
    char aside[sizeof out.temporary];
    const size_t folder = folder_length(out.target);
    std::memcpy(aside, out.target, folder);
    aside[folder] = 0;
    output_free_name(aside, aside, sizeof aside);
    if (std::rename(out.target, aside) != 0) return false;
    if (std::rename(out.temporary, out.target) != 0) {
        const int saved = errno;
        std::rename(aside, out.target);
        errno = saved;
        return false;
    }
    if (std::remove(aside) != 0) {
        // Windows removes no read-only file.
        fs::permissions(aside, fs::perms::owner_write, fs::perm_options::add, error);
        std::remove(aside);
    }
    return true;
}

}  // namespace

bool output_free_name(const char* folder, char* out, size_t size) {
    const size_t length = std::strlen(folder);
    if (length + OUTPUT_TEMPORARY_NAME + 1 > size) return false;
    if (out != folder) std::memmove(out, folder, length);
    static const char Hex[] = "0123456789abcdef";
    for (int attempt = 0;; ++attempt) {
        char* p = out + length;
        std::memcpy(p, "stivra-", 7);
        const uint32_t bits = name_bits();
        for (int i = 0; i < 8; ++i) p[7 + i] = Hex[(bits >> (28 - 4 * i)) & 15];
        std::memcpy(p + 15, ".part~", 7);
        // A name that is taken is not reused; after a few tries the caller's
        // exclusive creation has the last word.
        if (attempt == NAME_TRIES || !exists_as_anything(out)) return true;
    }
}

bool output_open(OutputFile& out, const char* target) {
    out.file = nullptr;
    out.through_temporary = false;
    out.failed = false;
    out.target[0] = 0;
    out.temporary[0] = 0;
    OutputError = 0;
    if (!target || !*target) {
        OutputError = ENOENT;
        return false;
    }
    if (std::strlen(target) > OUTPUT_NAME_MAX) {
        OutputError = ENAMETOOLONG;
        return false;
    }
    if (!follow_links(out, target)) return false;

    std::error_code error;
    const fs::file_status status = fs::symlink_status(out.target, error);
    switch (status.type()) {
    case fs::file_type::directory:
        OutputError = EISDIR;
        return false;
    case fs::file_type::regular:
    case fs::file_type::not_found:
    case fs::file_type::none:  // cannot be asked about: the folder will say why
        if (!open_temporary(out)) return false;
        out.through_temporary = true;
#ifndef _WIN32
        // A file that is replaced keeps who may read and write it.
        if (status.type() == fs::file_type::regular)
            fs::permissions(out.temporary, status.permissions() & fs::perms::all, fs::perm_options::replace, error);
#endif
        return true;
    default:
        // A device or a pipe cannot be replaced: /dev/full stays a device.
        errno = 0;
        out.file = std::fopen(out.target, "wb");
        if (!out.file) {
            OutputError = errno ? errno : EIO;
            return false;
        }
        return true;
    }
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
        if (!out.failed && !put_in_place(out)) fail(out);
        if (out.failed) std::remove(out.temporary);
    }
    if (!out.failed) OutputError = 0;
    return !out.failed;
}

void output_discard(OutputFile& out) {
    if (!out.file) return;
    std::fclose(out.file);
    out.file = nullptr;
    if (out.through_temporary) std::remove(out.temporary);
}
