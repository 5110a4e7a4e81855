// game_corpus K OUT_DIR RECORD...: each recorded run as an input of
// fuzz_game (game_input.h) that draws a frame every 2^K passes, written to
// OUT_DIR under the record's own name with ".run" for ".txt". A record the
// reader refuses is named and ends the tool with 1.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "game_input.h"
#include "platform/replay.h"

namespace {

bool read_file(const char* name, std::vector<char>& data) {
    std::FILE* f = std::fopen(name, "rb");
    if (!f) return false;
    char chunk[65536];
    size_t n;
    while ((n = std::fread(chunk, 1, sizeof chunk, f)) > 0 && data.size() <= REPLAY_MAX_BYTES)
        data.insert(data.end(), chunk, chunk + n);
    const bool good = !std::ferror(f);
    std::fclose(f);
    return good;
}

// The record as the fuzzer's input; false with the reader's line in error.
bool convert(const std::vector<char>& text, uint32_t shift, std::vector<uint8_t>& out,
             char (&error)[REPLAY_ERROR_SIZE]) {
    ReplayTotals totals;
    if (!replay_check(text.data(), text.size(), totals, error)) return false;
    ReplayReader reader;
    replay_begin(reader, text.data(), text.size());
    out.assign(GAME_INPUT_HEADER, 0);
    out[0] = static_cast<uint8_t>(shift << 1);
    for (int i = 0; i < 4; ++i) out[1 + i] = static_cast<uint8_t>(reader.seed >> (8 * i));
    ReplayRun run;
    while (replay_next(reader, run) == 1) {
        for (uint32_t left = run.count; left > 0;) {
            const uint32_t count = left < GAME_INPUT_MAX_COUNT ? left : GAME_INPUT_MAX_COUNT;
            uint8_t pair[2];
            game_input_put_line(GameInputLine{run.bits, run.ticks, count}, pair);
            out.insert(out.end(), pair, pair + 2);
            left -= count;
        }
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 4 || std::strlen(argv[1]) != 1 || argv[1][0] < '0' ||
        argv[1][0] > static_cast<char>('0' + GAME_INPUT_MAX_FRAME_SHIFT)) {
        std::fprintf(stderr, "usage: game_corpus K OUT_DIR RECORD...  (K 0..%u)\n", GAME_INPUT_MAX_FRAME_SHIFT);
        return 2;
    }
    const uint32_t shift = static_cast<uint32_t>(argv[1][0] - '0');
    int status = 0;
    for (int i = 3; i < argc; ++i) {
        std::vector<char> text;
        std::vector<uint8_t> input;
        char error[REPLAY_ERROR_SIZE] = "";
        if (!read_file(argv[i], text)) {
            std::fprintf(stderr, "game_corpus: %s cannot be read\n", argv[i]);
            status = 1;
            continue;
        }
        if (!convert(text, shift, input, error)) {
            std::fprintf(stderr, "game_corpus: %s: %s\n", argv[i], error);
            status = 1;
            continue;
        }
        std::string name = argv[i];
        const size_t slash = name.find_last_of('/');
        if (slash != std::string::npos) name.erase(0, slash + 1);
        if (name.size() > 4 && name.compare(name.size() - 4, 4, ".txt") == 0) name.erase(name.size() - 4);
        const std::string out_name = std::string(argv[2]) + "/" + name + ".run";
        std::FILE* f = std::fopen(out_name.c_str(), "wb");
        bool written = f && std::fwrite(input.data(), 1, input.size(), f) == input.size();
        if (f && std::fclose(f) != 0) written = false;
        if (!written) {
            std::fprintf(stderr, "game_corpus: cannot write %s\n", out_name.c_str());
            status = 1;
        }
    }
    return status;
}
