#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <initializer_list>
#include <string>

#include "data/sprite_rows.h"
#include "gfx/draw.h"
#include "platform/present.h"
#include "world/visibility.h"

namespace {

constexpr uint8_t BACKGROUND = 0xEE;

// A small target with guard bytes on both sides, so a write past either end
// of the image shows up as a changed guard.
template <int W, int H>
struct Canvas {
    static constexpr int GUARD = 64;
    uint8_t bytes[GUARD + W * H + GUARD];
    Canvas() { std::memset(bytes, BACKGROUND, sizeof bytes); }
    uint8_t* pixels() { return bytes + GUARD; }
    uint8_t at(int x, int y) const { return bytes[GUARD + y * W + x]; }
    bool guards_intact() const {
        for (int i = 0; i < GUARD; ++i) {
            if (bytes[i] != BACKGROUND || bytes[GUARD + W * H + i] != BACKGROUND) return false;
        }
        return true;
    }
};

// The picture as text, one string a row: '.' is the untouched background,
// '0'..'9' and 'a'..'f' are Palette indices.
std::string picture_of(const uint8_t* image, int w, int h) {
    std::string s;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            uint8_t v = image[y * w + x];
            s += v == BACKGROUND ? '.' : v < 10 ? char('0' + v) : v < 16 ? char('a' + v - 10) : '?';
        }
        s += '\n';
    }
    return s;
}

std::string picture(std::initializer_list<const char*> rows) {
    std::string s;
    for (const char* r : rows) {
        s += r;
        s += '\n';
    }
    return s;
}

std::string framebuffer_window(int x0, int y0, int w, int h) {
    std::string s;
    for (int y = y0; y < y0 + h; ++y) {
        for (int x = x0; x < x0 + w; ++x) {
            uint8_t v = Framebuffer[y * SCREEN_W + x];
            s += v == BACKGROUND ? '.' : v < 10 ? char('0' + v) : v < 16 ? char('a' + v - 10) : '?';
        }
        s += '\n';
    }
    return s;
}

int count_framebuffer(uint8_t value) {
    int n = 0;
    for (uint8_t v : Framebuffer) n += v == value;
    return n;
}

}  // namespace

TEST(DrawTables, ShadeLevelsFollowTheDarkerChain) {
    build_shade_table();
    for (int c = 0; c < 16; ++c) {
        EXPECT_EQ(ShadeTable[0][c], 0);
        EXPECT_EQ(ShadeTable[3][c], c);
    }
    // 9 -> 10 -> 7, 15 -> 8 -> 7, 12 -> 11 -> 1, 2 -> 1 -> 0
    EXPECT_EQ(ShadeTable[2][9], 10);
    EXPECT_EQ(ShadeTable[1][9], 7);
    EXPECT_EQ(ShadeTable[2][15], 8);
    EXPECT_EQ(ShadeTable[1][15], 7);
    EXPECT_EQ(ShadeTable[1][12], 1);
    EXPECT_EQ(ShadeTable[1][2], 0);
}

TEST(DrawFill, FillBytesIgnoresEmptyAndNegativeCounts) {
    Canvas<8, 1> c;
    fill_bytes(c.pixels(), 3, 0);
    fill_bytes(c.pixels(), 3, -5);
    EXPECT_EQ(picture_of(c.pixels(), 8, 1), "........\n");
    fill_bytes(c.pixels() + 2, 4, 5);
    EXPECT_EQ(picture_of(c.pixels(), 8, 1), "..44444.\n");
    EXPECT_TRUE(c.guards_intact());
}

TEST(DrawFill, RectIsClippedAtEveryEdge) {
    Canvas<8, 6> c;
    fill_rect(c.pixels(), 8, 6, -2, -1, 4, 3, 1);   // over the top-left corner
    fill_rect(c.pixels(), 8, 6, 6, 4, 5, 9, 2);     // over the bottom-right corner
    fill_rect(c.pixels(), 8, 6, 3, -4, 2, 5, 3);    // over the top edge
    fill_rect(c.pixels(), 8, 6, -9, 3, 10, 1, 4);   // over the left edge
    fill_rect(c.pixels(), 8, 6, 5, 2, 100, 1, 5);   // over the right edge
    fill_rect(c.pixels(), 8, 6, 3, 5, 1, 100, 6);   // over the bottom edge
    EXPECT_EQ(picture_of(c.pixels(), 8, 6), picture({
                                                 "11.33...",
                                                 "11......",
                                                 ".....555",
                                                 "4.......",
                                                 "......22",
                                                 "...6..22",
                                             }));
    EXPECT_TRUE(c.guards_intact());
}

