#include "gfx/font.h"

#include <cstring>

#include "gfx/draw.h"
#include "gfx/framebuffer.h"

namespace {

// The characters of glyphs 1..53, in glyph order.
const char FontCharacters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789.,!?:-'()/+%><*#=";


int32_t clamp_to_int32(int64_t v) {
    if (v > INT32_MAX) return INT32_MAX;
    if (v < INT32_MIN) return INT32_MIN;
    return static_cast<int32_t>(v);
}

bool fits_int32(int64_t v) { return v >= INT32_MIN && v <= INT32_MAX; }

}  // namespace

// One byte per pixel row, top row first; bit 4 is the leftmost column.
const uint8_t GlyphTable[GLYPH_COUNT + 1][7] = {
    {0, 0, 0, 0, 0, 0, 0},  // 0: no glyph
    {0x0e, 0x11, 0x11, 0x1f, 0x11, 0x11, 0x11},  // 1 A
    {0x1e, 0x11, 0x11, 0x1e, 0x11, 0x11, 0x1e},  // 2 B
    {0x0e, 0x11, 0x10, 0x10, 0x10, 0x11, 0x0e},  // 3 C
    {0x1e, 0x11, 0x11, 0x11, 0x11, 0x11, 0x1e},  // 4 D
    {0x1f, 0x10, 0x10, 0x1e, 0x10, 0x10, 0x1f},  // 5 E
    {0x1f, 0x10, 0x10, 0x1e, 0x10, 0x10, 0x10},  // 6 F
    {0x0e, 0x11, 0x10, 0x17, 0x11, 0x11, 0x0f},  // 7 G
    {0x11, 0x11, 0x11, 0x1f, 0x11, 0x11, 0x11},  // 8 H
    {0x0e, 0x04, 0x04, 0x04, 0x04, 0x04, 0x0e},  // 9 I
    {0x07, 0x02, 0x02, 0x02, 0x02, 0x12, 0x0c},  // 10 J
    {0x11, 0x12, 0x14, 0x18, 0x14, 0x12, 0x11},  // 11 K
    {0x10, 0x10, 0x10, 0x10, 0x10, 0x10, 0x1f},  // 12 L
    {0x11, 0x1b, 0x15, 0x15, 0x11, 0x11, 0x11},  // 13 M
    {0x11, 0x11, 0x19, 0x15, 0x13, 0x11, 0x11},  // 14 N
    {0x0e, 0x11, 0x11, 0x11, 0x11, 0x11, 0x0e},  // 15 O
    {0x1e, 0x11, 0x11, 0x1e, 0x10, 0x10, 0x10},  // 16 P
    {0x0e, 0x11, 0x11, 0x11, 0x15, 0x12, 0x0d},  // 17 Q
    {0x1e, 0x11, 0x11, 0x1e, 0x14, 0x12, 0x11},  // 18 R
    {0x0f, 0x10, 0x10, 0x0e, 0x01, 0x01, 0x1e},  // 19 S
    {0x1f, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04},  // 20 T
    {0x11, 0x11, 0x11, 0x11, 0x11, 0x11, 0x0e},  // 21 U
    {0x11, 0x11, 0x11, 0x11, 0x11, 0x0a, 0x04},  // 22 V
    {0x11, 0x11, 0x11, 0x15, 0x15, 0x15, 0x0a},  // 23 W
    {0x11, 0x11, 0x0a, 0x04, 0x0a, 0x11, 0x11},  // 24 X
    {0x11, 0x11, 0x0a, 0x04, 0x04, 0x04, 0x04},  // 25 Y
    {0x1f, 0x01, 0x02, 0x04, 0x08, 0x10, 0x1f},  // 26 Z
    {0x0e, 0x11, 0x13, 0x15, 0x19, 0x11, 0x0e},  // 27 0
    {0x04, 0x0c, 0x04, 0x04, 0x04, 0x04, 0x0e},  // 28 1
    {0x0e, 0x11, 0x01, 0x02, 0x04, 0x08, 0x1f},  // 29 2
    {0x1f, 0x02, 0x04, 0x02, 0x01, 0x11, 0x0e},  // 30 3
    {0x02, 0x06, 0x0a, 0x12, 0x1f, 0x02, 0x02},  // 31 4
    {0x1f, 0x10, 0x1e, 0x01, 0x01, 0x11, 0x0e},  // 32 5
    {0x06, 0x08, 0x10, 0x1e, 0x11, 0x11, 0x0e},  // 33 6
    {0x1f, 0x01, 0x02, 0x04, 0x08, 0x08, 0x08},  // 34 7
    {0x0e, 0x11, 0x11, 0x0e, 0x11, 0x11, 0x0e},  // 35 8
    {0x0e, 0x11, 0x11, 0x0f, 0x01, 0x02, 0x0c},  // 36 9
    {0x00, 0x00, 0x00, 0x00, 0x00, 0x0c, 0x0c},  // 37 .
    {0x00, 0x00, 0x00, 0x00, 0x0c, 0x04, 0x08},  // 38 ,
    {0x04, 0x04, 0x04, 0x04, 0x04, 0x00, 0x04},  // 39 !
    {0x0e, 0x11, 0x01, 0x02, 0x04, 0x00, 0x04},  // 40 ?
    {0x00, 0x0c, 0x0c, 0x00, 0x0c, 0x0c, 0x00},  // 41 :
    {0x00, 0x00, 0x00, 0x1f, 0x00, 0x00, 0x00},  // 42 -
    {0x04, 0x04, 0x08, 0x00, 0x00, 0x00, 0x00},  // 43 '
    {0x02, 0x04, 0x08, 0x08, 0x08, 0x04, 0x02},  // 44 (
    {0x08, 0x04, 0x02, 0x02, 0x02, 0x04, 0x08},  // 45 )
    {0x01, 0x01, 0x02, 0x04, 0x08, 0x10, 0x10},  // 46 /
    {0x00, 0x04, 0x04, 0x1f, 0x04, 0x04, 0x00},  // 47 +
    {0x18, 0x19, 0x02, 0x04, 0x08, 0x13, 0x03},  // 48 %
    {0x08, 0x04, 0x02, 0x01, 0x02, 0x04, 0x08},  // 49 >
    {0x02, 0x04, 0x08, 0x10, 0x08, 0x04, 0x02},  // 50 <
    {0x00, 0x15, 0x0e, 0x1f, 0x0e, 0x15, 0x00},  // 51 *
    {0x0a, 0x1f, 0x0a, 0x0a, 0x1f, 0x0a, 0x00},  // 52 #
    {0x00, 0x00, 0x1f, 0x00, 0x1f, 0x00, 0x00},  // 53 =
    {0x0a, 0x00, 0x0e, 0x11, 0x1f, 0x11, 0x11},  // 54 Ä
    {0x0a, 0x00, 0x0e, 0x11, 0x11, 0x11, 0x0e},  // 55 Ö
    {0x0a, 0x00, 0x11, 0x11, 0x11, 0x11, 0x0e},  // 56 Ü
    {0x0c, 0x12, 0x12, 0x16, 0x11, 0x11, 0x16},  // 57 ß
};

