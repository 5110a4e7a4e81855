#include <benchmark/benchmark.h>

#include "audio/sequencer.h"
#include "audio/synth.h"

namespace {

int16_t BenchBlock[768];

// One sound buffer of the game with all four voices and an effect sounding;
// whatever has died away is retriggered before the block.
void BM_RenderSamplesBlock(benchmark::State& state) {
    for (Voice& v : Voices) v = Voice{};
    EffectSlot = SoundEffectSlot{};
    silence_voices();
    set_sample_rate(22050);
    const int32_t notes[4] = {76, 40, 2, 88};
    for (auto _ : state) {
        for (int i = 0; i < 4; ++i) {
            if (Voices[i].envelope <= 768 * Voices[i].decay) {
                Voices[i].note = notes[i];
                Voices[i].trigger_count += 1;
            }
        }
        if (EffectSlot.current == 0 || EffectSlot.segment > 0) play_sound(SFX_BRAWL);
        render_samples(BenchBlock, 768);
        benchmark::DoNotOptimize(BenchBlock);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * 768);
}
BENCHMARK(BM_RenderSamplesBlock);

}  // namespace
