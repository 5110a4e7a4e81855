#include <gtest/gtest.h>

#include <cstring>

#include <cstdint>
#include <vector>

#include "data/sprite_rows.h"
#include "gfx/figures.h"

namespace {

constexpr uint8_t BACKGROUND = 0xEE;  // not a Palette index: untouched pixels stay this

struct Image {
    int w;
    int h;
    std::vector<uint8_t> pixels;
    Image(int width, int height)
        : w(width), h(height), pixels(static_cast<size_t>(width * height), BACKGROUND) {}
    uint8_t at(int x, int y) const { return pixels[static_cast<size_t>(y * w + x)]; }
};

enum Kind { ADULT_0, ADULT_1, ADULT_2, PLAYER, PLAYER_CROUCHED, FRIEND, KIND_COUNT };

void draw(Kind kind, uint8_t* buffer, int w, int h, int x, int y, int facing, int phase,
          int scale) {
    switch (kind) {
        case ADULT_0: draw_adult_figure(buffer, w, h, x, y, facing, phase, 12, scale, 0); break;
        case ADULT_1: draw_adult_figure(buffer, w, h, x, y, facing, phase, 1, scale, 1); break;
        case ADULT_2: draw_adult_figure(buffer, w, h, x, y, facing, phase, 6, scale, 2); break;
        case PLAYER: draw_player_figure(buffer, w, h, x, y, facing, phase, 0, scale); break;
        case PLAYER_CROUCHED:
            draw_player_figure(buffer, w, h, x, y, facing, phase, 14, scale);
            break;
        default: draw_friend_figure(buffer, w, h, x, y, facing, phase, scale); break;
    }
}

Image render(Kind kind, int facing, int phase, int scale) {
    Image image(40 * scale, 60 * scale);
    draw(kind, image.pixels.data(), image.w, image.h, image.w / 2, image.h - 4 * scale, facing,
         phase, scale);
    return image;
}

int sprite_colour(int first, int r, int c, int key) {
    const char ch = SpriteRowTable[first + r][c];
    if (ch >= '0' && ch <= '9') return ch - '0';
    if (ch >= 'a' && ch <= 'f') return ch - 'a' + 10;
    if (ch == 'x') return key;
    return -1;
}

}  // namespace

// Facing left is facing right mirrored about the feet column: the pixel at
// x + d becomes the pixel at x - 1 - d.
TEST(Figures, FacingLeftMirrorsFacingRight) {
    for (int kind = 0; kind < KIND_COUNT; ++kind)
        for (int phase = 0; phase < 4; ++phase)
            for (int scale = 1; scale <= 3; ++scale) {
                const Image right = render(static_cast<Kind>(kind), 2, phase, scale);
                const Image left = render(static_cast<Kind>(kind), 3, phase, scale);
                int differences = 0;
                for (int y = 0; y < right.h; ++y)
                    for (int x = 0; x < right.w; ++x)
                        differences += left.at(x, y) != right.at(right.w - 1 - x, y);
                EXPECT_EQ(differences, 0)
                    << "kind " << kind << " phase " << phase << " scale " << scale;
            }
}

TEST(Figures, PhasesZeroAndTwoAreTheSamePose) {
    for (int kind = 0; kind < KIND_COUNT; ++kind)
        for (int facing = 0; facing < 4; ++facing)
            EXPECT_EQ(render(static_cast<Kind>(kind), facing, 0, 1).pixels,
                      render(static_cast<Kind>(kind), facing, 2, 1).pixels)
                << "kind " << kind << " facing " << facing;
}

TEST(Figures, StridesDifferFromTheNeutralPose) {
    for (int kind = 0; kind < KIND_COUNT; ++kind)
        for (int facing = 0; facing < 4; ++facing) {
            const Image neutral = render(static_cast<Kind>(kind), facing, 0, 1);
            EXPECT_NE(neutral.pixels, render(static_cast<Kind>(kind), facing, 1, 1).pixels);
            EXPECT_NE(neutral.pixels, render(static_cast<Kind>(kind), facing, 3, 1).pixels);
        }
}

