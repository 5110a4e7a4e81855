// People as stacks of rectangles plus a 10x10 head sprite, and the program
// icon. All offsets are figure units from the feet point, times the scale.
//
// The side views are written once, facing right; facing left draws the same
// list mirrored about the feet column, a rectangle [a, a+w) becoming
// [-a-w, -a), so the two sides can never drift apart.
#include "gfx/figures.h"

#include "data/sprite_rows.h"
#include "gfx/draw.h"

namespace {

struct Figure {
    uint8_t* buffer;
    int32_t width;
    int32_t height;
    int32_t x;
    int32_t y;
    int32_t scale;
    bool mirrored;  // facing left: side rectangles are mirrored about x
};

inline int64_t clamp64(int64_t v, int64_t lo, int64_t hi) { return v < lo ? lo : v > hi ? hi : v; }

// The edges are worked out in 64 bits and clamped to the buffer before the
// clipped fill, so a large scale or crouch never overflows them and clips
// exactly as the unclamped rectangle would.
void part(const Figure& f, int64_t dx, int64_t dy, int64_t w, int64_t h, int32_t colour) {
    const int64_t x0 = f.x + dx * f.scale, y0 = f.y + dy * f.scale;
    const int64_t x1 = x0 + w * f.scale, y1 = y0 + h * f.scale;
    const int64_t cx0 = clamp64(x0, 0, f.width), cx1 = clamp64(x1, 0, f.width);
    const int64_t cy0 = clamp64(y0, 0, f.height), cy1 = clamp64(y1, 0, f.height);
    fill_rect(f.buffer, f.width, f.height, static_cast<int32_t>(cx0), static_cast<int32_t>(cy0),
              static_cast<int32_t>(cx1 - cx0), static_cast<int32_t>(cy1 - cy0), colour);
}

// A rectangle of a side view, given for facing right.
void side_part(const Figure& f, int64_t dx, int64_t dy, int64_t w, int64_t h, int32_t colour) {
    part(f, f.mirrored ? -dx - w : dx, dy, w, h, colour);
}

// The head is 10 units wide and centred on the feet column, so mirroring it
// within its own width mirrors it about x as well. A sprite origin beyond
// 32 bits (a huge crouch times a huge scale) is not drawn.
void head(const Figure& f, int64_t dy, int32_t first_row, bool flip, int32_t eye_colour) {
    const int64_t hx = f.x - int64_t{5} * f.scale, hy = f.y + dy * f.scale;
    if (hx < INT32_MIN || hx > INT32_MAX || hy < INT32_MIN || hy > INT32_MAX) return;
    blit_pattern(f.buffer, f.width, f.height, static_cast<int32_t>(hx), static_cast<int32_t>(hy),
                 first_row, 10, 10, flip ? 1 : 0, f.scale, eye_colour);
}

// Feet points and scales are taken below 2^24 in size, far beyond any
// picture the game draws, and larger ones are refused; with the crouch held
// to the same size every offset times the scale stays well inside 64 bits.
constexpr int32_t FAR_AWAY = 1 << 24;

bool usable(const uint8_t* buffer, int32_t width, int32_t height, int32_t x, int32_t y,
            int32_t scale) {
    return buffer != nullptr && width > 0 && height > 0 && scale >= 1 && scale < FAR_AWAY &&
           x > -FAR_AWAY && x < FAR_AWAY && y > -FAR_AWAY && y < FAR_AWAY;
}

bool is_side(int32_t facing) { return facing != FACING_DOWN && facing != FACING_UP; }

// Head sprites of the grown-ups: front, back and side follow each other.
const int32_t AdultHeadRow[3] = {SPRITE_HEAD_PURSUER, SPRITE_HEAD_HASELBRINK, SPRITE_HEAD_HEMMKE};

struct AdultColours {
    int32_t legs;
    int32_t sleeves;
    int32_t coat;
    int32_t edge;
};

// 0: the pursuer's long white coat; 1: HASELBRINK's dark red jacket with
// blue braces; 2: HEMMKE's brown jacket.
const AdultColours AdultColourTable[3] = {{2, 5, 6, 5}, {2, 11, 11, 13}, {3, 8, 8, 7}};

}  // namespace

