// Pause and mute: the game, its clock and its record stand still while
// paused; the picture and the sound change, the Framebuffer and the
// synthesiser's course do not.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "audio/sequencer.h"
#include "audio/synth.h"
#include "fake_platform.h"
#include "game/game_flow.h"
#include "game/game_state.h"
#include "gfx/draw.h"
#include "platform/bmp.h"
#include "platform/input.h"
#include "platform/main_loop.h"
#include "platform/pause.h"
#include "platform/present.h"
#include "platform/replay.h"
#include "screens/draw_screen.h"

namespace {

void press(uint32_t vk) {
    window_key_down(vk);
    window_key_up(vk);
}

// Passes recorded so far, from the closing line the recorder would write now.
uint64_t recorded_passes() {
    char line[RECORD_END_LINE_SIZE];
    record_end_line(line);
    return std::strtoull(line + std::strlen("# end: "), nullptr, 10);
}

std::vector<uint8_t> read_file(const char* name) {
    std::vector<uint8_t> data;
    if (std::FILE* f = std::fopen(name, "rb")) {
        int c;
        while ((c = std::fgetc(f)) != EOF) data.push_back(static_cast<uint8_t>(c));
        std::fclose(f);
    }
    return data;
}

}  // namespace

// Paused for a minute in the middle of play: no Tick, no recorded pass, no
// catch-up afterwards, and nothing held from before or during the pause.
TEST(Pause, GameClockAndRecordStandStill) {
    reset_fake_platform();
    program_init(11);
    ASSERT_TRUE(record_open("pause_record.txt", 11));
    LoopClock clock;
    main_loop_start(clock);
    while (clock.ticks < 10) main_loop_pass(clock);
    Fake.now_ms += 7;  // between two Ticks

    window_key_down('W');  // held into the pause, released during it
    const int32_t ticks_before = Game.total_ticks;
    const uint64_t passes_before = recorded_passes();
    const uint32_t loop_time_before = loop_time_ms();
    const int presents_before = Fake.presents;
    press(VKEY_P);
    ASSERT_EQ(Paused, 1u);
    EXPECT_EQ(HeldInput, 0u);

    for (int i = 0; i < 600; ++i) {
        if (i == 100) window_key_down('D');  // game keys are not taken while paused
        if (i == 200) window_key_up('W');
        main_loop_pass(clock);
        Fake.now_ms += 100;
    }
    EXPECT_EQ(Game.total_ticks, ticks_before);
    EXPECT_EQ(clock.ticks, 10u);
    EXPECT_EQ(recorded_passes(), passes_before);
    EXPECT_EQ(Fake.presents, presents_before + 1);  // the pause sign, once
    EXPECT_GE(Fake.refills, 600);                   // the sound stream kept going
    EXPECT_EQ(HeldInput | PressedInput, 0u);

    press(VKEY_P);
    ASSERT_EQ(Paused, 0u);
    // The loop's clock went on from where it stopped: the next Tick is as
    // far away as it was when the pause began.
    EXPECT_EQ(loop_time_ms(), loop_time_before);
    int ticking_passes = 0;
    const uint32_t resumed_at = Fake.now_ms;
    while (Fake.now_ms - resumed_at < 1000) {
        const uint32_t before = clock.ticks;
        main_loop_pass(clock);
        ASSERT_LE(clock.ticks - before, 1u) << "a burst of Ticks after the pause";
        if (clock.ticks != before) ++ticking_passes;
    }
    EXPECT_EQ(ticking_passes, 30);
    EXPECT_EQ(Game.previous_input, 0u);  // neither W nor D
    EXPECT_EQ(recorded_passes(), passes_before + 30);
    EXPECT_TRUE(record_close());
    std::remove("pause_record.txt");
}

TEST(Pause, KeysFocusAndTheSmokeRun) {
    reset_fake_platform();
    // A held P toggles once; the next press toggles back.
    window_key_down(VKEY_P);
    window_key_down(VKEY_P);  // key repeat
    EXPECT_EQ(Paused, 1u);
    window_key_up(VKEY_P);
    press(VKEY_P);
    EXPECT_EQ(Paused, 0u);
    window_key_down(VKEY_M);
    window_key_down(VKEY_M);
    window_key_up(VKEY_M);
    EXPECT_EQ(Muted, 1u);
    EXPECT_EQ(Paused, 0u);
    press(VKEY_M);
    EXPECT_EQ(Muted, 0u);
    // P and M are no buttons of the game.
    EXPECT_EQ(map_virtual_key(VKEY_P), 0u);
    EXPECT_EQ(map_virtual_key(VKEY_M), 0u);
    EXPECT_EQ(HeldInput | PressedInput, 0u);

    // Losing the focus pauses and lets go of every key; it stays paused.
    window_key_down(VKEY_SHIFT);
    window_focus_lost();
    EXPECT_EQ(Paused, 1u);
    EXPECT_EQ(HeldInput, 0u);
    window_focus_lost();
    EXPECT_EQ(Paused, 1u);
    // A P whose key-up went to another window still toggles when pressed again.
    window_key_down(VKEY_P);
    EXPECT_EQ(Paused, 0u);
    window_focus_lost();
    window_key_down(VKEY_P);
    EXPECT_EQ(Paused, 0u);

    // The smoke run pauses for nothing and still ends after 150 Ticks.
    reset_fake_platform();
    std::remove("pause_autoplay.bmp");
    AutoplayFile = "pause_autoplay.bmp";
    Fake.on_pump = [](int pump) {
        if (pump % 7 == 0) press(VKEY_P);
        if (pump % 11 == 0) window_focus_lost();
        if (pump == 13) set_paused(true);
    };
    LoopClock clock;
    main_loop_start(clock);
    for (int passes = 0; RunningFlag && passes < 100000; ++passes) {
        main_loop_pass(clock);
        ASSERT_EQ(Paused, 0u);
    }
    EXPECT_EQ(clock.ticks, 150u);
    EXPECT_EQ(read_file("pause_autoplay.bmp").size(), 576118u);
    std::remove("pause_autoplay.bmp");
    reset_fake_platform();
}