// A figure at scale 2 is the figure at scale 1 with every pixel doubled
// both ways about the feet (render puts the feet at the same place relative
// to the image's size).
TEST(Figures, ScaleTwoDoublesEveryPixel) {
    for (int kind = 0; kind < KIND_COUNT; ++kind)
        for (int facing = 0; facing < 4; ++facing)
            for (int phase = 0; phase < 4; ++phase) {
                const Image one = render(static_cast<Kind>(kind), facing, phase, 1);
                const Image two = render(static_cast<Kind>(kind), facing, phase, 2);
                int differences = 0;
                for (int y = 0; y < two.h; ++y)
                    for (int x = 0; x < two.w; ++x) differences += two.at(x, y) != one.at(x / 2, y / 2);
                EXPECT_EQ(differences, 0) << "kind " << kind << " facing " << facing << " phase " << phase;
            }
}

// Crouching shortens the legs and lowers everything above them; the head
// stands 47 units above the feet upright and 33 at a crouch of 14. The same
// rectangles hold for crouches outside 0..14 (legs 2 units tall at 16).
TEST(Figures, PlayerCrouchGeometry) {
    for (int crouch : {0, 14, 16, -2}) {
        Image image(60, 80);
        const int x = 30, y = 70;
        draw_player_figure(image.pixels.data(), image.w, image.h, x, y, 0, 0, crouch, 1);
        const int legs = 18 - crouch;
        // Column x-4 is inside the left leg: hem above it, shoe below it.
        for (int row = y - 3 - legs; row < y - 3; ++row) EXPECT_EQ(image.at(x - 4, row), 1) << row;
        EXPECT_EQ(image.at(x - 4, y - 4 - legs), 11) << "hem right above the legs";
        EXPECT_EQ(image.at(x - 4, y - 3), 6) << "shoe right below them";
        // The head sprite is drawn last, unmirrored, with its top row at y - 47 + crouch.
        const int top = y - 47 + crouch;
        for (int r = 0; r < 10; ++r)
            for (int c = 0; c < 10; ++c) {
                const int colour = sprite_colour(SPRITE_HEAD_PLAYER, r, c, 1);
                if (colour >= 0) {
                    EXPECT_EQ(image.at(x - 5 + c, top + r), colour);
                }
            }
        for (int row = 0; row < top; ++row)
            for (int col = 0; col < image.w; ++col) EXPECT_EQ(image.at(col, row), BACKGROUND);
    }
}

// Near or over every edge a figure is clipped: the small buffer holds exactly
// what a larger one holds in the same window, and nothing outside it changes.
TEST(Figures, ClippedAtEveryEdge) {
    constexpr int W = 48, H = 40, M = 150;
    for (int kind = 0; kind < KIND_COUNT; ++kind)
        for (int scale = 1; scale <= 2; ++scale)
            for (int y = -10; y <= H + 100; y += 13)
                for (int x = -30; x <= W + 30; x += 11)
                    for (int facing = 0; facing < 4; ++facing) {
                        std::vector<uint8_t> guarded(W * H + 64, BACKGROUND);
                        uint8_t* small = guarded.data() + 32;
                        Image large(W + 2 * M, H + 2 * M);
                        draw(static_cast<Kind>(kind), small, W, H, x, y, facing, 1, scale);
                        draw(static_cast<Kind>(kind), large.pixels.data(), large.w, large.h, x + M,
                             y + M, facing, 1, scale);
                        for (int i = 0; i < 32; ++i) {
                            ASSERT_EQ(guarded[static_cast<size_t>(i)], BACKGROUND);
                            ASSERT_EQ(guarded[static_cast<size_t>(32 + W * H + i)], BACKGROUND);
                        }
                        for (int row = 0; row < H; ++row)
                            for (int col = 0; col < W; ++col)
                                ASSERT_EQ(small[row * W + col], large.at(col + M, row + M))
                                    << "kind " << kind << " at " << x << "," << y << " facing "
                                    << facing;
                    }
}