TEST(DrawFill, RectThatCoversNothingChangesNothing) {
    Canvas<8, 6> c;
    fill_rect(c.pixels(), 8, 6, 2, 2, 0, 3, 1);
    fill_rect(c.pixels(), 8, 6, 2, 2, 3, 0, 1);
    fill_rect(c.pixels(), 8, 6, 2, 2, -3, 3, 1);
    fill_rect(c.pixels(), 8, 6, 2, 2, 3, -3, 1);
    fill_rect(c.pixels(), 8, 6, -4, 0, 4, 6, 1);  // ends just left of the image
    fill_rect(c.pixels(), 8, 6, 8, 0, 4, 6, 1);   // starts just right of it
    fill_rect(c.pixels(), 8, 6, 0, -3, 8, 3, 1);
    fill_rect(c.pixels(), 8, 6, 0, 6, 8, 3, 1);
    // Edges that would overflow 32 bits.
    fill_rect(c.pixels(), 8, 6, INT32_MAX, INT32_MAX, INT32_MAX, INT32_MAX, 1);
    fill_rect(c.pixels(), 8, 6, INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX, 1);
    EXPECT_EQ(picture_of(c.pixels(), 8, 6), picture({"........", "........", "........",
                                                      "........", "........", "........"}));
    EXPECT_TRUE(c.guards_intact());
}

// Sprites given by the test itself, through the row-array form of the blitter.
TEST(DrawBlit, DecodesCharactersWithKeyColour) {
    const char* rows[] = {"1x.A", "0fFb", "Ex9a", "gXCD", "BcdE"};
    Canvas<4, 5> keyed;
    blit_rows(keyed.pixels(), 4, 5, 0, 0, rows, 5, 4, 5, 0, 1, 7);
    EXPECT_EQ(picture_of(keyed.pixels(), 4, 5),
              picture({"17..", "0f.b", ".79a", "....", ".cd."}));
    Canvas<4, 5> unkeyed;
    blit_rows(unkeyed.pixels(), 4, 5, 0, 0, rows, 5, 4, 5, 0, 1, -1);
    EXPECT_EQ(picture_of(unkeyed.pixels(), 4, 5),
              picture({"1...", "0f.b", "..9a", "....", ".cd."}));
}

// 0 is a colour like any other: black eyes and outlines are drawn, not skipped.
TEST(DrawBlit, KeyColourZeroIsBlack) {
    const char* rows[] = {"x1", "1x"};
    Canvas<2, 2> one;
    blit_rows(one.pixels(), 2, 2, 0, 0, rows, 2, 2, 2, 0, 1, 0);
    EXPECT_EQ(picture_of(one.pixels(), 2, 2), picture({"01", "10"}));
    Canvas<4, 4> two;
    blit_rows(two.pixels(), 4, 4, 0, 0, rows, 2, 2, 2, 0, 2, 0);
    EXPECT_EQ(picture_of(two.pixels(), 4, 4), picture({"0011", "0011", "1100", "1100"}));
}

TEST(DrawBlit, FlipMirrorsWithinTheWidthAndScaleMakesBlocks) {
    const char* rows[] = {"12..", "3..."};
    Canvas<6, 2> flipped;
    blit_rows(flipped.pixels(), 6, 2, 1, 0, rows, 2, 4, 2, 1, 1, -1);
    EXPECT_EQ(picture_of(flipped.pixels(), 6, 2), picture({"...21.", "....3."}));

    Canvas<9, 5> scaled;
    blit_rows(scaled.pixels(), 9, 5, 1, 1, rows, 2, 4, 2, 0, 2, -1);
    EXPECT_EQ(picture_of(scaled.pixels(), 9, 5), picture({
                                                     ".........",
                                                     ".1122....",
                                                     ".1122....",
                                                     ".33......",
                                                     ".33......",
                                                 }));
    Canvas<9, 4> both;
    blit_rows(both.pixels(), 9, 4, 0, 0, rows, 2, 4, 2, 1, 2, -1);
    EXPECT_EQ(picture_of(both.pixels(), 9, 4),
              picture({"....2211.", "....2211.", "......33.", "......33."}));

    // Scales below 1 make empty blocks.
    Canvas<4, 2> none;
    blit_rows(none.pixels(), 4, 2, 0, 0, rows, 2, 4, 2, 0, 0, -1);
    blit_rows(none.pixels(), 4, 2, 0, 0, rows, 2, 4, 2, 0, -2, -1);
    EXPECT_EQ(picture_of(none.pixels(), 4, 2), picture({"....", "...."}));
}

