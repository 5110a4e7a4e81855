// The title frame, and the start-up of a tool process to its first output.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>

#include "game/game_flow.h"
#include "game/game_state.h"
#include "platform/replay.h"
#include "screens/draw_screen.h"

namespace {

void BM_DrawTitleFrame(benchmark::State& state) {
    replay_start(12345);
    for (auto _ : state) {
        draw_screen();
        benchmark::ClobberMemory();
        Game.mode_ticks += 1;  // the prompt blinks and the lightning comes and goes
        Game.total_ticks += 1;
    }
}
BENCHMARK(BM_DrawTitleFrame);

// A new process of the tool until its first byte of output: loading, program
// initialisation (the new game with its six floors) and the JSON.
void BM_ToolStartUp(benchmark::State& state) {
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        std::FILE* tool = popen(STIVRA_TOOL " newgame --seed 1", "r");
        if (!tool) {
            state.SkipWithError("cannot start the tool");
            break;
        }
        const int first = std::fgetc(tool);
        const auto end = std::chrono::steady_clock::now();
        while (std::fgetc(tool) != EOF) {
        }
        if (pclose(tool) != 0 || first != '{') {
            state.SkipWithError("the tool failed");
            break;
        }
        state.SetIterationTime(std::chrono::duration<double>(end - start).count());
    }
}
BENCHMARK(BM_ToolStartUp)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace
