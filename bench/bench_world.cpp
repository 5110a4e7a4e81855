#include <benchmark/benchmark.h>

#include "game/current_floor.h"
#include "game/game_state.h"
#include "gfx/font.h"
#include "world/floors.h"
#include "world/world_image.h"

// A whole repaint of one floor, as on every floor change: must stay far below
// a frame's time.
static void BM_BuildWorldImage(benchmark::State& state) {
    build_glyph_lookup();
    for (int& open : Game.floor_open) open = 0;
    Game.floor_open[3] = 1;
    Game.power_on = 0;
    Game.pool_hall_open = 0;
    load_floor(static_cast<int32_t>(state.range(0)));
    for (auto _ : state) {
        repaint_floor();
        benchmark::DoNotOptimize(WorldImage[0]);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_BuildWorldImage)->Arg(3)->Arg(0)->Arg(4)->Unit(benchmark::kMillisecond);
