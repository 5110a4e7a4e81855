// stivra-tool replay FILE [--frames DIR] [--trace] [--from N] [--to M]
//                         [--check] [--pass-hashes OUT]: a recorded run
// replayed headless from program initialisation; prints what it ended on as
// JSON, its chains included. --from keeps frames and trace to passes N and
// later; --to ends the replay after pass M.
//
// --check compares the end and the chains with the record's closing line
// (exit 1 when they differ) and then names the first pass that differs,
// from the pass hashes stored beside the record (FILE's name with .hashes
// for .txt), which --pass-hashes OUT writes.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

// A pipe is read without ever waiting on it for good, which needs the
// system's own calls; elsewhere (Windows, Node.js) records come from files.
#if !defined(_WIN32) && !defined(__EMSCRIPTEN__)
#define STIVRA_READ_PIPES 1
#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include "data/output_file.h"
#include "data/text_reader.h"
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

namespace fs = std::filesystem;

// The frames of --frames DIR appear whole or not at all: they are written
// into a folder of this replay's own inside DIR and moved into DIR only when
// every one was written. A replay that fails leaves DIR as it was, and
// removes it, and the folders above it, when it made them.
struct FrameFolder {
    std::string dir;                // DIR as given and a separator, for the messages
    fs::path path;                  // DIR
    fs::path work;                  // the frames until they are all there
    std::vector<fs::path> made;     // the folders this replay made, the innermost first
    std::vector<std::string> names;  // the frames written so far
};

struct ReplayOptions {
    const char* frames_dir = nullptr;
    bool trace = false;
    bool keep_hashes = false;         // --check or --pass-hashes
    std::vector<PassHashes> hashes;   // of every pass, when kept
    uint64_t from = 1;         // the first pass that gets a frame and a trace line
    uint64_t to = UINT64_MAX;  // the last pass replayed
    FrameFolder frames;
    std::string failed_frame;  // the frame that could not be written, as DIR/NAME
    int failed_error = 0;
};

void frames_undo(FrameFolder& f) {
    std::error_code error;
    if (!f.work.empty()) fs::remove_all(f.work, error);
    // Only what is empty goes: a folder someone else put a file into stays.
    for (const fs::path& folder : f.made) fs::remove(folder, error);
}

// Makes DIR where it is missing and the work folder inside it; false with
// the reason in `why`.
bool frames_prepare(FrameFolder& f, const char* dir, std::string& why) {
    f.dir = dir;
#ifdef _WIN32
    if (f.dir.empty() || (f.dir.back() != '/' && f.dir.back() != '\\')) f.dir += '\\';
#else
    if (f.dir.empty() || f.dir.back() != '/') f.dir += '/';
#endif
    f.path = fs::path(dir).lexically_normal();
    if (!f.path.has_filename() && f.path.has_parent_path()) f.path = f.path.parent_path();
    for (fs::path p = f.path; !p.empty(); p = p.parent_path()) {
        std::error_code missing;
        if (fs::symlink_status(p, missing).type() != fs::file_type::not_found) break;
        f.made.push_back(p);
        if (p == p.parent_path()) break;
    }
    std::error_code error;
    if (f.path.empty()) error = std::make_error_code(std::errc::no_such_file_or_directory);
    else fs::create_directories(f.path, error);
    if (!error && !fs::is_directory(f.path, error) && !error) error = std::make_error_code(std::errc::not_a_directory);
    std::string folder = f.path.string();
    if (!error) {
        folder += '/';
        std::vector<char> name(folder.size() + OUTPUT_TEMPORARY_NAME + 1);
        bool created = false;
        for (int attempt = 0; attempt < 16 && !created && !error; ++attempt) {
            output_free_name(folder.c_str(), name.data(), name.size());
            created = fs::create_directory(name.data(), error);
        }
        if (created) f.work = name.data();
        else if (!error) error = std::make_error_code(std::errc::file_exists);
    }
    if (error) {
        why = error.message();
        frames_undo(f);
        return false;
    }
    return true;
}

// Moves every frame into DIR; false with the frame and the reason in
// options when one cannot be moved.
bool frames_finish(ReplayOptions& options) {
    FrameFolder& f = options.frames;
    for (const std::string& name : f.names) {
        std::error_code error;
        fs::rename(f.work / name, f.path / name, error);
        if (error) {
            options.failed_frame = f.dir + name;
            options.failed_error = error.value();
            return false;
        }
    }
    std::error_code error;
    fs::remove(f.work, error);
    return true;
}

