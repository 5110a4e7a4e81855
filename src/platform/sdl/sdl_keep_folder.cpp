// The folder for kept runs on Linux and other POSIX systems, by the XDG base
// directory rules: $XDG_STATE_HOME when it is an absolute path, else
// ~/.local/state; each missing folder on the way is made, private to the user.
#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/platform.h"

namespace {

bool make_folders(char* path) {
    // Every prefix that ends before a '/', then the whole path.
    for (char* p = path + 1; *p; ++p) {
        if (*p != '/') continue;
        *p = 0;
        const bool made = mkdir(path, 0700) == 0 || errno == EEXIST;
        *p = '/';
        if (!made) return false;
    }
    struct stat info;
    return stat(path, &info) == 0 && S_ISDIR(info.st_mode);
}

}  // namespace

bool platform_keep_folder(char* out, int size) {
    out[0] = 0;
    const char* state = std::getenv("XDG_STATE_HOME");
    const char* home = std::getenv("HOME");
    int n;
    if (state && state[0] == '/')
        n = std::snprintf(out, static_cast<size_t>(size), "%s/st-ivra-schule/", state);
    else if (home && home[0] == '/')
        n = std::snprintf(out, static_cast<size_t>(size), "%s/.local/state/st-ivra-schule/", home);
    else
        return false;
    if (n < 0 || n >= size) {
        out[0] = 0;
        return false;
    }
    return make_folders(out);
}
