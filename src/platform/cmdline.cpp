#include "platform/cmdline.h"

#include <cstring>


char ArgumentBuffer[ARGUMENT_BUFFER_SIZE];
uint32_t CommandLineCut = 0;
uint32_t CommandLineAsksForTool = 0;

namespace {

// The next argument of a line, left unchanged: its start and length, or
// nullptr at the end. Quotes group, with no escapes.
const char* scan_argument(const char** cursor, int* length) {
    const char* p = *cursor;
    while (*p == ' ' || *p == '\t') ++p;
    if (*p == 0) {
        *cursor = p;
        return nullptr;
    }
    const char* start;
    if (*p == '"') {
        start = ++p;
        while (*p && *p != '"') ++p;
    } else {
        start = p;
        while (*p && *p != ' ' && *p != '\t') ++p;
    }
    *length = static_cast<int>(p - start);
    if (*p) ++p;
    *cursor = p;
    return start;
}

const char* const ToolOptions[] = {"-shot", "-icon", "-world", "-autoplay"};

bool names_a_tool(const char* word, int length) {
    if (!word) return false;
    for (const char* tool : ToolOptions)
        if (static_cast<int>(std::strlen(tool)) == length && std::strncmp(word, tool, length) == 0)
            return true;
    return false;
}

}  // namespace

void copy_command_line(const char* line) {
    int n = 0;
    if (line)
        while (n < ARGUMENT_BUFFER_SIZE - 1 && line[n]) {
            ArgumentBuffer[n] = line[n];
            ++n;
        }
    ArgumentBuffer[n] = 0;
    CommandLineCut = line && line[n] ? 1 : 0;
    // The option as given, read from the whole line: the cut may have
    // removed it, when the program's own path is long.
    CommandLineAsksForTool = 0;
    if (line) {
        const char* cursor = line;
        int length = 0;
        if (scan_argument(&cursor, &length)) {
            const char* option = scan_argument(&cursor, &length);
            CommandLineAsksForTool = option && names_a_tool(option, length) ? 1 : 0;
        }
    }
}

char* split_argument(char** cursor) {
    const char* p = *cursor;
    int length = 0;
    const char* start = scan_argument(&p, &length);
    char* const line = *cursor;
    *cursor = line + (p - line);
    if (!start) return nullptr;
    char* argument = line + (start - line);
    argument[length] = 0;  // the separator or closing quote, or already the end
    return argument;
}

int split_command_line(char** arguments, int max_arguments) {
    char* cursor = ArgumentBuffer;
    int count = 0;
    while (count < max_arguments) {
        char* a = split_argument(&cursor);
        if (!a) break;
        arguments[count++] = a;
    }
    return count;
}

int collect_arguments(int argc, char** argv, char** arguments, int max_arguments) {
    // The buffer holds the joined line with each separating space as a zero.
    int used = 0, count = 0;
    CommandLineCut = 0;
    CommandLineAsksForTool =
        argc > 1 && argv[1] && names_a_tool(argv[1], static_cast<int>(std::strlen(argv[1]))) ? 1 : 0;
    for (int i = 0; i < argc && count < max_arguments; ++i) {
        if (i > 0) {
            if (used >= ARGUMENT_BUFFER_SIZE - 1) {
                CommandLineCut = 1;
                break;
            }
            ArgumentBuffer[used++] = 0;  // the separating space
            if (used >= ARGUMENT_BUFFER_SIZE - 1) {
                CommandLineCut = 1;
                break;
            }
        }
        char* start = ArgumentBuffer + used;
        const char* s = argv[i] ? argv[i] : "";
        while (*s && used < ARGUMENT_BUFFER_SIZE - 1) ArgumentBuffer[used++] = *s++;
        if (*s) CommandLineCut = 1;
        ArgumentBuffer[used] = 0;
        arguments[count++] = start;
        if (CommandLineCut) break;
    }
    if (count == max_arguments && count < argc) CommandLineCut = 1;
    ArgumentBuffer[used] = 0;
    return count;
}

int32_t parse_decimal(const char* text) {
    if (!text) return 0;
    uint32_t value = 0;
    for (const char* p = text; *p >= '0' && *p <= '9'; ++p)
        value = value * 10u + static_cast<uint32_t>(*p - '0');
    return static_cast<int32_t>(value);
}

ProgramOptions parse_options(int count, char** arguments) {
    int next = 1;  // arguments[0] is the program's own name
    auto take = [&]() -> const char* { return next < count ? arguments[next++] : nullptr; };
    ProgramOptions options{PROGRAM_GAME, 0, nullptr};
    const char* option = take();
    if (!option) return options;
    if (std::strcmp(option, "-shot") == 0) {
        options.action = PROGRAM_SHOT;
        options.number = parse_decimal(take());
        options.file = take();
    } else if (std::strcmp(option, "-icon") == 0) {
        options.action = PROGRAM_ICON;
        options.number = parse_decimal(take());
        options.file = take();
        if (options.number < 1 || options.number > 8) options.number = 1;
    } else if (std::strcmp(option, "-world") == 0) {
        options.action = PROGRAM_WORLD;
        options.number = parse_decimal(take());
        options.file = take();
        if (options.number < 1 || options.number > 6) options.number = 4;
    } else if (std::strcmp(option, "-autoplay") == 0) {
        options.file = take();
        if (options.file) options.action = PROGRAM_AUTOPLAY;
    } else if (std::strcmp(option, "-resume") == 0) {
        options.file = take();
        if (options.file) options.action = PROGRAM_RESUME;
    } else if (option[0] != '-' && option[0] != 0) {
        options.action = PROGRAM_DROPPED;
        options.file = option;
    }
    return options;
}