// Scale 300, feet at (160, 400) below a 320x200 buffer: every pixel lies in
// figure unit column -1 or 0 and unit row -2 (rows 0..99) or -1 (rows
// 100..199). Of all the pursuer's rectangles only the shadow (-5, -1, 10, 2)
// covers any of these units.
TEST(Figures, ScalesBeyondTheScreenAreDrawnAsWell) {
    Image image(320, 200);
    draw_adult_figure(image.pixels.data(), image.w, image.h, 160, 400, 0, 0, 12, 300, 0);
    for (int y = 0; y < image.h; ++y)
        for (int x = 0; x < image.w; ++x)
            ASSERT_EQ(image.at(x, y), y < 100 ? BACKGROUND : 1) << x << "," << y;
}

TEST(Figures, NothingIsDrawnAtScaleZeroOrWithoutABuffer) {
    Image image(40, 60);
    draw_adult_figure(image.pixels.data(), image.w, image.h, 20, 50, 0, 0, 12, 0, 0);
    draw_player_figure(image.pixels.data(), image.w, image.h, 20, 50, 0, 0, 0, -1);
    draw_friend_figure(image.pixels.data(), image.w, image.h, 20, 50, 0, 0, 0);
    for (uint8_t p : image.pixels) ASSERT_EQ(p, BACKGROUND);
    // Feet points no buffer can show are refused before any offset is worked out.
    draw_adult_figure(image.pixels.data(), image.w, image.h, INT32_MAX, INT32_MIN, 2, 1, 12, 256,
                      0);
    draw_player_figure(image.pixels.data(), image.w, image.h, INT32_MIN, 50, 3, 3, 14, 1);
    draw_friend_figure(image.pixels.data(), image.w, image.h, 20, 50, 0, 0, INT32_MAX);
    for (uint8_t p : image.pixels) ASSERT_EQ(p, BACKGROUND);
    draw_player_figure(nullptr, 40, 60, 20, 50, 0, 0, 0, 1);
    draw_icon(nullptr, 32, 1);
}

// The icon is the face sprite at scale N: every pixel of the 32N x 32N
// area is the sprite's colour (red eyes) or the untouched background, and
// not one byte beyond it changes.
TEST(Figures, IconFillsExactlyItsArea) {
    for (int n : {1, 8}) {
        const int size = 32 * n;
        std::vector<uint8_t> guarded(static_cast<size_t>(size * size + 64), BACKGROUND);
        uint8_t* icon = guarded.data() + 32;
        draw_icon(icon, size, n);
        for (int i = 0; i < 32; ++i) {
            EXPECT_EQ(guarded[static_cast<size_t>(i)], BACKGROUND);
            EXPECT_EQ(guarded[static_cast<size_t>(32 + size * size + i)], BACKGROUND);
        }
        int drawn = 0;
        for (int y = 0; y < size; ++y)
            for (int x = 0; x < size; ++x) {
                const int colour = sprite_colour(SPRITE_FACE, y / n, x / n, 12);
                ASSERT_EQ(icon[y * size + x], colour < 0 ? BACKGROUND : colour) << x << "," << y;
                drawn += colour >= 0;
            }
        EXPECT_GT(drawn, size * size / 2);
    }
}

// The play view looks for the player's figure only inside these bounds.
TEST(Figures, PlayerStaysInsideItsBounds) {
    static uint8_t buffer[200 * 200];
    for (int facing = 0; facing < 4; ++facing)
        for (int phase = 0; phase < 4; ++phase)
            for (int crouch = 0; crouch <= 14; ++crouch) {
                std::memset(buffer, 0xFF, sizeof buffer);
                draw_player_figure(buffer, 200, 200, 100, 120, facing, phase, crouch, 1);
                for (int y = 0; y < 200; ++y)
                    for (int x = 0; x < 200; ++x)
                        if (buffer[y * 200 + x] != 0xFF) {
                            ASSERT_TRUE(x - 100 >= PLAYER_FIGURE_LEFT && x - 100 <= PLAYER_FIGURE_RIGHT &&
                                        y - 120 >= PLAYER_FIGURE_TOP && y - 120 <= PLAYER_FIGURE_BOTTOM)
                                << "facing " << facing << " phase " << phase << " crouch " << crouch << " at "
                                << x - 100 << "," << y - 120;
                        }
            }
}
