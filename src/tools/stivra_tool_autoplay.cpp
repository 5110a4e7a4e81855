// stivra-tool autoplay: the auto-player plays one game from the title to the
// escaped screen and reports how it went as JSON; --record keeps the run.
#include <cstdio>
#include <cstring>

#include "data/output_file.h"
#include "data/text_reader.h"
#include "platform/replay.h"
#include "platform/seed.h"
#include "tools/autoplayer.h"
#include "tools/stivra_tool.h"

namespace {

constexpr int32_t TICKS_PER_MINUTE = 30 * 60;
constexpr uint32_t MAX_MINUTES = 24 * 60;

int autoplay_usage() {
    std::fprintf(stderr, "usage: stivra-tool autoplay [--seed N] [--record FILE] [--max-minutes M] [--trace] [--curious]\n");
    return 2;
}

// A whole decimal number of 1..MAX_MINUTES; false for anything else.
bool parse_minutes(const char* text, uint32_t* out) {
    uint64_t value = 0;
    if (!whole_number(text, MAX_MINUTES, value) || value == 0) return false;
    *out = static_cast<uint32_t>(value);
    return true;
}

const char* outcome_name(AutoplayOutcome outcome) {
    switch (outcome) {
    case AUTOPLAY_WON: return "won";
    case AUTOPLAY_LOST: return "lost";
    default: return "timeout";
    }
}

// The record played so far and its closing line, as one file written whole;
// false, with one line on standard error, when it could not be written.
bool write_record(const char* path) {
    size_t size = 0;
    const char* text = record_text(size);
    char end[RECORD_END_LINE_SIZE];
    record_end_line(end);
    bool written = false;
    if (!text) {
        // More than any record may hold (the reader refuses it too).
        std::fprintf(stderr, "stivra-tool autoplay: cannot write %s: the record grew larger than 4 MiB\n", path);
    } else {
        OutputFile out;
        written = output_open(out, path) && output_write(out, text, size) &&
                  output_write(out, end, std::strlen(end));
        if (out.file) written = output_close(out) && written;
        if (!written) tool_write_failed("autoplay", path);
    }
    record_close();
    return written;
}

}  // namespace

int tool_autoplay(int argc, char** argv) {
    uint32_t seed = startup_seed(monotonic_tick_count());
    uint32_t minutes = 30;
    const char* record_path = nullptr;
    bool trace = false;
    for (int i = 0; i < argc; ++i) {
        const char* option = argv[i];
        const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
        if (std::strcmp(option, "--trace") == 0) {
            trace = true;
            continue;
        }
        if (std::strcmp(option, "--curious") == 0) {
            AutoplayCurious = true;
            continue;
        }
        bool ok;
        if (std::strcmp(option, "--seed") == 0) {
            ok = parse_seed(value, &seed);
        } else if (std::strcmp(option, "--max-minutes") == 0) {
            ok = parse_minutes(value, &minutes);
        } else if (std::strcmp(option, "--record") == 0) {
            ok = value && *value;
            record_path = value;
        } else {
            std::fprintf(stderr, "stivra-tool autoplay: unknown option %s\n", option);
            return autoplay_usage();
        }
        if (!ok) {
            if (value)
                std::fprintf(stderr, "stivra-tool autoplay: bad value for %s: %s\n", option, value);
            else
                std::fprintf(stderr, "stivra-tool autoplay: %s needs a value\n", option);
            return autoplay_usage();
        }
        i += 1;
    }

    // The record is kept in memory while the game is played and written
    // whole at the end (an older record of that name survives a failure).
    // A folder that takes no file is found before the game is played.
    if (record_path) {
        OutputFile probe;
        if (!output_open(probe, record_path)) return tool_write_failed("autoplay", record_path);
        output_discard(probe);
        record_open_files(nullptr, 0, seed);
    }
    AutoplayTrace = trace ? stderr : nullptr;
    const AutoplayResult r =
        autoplay_run(seed, static_cast<int32_t>(minutes) * TICKS_PER_MINUTE);
    if (record_path && !write_record(record_path)) return 1;
    if (AutoplayWroteState) {
        std::fprintf(stderr, "stivra-tool autoplay: the planner changed the GameState\n");
        return 3;
    }
    std::printf("{\"seed\": %u, \"outcome\": \"%s\", \"ticks\": %d, \"play_ticks\": %d, \"catches\": %d, "
                "\"stickers\": %d, \"task\": %d",
                r.seed, outcome_name(r.outcome), r.ticks, r.play_ticks, r.catches, r.stickers, r.task);
    std::printf(", \"hides\": %d, \"talks\": %d, \"calls\": %d, \"answers\": %d, \"brawls\": %d, "
                "\"stink_bombs\": %d, \"phone_taken\": %d",
                r.hides, r.talks, r.calls, r.answers, r.brawls, r.stink_bombs, r.phone_taken);
    if (r.outcome == AUTOPLAY_LOST) std::printf(", \"reason\": \"%s\"", r.reason);
    std::printf("}\n");
    return 0;
}
