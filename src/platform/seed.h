// The random seed at start: the tick count, or STIVRA_SEED when it is set to
// a decimal number (so a run can be reproduced).
#pragma once
#include <cstdint>

// A seed as the user writes it: plain decimal digits, 0..4294967295, nothing
// else (no sign, no spaces, no hex). False for anything else.
bool parse_seed(const char* text, uint32_t* out);

// STIVRA_SEED when it is set and a seed; otherwise the tick count. A value
// that is no seed is named in one line on standard error and ignored.
uint32_t startup_seed(uint32_t tick_count);

// Milliseconds of a free-running clock (since boot where the system keeps
// one), the portable stand-in for the Windows tick count.
uint32_t monotonic_tick_count();
