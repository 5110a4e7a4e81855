// The random seed at start: the tick count, or STIVRA_SEED when it is set to
// a decimal number (so a run can be reproduced).
#pragma once
#include <cstdint>

uint32_t startup_seed(uint32_t tick_count);

// Milliseconds of a free-running clock (since boot where the system keeps
// one), the portable stand-in for the Windows tick count.
uint32_t monotonic_tick_count();
