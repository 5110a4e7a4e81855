// One gameplay Tick, averaged over a scripted minute of play (1800 Ticks)
// that walks, runs and turns through the start floor.
#include <benchmark/benchmark.h>

#include "game/game_flow.h"
#include "game/game_state.h"
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
