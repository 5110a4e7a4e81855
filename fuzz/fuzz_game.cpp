// libFuzzer target: short fuzzed runs played through the whole game, its
// rules, its drawing and its sound, as the main loop plays a recorded run.
//
// The input is a run in a compact binary form, so that every input plays:
//   byte 0      bit 0: start in play (CONFIRM on the title and in the intro)
//   bytes 1..4  the seed, little-endian
//   then pairs  one line of a record each: bits 0..8 InputBits, bits 9..10
//               Ticks-1, bits 11..15 the count of passes-1 (1..32)
// At most MAX_PASSES passes are played, so one input stays quick under the
// sanitizers; after each pass the sound of one block is rendered and the
// GameState checked for what must always hold.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "audio/synth.h"
#include "game/game_state.h"
#include "platform/replay.h"

namespace {

constexpr uint32_t MAX_PASSES = 600;
constexpr uint32_t CONFIRM = 64;  // the InputBits of Enter
constexpr int32_t BLOCK_SAMPLES = 768;

void require(bool condition) {
    if (!condition) std::abort();
}

void check_state() {
    const GameState& g = Game;
    require(g.mode >= MODE_TITLE && g.mode <= MODE_ESCAPED);
    require(g.current_floor >= 0 && g.current_floor < FLOOR_COUNT);
    require(g.player_x >= 0 && g.player_x < MAP_W * FIXED_TILE && g.player_y >= 0 && g.player_y < MAP_H * FIXED_TILE);
    require(g.stamina >= 0 && g.stamina <= 1000);
    require(g.task >= 0 && g.task <= 9);
    require(std::memchr(g.message_line1, 0, TEXT_LINE_SIZE) && std::memchr(g.message_line2, 0, TEXT_LINE_SIZE));
}

uint32_t Passes;
int16_t Samples[BLOCK_SAMPLES];

void play(uint32_t bits, uint32_t ticks) {
    replay_pass(bits, ticks);
    render_samples(Samples, BLOCK_SAMPLES);
    check_state();
    Passes += 1;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 5) return 0;
    const uint32_t seed = uint32_t(data[1]) | uint32_t(data[2]) << 8 | uint32_t(data[3]) << 16 | uint32_t(data[4]) << 24;
    replay_start(seed);
    Passes = 0;
    if (data[0] & 1) {
        play(CONFIRM, 1);
        for (int i = 0; i < 3; ++i) play(0, 1);
        play(CONFIRM, 1);
        play(0, 1);
    }
    for (size_t i = 5; i + 1 < size && Passes < MAX_PASSES; i += 2) {
        const uint32_t v = uint32_t(data[i]) | uint32_t(data[i + 1]) << 8;
        const uint32_t bits = v & REPLAY_MAX_BITS;
        const uint32_t ticks = ((v >> 9) & 3) + 1;
        const uint32_t count = (v >> 11) + 1;
        for (uint32_t n = 0; n < count && Passes < MAX_PASSES; ++n) play(bits, ticks);
    }
    // The hash reads every field, so the sanitizers see each of them.
    char hash[17];
    format_hash(game_state_hash(Game), hash);
    require(std::strlen(hash) == 16);
    return 0;
}