uint8_t GlyphLookup[256];

void build_glyph_lookup() {
    std::memset(GlyphLookup, 0, sizeof GlyphLookup);
    for (int p = 0; FontCharacters[p] != 0; ++p) {
        GlyphLookup[static_cast<unsigned char>(FontCharacters[p])] = static_cast<uint8_t>(p + 1);
    }
    // Lower case is drawn with the capitals.
    for (int i = 0; i < 26; ++i) GlyphLookup['a' + i] = static_cast<uint8_t>(i + 1);
    GlyphLookup[CHAR_AE] = 54;
    GlyphLookup[CHAR_OE] = 55;
    GlyphLookup[CHAR_UE] = 56;
    GlyphLookup[CHAR_SZ] = 57;
}

int decode_char(const char*& p) {
    unsigned char b = static_cast<unsigned char>(*p);
    if (b == 0) return 0;
    if (b != 0xC3) {
        ++p;
        // A lone byte 0xC8..0xCB (the lead of some other two-byte character)
        // would share its code with an umlaut; it is shown as a character
        // without a glyph, like every other undecoded byte.
        if (b >= CHAR_AE && b <= CHAR_SZ) return 0x80;
        return b;
    }
    unsigned char next = static_cast<unsigned char>(p[1]);
    if (next == 0) {
        // A sequence cut short by the terminator: one '?' and the text ends.
        ++p;
        return '?';
    }
    p += 2;
    switch (next) {
        case 0x84:
        case 0xA4:
            return CHAR_AE;
        case 0x96:
        case 0xB6:
            return CHAR_OE;
        case 0x9C:
        case 0xBC:
            return CHAR_UE;
        case 0x9F:
            return CHAR_SZ;
        default:
            return '?';
    }
}

