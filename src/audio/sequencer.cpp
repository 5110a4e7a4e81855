// The music sequencer and the sound-effect request. Both only raise
// triggers; the synthesiser notices them at the start of its next block, so
// the latest request of a block wins and nothing is queued.
#include "audio/sequencer.h"

#include "audio/synth.h"

SequencerState Sequencer;

namespace {

constexpr int32_t SONG_COUNT = 6;

// Trigger counters only need to change; they wrap instead of overflowing.
void bump(int32_t& counter) {
    counter = static_cast<int32_t>(static_cast<uint32_t>(counter) + 1u);
}

void trigger_note(int voice, int32_t note) {
    Voices[voice].note = note;
    bump(Voices[voice].trigger_count);
}

}  // namespace

void play_sound(int32_t effect) {
    EffectSlot.requested = effect;
    bump(EffectSlot.trigger_count);
}

void sequencer_step(int32_t song) {
    // Choosing a song (again) always starts it from its first step.
    if (song != Sequencer.song) {
        Sequencer.song = song;
        Sequencer.step = 0;
        Sequencer.tick_in_step = 0;
    }
    // Song 0 is silence; an unknown number is treated the same.
    if (song <= 0 || song >= SONG_COUNT) return;
    const SongEntry& entry = SongTable[song];
    if (Sequencer.step < 0 || Sequencer.step >= entry.steps) Sequencer.step = 0;
    if (Sequencer.tick_in_step == 0) {
        const int32_t row_index = entry.first_step + Sequencer.step;
        for (int voice = 0; voice < 3; ++voice) {
            const uint8_t note = SongRows[voice][row_index];
            if (note != 0) trigger_note(voice, note);
        }
        Sequencer.step += 1;
        if (Sequencer.step >= entry.steps) Sequencer.step = 0;
    }
    Sequencer.tick_in_step += 1;
    if (Sequencer.tick_in_step >= entry.ticks_per_step || Sequencer.tick_in_step < 0)
        Sequencer.tick_in_step = 0;
}

void ring_melody_step(int32_t ring_ticks, int32_t ring_count) {
    if (ring_ticks <= 0 || ring_count % 3 != 0) return;
    int32_t index = (ring_count / 3) % 12;
    if (index < 0) index += 12;
    const uint8_t note = RingMelody[index];
    if (note != 0) trigger_note(3, note);
}
