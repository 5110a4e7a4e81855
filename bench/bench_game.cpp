// One gameplay Tick, averaged over a scripted minute of play (1800 Ticks)
// that walks, runs and turns through the start floor.
#include <benchmark/benchmark.h>

#include "game/game_flow.h"
#include "game/game_state.h"
#include "game/new_game.h"
#include "world/tile_geometry.h"
#include "platform/input.h"

namespace {

uint32_t scripted_input(int tick) {
    static const uint32_t Pattern[] = {
        INPUT_RIGHT, INPUT_DOWN, INPUT_DOWN | INPUT_RUN, INPUT_LEFT | INPUT_RUN,
        INPUT_UP | INPUT_RIGHT, INPUT_DOWN | INPUT_LEFT, INPUT_UP, 0,
    };
    return Pattern[(tick / 45) % 8];
}

void start_play() {
    program_init(12345);
    game_tick(INPUT_CONFIRM);  // title -> intro
    game_tick(0);
    game_tick(INPUT_CONFIRM);  // intro -> play
}

void BM_GameTickMinuteOfPlay(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        start_play();
        state.ResumeTiming();
        for (int t = 0; t < 1800; ++t) benchmark::DoNotOptimize(game_tick(scripted_input(t)));
    }
    state.SetItemsProcessed(state.iterations() * 1800);
    state.counters["us_per_tick"] = benchmark::Counter(
        static_cast<double>(state.iterations()) * 1800, benchmark::Counter::kIsRate | benchmark::Counter::kInvert,
        benchmark::Counter::OneK::kIs1000);
}
BENCHMARK(BM_GameTickMinuteOfPlay)->Unit(benchmark::kMillisecond);

}  // namespace

namespace {

// One play Tick with the pursuer chasing two tiles from the player on the
// start floor, his target moved every Tick so that his FlowField is searched
// anew each time. If a capture ends the chase, it is set up again untimed.
void set_up_chase() {
    start_play();
    Game.player_x = tile_anchor_x(20);
    Game.player_y = tile_anchor_y(14);
    NpcSlot& pursuer = Game.npcs[NPC_PURSUER];
    pursuer.npc_floor = Game.current_floor;
    pursuer.npc_present = 1;
    scene_place_npc(NPC_PURSUER, 22, 14);
    pursuer.npc_state = PURSUER_CHASE;
    pursuer.npc_stun_ticks = 0;
    pursuer.npc_flow_source = -1;
    Game.call_countdown = 1 << 30;
}

void BM_GameTickChase(benchmark::State& state) {
    set_up_chase();
    uint32_t tick = 0;
    for (auto _ : state) {
        if (Game.mode != MODE_PLAYING) {
            state.PauseTiming();
            set_up_chase();
            state.ResumeTiming();
        }
        const int32_t px = Game.player_x >> 12, py = Game.player_y >> 12;
        Game.npcs[NPC_PURSUER].npc_target = px + (tick & 1) + MAP_W * py;
        benchmark::DoNotOptimize(game_tick((tick / 20) & 1 ? INPUT_LEFT : INPUT_RIGHT));
        ++tick;
    }
}
BENCHMARK(BM_GameTickChase);

}  // namespace
