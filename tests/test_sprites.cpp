#include <gtest/gtest.h>

#include <cstring>

#include "data/sprite_rows.h"

namespace {

struct SpriteRun {
    int first;
    int rows;
    int width;
    int sprite_height;
};

// The eight runs of the table, in order, with the height of their sprites
// (their widths and characters are checked where the table is compiled).
const SpriteRun SpriteRuns[] = {
    {0, 192, 16, 16},  {192, 32, 32, 32},  {224, 60, 10, 10},  {284, 32, 8, 8},
    {316, 90, 10, 10}, {406, 176, 16, 16}, {582, 108, 20, 18}, {690, 80, 8, 8},
};

bool opaque(char c) { return c != '.'; }

int count_in_sprite(int first, int w, int h, char wanted) {
    int n = 0;
    for (int r = 0; r < h; ++r)
        for (int c = 0; c < w; ++c) n += SpriteRowTable[first + r][c] == wanted;
    return n;
}

}  // namespace

TEST(SpriteRows, NoSpriteIsLeftBlank) {
    for (const SpriteRun& run : SpriteRuns) {
        ASSERT_EQ(run.rows % run.sprite_height, 0) << "run at " << run.first;
        for (int first = run.first; first < run.first + run.rows; first += run.sprite_height) {
            int pixels = 0;
            for (int r = 0; r < run.sprite_height; ++r)
                for (int c = 0; c < run.width; ++c) pixels += opaque(SpriteRowTable[first + r][c]);
            EXPECT_GT(pixels, run.width * run.sprite_height / 8) << "sprite " << first;
        }
    }
}

TEST(SpriteRows, EmblemsAreDrawnWithWhiteOnly) {
    for (int r = SPRITE_EMBLEMS; r < SPRITE_EMBLEMS + 6 * 18; ++r)
        for (const char* p = SpriteRowTable[r]; *p; ++p)
            EXPECT_TRUE(*p == '6' || *p == '.') << "row " << r;
}

// Eyes are key-colour pixels, so the pursuer's can turn red: they show from
// the front and the side, never from behind.
TEST(SpriteRows, HeadsHaveEyesExceptFromBehind) {
    const int heads[] = {SPRITE_HEAD_PURSUER, SPRITE_HEAD_PLAYER, SPRITE_HEAD_HASELBRINK,
                         SPRITE_HEAD_HEMMKE, SPRITE_HEAD_FRIEND};
    for (int head : heads) {
        EXPECT_GT(count_in_sprite(head, 10, 10, 'x'), 0) << "front " << head;
        EXPECT_EQ(count_in_sprite(head + 10, 10, 10, 'x'), 0) << "back " << head;
        EXPECT_GT(count_in_sprite(head + 20, 10, 10, 'x'), 0) << "side " << head;
    }
}

// The pursuer's red eyes are drawn over his head in the dark at head row 5:
// columns 2, 3, 6, 7 from the front and column 7 from the side.
TEST(SpriteRows, PursuerEyesSitWhereTheDarkEyesAreDrawn) {
    for (int c : {2, 3, 6, 7}) EXPECT_EQ(SpriteRowTable[SPRITE_HEAD_PURSUER + 5][c], 'x');
    EXPECT_EQ(SpriteRowTable[SPRITE_HEAD_PURSUER + 20 + 5][7], 'x');
}

TEST(SpriteRows, FaceHasRedEyesAndAHeadShapedOutline) {
    EXPECT_GE(count_in_sprite(SPRITE_FACE, 32, 32, 'x'), 8);
    // Transparent corners give the icon its head-shaped silhouette.
    EXPECT_EQ(SpriteRowTable[SPRITE_FACE][0], '.');
    EXPECT_EQ(SpriteRowTable[SPRITE_FACE][31], '.');
    EXPECT_EQ(SpriteRowTable[SPRITE_FACE + 10][0], '.');
}

// Item icons lie on every floor and sit in the HUD on black: each needs a
// good share of pixels that are not among the near-black colours.
TEST(SpriteRows, ItemIconsShowOnBlack) {
    const int icons[] = {SPRITE_KEY,       SPRITE_PHONE,        SPRITE_FLASHLIGHT,
                         SPRITE_SNEAKERS,  SPRITE_ENERGY_DRINK, SPRITE_STINK_BOMB,
                         SPRITE_STICKER,   SPRITE_SHEET_MUSIC,  SPRITE_FUSE,
                         SPRITE_CODE_NOTE, SPRITE_SMALL_KEY};
    for (int icon : icons) {
        int bright = 0;
        for (int r = 0; r < 8; ++r)
            for (int c = 0; c < 8; ++c) {
                const char ch = SpriteRowTable[icon + r][c];
                bright += opaque(ch) && ch != 'x' && !std::strchr("1237b", ch);
            }
        EXPECT_GE(bright, 12) << "icon " << icon;
    }
}