int32_t text_length(const char* text) {
    int32_t n = 0;
    while (decode_char(text) != 0) ++n;
    return n;
}

void draw_text(uint8_t* target, int32_t target_w, int32_t target_h, int32_t x, int32_t y,
               const char* text, int32_t colour, int32_t scale, int32_t max_chars) {
    if (max_chars <= 0) return;
    int64_t cell_x = x;
    int32_t handled = 0;
    const char* p = text;
    int code;
    while (handled < max_chars && (code = decode_char(p)) != 0) {
        int glyph = GlyphLookup[code & 0xFF];
        if (glyph != 0) {
            for (int64_t r = 0; r < 7; ++r) {
                uint8_t bits = GlyphTable[glyph][r];
                for (int64_t c = 0; c < 5; ++c) {
                    if ((bits & (16 >> c)) == 0) continue;
                    int64_t px = cell_x + c * scale;
                    int64_t py = y + r * scale;
                    // One pixel a dot at scale 1 (most text): set it directly.
                    if (scale == 1) {
                        if (px >= 0 && px < target_w && py >= 0 && py < target_h)
                            target[py * target_w + px] = static_cast<uint8_t>(colour);
                        continue;
                    }
                    // A block whose corner is beyond 32 bits is beyond the target too.
                    if (!fits_int32(px) || !fits_int32(py)) continue;
                    fill_rect(target, target_w, target_h, static_cast<int32_t>(px),
                              static_cast<int32_t>(py), scale, scale, colour);
                }
            }
        }
        cell_x += int64_t{6} * scale;
        ++handled;
    }
}

int32_t text_width(const char* text, int32_t scale) {
    int64_t n = text_length(text);
    if (n == 0) return 0;
    return clamp_to_int32(static_cast<int64_t>(scale) * (6 * n - 1));
}

void draw_text_centred(int32_t y, const char* text, int32_t colour, int32_t scale) {
    int64_t n = text_length(text);
    int64_t x = SCREEN_W / 2;
    if (n > 0) x = (SCREEN_W - static_cast<int64_t>(scale) * (6 * n - 1)) / 2;
    int32_t left = clamp_to_int32(x);
    draw_text(Framebuffer, SCREEN_W, SCREEN_H, clamp_to_int32(x + scale),
              clamp_to_int32(static_cast<int64_t>(y) + scale), text, 1, scale, INT32_MAX);
    draw_text(Framebuffer, SCREEN_W, SCREEN_H, left, y, text, colour, scale, INT32_MAX);
}

void draw_text_shadowed(int32_t x, int32_t y, const char* text, int32_t colour,
                        int32_t shadow_colour, int32_t scale) {
    draw_text(Framebuffer, SCREEN_W, SCREEN_H, clamp_to_int32(static_cast<int64_t>(x) + scale),
              clamp_to_int32(static_cast<int64_t>(y) + scale), text, shadow_colour, scale,
              INT32_MAX);
    draw_text(Framebuffer, SCREEN_W, SCREEN_H, x, y, text, colour, scale, INT32_MAX);
}

void draw_label_box(uint8_t* target, int32_t target_w, int32_t target_h, int32_t x, int32_t y,
                    const char* text, int32_t text_colour, int32_t box_colour) {
    if (box_colour >= 0) {
        int64_t n = text_length(text);
        int64_t w = n == 0 ? 4 : 6 * n + 3;
        fill_rect(target, target_w, target_h, clamp_to_int32(static_cast<int64_t>(x) - 2),
                  clamp_to_int32(static_cast<int64_t>(y) - 2), clamp_to_int32(w), 11, box_colour);
    }
    draw_text(target, target_w, target_h, x, y, text, text_colour, 1, INT32_MAX);
}