TEST(DrawBlit, ClipsAtEveryEdgeAndReadsOnlyWhatExists) {
    const char* rows[] = {"123", "456", "789"};
    Canvas<5, 4> c;
    blit_rows(c.pixels(), 5, 4, -1, -2, rows, 3, 3, 3, 0, 1, -1);  // top-left: "89"
    blit_rows(c.pixels(), 5, 4, 3, 2, rows, 3, 3, 3, 0, 1, -1);    // bottom-right: "12", "45"
    blit_rows(c.pixels(), 5, 4, -3, 0, rows, 3, 3, 3, 0, 1, -1);   // just off the left
    blit_rows(c.pixels(), 5, 4, 0, 4, rows, 3, 3, 3, 0, 1, -1);    // just off the bottom
    blit_rows(c.pixels(), 5, 4, 1, 1, rows, 3, 3, 0, 0, 1, -1);    // no rows
    blit_rows(c.pixels(), 5, 4, 1, 1, rows, 3, 3, -1, 0, 1, -1);
    EXPECT_EQ(picture_of(c.pixels(), 5, 4), picture({"89...", ".....", "...12", "...45"}));
    EXPECT_TRUE(c.guards_intact());

    // A row shorter than the width ends at its terminator; rows past the
    // given count are not read.
    const char* ragged[] = {"1", "22"};
    Canvas<3, 3> r;
    blit_rows(r.pixels(), 3, 3, 0, 0, ragged, 2, 3, 3, 0, 1, -1);
    EXPECT_EQ(picture_of(r.pixels(), 3, 3), picture({"1..", "22.", "..."}));

    // Far-off positions and large scales do not overflow.
    blit_rows(c.pixels(), 5, 4, INT32_MAX, INT32_MAX, rows, 3, 3, 3, 1, 1, -1);
    blit_rows(c.pixels(), 5, 4, INT32_MIN, 0, rows, 3, 3, 3, 0, INT32_MAX, -1);
    EXPECT_TRUE(c.guards_intact());
}

namespace {

// Pixel of one sprite character by the character table: -1 transparent.
int decoded(char ch, int key) {
    if (ch >= '0' && ch <= '9') return ch - '0';
    if (ch >= 'a' && ch <= 'f') return ch - 'a' + 10;
    if (ch == 'x') return key;
    return -1;
}

struct SpriteRun {
    int first, w, h, count;
};
const SpriteRun Runs[] = {{0, 16, 16, 12}, {192, 32, 32, 1}, {224, 10, 10, 6},
                          {284, 8, 8, 4},  {316, 10, 10, 9}, {406, 16, 16, 11},
                          {582, 20, 18, 6}, {690, 8, 8, 10}};

constexpr int BIG = 80;
uint8_t Big[BIG * BIG];
uint8_t Small[12 * 10];

}  // namespace

// Holds for any artwork: every sprite of the table lands pixel for pixel
// where its characters say, mirrored when flipped and doubled when scaled.
TEST(DrawBlit, TableSpritesMatchTheirRows) {
    for (const SpriteRun& run : Runs) {
        for (int k = 0; k < run.count; ++k) {
            int first = run.first + k * run.h;
            for (int flip = 0; flip < 2; ++flip) {
                for (int scale = 1; scale <= 2; ++scale) {
                    for (int key = -1; key <= 5; key += 6) {
                        std::memset(Big, BACKGROUND, sizeof Big);
                        blit_pattern(Big, BIG, BIG, 3, 4, first, run.w, run.h, flip, scale, key);
                        for (int y = 0; y < BIG; ++y) {
                            for (int x = 0; x < BIG; ++x) {
                                int sx = (x - 3) / scale, sy = (y - 4) / scale;
                                int want = -1;
                                if (x >= 3 && y >= 4 && sx < run.w && sy < run.h) {
                                    int j = flip ? run.w - 1 - sx : sx;
                                    want = decoded(SpriteRowTable[first + sy][j], key);
                                }
                                ASSERT_EQ(Big[y * BIG + x], want < 0 ? BACKGROUND : want)
                                    << "sprite " << first << " flip " << flip << " scale "
                                    << scale << " key " << key << " at " << x << "," << y;
                            }
                        }
                    }
                }
            }
        }
    }
}

