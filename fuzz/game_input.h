// The compact binary form of a run that fuzz_game plays, shared with the
// tool that turns recorded runs into its seed corpus. Every input plays:
//
//   byte 0      bit 0: start in play (CONFIRM on the title and in the intro)
//               bits 1..3: K, a frame is drawn every 2^K passes (K 0: every
//               pass, as the game and a replay do; the rest is ignored)
//   bytes 1..4  the seed, little-endian
//   then pairs  one line of a record each, little-endian: bits 0..8
//               InputBits, bits 9..10 Ticks-1, bits 11..15 the count of
//               passes-1 (1..32)
//
// Drawing is most of what a pass costs, so an input that draws every 32nd
// frame plays a whole game in the time an input drawing every frame plays
// some 1,300 passes. Frames take from the game's random generator only in a
// few effects (a screen shake, a cloud, the catch), and fuzz_game draws
// those always, so such an input still plays the game its record played.
#pragma once
#include <cstddef>
#include <cstdint>

constexpr size_t GAME_INPUT_HEADER = 5;
constexpr uint32_t GAME_INPUT_START_IN_PLAY = 1;
constexpr uint32_t GAME_INPUT_MAX_FRAME_SHIFT = 7;
constexpr uint32_t GAME_INPUT_MAX_COUNT = 32;

inline uint32_t game_input_frame_shift(uint8_t flags) {
    return (flags >> 1) & GAME_INPUT_MAX_FRAME_SHIFT;
}

inline uint32_t game_input_seed(const uint8_t* data) {
    return uint32_t(data[1]) | uint32_t(data[2]) << 8 | uint32_t(data[3]) << 16 | uint32_t(data[4]) << 24;
}

// One pair: `count` 1..32 passes of `ticks` 1..4 Ticks with InputBits `bits`.
struct GameInputLine {
    uint32_t bits;
    uint32_t ticks;
    uint32_t count;
};

inline GameInputLine game_input_line(const uint8_t* pair) {
    const uint32_t v = uint32_t(pair[0]) | uint32_t(pair[1]) << 8;
    return GameInputLine{v & 511u, ((v >> 9) & 3u) + 1, (v >> 11) + 1};
}

inline void game_input_put_line(const GameInputLine& line, uint8_t* pair) {
    const uint32_t v = (line.bits & 511u) | (line.ticks - 1) << 9 | (line.count - 1) << 11;
    pair[0] = static_cast<uint8_t>(v);
    pair[1] = static_cast<uint8_t>(v >> 8);
}
