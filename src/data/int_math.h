// Small integer helpers shared by every layer: the integer square root of
// all pixel distances, absolute value, clamping and the floor remainder.
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

// Floor of the square root; 0 for v <= 0.
int32_t isqrt(int32_t v);
// The same for 64-bit values (distances in Fixed units can exceed 32 bits when squared).
int32_t isqrt64(int64_t v);