// A clipped draw gives exactly the pixels an unclipped draw into a larger
// image has at the same places.
TEST(DrawBlit, TableSpritesClipLikeAWindowOfALargerImage) {
    const int tw = 12, th = 10, margin = 34;
    const int offsets[][2] = {{-5, -4}, {7, 6}, {-9, 3}, {4, -12}, {-40, 0}, {0, 10}, {12, 0}};
    for (const SpriteRun& run : Runs) {
        int first = run.first + (run.count - 1) * run.h;
        for (const auto& o : offsets) {
            for (int scale = 1; scale <= 2; ++scale) {
                std::memset(Big, BACKGROUND, sizeof Big);
                std::memset(Small, BACKGROUND, sizeof Small);
                blit_pattern(Small, tw, th, o[0], o[1], first, run.w, run.h, 1, scale, 4);
                blit_pattern(Big, BIG, BIG, o[0] + margin, o[1] + margin, first, run.w, run.h, 1,
                             scale, 4);
                for (int y = 0; y < th; ++y) {
                    for (int x = 0; x < tw; ++x) {
                        ASSERT_EQ(Small[y * tw + x], Big[(y + margin) * BIG + x + margin])
                            << "sprite " << first << " at " << o[0] << "," << o[1];
                    }
                }
            }
        }
    }
}

TEST(DrawBlit, RowsOutsideTheTableAreSkipped) {
    std::memset(Big, BACKGROUND, sizeof Big);
    // The last sprite run through and past the end of the table, and a first
    // row before its start: only existing rows are read.
    blit_pattern(Big, BIG, BIG, 0, 0, SPRITE_ROW_COUNT - 2, 8, 8, 0, 1, 3);
    blit_pattern(Big, BIG, BIG, 0, 20, -3, 16, 8, 0, 1, 3);
    for (int y = 0; y < BIG; ++y) {
        for (int x = 0; x < BIG; ++x) {
            int want = -1;
            if (y < 2 && x < 8) want = decoded(SpriteRowTable[SPRITE_ROW_COUNT - 2 + y][x], 3);
            if (y >= 23 && y < 28 && x < 16) want = decoded(SpriteRowTable[y - 23][x], 3);
            ASSERT_EQ(Big[y * BIG + x], want < 0 ? BACKGROUND : want) << x << "," << y;
        }
    }
}

TEST(DrawCircle, SmallDiscs) {
    std::memset(Framebuffer, BACKGROUND, sizeof Framebuffer);
    fill_circle(10, 10, 0, 4);
    fill_circle(20, 10, 1, 5);
    fill_circle(30, 10, 2, 6);
    fill_circle(40, 10, -1, 7);
    EXPECT_EQ(framebuffer_window(8, 7, 25, 7), picture({
                                                   ".........................",
                                                   ".....................666.",
                                                   "...........555......66666",
                                                   "..4........555......66666",
                                                   "...........555......66666",
                                                   ".....................666.",
                                                   ".........................",
                                               }));
    EXPECT_EQ(count_framebuffer(4), 1);
    EXPECT_EQ(count_framebuffer(5), 9);
    EXPECT_EQ(count_framebuffer(6), 21);
    EXPECT_EQ(count_framebuffer(7), 0);
}

TEST(DrawCircle, ClippedAtTheEdgesAndHuge) {
    std::memset(Framebuffer, BACKGROUND, sizeof Framebuffer);
    fill_circle(0, 0, 2, 3);  // the quarter with i, j >= 0 and i*i + j*j <= 6
    fill_circle(319, 199, 2, 4);
    fill_circle(-3, 100, 2, 5);   // entirely off the left
    fill_circle(160, 201, 2, 6);  // only its top row (j = -2) reaches row 199
    EXPECT_EQ(framebuffer_window(0, 0, 4, 4), picture({"333.", "333.", "33..", "...."}));
    EXPECT_EQ(framebuffer_window(316, 196, 4, 4), picture({"....", "..44", ".444", ".444"}));
    EXPECT_EQ(count_framebuffer(5), 0);
    EXPECT_EQ(framebuffer_window(158, 198, 5, 2), picture({".....", ".666."}));

    // A radius whose r*(r+1) needs 64 bits covers the whole screen.
    fill_circle(160, 100, 100000, 9);
    EXPECT_EQ(count_framebuffer(9), SCREEN_W * SCREEN_H);
    fill_circle(INT32_MAX, INT32_MIN, INT32_MAX, 8);
    EXPECT_EQ(count_framebuffer(8), 0);
}

