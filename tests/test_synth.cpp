#include <gtest/gtest.h>

#include <cstdio>
#include <vector>

#include "audio/sequencer.h"
#include "audio/synth.h"
#include "audio/wav.h"

namespace {

class Synth : public ::testing::Test {
protected:
    void SetUp() override {
        for (Voice& v : Voices) v = Voice{};
        EffectSlot = SoundEffectSlot{};
        silence_voices();
        set_sample_rate(22050);
    }
    void TearDown() override { set_sample_rate(22050); }

    static void trigger(int voice, int32_t note) {
        Voices[voice].note = note;
        Voices[voice].trigger_count += 1;
    }
    static std::vector<int16_t> render(int32_t count) {
        std::vector<int16_t> out(static_cast<size_t>(count));
        render_samples(out.data(), count);
        return out;
    }
    // A voice that holds one waveform value at full level, for mixing checks.
    static void hold(int voice, int32_t phase, int32_t volume) {
        Voice& v = Voices[voice];
        v.waveform = 0;
        v.envelope = 1048576;
        v.decay = 0;
        v.increment = 0;
        v.phase = phase;
        v.volume = volume;
    }
};

TEST_F(Synth, WaveformsOverOnePeriod) {
    EXPECT_EQ(waveform_sample(0, 0), 90);
    EXPECT_EQ(waveform_sample(0, 32767), 90);
    EXPECT_EQ(waveform_sample(0, 32768), -90);
    EXPECT_EQ(waveform_sample(1, 0), -128);
    EXPECT_EQ(waveform_sample(1, 32767), 127);
    EXPECT_EQ(waveform_sample(1, 32768), 127);
    EXPECT_EQ(waveform_sample(1, 65535), -128);
    EXPECT_EQ(waveform_sample(2, 0), -128);
    EXPECT_EQ(waveform_sample(2, 65535), 127);
    // The phase is taken modulo one period.
    EXPECT_EQ(waveform_sample(2, 65536 + 256), -127);
    EXPECT_EQ(waveform_sample(0, -1), -90);
    EXPECT_EQ(waveform_sample(5, 0), 0);
    EXPECT_EQ(waveform_sample(-1, 0), 0);
    for (int i = 0; i < 2000; ++i) {
        const int32_t n = waveform_sample(3, 0);
        ASSERT_GE(n, -128);
        ASSERT_LE(n, 127);
        // Saw at phase 0 is -128: -64 plus a third of a noise value.
        const int32_t sn = waveform_sample(4, 0);
        ASSERT_GE(sn, -64 - 42);
        ASSERT_LE(sn, -64 + 42);
    }
}

TEST_F(Synth, ToneTriggersSetPitchEnvelopeAndVoice) {
    trigger(0, 69);
    trigger(1, 81);
    trigger(3, 5);
    render(1);
    EXPECT_EQ(Voices[0].increment, 1307);  // about 440 Hz
    EXPECT_EQ(Voices[0].waveform, 0);
    EXPECT_EQ(Voices[0].volume, 3);
    EXPECT_EQ(Voices[0].decay, 148);  // 1048576 / (7056 + 1)
    EXPECT_EQ(Voices[0].last_trigger, Voices[0].trigger_count);
    EXPECT_EQ(Voices[1].increment, 2615);
    EXPECT_EQ(Voices[1].waveform, 1);
    // A note below 12 plays as note 12.
    EXPECT_EQ(Voices[3].increment, 48);
    EXPECT_EQ(Voices[3].volume, 4);
    EXPECT_EQ(Voices[3].waveform, 0);
}

TEST_F(Synth, ToneLastsItsDecayTimeAndKeepsItsPhase) {
    Voices[0].phase = 1000;
    trigger(0, 69);
    render(1);
    EXPECT_EQ(Voices[0].phase, 1000 + 1307);  // not reset by the trigger
    // 148 per sample from 1048576: 7084 samples leave 144, the 7085th ends it.
    render(7083);
    EXPECT_EQ(Voices[0].envelope, 144);
    render(1);
    EXPECT_LE(Voices[0].envelope, 0);
    const std::vector<int16_t> after = render(100);
    for (int16_t s : after) EXPECT_EQ(s, 0);
}

TEST_F(Synth, PercussionKickSlidesSnareAndHiHat) {
    trigger(2, 1);
    render(1);
    EXPECT_EQ(Voices[2].waveform, 1);
    EXPECT_EQ(Voices[2].slide, 1);
    EXPECT_EQ(Voices[2].volume, 5);
    EXPECT_EQ(Voices[2].decay, 297);  // 1048576 / (3528 + 1)
    // The increment falls by 31/32 every 32 samples: 282 273 264 255 247.
    // Where the 32-sample grid lies depends on the samples rendered before,
    // so the first sample may already have slid once.
    const int32_t expected[] = {282, 273, 264, 255, 247};
    int32_t seen = Voices[2].increment == 282 ? 1 : 2;
    ASSERT_EQ(Voices[2].increment, expected[seen - 1]);
    int32_t last_change = -1;
    for (int32_t i = 0; i < 32 * 5 && seen < 5; ++i) {
        const int32_t before = Voices[2].increment;
        render(1);
        if (Voices[2].increment != before) {
            EXPECT_EQ(Voices[2].increment, expected[seen]);
            if (last_change >= 0) {
                EXPECT_EQ(i - last_change, 32);
            }
            last_change = i;
            ++seen;
        }
    }
    EXPECT_EQ(seen, 5);

    trigger(2, 2);
    render(1);
    EXPECT_EQ(Voices[2].slide, 0);
    EXPECT_EQ(Voices[2].waveform, 3);
    EXPECT_EQ(Voices[2].increment, 0);
    EXPECT_EQ(Voices[2].volume, 3);
    EXPECT_EQ(Voices[2].decay, 365);  // 1048576 / (2866 + 1)
    trigger(2, 3);
    render(1);
    EXPECT_EQ(Voices[2].volume, 2);
    EXPECT_EQ(Voices[2].decay, 1899);  // 1048576 / (551 + 1)
}

TEST_F(Synth, TwoTriggersInOneBlockGiveOneNote) {
    trigger(0, 60);
    trigger(0, 69);
    render(768);
    EXPECT_EQ(Voices[0].increment, 1307);
    EXPECT_EQ(Voices[0].envelope, 1048576 - 768 * 148);
}

TEST_F(Synth, NothingRendersWithoutARate) {
    set_sample_rate(0);
    trigger(0, 69);
    play_sound(SFX_CAUGHT);
    const std::vector<int16_t> out = render(256);
    for (int16_t s : out) EXPECT_EQ(s, 0);
    // The triggers wait for the stream.
    EXPECT_NE(Voices[0].last_trigger, Voices[0].trigger_count);
    EXPECT_EQ(EffectSlot.current, 0);
    set_sample_rate(22050);
    render(1);
    EXPECT_EQ(Voices[0].increment, 1307);
    EXPECT_EQ(EffectSlot.current, SFX_CAUGHT);
}

TEST_F(Synth, EffectsThatPlayNothing) {
    for (int32_t effect : {0, -1, 20, 1000}) {
        play_sound(effect);
        const std::vector<int16_t> out = render(768);
        EXPECT_EQ(EffectSlot.current, 0) << effect;
        for (int16_t s : out) ASSERT_EQ(s, 0) << effect;
    }
    // At 10 Hz the first 70 ms segment of effect 3 lasts no sample at all.
    set_sample_rate(10);
    play_sound(SFX_KEY);
    render(4);
    EXPECT_EQ(EffectSlot.current, 0);
}

TEST_F(Synth, LockedIsToneGapTone) {
    // 120 ms = 2646 samples of tone, 60 ms = 1323 of silence, 2646 of tone.
    play_sound(SFX_LOCKED);
    std::vector<int16_t> out = render(2646);
    // First sample: phase 326 (110 Hz), fade 2645 * 80 / 2646 = 79:
    // 90 * 79 / 32 = 222, times 22. The fade reaches 0 for the last 34.
    EXPECT_EQ(out[0], 4884);
    EXPECT_NE(out[2611], 0);
    for (int i = 2612; i < 2646; ++i) ASSERT_EQ(out[i], 0) << i;
    EXPECT_EQ(EffectSlot.segment, 0);
    out = render(1323);
    EXPECT_EQ(EffectSlot.segment, 1);
    for (int16_t s : out) ASSERT_EQ(s, 0);
    out = render(2646);
    EXPECT_EQ(EffectSlot.segment, 2);
    EXPECT_EQ(EffectSlot.current, SFX_LOCKED);
    EXPECT_NE(out[0], 0);
    EXPECT_NE(out[2611], 0);
    out = render(1000);
    EXPECT_EQ(EffectSlot.current, 0);
    for (int16_t s : out) ASSERT_EQ(s, 0);
}

TEST_F(Synth, NoticedIsOneRisingSweep) {
    play_sound(SFX_NOTICED);
    render(1);
    EXPECT_EQ(EffectSlot.length, 9922);  // 450 ms
    EXPECT_EQ(EffectSlot.increment, 891);  // 300 Hz
    render(63);
    EXPECT_EQ(EffectSlot.increment, 891);  // held for 64 samples
    render(1);
    EXPECT_EQ(EffectSlot.increment, 906);  // 300 + 900 * 64 / 9922 = 305 Hz
    render(9920 - 65);
    render(1);
    EXPECT_EQ(EffectSlot.increment, 3563);  // 300 + 900 * 9920 / 9922 = 1199 Hz
    render(1);
    EXPECT_EQ(EffectSlot.segment, 0);
    EXPECT_EQ(EffectSlot.current, SFX_NOTICED);
    render(1);  // the second segment lasts 0 ms
    EXPECT_EQ(EffectSlot.current, 0);
}

TEST_F(Synth, MixingSoftLimitAndClamp) {
    // Four square voices at +90 and full level: 90 * 15 * 18 = 24300, squeezed
    // to (24300 - 20000) / 4 + 20000.
    hold(0, 0, 3);
    hold(1, 0, 3);
    hold(2, 0, 5);
    hold(3, 0, 4);
    EXPECT_EQ(render(1)[0], 21075);
    for (Voice& v : Voices) v.phase = 40000;
    EXPECT_EQ(render(1)[0], -21075);
    // Below the knee the sum passes unchanged: 90 * 12 * 18.
    for (int i = 0; i < 4; ++i) hold(i, 0, 3);
    EXPECT_EQ(render(1)[0], 19440);
    // Far beyond it the clamp holds, even for absurd volumes.
    for (int i = 0; i < 4; ++i) hold(i, 0, 12);
    EXPECT_EQ(render(1)[0], 32000);
    for (int i = 0; i < 4; ++i) hold(i, 40000, 1 << 30);
    EXPECT_EQ(render(1)[0], -32000);
}

TEST_F(Synth, EverythingSoundingStaysInRange) {
    for (int32_t effect = 1; effect < EFFECT_COUNT; ++effect) {
        play_sound(effect);
        for (int block = 0; block < 12; ++block) {
            if (block % 3 == 0) {
                trigger(0, 96);
                trigger(1, 28);
                trigger(2, 1 + block / 3 % 3);
                trigger(3, 88);
            }
            const std::vector<int16_t> out = render(768);
            for (int16_t s : out) {
                ASSERT_GE(s, -32000);
                ASSERT_LE(s, 32000);
            }
        }
    }
}

TEST_F(Synth, OddNotesAndRatesStayDefined) {
    // Out-of-range notes and extreme rates must not overflow (checked by the
    // sanitizers) and must keep a usable pitch.
    trigger(0, 255);
    trigger(1, -1000);
    trigger(3, 2147483647);
    render(16);
    EXPECT_EQ(Voices[1].increment, 48);
    EXPECT_GT(Voices[0].increment, 0);
    EXPECT_GT(Voices[3].increment, 0);
    set_sample_rate(2147483647);
    play_sound(SFX_CAUGHT);
    trigger(0, 69);
    trigger(2, 1);
    render(256);
    EXPECT_EQ(EffectSlot.current, SFX_CAUGHT);
    set_sample_rate(-22050);
    const std::vector<int16_t> out = render(16);
    for (int16_t s : out) EXPECT_EQ(s, 0);
}

TEST(Wav, RiffSizeNeverWraps) {
    // The RIFF size is 36 + 2 bytes a sample in 32 bits: 2147483629 samples
    // give 4294967294; one more would wrap it, so that write is refused.
    auto riff_size = [](const char* name) {
        uint8_t h[8] = {};
        std::FILE* f = std::fopen(name, "rb");
        if (f) {
            if (std::fread(h, 1, 8, f) != 8) h[4] = h[5] = h[6] = h[7] = 0;
            std::fclose(f);
        }
        return h[4] | (h[5] << 8) | (h[6] << 16) | (uint32_t(h[7]) << 24);
    };
    const int16_t sample = 1;
    WavFile wav;
    ASSERT_TRUE(wav_open(wav, "wav_limit.wav", 22050));
    wav.sample_count = 2147483628u;  // as if that much had been written already
    wav_write(wav, &sample, 1);
    EXPECT_TRUE(wav_close(wav));
    EXPECT_EQ(riff_size("wav_limit.wav"), 4294967294u);

    ASSERT_TRUE(wav_open(wav, "wav_limit.wav", 22050));
    wav.sample_count = 2147483629u;
    wav_write(wav, &sample, 1);
    EXPECT_FALSE(wav_close(wav));
}

}  // namespace
