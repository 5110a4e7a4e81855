// The built-in 5x7 font (upper case, digits, punctuation, Ä Ö Ü ß) and text
// drawing.
#pragma once
#include <cstdint>

constexpr int GLYPH_COUNT = 57;
extern const uint8_t GlyphTable[GLYPH_COUNT + 1][7];  // glyph 0 unused
extern uint8_t GlyphLookup[256];

// Internal codes of the decoded umlauts.
enum : int { CHAR_AE = 200, CHAR_OE = 201, CHAR_UE = 202, CHAR_SZ = 203 };

void build_glyph_lookup();

// Decodes one character at *p and advances p; returns 0 at the end of the text.
int decode_char(const char*& p);
// Number of decoded characters (an umlaut counts once).
int32_t text_length(const char* text);

void draw_text(uint8_t* target, int32_t target_w, int32_t target_h, int32_t x, int32_t y,
               const char* text, int32_t colour, int32_t scale, int32_t max_chars);
int32_t text_width(const char* text, int32_t scale);
// Centred on the Framebuffer, with a colour-1 shadow.
void draw_text_centred(int32_t y, const char* text, int32_t colour, int32_t scale);
// On the Framebuffer, shadow first.
void draw_text_shadowed(int32_t x, int32_t y, const char* text, int32_t colour,
                        int32_t shadow_colour, int32_t scale);
// At scale 1 on a plate two pixels wider all round (the floors' painted
// labels); box_colour < 0 draws no plate.
void draw_label_box(uint8_t* target, int32_t target_w, int32_t target_h, int32_t x, int32_t y,
                    const char* text, int32_t text_colour, int32_t box_colour);
