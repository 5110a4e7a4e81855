// The software synthesiser. Game code raises triggers (a counter and a note
// or effect number); each render call picks them up once at its start, then
// mixes four decaying tone voices and the effect slot sample by sample.
//
// Sums and products that take the sample rate or a caller-supplied field are
// worked in 64 bits: with the game's own values they stay far inside 32 bits
// and the results are the same, but a poked voice or an odd rate can never
// overflow a signed integer.
#include "audio/synth.h"

// Waveform type 0..4, start Hz, end Hz, duration ms, volume; type 5 is a
// silent segment and a segment of 0 ms ends the effect.
const int32_t EffectTable[EFFECT_COUNT][3][5] = {
    {{5, 0, 0, 0, 0}, {5, 0, 0, 0, 0}, {5, 0, 0, 0, 0}},                  // 0 none
    {{1, 60, 40, 110, 127}, {5, 0, 0, 90, 0}, {1, 55, 38, 100, 110}},     // 1 heartbeat
    {{4, 300, 1200, 450, 100}, {5, 0, 0, 0, 0}, {5, 0, 0, 0, 0}},         // 2 noticed
    {{0, 1320, 1320, 70, 70}, {0, 1760, 1760, 130, 70}, {5, 0, 0, 0, 0}}, // 3 key
    {{4, 900, 120, 1300, 105}, {5, 0, 0, 0, 0}, {5, 0, 0, 0, 0}},         // 4 caught
    {{0, 523, 523, 100, 60}, {0, 659, 659, 100, 60}, {0, 784, 784, 200, 60}},   // 5 escape
    {{3, 200, 200, 60, 110}, {0, 170, 140, 120, 60}, {5, 0, 0, 0, 0}},    // 6 locker
    {{0, 110, 110, 120, 80}, {5, 0, 0, 60, 0}, {0, 110, 110, 120, 80}},   // 7 locked
    {{3, 80, 60, 70, 110}, {5, 0, 0, 160, 0}, {3, 80, 60, 70, 110}},      // 8 footsteps
    {{0, 425, 425, 280, 50}, {5, 0, 0, 220, 0}, {0, 425, 425, 280, 50}},  // 9 call
    {{3, 400, 100, 140, 95}, {3, 300, 80, 140, 95}, {3, 500, 120, 160, 95}},    // 10 brawl
    {{0, 600, 720, 60, 45}, {0, 520, 480, 60, 45}, {0, 640, 640, 60, 45}},      // 11 talk
    {{0, 400, 200, 300, 70}, {0, 200, 120, 300, 70}, {5, 0, 0, 0, 0}},    // 12 confiscate
    {{3, 120, 90, 40, 70}, {5, 0, 0, 80, 0}, {3, 120, 90, 40, 70}},       // 13 floor change
    {{0, 880, 880, 50, 60}, {0, 1320, 1320, 90, 60}, {5, 0, 0, 0, 0}},    // 14 item
    {{1, 440, 440, 180, 110}, {1, 554, 554, 180, 110}, {1, 659, 659, 420, 110}},  // 15 piano
    {{3, 300, 150, 80, 100}, {5, 0, 0, 60, 0}, {0, 220, 330, 200, 70}},   // 16 unlock
    {{2, 60, 240, 600, 70}, {5, 0, 0, 80, 0}, {0, 880, 880, 120, 50}},    // 17 fuse box
    {{3, 500, 80, 500, 100}, {5, 0, 0, 0, 0}, {5, 0, 0, 0, 0}},           // 18 stink bomb
    {{1, 200, 120, 90, 90}, {1, 200, 120, 90, 90}, {3, 1500, 1500, 250, 40}},   // 19 energy drink
};

// The top octave of the table (C8..B8); lower notes shift these down.
const int32_t NoteFrequencies[12] = {4186, 4435, 4699, 4978, 5274, 5588,
                                     5920, 6272, 6645, 7040, 7459, 7902};

