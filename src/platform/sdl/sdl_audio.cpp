// The sample stream through SDL2's audio queue: no callback and no thread of
// ours; the main loop keeps at most four 768-sample blocks queued.
#include <SDL.h>

#include "audio/synth.h"
#include "platform/pause.h"
#include "platform/platform.h"
#include "platform/sdl/sdl_video.h"

namespace {

constexpr int BLOCK_SAMPLES = 768;
constexpr int BLOCK_BYTES = BLOCK_SAMPLES * 2;
constexpr int BLOCKS_QUEUED = 4;

SDL_AudioDeviceID AudioDevice = 0;
int AudioStreamOpen = 0;
int AudioPlaying = 0;
int16_t AudioBlock[BLOCK_SAMPLES];

void queue_block() {
    render_stream_block(AudioBlock, BLOCK_SAMPLES);
    SDL_QueueAudio(AudioDevice, AudioBlock, BLOCK_BYTES);
}

}  // namespace

void audio_open() {
    // Without a display the game does not start: the sound device is left
    // alone, and its driver's complaints stay out of the one line that says so.
    if (!sdl_video_ready()) return;
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return;
    SDL_AudioSpec want;
    SDL_zero(want);
    want.freq = 22050;
    want.format = AUDIO_S16SYS;
    want.channels = 1;
    want.samples = BLOCK_SAMPLES;
    want.callback = nullptr;
    AudioDevice = SDL_OpenAudioDevice(nullptr, 0, &want, nullptr, 0);
    if (AudioDevice == 0) return;  // no device: the game runs silent
    set_sample_rate(22050);
    // The device starts playing at the first refill, from the main loop: the
    // window opens in between and may take longer than the queue lasts.
    AudioStreamOpen = 1;
}

void audio_refill() {
    if (!AudioStreamOpen) return;
    for (int i = 0; i < BLOCKS_QUEUED; ++i) {
        if (SDL_GetQueuedAudioSize(AudioDevice) > (BLOCKS_QUEUED - 1) * BLOCK_BYTES) break;
        queue_block();
    }
    if (!AudioPlaying) {
        SDL_PauseAudioDevice(AudioDevice, 0);
        AudioPlaying = 1;
    }
}

void sdl_audio_fill_ahead(int32_t ms) {
    if (!AudioStreamOpen) return;
    const uint32_t bytes = static_cast<uint32_t>(ms) * 22050u / 1000u * 2u;
    for (int i = 0; i < 32 && SDL_GetQueuedAudioSize(AudioDevice) < bytes; ++i) queue_block();
}

void audio_close() {
    if (!AudioStreamOpen) return;
    SDL_CloseAudioDevice(AudioDevice);
    AudioStreamOpen = 0;
    AudioPlaying = 0;
}