// The pass hashes file: its first line names the chains of the run it was
// written from, then one line a pass with the low 16 bits of the pass's
// GameState hash and of its frame's hash: enough to find the first pass that
// differs, at a tenth of a record's size per pass.
constexpr char PASS_HASHES_HEAD[] = "stivra-pass-hashes 1 states ";
constexpr size_t PASS_HASH_LINE = 10;  // "ssss ffff\n"

void hex16(uint64_t v, char* out) {
    static const char Hex[] = "0123456789abcdef";
    for (int i = 0; i < 4; ++i) out[i] = Hex[(v >> (12 - 4 * i)) & 15];
}

std::string pass_hashes_text(const RunChains& chains, const std::vector<PassHashes>& hashes) {
    char hex[17];
    std::string text = PASS_HASHES_HEAD;
    format_hash(chains.states, hex);
    text += hex;
    text += " frames ";
    format_hash(chains.frames, hex);
    text += hex;
    text += '\n';
    text.reserve(text.size() + hashes.size() * PASS_HASH_LINE);
    char line[PASS_HASH_LINE] = {0, 0, 0, 0, ' ', 0, 0, 0, 0, '\n'};
    for (const PassHashes& h : hashes) {
        hex16(h.state, line);
        hex16(h.frame, line + 5);
        text.append(line, PASS_HASH_LINE);
    }
    return text;
}

// The file beside a record that holds its pass hashes.
std::string pass_hashes_name(const char* record) {
    std::string name = record;
    const size_t n = name.size();
    if (n > 4 && name.compare(n - 4, 4, ".txt") == 0) name.resize(n - 4);
    return name + ".hashes";
}

bool after_pass(uint64_t pass, const PassHashes& hashes, void* context) {
    ReplayOptions& options = *static_cast<ReplayOptions*>(context);
    if (options.keep_hashes) options.hashes.push_back(hashes);
    if (pass < options.from) return pass < options.to;
    if (options.trace) {
        JsonTrace trace;
        trace.out = "{";
        trace.number("pass", static_cast<int64_t>(pass));
        visit_game_state(trace, Game);
        trace.out += "}\n";
        std::fputs(trace.out.c_str(), stdout);
    }
    if (options.frames_dir) {
        const std::string name = "frame_" + decimal(pass, 6) + ".bmp";
        if (!write_bmp((options.frames.work / name).string().c_str(), Framebuffer, SCREEN_W, SCREEN_H, 1)) {
            options.failed_frame = options.frames.dir + name;
            options.failed_error = OutputError;
            return false;
        }
        options.frames.names.push_back(name);
    }
    return pass < options.to;
}

// The file, or as much of it as shows that it is larger than any record may
// be. Only a file or a pipe is read: a device such as /dev/zero or a
// terminal, a folder or a socket is refused before it is read, and a pipe
// that stays silent for PIPE_SILENCE_MS (a FIFO whose writer never comes or
// never closes) is refused then.
constexpr int PIPE_SILENCE_MS = 10000;
enum ReadResult { READ_GOOD, READ_FAILED, READ_TOO_LARGE, READ_NOT_A_FILE, READ_SILENT };

