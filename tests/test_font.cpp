#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <string>

#include "gfx/font.h"
#include "gfx/text.h"
#include "platform/present.h"
#include "world/world_image.h"

namespace {

constexpr uint8_t BACKGROUND = 0xEE;

std::string picture(std::initializer_list<const char*> rows) {
    std::string s;
    for (const char* r : rows) {
        s += r;
        s += '\n';
    }
    return s;
}

std::string window(const uint8_t* image, int image_w, int x0, int y0, int w, int h) {
    std::string s;
    for (int y = y0; y < y0 + h; ++y) {
        for (int x = x0; x < x0 + w; ++x) {
            uint8_t v = image[y * image_w + x];
            s += v == BACKGROUND ? '.' : v < 10 ? char('0' + v) : '?';
        }
        s += '\n';
    }
    return s;
}

// Draws a text on a cleared 64x16 image and returns the picture.
uint8_t Canvas[64 * 16];
std::string drawn(const char* text, int scale = 1, int max_chars = 9999, int x = 0) {
    std::memset(Canvas, BACKGROUND, sizeof Canvas);
    draw_text(Canvas, 64, 16, x, 0, text, 1, scale, max_chars);
    return window(Canvas, 64, 0, 0, 64, 16);
}

std::string blank() { return drawn(""); }

void clear_framebuffer() { std::memset(Framebuffer, BACKGROUND, sizeof Framebuffer); }

}  // namespace

TEST(FontLookup, CharactersCasesAndUmlauts) {
    build_glyph_lookup();
    EXPECT_EQ(GlyphLookup['A'], 1);
    EXPECT_EQ(GlyphLookup['Z'], 26);
    EXPECT_EQ(GlyphLookup['0'], 27);
    EXPECT_EQ(GlyphLookup['9'], 36);
    EXPECT_EQ(GlyphLookup['.'], 37);
    EXPECT_EQ(GlyphLookup['='], 53);
    EXPECT_EQ(GlyphLookup['a'], 1);
    EXPECT_EQ(GlyphLookup['z'], 26);
    EXPECT_EQ(GlyphLookup[CHAR_AE], 54);
    EXPECT_EQ(GlyphLookup[CHAR_SZ], 57);
    EXPECT_EQ(GlyphLookup[' '], 0);
    EXPECT_EQ(GlyphLookup[';'], 0);
    EXPECT_EQ(GlyphLookup['"'], 0);
    EXPECT_EQ(GlyphLookup[0xC3], 0);
    // Every glyph keeps to its five columns.
    for (int g = 0; g <= GLYPH_COUNT; ++g) {
        for (int r = 0; r < 7; ++r) EXPECT_EQ(GlyphTable[g][r] & 0xE0, 0) << g;
    }
}

TEST(FontDecode, TwoByteFormsAndBrokenSequences) {
    const char* p = "\xC3\x84\xC3\xA4\xC3\x96\xC3\xB6\xC3\x9C\xC3\xBC\xC3\x9F" "a";
    const int want[] = {CHAR_AE, CHAR_AE, CHAR_OE, CHAR_OE, CHAR_UE, CHAR_UE, CHAR_SZ, 'a', 0};
    for (int w : want) EXPECT_EQ(decode_char(p), w);
    EXPECT_EQ(decode_char(p), 0);  // stays at the end

    // é is not decoded: one '?'.
    p = "\xC3\xA9Z";
    EXPECT_EQ(decode_char(p), '?');
    EXPECT_EQ(decode_char(p), 'Z');

    // A lone 0xC3 before the terminator is one '?', and the text ends there.
    const char* text = "A\xC3";
    p = text;
    EXPECT_EQ(decode_char(p), 'A');
    EXPECT_EQ(decode_char(p), '?');
    EXPECT_EQ(p, text + 2);
    EXPECT_EQ(decode_char(p), 0);
    EXPECT_EQ(p, text + 2);

    // Other multi-byte characters: each byte on its own, none with a glyph,
    // including the lead bytes whose values equal the umlaut codes.
    EXPECT_EQ(text_length("\xE2\x82\xAC"), 3);
    EXPECT_EQ(text_length("\xC8\x98\xCB"), 3);
    build_glyph_lookup();
    EXPECT_EQ(drawn("\xE2\x82\xAC\xC8\x98\xCB"), blank());

    EXPECT_EQ(text_length(""), 0);
    EXPECT_EQ(text_length("M\xC3\x84" "DCHEN"), 7);
}

