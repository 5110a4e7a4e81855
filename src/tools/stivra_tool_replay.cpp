// stivra-tool replay FILE [--frames DIR] [--trace] [--from N] [--to M]: a
// recorded run replayed headless from program initialisation; prints what it
// ended on as JSON. --from keeps frames and trace to passes N and later;
// --to ends the replay after pass M.
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "game/game_state.h"
#include "platform/bmp.h"
#include "platform/present.h"
#include "platform/replay.h"
#include "platform/state_fields.h"
#include "tools/stivra_tool.h"

namespace {

std::string decimal(uint64_t n, int min_digits = 1) {
    std::string s;
    do {
        s.insert(s.begin(), static_cast<char>('0' + n % 10));
        n /= 10;
    } while (n);
    while (static_cast<int>(s.size()) < min_digits) s.insert(s.begin(), '0');
    return s;
}

void json_string(std::string& out, const char* s, size_t size) {
    out += '"';
    for (size_t i = 0; i < size && s[i]; ++i) {
        const unsigned char c = static_cast<unsigned char>(s[i]);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c < 32) {
            static const char Hex[] = "0123456789abcdef";
            out += "\\u00";
            out += Hex[c >> 4];
            out += Hex[c & 15];
        } else {
            out += static_cast<char>(c);  // UTF-8 passes through
        }
    }
    out += '"';
}

// One GameState as one JSON object: fields by name, the NpcSlots as objects,
// taken flags as a string of 0 and 1, the FlowFields left out.
struct JsonTrace {
    std::string out;
    std::vector<bool> first{true};

    void key(const char* name) {
        if (!first.back()) out += ", ";
        first.back() = false;
        if (name) {
            json_string(out, name, std::strlen(name));
            out += ": ";
        }
    }
    void number(const char* name, int64_t v) {
        key(name);
        out += v < 0 ? "-" + decimal(static_cast<uint64_t>(-v)) : decimal(static_cast<uint64_t>(v));
    }
    void value(const char* name, int32_t v) { number(name, v); }
    void value(const char* name, uint32_t v) { number(name, v); }
    void values(const char* name, const int32_t* v, int n) {
        key(name);
        out += '[';
        for (int i = 0; i < n; ++i) {
            if (i) out += ", ";
            out += v[i] < 0 ? "-" + decimal(static_cast<uint64_t>(-int64_t(v[i]))) : decimal(static_cast<uint64_t>(v[i]));
        }
        out += ']';
    }
    void flags(const char* name, const int32_t* v, int n) {
        key(name);
        out += '"';
        for (int i = 0; i < n; ++i) out += v[i] ? '1' : '0';
        out += '"';
    }
    void items(const char* name, const ItemSlot* items, int n) {
        key(name);
        out += '"';
        for (int i = 0; i < n; ++i) out += items[i].taken ? '1' : '0';
        out += '"';
    }
    void text(const char* name, const char* buffer, int size) {
        key(name);
        json_string(out, buffer, static_cast<size_t>(size));
    }
    void text_pointer(const char* name, const char* p) {
        key(name);
        if (p) json_string(out, p, std::strlen(p));
        else out += "null";
    }
    void flow_fields(const char*, const int16_t*, int) {}
    void begin_list(const char* name) {
        key(name);
        out += '[';
        first.push_back(true);
    }
    void end_list() {
        out += ']';
        first.pop_back();
    }
    void begin_object() {
        key(nullptr);
        out += '{';
        first.push_back(true);
    }
    void end_object() {
        out += '}';
        first.pop_back();
    }
};

struct ReplayOptions {
    const char* frames_dir = nullptr;
    bool trace = false;
    uint64_t from = 1;         // the first pass that gets a frame and a trace line
    uint64_t to = UINT64_MAX;  // the last pass replayed
    std::string failed_frame;
};

bool after_pass(uint64_t pass, void* context) {
    ReplayOptions& options = *static_cast<ReplayOptions*>(context);
    if (pass < options.from) return true;
    if (options.trace) {
        JsonTrace trace;
        trace.out = "{";
        trace.number("pass", static_cast<int64_t>(pass));
        visit_game_state(trace, Game);
        trace.out += "}\n";
        std::fputs(trace.out.c_str(), stdout);
    }
    if (options.frames_dir) {
        const std::string name = std::string(options.frames_dir) + "/frame_" + decimal(pass, 6) + ".bmp";
        if (!write_bmp(name.c_str(), Framebuffer, SCREEN_W, SCREEN_H, 1)) {
            options.failed_frame = name;
            return false;
        }
    }
    return pass < options.to;
}