void draw_adult_figure(uint8_t* buffer, int32_t width, int32_t height, int32_t x, int32_t y,
                       int32_t facing, int32_t phase, int32_t eye_colour, int32_t scale,
                       int32_t variant) {
    if (!usable(buffer, width, height, x, y, scale)) return;
    if (variant < 0 || variant > 2) variant = 0;
    const AdultColours& k = AdultColourTable[variant];
    const int32_t head_row = AdultHeadRow[variant];
    Figure f{buffer, width, height, x, y, scale, facing == FACING_LEFT};

    part(f, -5, -1, 10, 2, 1);  // shadow

    if (!is_side(facing)) {
        // A lifted leg goes with the opposite arm hanging one unit lower.
        const int32_t k1 = phase == 1 ? 1 : 0;
        const int32_t k3 = phase == 3 ? 1 : 0;
        part(f, -4, -7 - k1, 3, 5, k.legs);
        part(f, 1, -7 - k3, 3, 5, k.legs);
        part(f, -4, -2 - k1, 3, 2, 1);
        part(f, 1, -2 - k3, 3, 2, 1);
        part(f, -7, -16 + k3, 2, 8, k.sleeves);
        part(f, 5, -16 + k1, 2, 8, k.sleeves);
        part(f, -7, -8 + k3, 2, 2, 9);
        part(f, 5, -8 + k1, 2, 2, 9);
        part(f, -5, -17, 10, 11, k.coat);
        part(f, 4, -17, 1, 11, k.edge);
        if (variant == 0)
            part(f, -5, -7, 10, 1, 5);  // the long coat's hem
        else
            part(f, -5, -9, 10, 3, k.legs);  // a short jacket shows the trousers
        if (variant == 1) {
            part(f, -3, -17, 1, 8, 13);  // braces
            part(f, 1, -17, 1, 8, 13);
            part(f, -5, -15, 10, 1, 4);  // stripes
            part(f, -5, -12, 10, 1, 4);
            part(f, -7, -13 + k3, 2, 1, 13);  // sleeve bands
            part(f, 5, -13 + k1, 2, 1, 13);
        }
        if (facing == FACING_DOWN) {
            if (variant == 0) {
                part(f, -1, -17, 2, 8, 5);   // shirt
                part(f, -1, -16, 1, 6, 11);  // tie
                part(f, 2, -15, 1, 2, 12);   // pocket square
            } else if (variant == 1) {
                part(f, 5, -9 + k1, 2, 1, 5);  // watch
            } else {
                part(f, -2, -17, 4, 2, 6);  // collar
            }
        }
        head(f, -27, head_row + (facing == FACING_DOWN ? 0 : 10), false, eye_colour);
        return;
    }

    // Side view: u swings the legs, n the arm.
    const int32_t u = phase == 1 ? 2 : (phase == 3 ? -2 : 0);
    const int32_t n = phase == 1 ? -2 : (phase == 3 ? 0 : -1);
    side_part(f, -u - 2, -7, 3, 5, 1);  // far leg, in shadow
    side_part(f, -u - 2, -2, 4, 2, 1);
    side_part(f, u - 2, -7, 3, 5, k.legs);  // near leg
    side_part(f, u - 2, -2, 4, 2, 1);
    side_part(f, -4, -17, 8, 11, k.coat);
    side_part(f, -4, -17, 1, 11, k.edge);  // the coat's edge at the back
    if (variant == 0)
        side_part(f, -4, -7, 8, 1, 5);
    else
        side_part(f, -4, -9, 8, 3, k.legs);
    if (variant == 1) side_part(f, -4, -14, 8, 1, 4);
    side_part(f, n, -16, 3, 8, k.sleeves);
    side_part(f, n, -8, 3, 2, 9);
    head(f, -27, head_row + 20, f.mirrored, eye_colour);
}

