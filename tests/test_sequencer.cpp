#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "audio/sequencer.h"
#include "audio/synth.h"

namespace {

class SequencerTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (Voice& v : Voices) v = Voice{};
        EffectSlot = SoundEffectSlot{};
        Sequencer = SequencerState{};
        silence_voices();
        set_sample_rate(22050);
    }

    // The Ticks (counted from 0) on which the voice got a new note, with it.
    static std::vector<std::pair<int, int>> notes_of(int voice, int32_t song, int ticks) {
        std::vector<std::pair<int, int>> out;
        for (int t = 0; t < ticks; ++t) {
            const int32_t before = Voices[voice].trigger_count;
            sequencer_step(song);
            if (Voices[voice].trigger_count != before) out.emplace_back(t, Voices[voice].note);
        }
        return out;
    }
};

using Notes = std::vector<std::pair<int, int>>;

TEST_F(SequencerTest, LeavingTheTitleStartsTheIntroSongAtItsFirstStep) {
    for (int t = 0; t < 10; ++t) sequencer_step(1);
    EXPECT_EQ(Voices[0].trigger_count, 1);  // only step 0 so far: 81 and 45
    EXPECT_EQ(Voices[1].trigger_count, 1);
    EXPECT_EQ(Voices[2].trigger_count, 0);
    sequencer_step(2);
    EXPECT_EQ(Sequencer.song, 2);
    EXPECT_EQ(Voices[0].note, 74);
    EXPECT_EQ(Voices[1].note, 38);
    EXPECT_EQ(Voices[2].note, 1);
    EXPECT_EQ(Voices[0].trigger_count, 2);
    EXPECT_EQ(Voices[1].trigger_count, 2);
    EXPECT_EQ(Voices[2].trigger_count, 1);
    EXPECT_EQ(Sequencer.step, 1);
    EXPECT_EQ(Sequencer.tick_in_step, 1);
}

TEST_F(SequencerTest, TitleSongStepsEverySixTicksAndLoops) {
    const Notes bass = notes_of(1, 1, 193);
    EXPECT_EQ(bass, (Notes{{0, 45}, {48, 44}, {96, 45}, {144, 40}, {192, 45}}));
    Sequencer = SequencerState{};
    const Notes melody = notes_of(0, 1, 37);
    EXPECT_EQ(melody, (Notes{{0, 81}, {12, 76}, {24, 84}, {36, 76}}));
}

TEST_F(SequencerTest, IntroDrumsLoopAfter448Ticks) {
    // Kicks on steps 0, 16, 32, 48 and a hi-hat on step 62, 7 Ticks a step.
    const Notes drums = notes_of(2, 2, 449);
    EXPECT_EQ(drums, (Notes{{0, 1}, {112, 1}, {224, 1}, {336, 1}, {434, 3}, {448, 1}}));
}

TEST_F(SequencerTest, ChangingSongRestartsIt) {
    for (int t = 0; t < 7; ++t) sequencer_step(3);
    EXPECT_EQ(Sequencer.step, 3);
    EXPECT_EQ(Voices[2].note, 3);  // step 2's hi-hat
    sequencer_step(2);
    EXPECT_EQ(Voices[0].note, 74);
    const int32_t melody_before = Voices[0].trigger_count;
    sequencer_step(3);
    EXPECT_EQ(Sequencer.song, 3);
    EXPECT_EQ(Sequencer.step, 1);
    EXPECT_EQ(Voices[0].trigger_count, melody_before + 1);
    EXPECT_EQ(Voices[0].note, 76);
    EXPECT_EQ(Voices[1].note, 40);
    EXPECT_EQ(Voices[2].note, 1);
    // Staying on the same song carries on: step 1 of song 3 has a hi-hat.
    sequencer_step(3);
    sequencer_step(3);
    sequencer_step(3);
    EXPECT_EQ(Voices[2].note, 3);
    EXPECT_EQ(Sequencer.step, 2);
}

TEST_F(SequencerTest, SilenceTriggersNothingAndLetsNotesDieAway) {
    sequencer_step(3);
    int16_t block[768];
    render_samples(block, 768);
    EXPECT_GT(Voices[0].envelope, 0);
    const int32_t counts[3] = {Voices[0].trigger_count, Voices[1].trigger_count,
                               Voices[2].trigger_count};
    for (int t = 0; t < 300; ++t) sequencer_step(0);
    EXPECT_EQ(Sequencer.song, 0);
    for (int v = 0; v < 3; ++v) EXPECT_EQ(Voices[v].trigger_count, counts[v]);
    EXPECT_GT(Voices[0].envelope, 0);  // not cut off
    // An unknown song is silence too.
    for (int t = 0; t < 10; ++t) sequencer_step(6);
    for (int t = 0; t < 10; ++t) sequencer_step(-1);
    for (int v = 0; v < 3; ++v) EXPECT_EQ(Voices[v].trigger_count, counts[v]);
}

TEST_F(SequencerTest, OnlyTheLastSoundOfATickIsHeard) {
    play_sound(SFX_KEY);
    play_sound(SFX_ITEM);
    int16_t block[768];
    render_samples(block, 768);
    EXPECT_EQ(EffectSlot.current, SFX_ITEM);
    EXPECT_EQ(EffectSlot.last_trigger, EffectSlot.trigger_count);
    // A new request replaces the playing effect from its first segment.
    play_sound(SFX_CAUGHT);
    render_samples(block, 1);
    EXPECT_EQ(EffectSlot.current, SFX_CAUGHT);
    EXPECT_EQ(EffectSlot.position, 1);
}

TEST_F(SequencerTest, RingMelodyEveryThreeTicksRepeatingEvery36) {
    Notes rings;
    for (int count = 1; count <= 72; ++count) {
        const int32_t before = Voices[3].trigger_count;
        ring_melody_step(210 - count, count);
        if (Voices[3].trigger_count != before) rings.emplace_back(count, Voices[3].note);
    }
    EXPECT_EQ(rings, (Notes{{3, 91}, {6, 88}, {9, 96}, {15, 88}, {18, 91}, {21, 96}, {36, 88},
                            {39, 91}, {42, 88}, {45, 96}, {51, 88}, {54, 91}, {57, 96}, {72, 88}}));
    for (int v = 0; v < 3; ++v) EXPECT_EQ(Voices[v].trigger_count, 0);

    // Not while the phone is silent.
    const int32_t before = Voices[3].trigger_count;
    for (int count = 0; count <= 36; ++count) ring_melody_step(0, count);
    ring_melody_step(-5, 3);
    EXPECT_EQ(Voices[3].trigger_count, before);
}

}  // namespace
