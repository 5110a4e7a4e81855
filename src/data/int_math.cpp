#include "data/int_math.h"

int32_t isqrt(int32_t v) {
    return isqrt64(v);
}

int32_t isqrt64(int64_t v) {
    if (v <= 0) return 0;
    uint64_t x = static_cast<uint64_t>(v);
    uint64_t result = 0;
    uint64_t bit = uint64_t(1) << 62;
    while (bit > x) bit >>= 2;
    while (bit != 0) {
        if (x >= result + bit) {
            x -= result + bit;
            result = (result >> 1) + bit;
        } else {
            result >>= 1;
        }
        bit >>= 2;
    }
    return static_cast<int32_t>(result);
}
