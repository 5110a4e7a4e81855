// The software synthesiser: four tone voices and one sound-effect slot,
// rendered as signed 16-bit mono samples, integer arithmetic only.
#pragma once
#include <cstdint>

struct Voice {
    int32_t volume;
    int32_t slide;
    int32_t waveform;
    int32_t decay;
    int32_t envelope;
    int32_t increment;
    int32_t phase;
    int32_t last_trigger;
    int32_t trigger_count;  // raised by the sequencer for every new note
    int32_t note;
};

struct SoundEffectSlot {
    int32_t requested;      // written by play_sound
    int32_t trigger_count;  // written by play_sound
    int32_t last_trigger;
    int32_t current;        // 0 = none
    int32_t segment;
    int32_t position;
    int32_t length;
    int32_t phase;
    int32_t increment;
};

constexpr int EFFECT_COUNT = 20;
extern const int32_t EffectTable[EFFECT_COUNT][3][5];
extern const int32_t NoteFrequencies[12];

extern Voice Voices[4];
extern SoundEffectSlot EffectSlot;

// Envelopes to 0, volumes to 3.
void silence_voices();
// Voices, the effect slot, the noise generator and the sample counter as at
// program start, the voices silenced; the rate stays. What is rendered after
// it does not depend on anything rendered before.
void reset_synth();
void set_sample_rate(int32_t rate);
int32_t waveform_sample(int32_t type, int32_t phase);
void render_samples(int16_t* buffer, int32_t count);