TEST(DrawPixel, OnlyInsideTheScreen) {
    std::memset(Framebuffer, BACKGROUND, sizeof Framebuffer);
    put_pixel(0, 0, 1);
    put_pixel(319, 199, 2);
    put_pixel(-1, 5, 3);
    put_pixel(320, 5, 3);
    put_pixel(5, -1, 3);
    put_pixel(5, 200, 3);
    EXPECT_EQ(Framebuffer[0], 1);
    EXPECT_EQ(Framebuffer[SCREEN_W * SCREEN_H - 1], 2);
    EXPECT_EQ(count_framebuffer(3), 0);
    EXPECT_EQ(count_framebuffer(BACKGROUND), SCREEN_W * SCREEN_H - 2);
}

namespace {

// The darkness pass pixel by pixel, exactly as the rule reads.
uint8_t Reference[SCREEN_W * SCREEN_H];

int64_t light_level(int64_t t, int64_t wx, int64_t wy, int64_t lx, int64_t ly, int64_t r) {
    int64_t r2 = r * r;
    // r2 * p / 100 split so that radii near 2^31 do not overflow the product.
    int64_t outer = r2 / 100 * 64 + r2 % 100 * 64 / 100;
    int64_t inner = r2 / 100 * 36 + r2 % 100 * 36 / 100;
    int64_t step = (outer - inner) / 16;
    int64_t d = t * step + (wx - lx) * (wx - lx) + (wy - ly) * (wy - ly);
    if (d < inner) return 3;
    if (d < outer) return 2;
    if (d < r2) return 1;
    return 0;
}

void reference_shade(int cx, int cy, int l1x, int l1y, int l1r, int l2x, int l2y, int l2r,
                     int minimum) {
    std::memcpy(Reference, Framebuffer, sizeof Reference);
    for (int sy = 0; sy < SCREEN_H; ++sy) {
        for (int sx = 0; sx < SCREEN_W; ++sx) {
            uint8_t& p = Reference[sy * SCREEN_W + sx];
            int64_t wx = int64_t{cx} + sx, wy = int64_t{cy} + sy;
            if (wy < 0 || wy > 447 || wx < 0 || wx > 895 ||
                VisibleGrid[(wy / 16) * 56 + wx / 16] == 0) {
                p = 0;
                continue;
            }
            int64_t t = DitherMatrix[sy & 3][sx & 3];
            int64_t level = light_level(t, wx, wy, l1x, l1y, l1r);
            if (l2r > 0) {
                int64_t level2 = light_level(t, wx, wy, l2x, l2y, l2r);
                if (level2 > level) level = level2;
            }
            if (level < minimum) level = minimum;
            if (level < 3) p = ShadeTable[level][p];
        }
    }
}

void fill_test_picture(uint32_t seed) {
    for (int i = 0; i < SCREEN_W * SCREEN_H; ++i) {
        seed = seed * 1103515245u + 12345u;
        Framebuffer[i] = static_cast<uint8_t>((seed >> 16) & 15);
    }
}

const TileMask Visible{VisibleGrid, MAP_W, MAP_H};

void set_all_visible() { std::memset(VisibleGrid, 1, sizeof VisibleGrid); }

uint8_t screen_at(int x, int y) { return Framebuffer[y * SCREEN_W + x]; }

}  // namespace

// Light at world (102, 100), radius 10: r2 100, outer 64, inner 36, step 1.
// Camera at the origin, so screen and world coincide; on row 100 the dither
// values are 0 8 2 10 for x & 3 = 0..3. Colour 15 darkens to 8, then to 7.
TEST(DrawShade, RingBoundariesWithTheDitherTerm) {
    build_shade_table();
    set_all_visible();
    std::memset(Framebuffer, 15, sizeof Framebuffer);
    shade_by_light(Visible, 0, 0, 102, 100, 10, 0, 0, 0, 0);
    EXPECT_EQ(screen_at(102, 100), 15);  // d 0
    EXPECT_EQ(screen_at(106, 100), 15);  // 16 + 2
    EXPECT_EQ(screen_at(107, 100), 15);  // 25 + 10 = 35
    EXPECT_EQ(screen_at(108, 100), 8);   // 36 + 0: on the inner limit, one step darker
    EXPECT_EQ(screen_at(109, 100), 8);   // 49 + 8 = 57
    EXPECT_EQ(screen_at(110, 100), 7);   // 64 + 0: on the outer limit
    EXPECT_EQ(screen_at(111, 100), 7);   // 81 + 10 = 91
    EXPECT_EQ(screen_at(112, 100), 0);   // 100 + 0: on the radius
    EXPECT_EQ(screen_at(97, 100), 15);   // 25 + 8 = 33
    EXPECT_EQ(screen_at(102, 106), 8);   // 36 + Dither[2][2] = 37
    EXPECT_EQ(screen_at(102, 104), 15);  // 16 + Dither[0][2] = 18
    EXPECT_EQ(screen_at(0, 0), 0);
}

