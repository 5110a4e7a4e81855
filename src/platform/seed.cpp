#include "platform/seed.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "data/text_reader.h"

bool parse_seed(const char* text, uint32_t* out) {
    uint64_t value = 0;
    if (!whole_number(text, 0xFFFFFFFFu, value)) return false;
    *out = static_cast<uint32_t>(value);
    return true;
}

uint32_t startup_seed(uint32_t tick_count) {
    const char* text = std::getenv("STIVRA_SEED");
    if (!text) return tick_count;
    uint32_t seed = 0;
    if (parse_seed(text, &seed)) return seed;
    std::fprintf(stderr,
                 "STIVRA_SEED='%.40s%s' is not a decimal number from 0 to 4294967295; ignored\n",
                 text, std::strlen(text) > 40 ? "..." : "");
    return tick_count;
}

uint32_t monotonic_tick_count() {
    const auto since_start = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<uint32_t>(
        std::chrono::duration_cast<std::chrono::milliseconds>(since_start).count());
}
