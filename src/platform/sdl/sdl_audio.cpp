// The sample stream through SDL2's audio queue: no callback and no thread of
// ours; the main loop keeps at most four 768-sample blocks queued.
#include <SDL.h>

#include <cstdio>
#ifdef __linux__
#include <dlfcn.h>
#endif

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

#ifdef __linux__
// ALSA's own messages (a machine without a sound card gets eight lines of
// "ALSA lib ... cannot find card '0'") go nowhere: the game says in one line
// that it plays without sound.
void alsa_says_nothing(const char*, int, const char*, int, const char*, ...) {}

// SDL loads libasound itself when it tries ALSA; the handler is set in the
// same library beforehand, loaded here by its soname and kept loaded for
// the life of the process so that the handler stays. Where there is no ALSA
// there is nothing to silence.
void silence_alsa() {
    void* alsa = dlopen("libasound.so.2", RTLD_NOW | RTLD_LOCAL);
    if (!alsa) return;
    using Handler = void (*)(const char*, int, const char*, int, const char*, ...);
    using SetHandler = int (*)(Handler);
    void* set = dlsym(alsa, "snd_lib_error_set_handler");
    if (set) reinterpret_cast<SetHandler>(set)(alsa_says_nothing);
}
#else
void silence_alsa() {}
#endif

void report_no_sound(const char* what) {
    std::fprintf(stderr, "stivra: no sound (%s: %s); the game plays without sound\n", what, SDL_GetError());
}

}  // namespace

void audio_open() {
    // Without a display the game does not start: the sound device is left
    // alone, and its driver's complaints stay out of the one line that says so.
    if (!sdl_video_ready()) return;
    silence_alsa();
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        report_no_sound("no sound driver");
        return;
    }
    SDL_AudioSpec want;
    SDL_zero(want);
    want.freq = 22050;
    want.format = AUDIO_S16SYS;
    want.channels = 1;
    want.samples = BLOCK_SAMPLES;
    want.callback = nullptr;
    AudioDevice = SDL_OpenAudioDevice(nullptr, 0, &want, nullptr, 0);
    if (AudioDevice == 0) {  // no device: the game runs silent
        report_no_sound("no sound device");
        return;
    }
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
