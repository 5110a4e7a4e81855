// libFuzzer target: the replay reader. A bad text gets one message naming
// its line; a good one, written out again run by run, reads back the same.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/replay.h"

namespace {

void require(bool condition) {
    if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const char* text = reinterpret_cast<const char*>(data);
    ReplayTotals totals;
    char error[REPLAY_ERROR_SIZE];
    if (!replay_check(text, size, totals, error)) {
        require(std::memchr(error, 0, sizeof error) != nullptr);
        require((std::strncmp(error, "line ", 5) == 0 && std::strstr(error, ": ") != nullptr) ||
                (size > REPLAY_MAX_BYTES && std::strncmp(error, "the record is larger", 20) == 0));
        return 0;
    }
    require(error[0] == 0);

    std::string again = "stivra-replay 1\nseed " + std::to_string(totals.seed) + "\n";
    ReplayReader reader;
    require(replay_begin(reader, text, size));
    ReplayRun run;
    uint64_t passes = 0;
    int step;
    while ((step = replay_next(reader, run)) == 1) {
        require(run.count >= 1 && run.bits <= REPLAY_MAX_BITS && run.ticks >= 1 && run.ticks <= REPLAY_MAX_TICKS);
        char line[40];
        const int length = replay_format_run(run, line);
        require(length > 0 && length < 40 && line[length - 1] == '\n');
        again += line;
        passes += run.count;
    }
    require(step == 0 && passes == totals.passes && totals.ticks <= REPLAY_MAX_PLAY_TICKS);

    ReplayTotals second;
    require(replay_check(again.data(), again.size(), second, error));
    require(second.seed == totals.seed && second.passes == totals.passes && second.ticks == totals.ticks);
    return 0;
}
