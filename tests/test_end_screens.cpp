#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

#include "data/sprite_rows.h"
#include "game/game_state.h"
#include "gfx/draw.h"
#include "gfx/font.h"
#include "platform/present.h"
#include "screens/end_screens.h"

namespace {

uint32_t lcg(uint32_t& state) {
    state = state * 1103515245u + 12345u;
    return (state >> 16) & 0x7FFFu;
}

uint8_t px(int x, int y) { return Framebuffer[y * SCREEN_W + x]; }

uint8_t Expected[SCREEN_W * SCREEN_H];

class EndScreens : public ::testing::Test {
protected:
    void SetUp() override {
        build_glyph_lookup();
        build_shade_table();
        Game = GameState{};
    }
};

using CaughtScreen = EndScreens;
using EscapedScreen = EndScreens;

TEST_F(CaughtScreen, AnimationZoomsAndShakesWithTwoDrawsAFrame) {
    const int scales[12] = {3, 3, 3, 4, 4, 4, 5, 5, 5, 6, 6, 6};
    uint32_t state = 987654321u;
    Game.random_state = state;
    for (int t = 0; t < 12; ++t) {
        Game.mode_ticks = t;
        const int s = scales[t];
        const int r1 = static_cast<int>(lcg(state));
        const int r2 = static_cast<int>(lcg(state));
        const int x = (320 - 32 * s) / 2 + r1 % 9 - 4;
        const int y = (200 - 32 * s) / 2 + r2 % 9 - 4;
        // The flash: colour 11 for two frames, black for two.
        std::memset(Expected, (t / 2) % 2 == 0 ? 11 : 0, sizeof Expected);
        blit_pattern(Expected, SCREEN_W, SCREEN_H, x, y, SPRITE_FACE, 32, 32, 0, s, 12);

        draw_caught_animation();
        EXPECT_EQ(Game.random_state, state) << "t " << t;
        EXPECT_EQ(std::memcmp(Framebuffer, Expected, sizeof Expected), 0) << "t " << t;
    }
}

TEST_F(CaughtScreen, FaceTextsAndBlinkingPrompt) {
    Game.final_ticks = 18000;  // ten minutes
    Game.caught_text = "ER HAT DICH IM FLUR GESCHNAPPT.";
    Game.mode_ticks = 0;
    const uint32_t before = Game.random_state;
    draw_caught_screen();
    EXPECT_EQ(Game.random_state, before);

    std::memset(Expected, 0, sizeof Expected);
    blit_pattern(Expected, SCREEN_W, SCREEN_H, 112, 6, SPRITE_FACE, 32, 32, 0, 3, 12);
    EXPECT_EQ(std::memcmp(Framebuffer, Expected, SCREEN_W * 102), 0);

    // "NACHSITZEN!" at scale 3: 11 characters, x 62; N's top row is columns 0 and 4.
    EXPECT_EQ(px(62, 110), 12);
    EXPECT_EQ(px(64, 112), 12);
    EXPECT_EQ(px(65, 113), 1);  // its shadow, three pixels down and right
    EXPECT_EQ(px(74, 110), 12);
    // "ZEIT BISHER: 10:00" has 18 characters: x 106.
    EXPECT_EQ(px(106, 164), 5);
    EXPECT_EQ(px(110, 164), 5);
    // The caught line (31 characters, x 67).
    EXPECT_EQ(px(67, 152), 4);
    // Continue prompt (28 characters, x 76) shown, give-up prompt (21, x 97).
    EXPECT_EQ(px(76, 178), 15);
    EXPECT_EQ(px(97, 189), 3);

    Game.mode_ticks = 15;
    draw_caught_screen();
    for (int y = 178; y < 186; ++y) {
        for (int x = 0; x < SCREEN_W; ++x) ASSERT_EQ(px(x, y), 0) << x << "," << y;
    }
    EXPECT_EQ(px(97, 189), 3);

    // Under ten minutes the time is one character shorter: x 109.
    Game.final_ticks = 1799;
    Game.mode_ticks = 30;
    draw_caught_screen();
    EXPECT_EQ(px(106, 164), 0);
    EXPECT_EQ(px(109, 164), 5);
    EXPECT_EQ(px(76, 178), 15);
}

// The pixels that change between two frames lie inside the given box.
void expect_changes_only_in(const uint8_t* before, int x0, int y0, int x1, int y1) {
    int changed = 0;
    for (int y = 0; y < SCREEN_H; ++y) {
        for (int x = 0; x < SCREEN_W; ++x) {
            if (before[y * SCREEN_W + x] == px(x, y)) continue;
            ++changed;
            EXPECT_TRUE(x >= x0 && x <= x1 && y >= y0 && y <= y1) << x << "," << y;
        }
    }
    EXPECT_GT(changed, 0);
}

TEST_F(EscapedScreen, LinesAppearOnTime) {
    static uint8_t before[SCREEN_W * SCREEN_H];
    Game.inventory[ITEM_STICKER] = 7;
    Game.catch_count = 2;
    Game.final_ticks = 1799;
    const uint32_t random_before = Game.random_state;

    auto frame = [](int t) {
        Game.mode_ticks = t;
        draw_escaped_screen();
    };
    // "STICKER: 7/18   ERWISCHT: 2X": 28 characters from x 76, y 50, from t = 31.
    frame(30);
    std::memcpy(before, Framebuffer, sizeof before);
    EXPECT_NE(px(77, 50), 15);
    frame(31);
    EXPECT_EQ(px(77, 50), 15);
    EXPECT_EQ(px(80, 50), 15);
    expect_changes_only_in(before, 76, 50, 76 + 167, 57);

    // "DU RICHTEST DICH AUF: 8,00 METER." (33 characters, x 61) from t = 51.
    frame(50);
    std::memcpy(before, Framebuffer, sizeof before);
    frame(51);
    EXPECT_EQ(px(61, 38), 5);
    EXPECT_EQ(px(64, 38), 5);
    expect_changes_only_in(before, 61, 38, 61 + 197, 45);

    // "GG, BRO!" at (226, 146) over its shadow, from t = 61.
    frame(60);
    std::memcpy(before, Framebuffer, sizeof before);
    frame(61);
    EXPECT_EQ(px(227, 146), 14);
    EXPECT_EQ(px(229, 146), 14);
    EXPECT_EQ(px(228, 147), 1);
    expect_changes_only_in(before, 226, 146, 226 + 48, 153);

    // "ENTER = MENÜ" (12 characters, x 124) from t = 71 while t/15 is even.
    frame(70);
    std::memcpy(before, Framebuffer, sizeof before);
    frame(71);
    EXPECT_EQ(px(124, 186), 15);
    EXPECT_EQ(px(128, 186), 15);
    expect_changes_only_in(before, 124, 186, 124 + 71, 193);
    frame(75);
    EXPECT_NE(px(124, 186), 15);
    frame(90);
    EXPECT_EQ(px(124, 186), 15);

    EXPECT_EQ(Game.random_state, random_before);
}

TEST_F(EscapedScreen, BackgroundTitleAndTime) {
    Game.final_ticks = 1799;
    Game.mode_ticks = 5;
    draw_escaped_screen();
    // No lightning, and the watched window is dark and empty.
    EXPECT_EQ(px(41, 71), 10);
    EXPECT_EQ(px(89, 122), 1);
    EXPECT_EQ(px(80, 132), 1);
    EXPECT_EQ(px(78, 129), 1);
    // "DU BIST ENTKOMMEN!" at scale 2 from x 53, shadow in colour 7.
    EXPECT_EQ(px(53, 6), 15);
    EXPECT_EQ(px(60, 7), 15);
    EXPECT_EQ(px(55, 20), 7);  // bottom row of the shadowed D
    // "ZEIT: 0:59" has 10 characters: x 130.
    EXPECT_EQ(px(130, 26), 6);
    EXPECT_EQ(px(134, 26), 6);
}

TEST_F(EscapedScreen, MeasuringStaffOnceStandingUp) {
    const int marks[9] = {194, 183, 171, 159, 147, 136, 124, 112, 100};
    Game.mode_ticks = 47;  // still one unit crouched
    draw_escaped_screen();
    EXPECT_NE(px(96, 150), 15);
    EXPECT_NE(px(99, 194), 15);
    EXPECT_NE(px(103, 97), 15);

    Game.mode_ticks = 48;
    draw_escaped_screen();
    for (int y = 100; y <= 193; ++y) EXPECT_EQ(px(96, y), 15) << y;
    for (int row : marks) {
        for (int x = 96; x <= 99; ++x) EXPECT_EQ(px(x, row), 15) << x << "," << row;
    }
    EXPECT_NE(px(97, 150), 15);  // between two marks
    // "8 M" at (102, 97) over a colour-1 copy at (103, 98).
    EXPECT_EQ(px(103, 97), 15);
    EXPECT_EQ(px(102, 98), 15);
    EXPECT_EQ(px(104, 98), 1);
}

}  // namespace
