// libFuzzer target: the command-line splitter and the option parser, on a
// raw command line (as Windows hands it over) and on an argument vector (as
// a shell does, the bytes split at zeros).
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "platform/cmdline.h"

namespace {

void require(bool condition) {
    if (!condition) std::abort();
}

bool inside_buffer(const char* p) {
    return p >= ArgumentBuffer && p < ArgumentBuffer + ARGUMENT_BUFFER_SIZE;
}

void check_options(int count, char** arguments) {
    const ProgramOptions options = parse_options(count, arguments);
    require(options.action >= PROGRAM_GAME && options.action <= PROGRAM_DROPPED);
    if (options.action == PROGRAM_ICON) require(options.number >= 1 && options.number <= 8);
    if (options.action == PROGRAM_WORLD) require(options.number >= 1 && options.number <= 6);
    if (options.action == PROGRAM_AUTOPLAY || options.action == PROGRAM_RESUME) require(options.file != nullptr);
    // A file dropped on the program is its first argument; any other file
    // follows an option.
    if (options.action == PROGRAM_DROPPED) require(count > 1 && options.file == arguments[1]);
    bool file_is_an_argument = options.file == nullptr;
    for (int i = options.action == PROGRAM_DROPPED ? 1 : 2; i < count; ++i)
        file_is_an_argument |= options.file == arguments[i];
    require(file_is_an_argument);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);

    // The raw line ends at its first zero, as a C string does.
    copy_command_line(bytes.c_str());
    const size_t copied = std::strlen(ArgumentBuffer);
    require(copied <= ARGUMENT_BUFFER_SIZE - 1 && copied <= size);
    char* arguments[MAX_ARGUMENTS];
    const int count = split_command_line(arguments, MAX_ARGUMENTS);
    require(count >= 0 && count <= MAX_ARGUMENTS);
    for (int i = 0; i < count; ++i) {
        require(inside_buffer(arguments[i]));
        require(std::memchr(arguments[i], 0, ArgumentBuffer + ARGUMENT_BUFFER_SIZE - arguments[i]) != nullptr);
        if (i > 0) require(arguments[i] > arguments[i - 1]);
    }
    check_options(count, arguments);

    // The same bytes as an argument vector.
    std::vector<std::string> pieces(1);
    for (char c : bytes) {
        if (c == 0) pieces.emplace_back();
        else pieces.back() += c;
    }
    std::vector<char*> argv;
    for (std::string& p : pieces) argv.push_back(p.data());
    char* collected[MAX_ARGUMENTS];
    const int n = collect_arguments(static_cast<int>(argv.size()), argv.data(), collected, MAX_ARGUMENTS);
    require(n >= 0 && n <= MAX_ARGUMENTS && n <= static_cast<int>(argv.size()));
    size_t joined = 0;
    for (int i = 0; i < n; ++i) {
        require(inside_buffer(collected[i]));
        const size_t length = std::strlen(collected[i]);
        // Each argument is the start of the one it came from (cut at 511 characters).
        require(length <= pieces[i].size() && pieces[i].compare(0, length, collected[i]) == 0);
        joined += length + (i > 0 ? 1 : 0);
    }
    require(joined <= ARGUMENT_BUFFER_SIZE - 1);
    check_options(n, collected);
    return 0;
}