Voice Voices[4];
SoundEffectSlot EffectSlot;

namespace {

constexpr int32_t FULL_ENVELOPE = 1048576;
// Above this a note's frequency would no longer fit the integer increment;
// such notes fold into the top octave, keeping their pitch class.
constexpr int32_t HIGHEST_NOTE = 143;

constexpr uint32_t NOISE_SEED = 7;

int32_t SampleRate = 0;
uint32_t SampleCounter = 0;
uint32_t NoiseState = NOISE_SEED;

int32_t noise_sample() {
    NoiseState = NoiseState * 1103515245u + 12345u;
    return static_cast<int32_t>((NoiseState >> 16) & 255u) - 128;
}

// A 64-bit value into a 32-bit field, saturating; only absurd rates reach
// the limits.
int32_t saturate32(int64_t v) {
    if (v > INT32_MAX) return INT32_MAX;
    if (v < INT32_MIN) return INT32_MIN;
    return static_cast<int32_t>(v);
}

// Samples in the given milliseconds at the current rate.
int64_t samples_for_ms(int32_t ms) {
    return static_cast<int64_t>(ms) * SampleRate / 1000;
}

int32_t tone_increment(int32_t note) {
    int32_t n = note < 12 ? 12 : note;
    if (n > HIGHEST_NOTE) n = HIGHEST_NOTE - 11 + n % 12;
    const int64_t hz_256 = (static_cast<int64_t>(NoteFrequencies[n % 12]) << (n / 12 - 1)) << 8;
    return saturate32(hz_256 / SampleRate);
}

void start_note(int index) {
    Voice& v = Voices[index];
    v.last_trigger = v.trigger_count;
    v.slide = 0;
    int32_t decay_ms;
    if (index == 2) {
        if (v.note == 1) {  // kick: a falling triangle around 95 Hz
            v.waveform = 1;
            v.slide = 1;
            v.increment = 6225920 / SampleRate;
            v.volume = 5;
            decay_ms = 160;
        } else if (v.note == 2) {  // snare
            v.waveform = 3;
            v.increment = 0;
            v.volume = 3;
            decay_ms = 130;
        } else {  // hi-hat
            v.waveform = 3;
            v.increment = 0;
            v.volume = 2;
            decay_ms = 25;
        }
    } else {
        v.increment = tone_increment(v.note);
        if (index == 0) {  // melody
            v.waveform = 0;
            v.volume = 3;
            decay_ms = 320;
        } else if (index == 1) {  // bass
            v.waveform = 1;
            v.volume = 3;
            decay_ms = 520;
        } else {  // the phone's ring
            v.waveform = 0;
            v.volume = 4;
            decay_ms = 110;
        }
    }
    // The phase runs on, so a retriggered note does not click.
    v.envelope = FULL_ENVELOPE;
    v.decay = saturate32(FULL_ENVELOPE / (samples_for_ms(decay_ms) + 1));
}

int32_t segment_length(int32_t effect, int32_t segment) {
    return saturate32(samples_for_ms(EffectTable[effect][segment][3]));
}

void start_effect() {
    EffectSlot.last_trigger = EffectSlot.trigger_count;
    // An unknown number plays nothing rather than reading past the table.
    const int32_t effect = EffectSlot.requested;
    EffectSlot.current = (effect > 0 && effect < EFFECT_COUNT) ? effect : 0;
    EffectSlot.segment = 0;
    EffectSlot.position = 0;
    EffectSlot.length = segment_length(EffectSlot.current, 0);
    if (EffectSlot.length <= 0) EffectSlot.current = 0;
}

int32_t add_phase(int32_t phase, int32_t increment) {
    return static_cast<int32_t>((static_cast<uint32_t>(phase) + static_cast<uint32_t>(increment)) &
                                65535u);
}

// One sample of the effect slot, before its mixing weight.
int64_t effect_sample() {
    SoundEffectSlot& e = EffectSlot;
    if (e.current <= 0 || e.current >= EFFECT_COUNT || e.segment < 0 || e.segment > 2) {
        e.current = 0;
        return 0;
    }
    if (e.position >= e.length || e.length <= 0) {
        e.segment += 1;
        const int32_t length = e.segment < 3 ? segment_length(e.current, e.segment) : 0;
        if (length <= 0) {
            e.current = 0;
            return 0;
        }
        e.position = 0;
        e.length = length;
    }
    const int32_t* seg = EffectTable[e.current][e.segment];
    if ((e.position & 63) == 0) {
        // A linear glide, stepped every 64 samples.
        const int64_t start = seg[1];
        const int64_t f = start + (seg[2] - start) * e.position / e.length;
        e.increment = saturate32(f * 65536 / SampleRate);
    }
    e.phase = add_phase(e.phase, e.increment);
    e.position += 1;
    if (seg[0] == 5) return 0;
    // Fades linearly from nearly full volume to 0 over the segment.
    const int64_t level = (static_cast<int64_t>(e.length) - e.position) * seg[4] / e.length;
    return waveform_sample(seg[0], e.phase) * level / 32;
}

}  // namespace

