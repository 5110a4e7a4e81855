// The sample stream through Web Audio: page.js keeps a ring of samples that
// its audio node plays at 22050 Hz; this side tops it up to four blocks of
// 768 samples from the main loop, like the native streams. Browsers start
// sound only after a key or a click, so until then nothing is rendered;
// without Web Audio the game runs silent.
#include <emscripten.h>

#include "audio/synth.h"
#include "platform/pause.h"
#include "platform/platform.h"

EM_JS(int, page_audio_open, (), { return StivraPage.audioOpen() ? 1 : 0; });
// Samples waiting in the page's ring, or -1 while sound has not started.
EM_JS(int, page_audio_queued, (), { return StivraPage.audioQueued(); });
EM_JS(void, page_audio_push, (const int16_t* samples, int count), {
    StivraPage.audioPush(HEAP16.subarray(samples >> 1, (samples >> 1) + count));
});
EM_JS(void, page_audio_close, (), { StivraPage.audioClose(); });

namespace {

constexpr int BLOCK_SAMPLES = 768;
constexpr int BLOCKS_QUEUED = 4;

int AudioStreamOpen = 0;
int16_t AudioBlock[BLOCK_SAMPLES];

}  // namespace

void audio_open() {
    if (!page_audio_open()) return;
    set_sample_rate(STREAM_SAMPLE_RATE);
    AudioStreamOpen = 1;
}

void audio_refill() {
    if (!AudioStreamOpen) return;
    for (int i = 0; i < BLOCKS_QUEUED; ++i) {
        const int queued = page_audio_queued();
        if (queued < 0 || queued > (BLOCKS_QUEUED - 1) * BLOCK_SAMPLES) break;
        render_stream_block(AudioBlock, BLOCK_SAMPLES);
        page_audio_push(AudioBlock, BLOCK_SAMPLES);
    }
}

void audio_close() {
    if (!AudioStreamOpen) return;
    page_audio_close();
    AudioStreamOpen = 0;
}