TEST(DrawShade, MinimumLevelAndSecondLight) {
    build_shade_table();
    set_all_visible();
    std::memset(Framebuffer, 15, sizeof Framebuffer);
    shade_by_light(Visible, 0, 0, 102, 100, 10, 20, 20, 10, 1);
    EXPECT_EQ(screen_at(112, 100), 7);  // dark, raised to level 1
    EXPECT_EQ(screen_at(300, 180), 7);
    EXPECT_EQ(screen_at(102, 100), 15);
    EXPECT_EQ(screen_at(20, 20), 15);   // lit by the second light only
    EXPECT_EQ(screen_at(26, 20), 8);    // 36 + Dither[0][2] = 38

    // A radius of 0 or below switches the second light off.
    for (int r : {0, -10}) {
        std::memset(Framebuffer, 15, sizeof Framebuffer);
        shade_by_light(Visible, 0, 0, 102, 100, 10, 20, 20, r, 0);
        EXPECT_EQ(screen_at(20, 20), 0);
        EXPECT_EQ(screen_at(102, 100), 15);
    }

    // Level 3 as the minimum leaves every visible pixel alone; a minimum
    // beyond 3 acts as 3, one below 0 as 0.
    fill_test_picture(7);
    std::memcpy(Reference, Framebuffer, sizeof Reference);
    shade_by_light(Visible, 100, 100, 0, 0, 5, 0, 0, 0, 3);
    EXPECT_EQ(std::memcmp(Reference, Framebuffer, sizeof Reference), 0);
    shade_by_light(Visible, 100, 100, 0, 0, 5, 0, 0, 0, 9);
    EXPECT_EQ(std::memcmp(Reference, Framebuffer, sizeof Reference), 0);
    shade_by_light(Visible, 100, 100, 0, 0, 5, 0, 0, 0, -4);
    EXPECT_EQ(count_framebuffer(0), SCREEN_W * SCREEN_H);
}

TEST(DrawShade, InvisibleTilesAndOutsideTheWorldAreBlack) {
    build_shade_table();
    set_all_visible();
    VisibleGrid[6 * 56 + 6] = 0;  // world pixels 96..111 x 96..111
    std::memset(Framebuffer, 15, sizeof Framebuffer);
    shade_by_light(Visible, 0, 0, 102, 100, 10, 0, 0, 0, 3);
    EXPECT_EQ(screen_at(96, 96), 0);
    EXPECT_EQ(screen_at(111, 111), 0);
    EXPECT_EQ(screen_at(102, 100), 0);
    EXPECT_EQ(screen_at(95, 96), 15);
    EXPECT_EQ(screen_at(112, 100), 15);
    EXPECT_EQ(screen_at(96, 112), 15);
    EXPECT_EQ(count_framebuffer(0), 256);
    set_all_visible();

    struct {
        int cx, cy;
        int black_from_x, black_to_x, black_from_y, black_to_y;  // half-open screen ranges
    } cases[] = {
        {40, -5, 0, SCREEN_W, 0, 5},                  // rows above the world
        {40, 448 - 195, 0, SCREEN_W, 195, SCREEN_H},  // rows below it
        {-3, 40, 0, 3, 0, SCREEN_H},                  // columns left of it
        {896 - 318, 40, 318, SCREEN_W, 0, SCREEN_H},  // columns right of it
    };
    for (const auto& c : cases) {
        std::memset(Framebuffer, 15, sizeof Framebuffer);
        shade_by_light(Visible, c.cx, c.cy, 0, 0, 0, 0, 0, 0, 3);
        for (int y = 0; y < SCREEN_H; ++y) {
            for (int x = 0; x < SCREEN_W; ++x) {
                bool black = x >= c.black_from_x && x < c.black_to_x && y >= c.black_from_y &&
                             y < c.black_to_y;
                ASSERT_EQ(screen_at(x, y), black ? 0 : 15)
                    << "camera " << c.cx << "," << c.cy << " pixel " << x << "," << y;
            }
        }
    }

    // A camera far from the world, even at the ends of the 32-bit range.
    for (int cx : {INT32_MIN, -400, 2000, INT32_MAX}) {
        std::memset(Framebuffer, 15, sizeof Framebuffer);
        shade_by_light(Visible, cx, 100, 0, 0, 50, INT32_MAX, INT32_MIN, 16383, 3);
        EXPECT_EQ(count_framebuffer(0), SCREEN_W * SCREEN_H) << cx;
        std::memset(Framebuffer, 15, sizeof Framebuffer);
        shade_by_light(Visible, cx, 100, INT32_MIN, INT32_MAX, 50, INT32_MAX, INT32_MIN, 40, 3);
        EXPECT_EQ(count_framebuffer(0), SCREEN_W * SCREEN_H) << cx;
    }
    std::memset(Framebuffer, 15, sizeof Framebuffer);
    shade_by_light(Visible, 100, INT32_MAX, 0, 0, 50, 0, 0, 0, 3);
    EXPECT_EQ(count_framebuffer(0), SCREEN_W * SCREEN_H);
}