#ifdef STIVRA_READ_PIPES
ReadResult read_record_file(const char* name, std::vector<char>& data) {
    // Asked by name first, so that a device is never opened at all.
    struct stat info {};
    if (stat(name, &info) != 0) return READ_FAILED;
    if (!S_ISREG(info.st_mode) && !S_ISFIFO(info.st_mode)) return READ_NOT_A_FILE;
    // Opened without waiting: a FIFO's open waits for a writer otherwise.
    const int fd = open(name, O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return READ_FAILED;
    ReadResult result = READ_GOOD;
    if (fstat(fd, &info) != 0) result = READ_FAILED;
    else if (!S_ISREG(info.st_mode) && !S_ISFIFO(info.st_mode)) result = READ_NOT_A_FILE;  // swapped meanwhile
    const bool pipe = S_ISFIFO(info.st_mode);
    char chunk[65536];
    while (result == READ_GOOD) {
        if (pipe) {
            // A FIFO without a writer yet is not at its end: it waits here
            // for one, as for more bytes, and for no longer than the limit.
            pollfd wait_for{fd, POLLIN, 0};
            const int ready = poll(&wait_for, 1, PIPE_SILENCE_MS);
            if (ready < 0 && errno == EINTR) continue;
            if (ready <= 0) {
                result = ready == 0 ? READ_SILENT : READ_FAILED;
                break;
            }
        }
        const ssize_t n = read(fd, chunk, sizeof chunk);
        if (n < 0 && (errno == EINTR || errno == EAGAIN)) continue;
        if (n < 0) result = READ_FAILED;
        if (n <= 0) break;
        data.insert(data.end(), chunk, chunk + n);
        if (data.size() > REPLAY_MAX_BYTES) result = READ_TOO_LARGE;
    }
    close(fd);
    return result;
}
#else
ReadResult read_record_file(const char* name, std::vector<char>& data) {
    std::error_code error;
    const fs::file_type type = fs::status(name, error).type();
    if (error) return READ_FAILED;
    if (type != fs::file_type::regular) return READ_NOT_A_FILE;
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
#endif

// A pass number: decimal digits only, within 64 bits.
bool parse_pass_number(const char* text, uint64_t& n) {
    return whole_number(text, UINT64_MAX, n);
}

int replay_usage() {
    std::fprintf(stderr, "usage: stivra-tool replay FILE [--frames DIR] [--trace] [--from N] [--to M] "
                         "[--check] [--pass-hashes OUT]\n");
    return 2;
}

std::string hex_text(uint64_t v) {
    char hex[17];
    format_hash(v, hex);
    return hex;
}

// The first pass whose hashes differ from those stored beside the record, as
// one line on standard error.
void name_first_difference(const char* file, const StoredEnd& stored, const std::vector<PassHashes>& hashes) {
    const std::string name = pass_hashes_name(file);
    std::vector<char> text;
    if (read_record_file(name.c_str(), text) != READ_GOOD) {
        std::fprintf(stderr, "stivra-tool: %s: no pass hashes to find the first pass that differs (%s cannot be "
                             "read; scripts/rebless_replays.sh writes it)\n", file, name.c_str());
        return;
    }
    // The file must be of this record as stored: its chains are the closing
    // line's, and it has a line for every pass.
    const std::string head = pass_hashes_text(stored.chains, {});
    if (text.size() != head.size() + hashes.size() * PASS_HASH_LINE ||
        std::memcmp(text.data(), head.data(), head.size()) != 0) {
        std::fprintf(stderr, "stivra-tool: %s: %s was written for another run than the closing line's; "
                             "the first pass that differs is unknown\n", file, name.c_str());
        return;
    }
    const std::string now = pass_hashes_text(stored.chains, hashes);
    for (size_t pass = 0; pass < hashes.size(); ++pass) {
        const size_t at = head.size() + pass * PASS_HASH_LINE;
        const bool state = std::memcmp(&now[at], &text[at], 4) != 0;
        const bool frame = std::memcmp(&now[at + 5], &text[at + 5], 4) != 0;
        if (!state && !frame) continue;
        std::fprintf(stderr, "stivra-tool: %s: pass %s is the first that differs: %s (--to %s --frames DIR "
                             "shows it)\n", file, decimal(pass + 1).c_str(),
                     state && frame ? "its state and its frame" : state ? "its state, not its frame"
                                                                        : "its frame, not its state",
                     decimal(pass + 1).c_str());
        return;
    }
    std::fprintf(stderr, "stivra-tool: %s: every pass agrees with %s in the 16 bits of each hash it keeps; "
                         "the first pass that differs is unknown\n", file, name.c_str());
}

// --check: the end and the chains against the closing line. 0 when they
// agree, 1 (with the reasons on standard error) when they do not.
int check_against_closing_line(const char* file, const std::vector<char>& data, const ReplayResult& result,
                               const std::vector<PassHashes>& hashes) {
    StoredEnd stored;
    if (!replay_stored_end(data.data(), data.size(), stored)) {
        std::fprintf(stderr, "stivra-tool: %s: has no closing line \"# end: ...\" to check against\n", file);
        return 1;
    }
    std::string differs;
    const auto compare = [&](const char* what, const std::string& now, const std::string& was) {
        if (now == was) return;
        if (!differs.empty()) differs += ", ";
        differs += std::string(what) + " " + now + " (stored " + was + ")";
    };
    compare("passes", decimal(result.passes), decimal(stored.passes));
    compare("ticks", decimal(result.ticks), decimal(stored.ticks));
    compare("hash", hex_text(result.hash), hex_text(stored.hash));
    if (stored.has_chains) {
        compare("states", hex_text(result.chains.states), hex_text(stored.chains.states));
        compare("frames", hex_text(result.chains.frames), hex_text(stored.chains.frames));
    }
    if (!differs.empty())
        std::fprintf(stderr, "stivra-tool: %s: the replay differs from the closing line: %s\n", file,
                     differs.c_str());
    if (!stored.has_chains) {
        std::fprintf(stderr, "stivra-tool: %s: its closing line has no chains (a record of an older build; "
                             "scripts/rebless_replays.sh FILE adds them)\n", file);
        return 1;
    }
    if (differs.empty()) return 0;
    if (result.passes == stored.passes) name_first_difference(file, stored, hashes);
    return 1;
}

}  // namespace

int tool_replay(int argc, char** argv) {
    ReplayOptions options;
    const char* file = nullptr;
    bool check = false;
    const char* hashes_out = nullptr;
    for (int i = 0; i < argc; ++i) {
        if (std::strcmp(argv[i], "--trace") == 0) {
            options.trace = true;
        } else if (std::strcmp(argv[i], "--check") == 0) {
            check = true;
        } else if (std::strcmp(argv[i], "--pass-hashes") == 0) {
            if (i + 1 >= argc) return replay_usage();
            hashes_out = argv[++i];
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
    // A check and the pass hashes are of the whole run.
    if ((check || hashes_out) && options.to != UINT64_MAX) return replay_usage();
    options.keep_hashes = check || hashes_out;

    std::vector<char> data;
    char error[REPLAY_ERROR_SIZE];
    switch (read_record_file(file, data)) {
    case READ_GOOD: break;
    case READ_FAILED:
        std::fprintf(stderr, "stivra-tool: %s: cannot be read\n", file);
        return 2;
    case READ_NOT_A_FILE:
        std::fprintf(stderr, "stivra-tool: %s: is neither a file nor a pipe\n", file);
        return 2;
    case READ_SILENT:
        std::fprintf(stderr, "stivra-tool: %s: nothing came through the pipe for %d seconds\n", file,
                     PIPE_SILENCE_MS / 1000);
        return 2;
    case READ_TOO_LARGE:
        replay_size_error(error);
        std::fprintf(stderr, "stivra-tool: %s: %s\n", file, error);
        return 2;
    }
    // A bad record is refused before any folder is made for its frames.
    ReplayTotals totals;
    if (!replay_check(data.data(), data.size(), totals, error)) {
        std::fprintf(stderr, "stivra-tool: %s: %s\n", file, error);
        return 2;
    }
    if (options.frames_dir) {
        std::string why;
        if (!frames_prepare(options.frames, options.frames_dir, why)) {
            std::fprintf(stderr, "stivra-tool: %s: the folder for the frames cannot be made (%s)\n",
                         options.frames_dir, why.c_str());
            return 1;
        }
    }
    ReplayResult result;
    const ReplayOutcome outcome = replay_text(data.data(), data.size(), result, error, after_pass, &options);
    if (outcome == REPLAY_BAD_TEXT) {  // checked above; never here
        if (options.frames_dir) frames_undo(options.frames);
        std::fprintf(stderr, "stivra-tool: %s: %s\n", file, error);
        return 2;
    }
    if (options.frames_dir && options.failed_frame.empty()) frames_finish(options);
    if (!options.failed_frame.empty()) {
        frames_undo(options.frames);
        std::fprintf(stderr, "stivra-tool replay: cannot write %s: %s\n", options.failed_frame.c_str(),
                     std::strerror(options.failed_error ? options.failed_error : EIO));
        return 1;
    }
    std::printf("{\"seed\": %s, \"passes\": %s, \"ticks\": %s, \"mode\": %d, \"task\": %d, "
                "\"catches\": %d, \"quit\": %s, \"hash\": \"%s\", \"states\": \"%s\", \"frames\": \"%s\"}\n",
                decimal(result.seed).c_str(), decimal(result.passes).c_str(), decimal(result.ticks).c_str(),
                result.mode, result.task, result.catches, result.quit ? "true" : "false",
                hex_text(result.hash).c_str(), hex_text(result.chains.states).c_str(),
                hex_text(result.chains.frames).c_str());
    std::fflush(stdout);
    if (hashes_out) {
        const std::string text = pass_hashes_text(result.chains, options.hashes);
        OutputFile out;
        bool written = output_open(out, hashes_out) && output_write(out, text.data(), text.size());
        if (out.file) written = output_close(out) && written;
        if (!written) return tool_write_failed("replay", hashes_out);
    }
    return check ? check_against_closing_line(file, data, result, options.hashes) : 0;
}
