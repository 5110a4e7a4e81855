// The songs of the screens and the phone's ring melody, as note tables.
#pragma once
#include <cstdint>

struct SongEntry {
    int32_t first_step;
    int32_t steps;
    int32_t ticks_per_step;
};
extern const SongEntry SongTable[6];
extern const uint8_t SongRows[3][176];
extern const uint8_t RingMelody[12];