TEST(DrawShade, MatchesThePixelByPixelRule) {
    build_shade_table();
    struct {
        int cx, cy, l1x, l1y, l1r, l2x, l2y, l2r;
    } scenes[] = {
        {288, 124, 448, 216, 92, 448, 96, 150},  // a typical view with the floor light
        {0, 0, 40, 30, 66, 344, 96, 80},
        {576, 248, 700, 300, 120, 0, 0, 0},      // bottom-right corner, one light
        {13, 5, 170, 104, 67, 154, 52, 62},      // not on tile boundaries
        {-7, -9, 150, 90, 95, 0, 0, -3},         // partly outside the world
        {581, 251, 740, 350, 118, 740, 350, 30}, // both lights at one place
        {200, 100, 10000, 10000, 5, 360, 200, 1},
        {100, 100, 260, 200, 24, 300, 220, 30},  // the pursuer's tiny light
        // A light whose centre column lies beyond 32 bits from the camera but
        // whose rings still reach the view's rows: no light on screen.
        {636, -22, -2147483646, -16382, 16383, 448, 46340, 101},
        {-30000, 10, 2147483647, 200, 16000, 0, 0, 0},
    };
    uint32_t seed = 1;
    for (const auto& s : scenes) {
        for (int minimum = 0; minimum <= 3; ++minimum) {
            fill_test_picture(seed++);
            for (int i = 0; i < MAP_TILES; ++i) {
                seed = seed * 1103515245u + 12345u;
                VisibleGrid[i] = ((seed >> 16) & 7) != 0;
            }
            reference_shade(s.cx, s.cy, s.l1x, s.l1y, s.l1r, s.l2x, s.l2y, s.l2r, minimum);
            shade_by_light(Visible, s.cx, s.cy, s.l1x, s.l1y, s.l1r, s.l2x, s.l2y, s.l2r, minimum);
            for (int i = 0; i < SCREEN_W * SCREEN_H; ++i) {
                ASSERT_EQ(Framebuffer[i], Reference[i])
                    << "camera " << s.cx << "," << s.cy << " radii " << s.l1r << "," << s.l2r
                    << " minimum " << minimum << " pixel " << i % SCREEN_W << ","
                    << i / SCREEN_W;
            }
        }
    }

    // Random scenes: lights on and off the screen, overlapping or apart,
    // radii from nothing to wider than the view.
    std::memset(VisibleGrid, 1, sizeof VisibleGrid);
    for (int scene = 0; scene < 60; ++scene) {
        auto next = [&seed](int lo, int hi) {
            seed = seed * 1103515245u + 12345u;
            return lo + static_cast<int>((seed >> 8) % static_cast<uint32_t>(hi - lo + 1));
        };
        int cx = next(-40, 620), cy = next(-30, 280);
        int l1x = cx + next(-250, 570), l1y = cy + next(-200, 400), l1r = next(-3, 260);
        int l2x = cx + next(-250, 570), l2y = cy + next(-200, 400), l2r = next(-40, 260);
        int minimum = next(0, 3);
        fill_test_picture(seed);
        reference_shade(cx, cy, l1x, l1y, l1r, l2x, l2y, l2r, minimum);
        shade_by_light(Visible, cx, cy, l1x, l1y, l1r, l2x, l2y, l2r, minimum);
        ASSERT_EQ(std::memcmp(Framebuffer, Reference, sizeof Reference), 0)
            << "camera " << cx << "," << cy << " light " << l1x << "," << l1y << " r " << l1r
            << " light " << l2x << "," << l2y << " r " << l2r << " minimum " << minimum;
    }
}

