#include <benchmark/benchmark.h>

#include <cstring>

#include "gfx/draw.h"
#include "platform/present.h"
#include "world/visibility.h"

namespace {

const TileMask Visible{VisibleGrid, MAP_W, MAP_H};

void fill_picture() {
    uint32_t seed = 12345;
    for (uint8_t& p : Framebuffer) {
        seed = seed * 1103515245u + 12345u;
        p = static_cast<uint8_t>((seed >> 16) & 15);
    }
}

// Every byte of the Framebuffer once through a 16-entry table: the cost of the
// cheapest possible full-screen pass, the yardstick for the others.
void BM_PlainLutPass(benchmark::State& state) {
    fill_picture();
    uint8_t lut[16];
    for (int c = 0; c < 16; ++c) lut[c] = static_cast<uint8_t>(15 - c);
    for (auto _ : state) {
        for (uint8_t& p : Framebuffer) p = lut[p & 15];
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * SCREEN_W * SCREEN_H);
}
BENCHMARK(BM_PlainLutPass);

// The darkness pass of a typical play view: camera inside the world, the
// player's light and a floor light, every tile visible.
void BM_ShadeByLight(benchmark::State& state) {
    build_shade_table();
    std::memset(VisibleGrid, 1, sizeof VisibleGrid);
    fill_picture();
    for (auto _ : state) {
        shade_by_light(Visible, 288, 124, 448, 216, 92, 448, 96, 150, 0);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * SCREEN_W * SCREEN_H);
}
BENCHMARK(BM_ShadeByLight);

void BM_EdgeVignette(benchmark::State& state) {
    fill_picture();
    for (auto _ : state) {
        edge_vignette(2, 3);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_EdgeVignette);

}  // namespace