void draw_player_figure(uint8_t* buffer, int32_t width, int32_t height, int32_t x, int32_t y,
                        int32_t facing, int32_t phase, int32_t crouch, int32_t scale) {
    if (!usable(buffer, width, height, x, y, scale)) return;
    // Callers pass 0..14; any other crouch follows the same rectangles (from
    // 18 on the legs vanish), bounded only to keep the offsets in range.
    const int64_t c = crouch <= -FAR_AWAY ? -FAR_AWAY : (crouch >= FAR_AWAY ? FAR_AWAY : crouch);
    const int64_t v = 18 - c;  // leg height
    Figure f{buffer, width, height, x, y, scale, facing == FACING_LEFT};

    part(f, -7, -1, 14, 2, 1);  // shadow

    if (!is_side(facing)) {
        // a lifts the left leg and lowers the right arm, b the other way round.
        const int64_t a = phase == 1 ? 2 : 0;
        const int64_t b = phase == 3 ? 2 : 0;
        part(f, -5, c - a - 21, 4, v, 1);
        part(f, -5, c - a - 21, 1, v, 3);
        part(f, 1, c - b - 21, 4, v, 1);
        part(f, 4, c - b - 21, 1, v, 3);
        part(f, -6, -3 - a, 5, 2, 6);  // shoes with their soles
        part(f, -6, -1 - a, 5, 1, 4);
        part(f, 1, -3 - b, 5, 2, 6);
        part(f, 1, -1 - b, 5, 1, 4);
        part(f, -9, c + b - 35, 3, 13, 12);  // sleeves, edges and hands
        part(f, -9, c + b - 35, 1, 13, 11);
        part(f, -9, c + b - 22, 3, 2, 9);
        part(f, 6, c + a - 35, 3, 13, 12);
        part(f, 8, c + a - 35, 1, 13, 11);
        part(f, 6, c + a - 22, 3, 2, 9);
        part(f, -6, c - 36, 12, 15, 12);  // hoodie
        part(f, 5, c - 36, 1, 15, 11);
        part(f, -6, c - 23, 12, 2, 11);
        part(f, -6, c - 39, 12, 4, 11);  // hood
        if (facing == FACING_UP) {
            part(f, -5, c - 34, 10, 11, 8);  // backpack
            part(f, -5, c - 24, 10, 1, 7);
            part(f, -2, c - 35, 4, 1, 7);
        } else {
            part(f, -3, c - 28, 6, 3, 11);  // pocket
            part(f, -2, c - 35, 1, 4, 6);   // hood strings
            part(f, 1, c - 35, 1, 4, 6);
        }
        head(f, c - 47, SPRITE_HEAD_PLAYER + (facing == FACING_DOWN ? 0 : 10), false, 1);
        return;
    }

    const int64_t p = phase == 1 ? 3 : (phase == 3 ? -3 : 0);
    const int64_t r = phase == 1 ? -1 : (phase == 3 ? 1 : 0);
    side_part(f, -p - 2, c - 21, 4, v, 0);  // far leg
    side_part(f, -p - 2, -3, 6, 3, 4);
    side_part(f, -8, c - 34, 3, 11, 8);    // backpack
    side_part(f, p - 2, c - 21, 4, v, 1);  // near leg
    side_part(f, p + 1, c - 21, 1, v, 3);
    side_part(f, p - 2, -3, 6, 2, 6);
    side_part(f, p - 2, -1, 6, 1, 4);
    side_part(f, -5, c - 36, 10, 15, 12);  // hoodie
    side_part(f, -5, c - 36, 1, 15, 11);
    side_part(f, -5, c - 23, 10, 2, 11);
    side_part(f, -6, c - 39, 10, 4, 11);
    side_part(f, r - 1, c - 35, 3, 13, 12);  // sleeve
    side_part(f, r - 1, c - 35, 1, 13, 11);
    side_part(f, r - 1, c - 22, 3, 2, 9);
    head(f, c - 47, SPRITE_HEAD_PLAYER + 20, f.mirrored, 1);
}