// The file, or as much of it as shows that it is larger than any record may
// be: a device such as /dev/zero is never read whole.
enum ReadResult { READ_GOOD, READ_FAILED, READ_TOO_LARGE };
ReadResult read_record_file(const char* name, std::vector<char>& data) {
    std::FILE* f = std::fopen(name, "rb");
    if (!f) return READ_FAILED;
    char chunk[65536];
    size_t n;
    while ((n = std::fread(chunk, 1, sizeof chunk, f)) > 0) {
        data.insert(data.end(), chunk, chunk + n);
        if (data.size() > REPLAY_MAX_BYTES) break;
    }
    const bool good = !std::ferror(f);
    std::fclose(f);
    if (data.size() > REPLAY_MAX_BYTES) return READ_TOO_LARGE;
    return good ? READ_GOOD : READ_FAILED;
}

// A pass number: decimal digits only, within 64 bits.
bool parse_pass_number(const char* text, uint64_t& n) {
    if (!*text) return false;
    n = 0;
    for (; *text; ++text) {
        if (*text < '0' || *text > '9') return false;
        const uint64_t digit = static_cast<uint64_t>(*text - '0');
        if (n > (UINT64_MAX - digit) / 10) return false;
        n = n * 10 + digit;
    }
    return true;
}

int replay_usage() {
    std::fprintf(stderr, "usage: stivra-tool replay FILE [--frames DIR] [--trace] [--from N] [--to M]\n");
    return 2;
}

}  // namespace

int tool_replay(int argc, char** argv) {
    ReplayOptions options;
    const char* file = nullptr;
    for (int i = 0; i < argc; ++i) {
        if (std::strcmp(argv[i], "--trace") == 0) {
            options.trace = true;
        } else if (std::strcmp(argv[i], "--frames") == 0) {
            if (i + 1 >= argc) return replay_usage();
            options.frames_dir = argv[++i];
        } else if (std::strcmp(argv[i], "--from") == 0 || std::strcmp(argv[i], "--to") == 0) {
            uint64_t n = 0;
            // Passes count from 1.
            if (i + 1 >= argc || !parse_pass_number(argv[i + 1], n) || n == 0) return replay_usage();
            (argv[i][2] == 'f' ? options.from : options.to) = n;
            i += 1;
        } else if (argv[i][0] == '-' && argv[i][1] == '-') {
            return replay_usage();
        } else if (!file) {
            file = argv[i];
        } else {
            return replay_usage();
        }
    }
    if (!file) return replay_usage();

    std::vector<char> data;
    char error[REPLAY_ERROR_SIZE];
    const ReadResult read = read_record_file(file, data);
    if (read == READ_FAILED) {
        std::fprintf(stderr, "stivra-tool: %s: cannot be read\n", file);
        return 2;
    }
    if (read == READ_TOO_LARGE) {
        replay_size_error(error);
        std::fprintf(stderr, "stivra-tool: %s: %s\n", file, error);
        return 2;
    }
    if (options.frames_dir) {
        std::error_code failed;
        std::filesystem::create_directories(options.frames_dir, failed);
        if (failed) {
            std::fprintf(stderr, "stivra-tool: %s: the folder for the frames cannot be made (%s)\n",
                         options.frames_dir, failed.message().c_str());
            return 1;
        }
    }
    ReplayResult result;
    const ReplayOutcome outcome = replay_text(data.data(), data.size(), result, error, after_pass, &options);
    if (outcome == REPLAY_BAD_TEXT) {
        std::fprintf(stderr, "stivra-tool: %s: %s\n", file, error);
        return 2;
    }
    if (outcome == REPLAY_STOPPED && !options.failed_frame.empty()) {
        std::fprintf(stderr, "stivra-tool: %s could not be written\n", options.failed_frame.c_str());
        return 1;
    }
    char hash[17];
    format_hash(result.hash, hash);
    std::printf("{\"seed\": %s, \"passes\": %s, \"ticks\": %s, \"mode\": %d, \"task\": %d, "
                "\"catches\": %d, \"quit\": %s, \"hash\": \"%s\"}\n",
                decimal(result.seed).c_str(), decimal(result.passes).c_str(), decimal(result.ticks).c_str(),
                result.mode, result.task, result.catches, result.quit ? "true" : "false", hash);
    return 0;
}
