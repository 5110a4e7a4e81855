#include <gtest/gtest.h>

#include <cstdint>
#include <set>
#include <utility>

#include "game/game_state.h"
#include "gfx/draw.h"
#include "gfx/font.h"
#include "platform/present.h"
#include "screens/title_screens.h"

namespace {

// The star and flicker hash, written out here on its own so that the test
// does not lean on the code under test.
uint32_t hash8(uint32_t v) {
    uint32_t h = (v ^ (v >> 13)) * 1274126177u;
    return (h ^ (h >> 16)) & 255u;
}

struct Star {
    int x, y;
};

Star star(uint32_t i) {
    uint32_t c = 1719420071u + 374761393u * i;
    return {static_cast<int>((hash8(c - 1336530526u) + 2 * hash8(c)) % 320),
            static_cast<int>(hash8(c + 285375718u) / 4)};
}

bool is_star(int x, int y) {
    for (uint32_t i = 0; i < 60; ++i) {
        Star s = star(i);
        if (s.x == x && s.y == y) return true;
    }
    return false;
}

uint8_t px(int x, int y) { return Framebuffer[y * SCREEN_W + x]; }

class TitleScreens : public ::testing::Test {
protected:
    void SetUp() override {
        build_glyph_lookup();
        build_shade_table();
        Game = GameState{};
    }
    void title_at(int32_t t) {
        Game.mode_ticks = t;
        draw_title_screen();
    }
    void intro_at(int32_t t) {
        Game.mode_ticks = t;
        draw_intro_screen();
    }
};

using IntroScreen = TitleScreens;

TEST_F(TitleScreens, NightSkyStarsTwinkleAndMoon) {
    // At total tick 6 the twinkle term is 1, so of the stars i = 0, 7, 14, ...
    // only star 35 (36 mod 9 = 0) turns white.
    Game.total_ticks = 6;
    draw_night_sky(0);
    auto in_moon = [](int x, int y) { return (x - 272) * (x - 272) + (y - 28) * (y - 28) <= 132; };
    std::set<std::pair<int, int>> stars;
    for (uint32_t i = 0; i < 60; ++i) {
        Star s = star(i);
        stars.insert({s.x, s.y});
        bool overdrawn = in_moon(s.x, s.y);
        for (uint32_t k = i + 1; k < 60; ++k) overdrawn |= star(k).x == s.x && star(k).y == s.y;
        if (overdrawn) continue;
        int expected = i == 35 ? 6 : i % 4 == 0 ? 5 : 4;
        EXPECT_EQ(px(s.x, s.y), expected) << "star " << i;
    }
    // Nothing but stars and the moon on the sky colour.
    for (int y = 0; y < SCREEN_H; ++y) {
        for (int x = 0; x < SCREEN_W; ++x) {
            if (in_moon(x, y) || stars.count({x, y})) continue;
            ASSERT_EQ(px(x, y), 1) << x << "," << y;
        }
    }
    // The moon with its two craters.
    EXPECT_EQ(px(272, 28), 6);
    EXPECT_EQ(px(272, 17), 6);
    EXPECT_EQ(px(268, 25), 5);
    EXPECT_EQ(px(276, 34), 5);

    Game.total_ticks = 0;  // now star 0 twinkles, star 35 does not
    draw_night_sky(1);
    if (!in_moon(star(0).x, star(0).y)) {
        EXPECT_EQ(px(star(0).x, star(0).y), 6);
    }
    EXPECT_EQ(px(star(4).x, star(4).y), 5);
    EXPECT_EQ(px(0, 199), 3);
}

TEST_F(TitleScreens, LightningFramesLightSkyAndBricks) {
    int sky_x = 2, sky_y = 50;
    ASSERT_FALSE(is_star(sky_x, sky_y));
    for (int t : {0, 1, 2, 7, 8, 170, 171, 177, 178, 340}) {
        title_at(t);
        EXPECT_EQ(px(sky_x, sky_y), 3) << "t " << t;
        EXPECT_EQ(px(41, 71), 9) << "t " << t;
    }
    for (int t : {3, 4, 5, 6, 9, 169, 173, 176, 179}) {
        title_at(t);
        EXPECT_EQ(px(sky_x, sky_y), 1) << "t " << t;
        EXPECT_EQ(px(41, 71), 10) << "t " << t;
    }
}

TEST_F(TitleScreens, BrickCoursesAndMortarJoints) {
    draw_school(0, 1);
    EXPECT_EQ(px(41, 71), 10);
    EXPECT_EQ(px(40, 71), 7);   // joint on an even course
    EXPECT_EQ(px(50, 72), 7);
    EXPECT_EQ(px(41, 74), 7);   // mortar course
    EXPECT_EQ(px(45, 75), 7);   // joints move half a brick on odd courses
    EXPECT_EQ(px(50, 75), 10);
    EXPECT_EQ(px(279, 160), 10);
    // Roof band over the top facade row, lighter edge on top.
    EXPECT_EQ(px(40, 70), 2);
    EXPECT_EQ(px(36, 64), 4);
    EXPECT_EQ(px(283, 65), 2);
    // Ground, its edge, the path widening downwards.
    EXPECT_EQ(px(0, 168), 14);
    EXPECT_EQ(px(0, 170), 2);
    EXPECT_EQ(px(148, 170), 3);
    EXPECT_EQ(px(147, 170), 2);
    EXPECT_EQ(px(171, 170), 3);
    EXPECT_EQ(px(172, 170), 2);
    EXPECT_EQ(px(119, 199), 3);
    EXPECT_EQ(px(200, 199), 3);
    EXPECT_EQ(px(201, 199), 2);
    // A window: frame, glass, bars.
    EXPECT_EQ(px(47, 79), 5);
    EXPECT_EQ(px(48, 80), 1);
    EXPECT_EQ(px(56, 90), 4);
    EXPECT_EQ(px(60, 86), 4);
    // The lower row skips column 4 (the entrance) but not column 5.
    EXPECT_EQ(px(152, 120), 10);
    EXPECT_EQ(px(177, 119), 5);
    // The sign with the school's name: "S" starts one column in.
    EXPECT_EQ(px(111, 103), 4);
    EXPECT_EQ(px(116, 107), 1);
    EXPECT_EQ(px(117, 107), 6);
}

TEST_F(TitleScreens, WatchedWindowByMode) {
    const int glass = 1, lit = 15, dim = 8;
    for (int mode : {0, 1, 2}) {
        draw_school(0, mode);
        EXPECT_EQ(px(73, 119), 5);
        EXPECT_EQ(px(89, 122), mode == 1 ? lit : mode == 2 ? dim : glass);
        EXPECT_EQ(px(82, 122), 4);  // vertical bar
        EXPECT_EQ(px(88, 126), 4);  // cross bar
        // Head, shoulders and eyes only in a lit window.
        int behind = mode == 1 ? lit : mode == 2 ? dim : glass;
        EXPECT_EQ(px(80, 132), mode ? 1 : behind);
        EXPECT_EQ(px(75, 136), mode ? 1 : behind);
        EXPECT_EQ(px(78, 129), mode ? 6 : behind);
        EXPECT_EQ(px(79, 129), mode ? 6 : behind);
        EXPECT_EQ(px(80, 129), mode ? 1 : behind);
    }
}

TEST_F(TitleScreens, WindowFlickersOnTheHash) {
    int dim_t = -1, lit_t = -1;
    for (uint32_t n = 0; n < 200 && (dim_t < 0 || lit_t < 0); ++n) {
        bool dim = hash8(n * 374761393u + 668265263u) < 50;
        if (dim && dim_t < 0) dim_t = static_cast<int>(3 * n + 2);
        if (!dim && lit_t < 0) lit_t = static_cast<int>(3 * n + 1);
    }
    ASSERT_GE(dim_t, 0);
    title_at(dim_t);
    EXPECT_EQ(px(89, 122), 8);
    title_at(lit_t);
    EXPECT_EQ(px(89, 122), 15);
}

TEST_F(TitleScreens, TitleTextsAndBlinkingPrompt) {
    title_at(3);
    // "ST. IVRA SCHULE" at scale 2 from x 71: S's top row is columns 1..4.
    EXPECT_EQ(px(73, 6), 12);
    EXPECT_EQ(px(80, 7), 12);
    EXPECT_EQ(px(75, 8), 11);  // shadow two pixels down and right
    // "HERR MÜRZEL IST NOCH IM HAUS": 28 characters from x 76, shadowed.
    EXPECT_EQ(px(76, 26), 6);
    EXPECT_EQ(px(80, 26), 6);
    EXPECT_EQ(px(77, 27), 1);
    // "6 ETAGEN - 10 AUFGABEN - 18 STICKER": 35 characters from x 55; 6's top
    // row is columns 2..3.
    EXPECT_EQ(px(58, 37), 4);
    // "ENTER DRÜCKEN" (13 characters, x 121) while t/15 is even.
    EXPECT_EQ(px(121, 176), 15);
    EXPECT_EQ(px(125, 176), 15);
    // The controls line (47 characters, x 19), W's top row: columns 0 and 4.
    EXPECT_EQ(px(19, 188), 4);
    EXPECT_EQ(px(23, 188), 4);
    EXPECT_NE(px(20, 188), 4);

    title_at(15);
    EXPECT_EQ(px(121, 176), 2);
    EXPECT_EQ(px(19, 188), 4);
    title_at(30);
    EXPECT_EQ(px(121, 176), 15);
}

TEST_F(IntroScreen, TypesLetterByLetter) {
    intro_at(0);
    for (int y = 0; y < 180; ++y) {
        for (int x = 0; x < SCREEN_W; ++x) ASSERT_EQ(px(x, y), 0) << x << "," << y;
    }
    // "ENTER = WEITER" (14 characters) from x 118 in colour 3, always.
    EXPECT_EQ(px(118, 186), 3);
    EXPECT_EQ(px(119, 187), 1);  // the shadow
    EXPECT_EQ(px(118, 192), 3);

    intro_at(1);  // only the S of line 0 (15 characters, x 115)
    EXPECT_EQ(px(115, 34), 0);
    EXPECT_EQ(px(116, 34), 15);
    EXPECT_EQ(px(119, 34), 15);
    for (int y = 34; y < 41; ++y) {
        for (int x = 121; x < SCREEN_W; ++x) ASSERT_EQ(px(x, y), 0) << x << "," << y;
    }

    // Line 1 starts 8 Ticks after the 15th letter of line 0: at t = 24.
    intro_at(23);
    for (int x = 0; x < SCREEN_W; ++x) EXPECT_EQ(px(x, 48), 0) << x;
    intro_at(24);  // "D" of "DONNERSTAG, 16:47 UHR" (21 characters, x 97), colour 5
    EXPECT_EQ(px(97, 48), 5);
    EXPECT_EQ(px(100, 48), 5);
    EXPECT_EQ(px(101, 48), 0);
    for (int x = 103; x < SCREEN_W; ++x) EXPECT_EQ(px(x, 48), 0) << x;
}

TEST_F(IntroScreen, EmptyLineIsAPauseAndUmlautsCountOnce) {
    // Line 3 (46 characters, x 22) starts at 1 + 23 + 29 + 8 = 61: the
    // empty line adds only its 8-Tick pause.
    intro_at(60);
    for (int x = 0; x < SCREEN_W; ++x) EXPECT_EQ(px(x, 76), 0) << x;
    intro_at(61);
    EXPECT_EQ(px(22, 76), 5);
    EXPECT_EQ(px(25, 76), 5);
    EXPECT_EQ(px(28, 76), 0);
    for (int y = 62; y < 69; ++y) {
        for (int x = 0; x < SCREEN_W; ++x) ASSERT_EQ(px(x, y), 0) << x << "," << y;
    }

    intro_at(330);
    // "ALLE SIND LÄNGST NACH HAUSE GEGANGEN." has 37 characters: x 49.
    EXPECT_EQ(px(49, 90), 0);
    EXPECT_EQ(px(50, 90), 5);
    EXPECT_EQ(px(52, 90), 5);
    // Its Ä is the twelfth letter (x 115) with its dots in columns 1 and 3.
    EXPECT_EQ(px(116, 90), 5);
    EXPECT_EQ(px(117, 90), 0);
    EXPECT_EQ(px(118, 90), 5);
    // Lines 5 and 8 in red: "FAST ALLE." from x 130, "DAS WIRD ..." from x 64.
    EXPECT_EQ(px(130, 104), 12);
    EXPECT_EQ(px(64, 146), 12);
    // Line 0 in white.
    EXPECT_EQ(px(116, 34), 15);
}

}  // namespace
