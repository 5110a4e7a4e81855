// The songs of the screens and the phone's ring melody. Each song is a run
// of steps in the three rows; a byte is a new note for its voice on that step
// (0: none). Voices 0 and 1 take MIDI note numbers, voice 2 percussion.
#include "data/songs.h"

// First step, number of steps, Ticks per step.
const SongEntry SongTable[6] = {
    {0, 0, 1},     // 0: caught animation, silence
    {0, 32, 6},    // 1: title
    {32, 64, 7},   // 2: intro, and play without a chase
    {96, 32, 3},   // 3: play while chased
    {128, 32, 5},  // 4: escaped screen
    {160, 16, 9},  // 5: caught screen
};

const uint8_t SongRows[3][176] = {
    // voice 0, melody
    {
        // song 1 (title), steps 0..31
        81, 0, 76, 0, 84, 0, 76, 0, 83, 0, 76, 0, 80, 0, 76, 0,
        81, 0, 76, 0, 84, 0, 76, 0, 86, 0, 84, 0, 83, 0, 80, 0,
        // song 2 (intro and quiet play), steps 32..95
        74, 0, 0, 0, 0, 0, 77, 0, 0, 0, 0, 0, 76, 0, 0, 0,
        0, 0, 0, 0, 69, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
        74, 0, 0, 0, 0, 0, 77, 0, 0, 0, 0, 0, 68, 0, 0, 0,
        0, 0, 0, 0, 69, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
        // song 3 (chase), steps 96..127
        76, 0, 0, 76, 0, 0, 79, 0, 0, 0, 78, 0, 0, 0, 0, 0,
        76, 0, 0, 76, 0, 0, 82, 0, 0, 0, 81, 0, 79, 0, 78, 0,
        // song 4 (escaped), steps 128..159
        72, 0, 76, 0, 79, 0, 84, 0, 83, 0, 79, 0, 84, 0, 0, 0,
        77, 0, 81, 0, 84, 0, 89, 0, 88, 0, 84, 0, 91, 0, 0, 0,
        // song 5 (caught), steps 160..175
        69, 0, 67, 0, 65, 0, 64, 0, 62, 0, 60, 0, 59, 0, 57, 0,
    },
    // voice 1, bass
    {
        // song 1 (title), steps 0..31
        45, 0, 0, 0, 0, 0, 0, 0, 44, 0, 0, 0, 0, 0, 0, 0,
        45, 0, 0, 0, 0, 0, 0, 0, 40, 0, 0, 0, 0, 0, 0, 0,
        // song 2 (intro and quiet play), steps 32..95
        38, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
        38, 0, 0, 0, 0, 0, 0, 0, 37, 0, 0, 0, 0, 0, 0, 0,
        38, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
        34, 0, 0, 0, 0, 0, 0, 0, 33, 0, 0, 0, 0, 0, 0, 0,
        // song 3 (chase), steps 96..127
        40, 0, 40, 0, 52, 0, 40, 0, 40, 0, 40, 0, 50, 0, 48, 0,
        40, 0, 40, 0, 52, 0, 40, 0, 43, 0, 43, 0, 47, 0, 46, 0,
        // song 4 (escaped), steps 128..159
        48, 0, 0, 0, 55, 0, 0, 0, 52, 0, 0, 0, 48, 0, 0, 0,
        53, 0, 0, 0, 57, 0, 0, 0, 55, 0, 0, 0, 48, 0, 0, 0,
        // song 5 (caught), steps 160..175
        45, 0, 0, 0, 43, 0, 0, 0, 41, 0, 0, 0, 40, 0, 0, 0,
    },
    // voice 2, percussion: 1 kick, 2 snare, 3 hi-hat
    {
        // song 1 (title), steps 0..31
        0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
        0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
        // song 2 (intro and quiet play), steps 32..95
        1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
        1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
        1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
        1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 3, 0,
        // song 3 (chase), steps 96..127
        1, 3, 3, 3, 2, 3, 1, 3, 1, 3, 3, 3, 2, 3, 3, 3,
        1, 3, 3, 3, 2, 3, 1, 3, 1, 3, 1, 3, 2, 3, 2, 2,
        // song 4 (escaped), steps 128..159
        1, 0, 0, 0, 2, 0, 0, 0, 1, 0, 0, 0, 2, 0, 0, 0,
        1, 0, 0, 0, 2, 0, 0, 0, 1, 0, 1, 0, 2, 0, 2, 0,
        // song 5 (caught), steps 160..175
        0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
    },
};

// Voice 3 while the phone rings, one entry every 3 Ticks.
const uint8_t RingMelody[12] = {88, 91, 88, 96, 0, 88, 91, 96, 0, 0, 0, 0};
