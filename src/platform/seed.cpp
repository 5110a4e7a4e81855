#include "platform/seed.h"

#include <chrono>
#include <cstdlib>

uint32_t startup_seed(uint32_t tick_count) {
    const char* text = std::getenv("STIVRA_SEED");
    if (!text || !*text) return tick_count;
    uint32_t value = 0;
    for (const char* p = text; *p; ++p) {
        if (*p < '0' || *p > '9') return tick_count;
        value = value * 10u + static_cast<uint32_t>(*p - '0');
    }
    return value;
}

uint32_t monotonic_tick_count() {
    const auto since_start = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<uint32_t>(
        std::chrono::duration_cast<std::chrono::milliseconds>(since_start).count());
}
