// The sample stream through waveOut: four buffers of 768 samples stay queued
// at the device; the main loop refills each one the device has finished.
#include <windows.h>
#include <mmsystem.h>

#include <cstring>

#include "audio/synth.h"
#include "platform/pause.h"
#include "platform/platform.h"

namespace {

constexpr int BLOCK_SAMPLES = 768;
constexpr int BLOCK_BYTES = BLOCK_SAMPLES * 2;
constexpr int BUFFER_COUNT = 4;

HWAVEOUT WaveDevice = nullptr;
int AudioStreamOpen = 0;
int16_t AudioBuffers[BUFFER_COUNT][BLOCK_SAMPLES];
WAVEHDR AudioHeaders[BUFFER_COUNT];

}  // namespace

void audio_open() {
    WAVEFORMATEX format;
    std::memset(&format, 0, sizeof format);
    format.wFormatTag = WAVE_FORMAT_PCM;
    format.nChannels = 1;
    format.nSamplesPerSec = 22050;
    format.nAvgBytesPerSec = 44100;
    format.nBlockAlign = 2;
    format.wBitsPerSample = 16;
    format.cbSize = 0;
    if (waveOutOpen(&WaveDevice, WAVE_MAPPER, &format, 0, 0, CALLBACK_NULL) != MMSYSERR_NOERROR)
        return;  // no device: the game runs silent
    set_sample_rate(22050);
    for (int i = 0; i < BUFFER_COUNT; ++i) {
        std::memset(&AudioHeaders[i], 0, sizeof(WAVEHDR));
        AudioHeaders[i].lpData = reinterpret_cast<LPSTR>(AudioBuffers[i]);
        AudioHeaders[i].dwBufferLength = BLOCK_BYTES;
        waveOutPrepareHeader(WaveDevice, &AudioHeaders[i], sizeof(WAVEHDR));
        render_stream_block(AudioBuffers[i], BLOCK_SAMPLES);
        waveOutWrite(WaveDevice, &AudioHeaders[i], sizeof(WAVEHDR));
    }
    AudioStreamOpen = 1;
}

void audio_refill() {
    if (!AudioStreamOpen) return;
    for (int i = 0; i < BUFFER_COUNT; ++i) {
        if (AudioHeaders[i].dwFlags & WHDR_DONE) {
            render_stream_block(AudioBuffers[i], BLOCK_SAMPLES);
            waveOutWrite(WaveDevice, &AudioHeaders[i], sizeof(WAVEHDR));
        }
    }
}

void audio_close() {
    if (!AudioStreamOpen) return;
    // Reset hands every queued buffer back; the device may only be closed
    // with none of them still prepared for it.
    waveOutReset(WaveDevice);
    for (int i = 0; i < BUFFER_COUNT; ++i)
        waveOutUnprepareHeader(WaveDevice, &AudioHeaders[i], sizeof(WAVEHDR));
    waveOutClose(WaveDevice);
    WaveDevice = nullptr;
    AudioStreamOpen = 0;
}