TEST(FontDraw, GlyphPixelsAndScale) {
    build_glyph_lookup();
    std::memset(Canvas, BACKGROUND, sizeof Canvas);
    draw_text(Canvas, 64, 16, 1, 1, "A", 7, 1, 9999);
    EXPECT_EQ(window(Canvas, 64, 0, 0, 8, 9), picture({
                                                  "........",
                                                  "..777...",
                                                  ".7...7..",
                                                  ".7...7..",
                                                  ".77777..",
                                                  ".7...7..",
                                                  ".7...7..",
                                                  ".7...7..",
                                                  "........",
                                              }));
    // '!' at scale 2: column 2 of rows 0..4 and 6 becomes 2x2 blocks.
    std::memset(Canvas, BACKGROUND, sizeof Canvas);
    draw_text(Canvas, 64, 16, 0, 0, "!", 3, 2, 9999);
    std::string bang;
    for (int r = 0; r < 16; ++r) {
        bang += (r < 10 || r == 12 || r == 13) ? "....33....\n" : "..........\n";
    }
    EXPECT_EQ(window(Canvas, 64, 0, 0, 10, 16), bang);
}

TEST(FontDraw, CellsBlanksAndReplacementMarks) {
    build_glyph_lookup();
    // A space and a character without a glyph each take one empty cell.
    std::string second_a = drawn("A", 1, 9999, 12);
    std::string first_a = drawn("A");
    std::string both;
    for (size_t i = 0; i < first_a.size(); ++i) {
        both += first_a[i] != '.' ? first_a[i] : second_a[i];
    }
    EXPECT_EQ(drawn("A A"), both);
    EXPECT_EQ(drawn("A;A"), both);
    EXPECT_EQ(drawn("A\"A"), both);
    // The broken sequences draw '?'.
    EXPECT_EQ(drawn("A\xC3"), drawn("A?"));
    EXPECT_EQ(drawn("\xC3\xA9"), drawn("?"));
    EXPECT_NE(drawn("?"), blank());
    // Lower case, ä included, draws the capitals.
    EXPECT_EQ(drawn("ger\xC3\xA4te"), drawn("GER\xC3\x84TE"));
    EXPECT_EQ(drawn("stra\xC3\x9F" "e"), drawn("STRA\xC3\x9F" "E"));
}

TEST(FontDraw, MaximumCountsCharacters) {
    build_glyph_lookup();
    EXPECT_EQ(drawn("M\xC3\x84" "DCHEN", 1, 3), drawn("M\xC3\x84" "D"));
    EXPECT_NE(drawn("M\xC3\x84" "DCHEN", 1, 3), drawn("M\xC3\x84"));
    EXPECT_EQ(drawn("M\xC3\x84" "DCHEN", 1, 0), blank());
    EXPECT_EQ(drawn("M\xC3\x84" "DCHEN", 1, -1), blank());
    EXPECT_EQ(drawn("M\xC3\x84" "DCHEN", 1, 9999), drawn("M\xC3\x84" "DCHEN", 1, 7));
}

TEST(FontDraw, ClippedAtTheTargetEdges) {
    build_glyph_lookup();
    // Hanging off every edge of a small target; the guard bytes around it
    // must stay as they were.
    uint8_t bytes[32 + 10 * 6 + 32];
    std::memset(bytes, BACKGROUND, sizeof bytes);
    uint8_t* target = bytes + 32;
    draw_text(target, 10, 6, -60, 0, "WWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWW", 6, 3, 9999);
    draw_text(target, 10, 6, -3, -2, "HH", 4, 1, 9999);
    draw_text(target, 10, 6, 7, 3, "HH", 5, 1, 9999);
    draw_text(target, 10, 6, INT32_MAX - 3, INT32_MAX - 3, "HH", 7, 2, 9999);
    draw_text(target, 10, 6, INT32_MIN, 0, "HH", 7, INT32_MAX, 9999);
    for (int i = 0; i < 32; ++i) {
        EXPECT_EQ(bytes[i], BACKGROUND);
        EXPECT_EQ(bytes[32 + 60 + i], BACKGROUND);
    }
    // W at scale 3 from x -60: its fourth cell starts at -6 and puts its
    // right column at 6..8. Then "HH" from (-3, -2) and from (7, 3).
    EXPECT_EQ(window(target, 10, 0, 0, 10, 6), picture({
                                                   ".4.4..646.",
                                                   "44.444446.",
                                                   ".4.4..646.",
                                                   ".4.4..656.",
                                                   ".4.4..656.",
                                                   "......656.",
                                               }));
}