void silence_voices() {
    for (Voice& v : Voices) {
        v.envelope = 0;
        v.volume = 3;
    }
}

void reset_synth() {
    for (Voice& v : Voices) v = Voice{};
    EffectSlot = SoundEffectSlot{};
    SampleCounter = 0;
    NoiseState = NOISE_SEED;
    silence_voices();
}

void set_sample_rate(int32_t rate) { SampleRate = rate; }

int32_t waveform_sample(int32_t type, int32_t phase) {
    const int32_t p = static_cast<int32_t>(static_cast<uint32_t>(phase) & 65535u);
    switch (type) {
        case 0:
            return p < 32768 ? 90 : -90;
        case 1:
            return p < 32768 ? p / 128 - 128 : (65535 - p) / 128 - 128;
        case 2:
            return p / 256 - 128;
        case 3:
            return noise_sample();
        case 4:
            return (p / 256 - 128) / 2 + noise_sample() / 3;
        default:
            return 0;
    }
}

void render_samples(int16_t* buffer, int32_t count) {
    if (!buffer || count <= 0) return;
    // Before the stream announces its rate nothing plays, and the triggers
    // wait for the first real block.
    if (SampleRate <= 0) {
        for (int32_t i = 0; i < count; ++i) buffer[i] = 0;
        return;
    }
    for (int i = 0; i < 4; ++i)
        if (Voices[i].trigger_count != Voices[i].last_trigger) start_note(i);
    if (EffectSlot.trigger_count != EffectSlot.last_trigger) start_effect();

    for (int32_t i = 0; i < count; ++i) {
        int64_t sum = 0;
        for (Voice& v : Voices) {
            if (v.envelope <= 0) continue;
            const int64_t w = waveform_sample(v.waveform, v.phase);
            sum += w * (v.envelope >> 12) / 256 * v.volume;
            v.envelope = static_cast<int32_t>(static_cast<uint32_t>(v.envelope) -
                                              static_cast<uint32_t>(v.decay));
            v.phase = add_phase(v.phase, v.increment);
            if (v.slide && (SampleCounter & 31u) == 0)
                v.increment = static_cast<int32_t>(static_cast<int64_t>(v.increment) * 31 / 32);
        }
        sum *= 18;
        if (EffectSlot.current != 0) sum += effect_sample() * 22;
        // Loud overlaps are squeezed before the hard clamp.
        if (sum > 20000) sum = (sum - 20000) / 4 + 20000;
        if (sum < -20000) sum = (sum + 20000) / 4 - 20000;
        if (sum > 32000) sum = 32000;
        if (sum < -32000) sum = -32000;
        buffer[i] = static_cast<int16_t>(sum);
        SampleCounter += 1;
    }
}