void draw_friend_figure(uint8_t* buffer, int32_t width, int32_t height, int32_t x, int32_t y,
                        int32_t facing, int32_t phase, int32_t scale) {
    if (!usable(buffer, width, height, x, y, scale)) return;
    Figure f{buffer, width, height, x, y, scale, facing == FACING_LEFT};

    part(f, -7, -1, 14, 2, 1);  // shadow

    if (!is_side(facing)) {
        const int32_t a = phase == 1 ? 2 : 0;
        const int32_t b = phase == 3 ? 2 : 0;
        part(f, -4, -10 - a, 3, 9, 9);  // bare legs
        part(f, 1, -10 - b, 3, 9, 9);
        part(f, -4, -10 - a, 1, 9, 10);
        part(f, 3, -10 - b, 1, 9, 10);
        part(f, -4, -2 - a, 3, 2, 10);
        part(f, 1, -2 - b, 3, 2, 10);
        part(f, -5, -15, 10, 5, 1);  // shorts
        part(f, -5, -15, 10, 1, 13);
        part(f, -10, b - 27, 4, 12, 9);  // arms
        part(f, 6, a - 27, 4, 12, 9);
        part(f, -10, b - 27, 1, 12, 10);
        part(f, 9, a - 27, 1, 12, 10);
        part(f, -10, b - 16, 4, 2, 10);
        part(f, 6, a - 16, 4, 2, 10);
        part(f, -6, -27, 12, 12, 9);  // torso
        part(f, -6, -27, 1, 12, 10);
        part(f, 5, -27, 1, 12, 10);
        if (facing == FACING_DOWN) {
            part(f, -4, -23, 3, 1, 10);  // chest and belly lines
            part(f, 1, -23, 3, 1, 10);
            part(f, -1, -21, 2, 1, 10);
            part(f, -1, -19, 2, 1, 10);
            part(f, -1, -17, 2, 1, 10);
        }
        head(f, -37, SPRITE_HEAD_FRIEND + (facing == FACING_DOWN ? 0 : 10), false, 1);
        return;
    }

    const int32_t s = phase == 1 ? 3 : (phase == 3 ? -3 : 0);  // stride
    const int32_t g = phase == 1 ? -2 : (phase == 3 ? 2 : 0);  // arm swing
    side_part(f, -s - 2, -10, 4, 9, 10);                       // far leg
    side_part(f, s - 2, -10, 4, 9, 9);                         // near leg
    side_part(f, -s - 2, -2, 5, 2, 10);
    side_part(f, s - 2, -2, 5, 2, 10);
    side_part(f, -4, -15, 8, 5, 1);  // shorts
    side_part(f, -4, -15, 8, 1, 13);
    side_part(f, -4, -27, 9, 12, 9);  // torso
    side_part(f, -4, -27, 1, 12, 10);
    side_part(f, 3, -24, 2, 1, 10);
    side_part(f, g - 2, -26, 4, 12, 9);  // arm
    side_part(f, g - 2, -26, 1, 12, 10);
    side_part(f, g - 2, -15, 4, 2, 10);
    head(f, -37, SPRITE_HEAD_FRIEND + 20, f.mirrored, 1);
}

void draw_icon(uint8_t* buffer, int32_t size, int32_t n) {
    if (buffer == nullptr || size <= 0 || n < 1) return;
    blit_pattern(buffer, size, size, 0, 0, SPRITE_FACE, 32, 32, 0, n, 12);
}
