// libFuzzer target: fuzzed runs played through the whole game, its rules,
// its drawing and its sound, as the main loop plays a recorded run.
//
// The input is a run in the compact form of game_input.h. The recorded runs
// of tests/replays are its seed corpus (game_corpus turns them into that
// form), so the fuzzer starts from whole games, a won one among them, and
// varies them. A frame is drawn every 2^K passes and whenever drawing takes
// from the game's random generator, so that a run drawn in part is still the
// game its record played. One input does at most MAX_WORK Ticks' worth of
// work, a frame counting as FRAME_WORK Ticks (about what it costs under the
// sanitizers): a whole won game drawing every 32nd frame, or about 1,400
// passes drawing every frame. After each frame the sound of one block is
// rendered, and after each pass the GameState is checked for what must
// always hold.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "audio/synth.h"
#include "game/game_flow.h"
#include "game/game_state.h"
#include "game_input.h"
#include "platform/replay.h"
#include "screens/draw_screen.h"

namespace {

constexpr uint32_t MAX_WORK = 24000;
constexpr uint32_t FRAME_WORK = 16;
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

struct Played {
    uint32_t passes;
    uint32_t ticks;
    uint32_t frames;
    uint32_t work;
    uint32_t frame_mask;  // a frame after the passes whose number has these bits clear
    uint32_t floors;      // bit F: the player was on floor F
};
Played Run;
int16_t Samples[BLOCK_SAMPLES];

// Drawing takes from the game's random generator while the view shakes, a
// cloud shows or the catch plays: such a pass is always drawn, as the game
// would draw it.
bool frame_draws_randomly() {
    const GameState& g = Game;
    return g.mode == MODE_CAUGHT_ANIMATION ||
           (g.mode == MODE_PLAYING && (g.shake_ticks > 0 || g.stink_ticks > 0 || g.friend_state == FRIEND_BRAWL));
}

// Whether a pass of `ticks` Ticks and its frame still fit the budget.
bool can_play(uint32_t ticks) {
    return Run.work + ticks + FRAME_WORK <= MAX_WORK;
}

// One main-loop pass, as replay_pass plays it, drawn only where it counts.
void play(uint32_t bits, uint32_t ticks) {
    for (uint32_t t = 0; t < ticks; ++t) game_tick(bits);
    Run.ticks += ticks;
    Run.work += ticks;
    if ((Run.passes & Run.frame_mask) == 0 || frame_draws_randomly()) {
        draw_screen();
        render_samples(Samples, BLOCK_SAMPLES);
        Run.frames += 1;
        Run.work += FRAME_WORK;
    }
    Run.passes += 1;
    check_state();
    Run.floors |= 1u << Game.current_floor;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < GAME_INPUT_HEADER) return 0;
    replay_start(game_input_seed(data));
    Run = Played{};
    Run.frame_mask = (1u << game_input_frame_shift(data[0])) - 1;
    if (data[0] & GAME_INPUT_START_IN_PLAY) {
        play(CONFIRM, 1);
        for (int i = 0; i < 3; ++i) play(0, 1);
        play(CONFIRM, 1);
        play(0, 1);
    }
    for (size_t i = GAME_INPUT_HEADER; i + 1 < size; i += 2) {
        const GameInputLine line = game_input_line(data + i);
        for (uint32_t n = 0; n < line.count && can_play(line.ticks); ++n) play(line.bits, line.ticks);
        if (!can_play(line.ticks)) break;
    }
    // The hash reads every field, so the sanitizers see each of them.
    char hash[17];
    format_hash(game_state_hash(Game), hash);
    require(std::strlen(hash) == 16);
    return 0;
}

#ifdef FUZZ_GAME_MAIN
// Without libFuzzer: plays each input file named and prints how far it went,
// one line each: "NAME: passes P, ticks T, frames F, floors 3210, task N,
// mode M, hash H" (the floors the player was on, the highest first).
int main(int argc, char** argv) {
    int status = 0;
    for (int i = 1; i < argc; ++i) {
        std::FILE* f = std::fopen(argv[i], "rb");
        std::vector<uint8_t> data;
        uint8_t chunk[4096];
        size_t n;
        while (f && (n = std::fread(chunk, 1, sizeof chunk, f)) > 0) data.insert(data.end(), chunk, chunk + n);
        if (!f || std::ferror(f)) {
            std::fprintf(stderr, "%s cannot be read\n", argv[i]);
            status = 1;
        }
        if (f) std::fclose(f);
        LLVMFuzzerTestOneInput(data.data(), data.size());
        char floors[FLOOR_COUNT + 1] = {};
        int used = 0;
        for (int floor = FLOOR_COUNT - 1; floor >= 0; --floor)
            if (Run.floors & (1u << floor)) floors[used++] = static_cast<char>('0' + floor);
        char hash[17];
        format_hash(game_state_hash(Game), hash);
        std::printf("%s: passes %u, ticks %u, frames %u, floors %s, task %d, mode %d, hash %s\n", argv[i],
                    Run.passes, Run.ticks, Run.frames, floors, Game.task, Game.mode, hash);
    }
    return status;
}
#endif
