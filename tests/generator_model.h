// An independent model of the game's random generator in 64-bit arithmetic,
// for tests that predict or count draws.
#pragma once
#include <cstdint>

inline uint32_t model_step(uint32_t s) {
    return static_cast<uint32_t>((uint64_t(s) * 1103515245u + 12345u) & 0xFFFFFFFFu);
}

inline int32_t model_value(uint32_t s) { return static_cast<int32_t>((s >> 16) & 0x7FFF); }

inline uint32_t model_steps(uint32_t s, int n) {
    for (int i = 0; i < n; ++i) s = model_step(s);
    return s;
}

// Generator steps from one state to another; -1 if more than 1000.
inline int steps_between(uint32_t from, uint32_t to) {
    for (int n = 0; n <= 1000; ++n, from = model_step(from))
        if (from == to) return n;
    return -1;
}