// The darkened picture with its two lines is what the window shows; the
// Framebuffer, and so F12, keep the game's own frame.
TEST(Pause, PictureIsComposedBesideTheFramebuffer) {
    reset_fake_platform();
    program_init(3);
    draw_screen();
    static uint8_t frame[SCREEN_W * SCREEN_H];
    std::memcpy(frame, Framebuffer, sizeof frame);
    EXPECT_EQ(compose_presented_frame(), Framebuffer);

    set_paused(true);
    const uint8_t* shown = compose_presented_frame();
    ASSERT_NE(shown, Framebuffer);
    EXPECT_EQ(std::memcmp(Framebuffer, frame, sizeof frame), 0);

    // Darkening never gives the two colours of the sign (6 and 15), so they
    // mark its text: "PAUSE" in 15 above "P = WEITER" in 6, each centred.
    int left[16], right[16], top[16], bottom[16];
    for (int c : {6, 15}) left[c] = SCREEN_W, right[c] = -1, top[c] = SCREEN_H, bottom[c] = -1;
    for (int y = 0; y < SCREEN_H; ++y) {
        for (int x = 0; x < SCREEN_W; ++x) {
            const uint8_t p = shown[y * SCREEN_W + x];
            if (p == 6 || p == 15) {
                left[p] = std::min(left[p], x);
                right[p] = std::max(right[p], x);
                top[p] = std::min(top[p], y);
                bottom[p] = std::max(bottom[p], y);
            } else if (p != 0) {
                // Everything else is the frame two shades darker (or the
                // black shadow of the text).
                ASSERT_EQ(p, ShadeTable[1][frame[y * SCREEN_W + x]]) << x << "," << y;
            }
        }
    }
    ASSERT_GE(right[15], 0);
    ASSERT_GE(right[6], 0);
    EXPECT_LT(bottom[15], top[6]);  // PAUSE above
    EXPECT_GT(bottom[15] - top[15], bottom[6] - top[6]);  // and larger
    EXPECT_LE(std::abs(left[15] - (SCREEN_W - 1 - right[15])), 1);
    EXPECT_LE(std::abs(left[6] - (SCREEN_W - 1 - right[6])), 1);
    EXPECT_LE(std::abs(top[15] - (SCREEN_H - 1 - bottom[6])), 4);  // the block centred in height

    // F12 while paused writes the game's frame, as write_bmp writes it.
    ScreenshotCounter = 17;
    window_key_down(VKEY_F12);
    window_key_up(VKEY_F12);
    ASSERT_EQ(write_bmp("pause_expected.bmp", frame, SCREEN_W, SCREEN_H, 3), 1);
    EXPECT_EQ(read_file("stivra_17.bmp"), read_file("pause_expected.bmp"));
    std::remove("stivra_17.bmp");
    std::remove("pause_expected.bmp");
    ScreenshotCounter = 0;

    set_paused(false);
    EXPECT_EQ(compose_presented_frame(), Framebuffer);
}

// Muted, the synthesiser goes on exactly as it would aloud, and only zeros
// leave; paused, it stands still with the game.
TEST(Pause, MuteSilencesTheStreamNotTheSynthesiser) {
    reset_fake_platform();
    program_init(5);
    set_sample_rate(22050);
    Voices[0].note = 57;
    Voices[0].trigger_count += 1;
    play_sound(3);
    const Voice voices_start[4] = {Voices[0], Voices[1], Voices[2], Voices[3]};
    const SoundEffectSlot effect_start = EffectSlot;

    int16_t aloud[768], muted[768];
    render_stream_block(aloud, 768);
    const Voice voices_aloud[4] = {Voices[0], Voices[1], Voices[2], Voices[3]};
    const SoundEffectSlot effect_aloud = EffectSlot;
    bool any = false;
    for (int16_t s : aloud) any = any || s != 0;
    ASSERT_TRUE(any);

    std::memcpy(Voices, voices_start, sizeof Voices);
    EffectSlot = effect_start;
    toggle_mute();
    std::memset(muted, 0x55, sizeof muted);
    render_stream_block(muted, 768);
    for (int16_t s : muted) ASSERT_EQ(s, 0);
    EXPECT_EQ(std::memcmp(Voices, voices_aloud, sizeof Voices), 0);
    EXPECT_EQ(std::memcmp(&EffectSlot, &effect_aloud, sizeof EffectSlot), 0);

    set_paused(true);
    std::memset(muted, 0x55, sizeof muted);
    render_stream_block(muted, 768);
    for (int16_t s : muted) ASSERT_EQ(s, 0);
    EXPECT_EQ(std::memcmp(Voices, voices_aloud, sizeof Voices), 0);  // stood still
    set_paused(false);
    toggle_mute();
    render_stream_block(aloud, 768);
    any = false;
    for (int16_t s : aloud) any = any || s != 0;
    EXPECT_TRUE(any);
    reset_fake_platform();
}