TEST(FontWidth, CountsDecodedCharacters) {
    EXPECT_EQ(text_width("GER\xC3\x84TE", 1), 35);
    EXPECT_EQ(text_width("GER\xC3\x84TE", 2), 70);
    EXPECT_EQ(text_width("ger\xC3\xA4te", 1), 35);
    EXPECT_EQ(text_width("", 3), 0);
    EXPECT_EQ(text_width(" ", 1), 5);
    EXPECT_EQ(text_width("A\xC3", 1), 11);
}

// "A" at scale 1 is 5 wide: x = (320 - 5) / 2 = 157; the colour-1 shadow
// one pixel right and down is drawn first.
TEST(FontCentred, ShadowUnderneathAndTruncatedCentre) {
    build_glyph_lookup();
    clear_framebuffer();
    draw_text_centred(10, "A", 9, 1);
    EXPECT_EQ(window(Framebuffer, SCREEN_W, 157, 10, 7, 8), picture({
                                                                  ".999...",
                                                                  "9.119..",
                                                                  "91..91.",
                                                                  "999991.",
                                                                  "911191.",
                                                                  "91..91.",
                                                                  "91..91.",
                                                                  ".1...1.",
                                                              }));

    // 60 W are 359 wide: x = -39 / 2 = -19, truncated toward zero. Row 0 of
    // W sets columns 0 and 4 of each cell: x = 3, 5, 9 at the left, 309,
    // 311, 315, 317 at the right (cells at 305, 311, 317).
    clear_framebuffer();
    draw_text_centred(50, std::string(60, 'W').c_str(), 9, 1);
    EXPECT_EQ(window(Framebuffer, SCREEN_W, 0, 50, 11, 1), "...9.9...9.\n");
    EXPECT_EQ(window(Framebuffer, SCREEN_W, 309, 50, 11, 1), "9.9...9.9..\n");

    clear_framebuffer();
    draw_text_centred(10, "", 9, 1);
    draw_text_centred(10, "  ", 9, 3);
    for (uint8_t v : Framebuffer) ASSERT_EQ(v, BACKGROUND);
}

TEST(FontShadowed, ShadowOffsetGrowsWithScale) {
    build_glyph_lookup();
    clear_framebuffer();
    draw_text_shadowed(0, 0, "-", 7, 2, 1);  // '-' is row 3 only
    EXPECT_EQ(window(Framebuffer, SCREEN_W, 0, 2, 7, 4),
              picture({".......", "77777..", ".22222.", "......."}));
    clear_framebuffer();
    draw_text_shadowed(0, 0, "-", 7, 2, 2);
    EXPECT_EQ(window(Framebuffer, SCREEN_W, 0, 5, 13, 6),
              picture({".............", "7777777777...", "7777777777...", "..2222222222.",
                       "..2222222222.", "............."}));
}

