// Small integer helpers shared by the game and the screens.
#pragma once
#include <cstdint>

constexpr int32_t abs32(int32_t v) { return v < 0 ? -v : v; }
constexpr int32_t clamp32(int64_t v, int32_t lo, int32_t hi) {
    return v < lo ? lo : v > hi ? hi : static_cast<int32_t>(v);
}
// The mathematical remainder (never negative) for m > 0: some counters are
// signed and may run negative.
constexpr int32_t floor_mod(int32_t a, int32_t m) {
    const int32_t r = a % m;
    return r < 0 ? r + m : r;
}