// The level asked for one pixel is the level the pass gives it on a visible
// tile: near and far lights, and the second light.
TEST(DrawShade, LevelOfOnePixelMatchesThePass) {
    build_shade_table();
    set_all_visible();
    struct {
        int cx, cy, l1x, l1y, l1r, l2x, l2y, l2r, minimum;
    } scenes[] = {
        {288, 124, 448, 216, 92, 448, 96, 150, 0},
        {100, 100, 260, 200, 24, 300, 220, 30, 0},
        {13, 5, 170, 104, 67, 154, 52, 62, 1},
        {300, 200, 460, 300, 16383, 0, 0, 0, 0},  // the widest light there may be
        {0, 0, 40, 30, 66, 344, 96, -5, 7},
    };
    for (const auto& s : scenes) {
        std::memset(Framebuffer, 15, sizeof Framebuffer);
        shade_by_light(Visible, s.cx, s.cy, s.l1x, s.l1y, s.l1r, s.l2x, s.l2y, s.l2r, s.minimum);
        const uint8_t by_level[4] = {0, 7, 8, 15};
        for (int sy = 0; sy < SCREEN_H; ++sy) {
            for (int sx = 0; sx < SCREEN_W; ++sx) {
                const int level = light_level_at(s.cx, s.cy, sx, sy, s.l1x, s.l1y, s.l1r, s.l2x,
                                                 s.l2y, s.l2r, s.minimum);
                ASSERT_EQ(screen_at(sx, sy), by_level[level])
                    << "camera " << s.cx << "," << s.cy << " pixel " << sx << "," << sy;
            }
        }
    }
}

// Strength 1: a 3-pixel band. e = 0 always, e = 1 where the dither value
// is 6 or more (3t >= 16), e = 2 where it is 11 or more (3t >= 32).
TEST(DrawVignette, BandWidthAndDither) {
    std::memset(Framebuffer, BACKGROUND, sizeof Framebuffer);
    edge_vignette(1, 11);
    for (int y = 0; y < SCREEN_H; ++y) {
        for (int x = 0; x < SCREEN_W; ++x) {
            int e = std::min(std::min(x, 319 - x), std::min(y, 199 - y));
            int t = DitherMatrix[y & 3][x & 3];
            bool set = e == 0 || (e == 1 && t >= 6) || (e == 2 && t >= 11);
            ASSERT_EQ(screen_at(x, y), set ? 11 : BACKGROUND) << x << "," << y;
        }
    }
    EXPECT_EQ(screen_at(1, 50), 11);          // t 11
    EXPECT_EQ(screen_at(1, 49), BACKGROUND);  // t 4

    // Strength 2: 6 pixels; e = 5 needs 6t >= 80, so t 14 but not 13.
    std::memset(Framebuffer, BACKGROUND, sizeof Framebuffer);
    edge_vignette(2, 3);
    EXPECT_EQ(screen_at(314, 101), 3);
    EXPECT_EQ(screen_at(314, 103), BACKGROUND);
    int touched = 0;
    for (int y = 0; y < SCREEN_H; ++y) {
        for (int x = 0; x < SCREEN_W; ++x) {
            int e = std::min(std::min(x, 319 - x), std::min(y, 199 - y));
            if (screen_at(x, y) != BACKGROUND) {
                ++touched;
                EXPECT_LT(e, 6);
            }
        }
    }
    EXPECT_GT(touched, 0);

    std::memset(Framebuffer, BACKGROUND, sizeof Framebuffer);
    edge_vignette(0, 3);
    edge_vignette(-4, 3);
    EXPECT_EQ(count_framebuffer(BACKGROUND), SCREEN_W * SCREEN_H);

    // A band wider than half the screen reaches the centre: e 99 there needs
    // t * 3s >= 1584.
    edge_vignette(100, 5);  // t >= 6 (5.28)
    EXPECT_EQ(screen_at(160, 99), 5);           // t 15
    EXPECT_EQ(screen_at(161, 100), 5);          // t 8
    EXPECT_EQ(screen_at(160, 100), BACKGROUND); // t 0
}