TEST(FontLabel, PlateAroundTheText) {
    build_glyph_lookup();
    std::memset(WorldImage, BACKGROUND, sizeof WorldImage);
    // "AB": plate at (8, 18), 6*2 + 3 = 15 wide, 11 high.
    draw_label_box(WorldImage, WORLD_W, WORLD_H, 10, 20, "AB", 9, 3);
    EXPECT_EQ(window(WorldImage, WORLD_W, 7, 17, 17, 13), picture({
                                                              ".................",
                                                              ".333333333333333.",
                                                              ".333333333333333.",
                                                              ".333999339999333.",
                                                              ".339333939333933.",
                                                              ".339333939333933.",
                                                              ".339999939999333.",
                                                              ".339333939333933.",
                                                              ".339333939333933.",
                                                              ".339333939999333.",
                                                              ".333333333333333.",
                                                              ".333333333333333.",
                                                              ".................",
                                                          }));
    // An empty text still gets a 4-pixel plate; a negative colour none.
    draw_label_box(WorldImage, WORLD_W, WORLD_H, 100, 100, "", 9, 5);
    EXPECT_EQ(window(WorldImage, WORLD_W, 97, 98, 6, 1), ".5555.\n");
    draw_label_box(WorldImage, WORLD_W, WORLD_H, 200, 100, "A", 9, -1);
    EXPECT_EQ(window(WorldImage, WORLD_W, 197, 97, 9, 4),
              picture({".........", ".........", ".........", "....999.."}));
    // At the corners of the world the plate is clipped.
    draw_label_box(WorldImage, WORLD_W, WORLD_H, 0, 0, "AB", 9, 4);
    draw_label_box(WorldImage, WORLD_W, WORLD_H, WORLD_W - 3, WORLD_H - 3, "AB", 9, 4);
    EXPECT_EQ(WorldImage[0], 4);
    EXPECT_EQ(WorldImage[WORLD_W * WORLD_H - 1], 4);
}

TEST(FontTime, MinutesAndSeconds) {
    EXPECT_STREQ(format_time("ZEIT: ", 0), "ZEIT: 0:00");
    EXPECT_STREQ(format_time("ZEIT: ", 1799), "ZEIT: 0:59");
    EXPECT_STREQ(format_time("ZEIT BISHER: ", 18000), "ZEIT BISHER: 10:00");
    EXPECT_STREQ(format_time("", 180000), "00:00");
    EXPECT_STREQ(format_time("", 30 * (59 * 60 + 7)), "59:07");
    // The prefix is cut at 30 bytes; one buffer serves every call.
    const char* a = format_time("0123456789012345678901234567890123456789", 61 * 30);
    EXPECT_STREQ(a, "0123456789012345678901234567891:01");
    EXPECT_EQ(format_time("X", 0), a);
    // A negative count reads as zero.
    EXPECT_STREQ(format_time("", -45), "0:00");
}

TEST(FontAppend, TextIsCutAt62Bytes) {
    char buffer[64] = "AB";
    append_text(buffer, "CD");
    EXPECT_STREQ(buffer, "ABCD");
    append_text(buffer, std::string(100, 'x').c_str());
    EXPECT_EQ(std::strlen(buffer), 62u);
    EXPECT_EQ(std::string(buffer), "ABCD" + std::string(58, 'x'));
    append_text(buffer, "YZ");
    EXPECT_EQ(std::strlen(buffer), 62u);

    // An umlaut split at byte 62 leaves a lone 0xC3: drawn as '?'.
    char split[64] = {0};
    std::memset(split, 'A', 61);
    append_text(split, "\xC3\x84!");
    EXPECT_EQ(std::strlen(split), 62u);
    EXPECT_EQ(text_length(split), 62);
    const char* p = split + 61;
    EXPECT_EQ(decode_char(p), '?');
}

TEST(FontAppend, NumbersKeepTheirLastTwoDigits) {
    char buffer[64] = "";
    append_number(buffer, 7);
    EXPECT_STREQ(buffer, "7");
    append_number(buffer, 42);
    EXPECT_STREQ(buffer, "742");
    append_number(buffer, 123);
    EXPECT_STREQ(buffer, "74223");
    append_number(buffer, 100);
    EXPECT_STREQ(buffer, "7422300");
    append_number(buffer, 0);
    EXPECT_STREQ(buffer, "74223000");
    append_number(buffer, -5);
    EXPECT_STREQ(buffer, "742230000");

    // Numbers too keep to the 62-byte bound.
    char full[64] = {0};
    std::memset(full, 'A', 61);
    append_number(full, 42);
    EXPECT_EQ(std::strlen(full), 62u);
    EXPECT_EQ(full[61], '4');
}
