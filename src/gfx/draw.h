// Drawing primitives on 8-bit Palette-index images, the pattern-sprite
// blitter, and the two full-screen passes of the play view.
#pragma once
#include <cstdint>

// Index of the next darker colour for each colour.
extern const uint8_t DarkerColour[16];
// Light level 0..3 x colour: 0 black, 1 two steps darker, 2 one step darker, 3 unchanged.
extern uint8_t ShadeTable[4][16];
// 4x4 ordered dither, read as DitherMatrix[y & 3][x & 3].
extern const uint8_t DitherMatrix[4][4];

void build_shade_table();

void fill_bytes(uint8_t* destination, uint8_t value, int32_t count);
// Fills [x, x+w) x [y, y+h) clipped to the target.
void fill_rect(uint8_t* target, int32_t target_w, int32_t target_h, int32_t x, int32_t y,
               int32_t w, int32_t h, int32_t colour);
// Draws the PatternSprite whose first row is SpriteRowTable[first_row].
// key_colour < 0 makes 'x' transparent.
void blit_pattern(uint8_t* target, int32_t target_w, int32_t target_h, int32_t x, int32_t y,
                  int32_t first_row, int32_t sprite_w, int32_t sprite_h, int32_t flip,
                  int32_t scale, int32_t key_colour);
// The same from any array of row_count text rows (rows[0] is the top row).
// Rows beyond row_count are skipped and a row ends early at its terminator;
// blit_pattern treats SpriteRowTable the same way.
void blit_rows(uint8_t* target, int32_t target_w, int32_t target_h, int32_t x, int32_t y,
               const char* const* rows, int32_t row_count, int32_t sprite_w, int32_t sprite_h,
               int32_t flip, int32_t scale, int32_t key_colour);
// On the Framebuffer.
void fill_circle(int32_t cx, int32_t cy, int32_t r, int32_t colour);
void put_pixel(int32_t x, int32_t y, int32_t colour);
// fill_rect on the Framebuffer.
void fill_screen_rect(int32_t x, int32_t y, int32_t w, int32_t h, int32_t colour);
// The tiles the darkness pass may show: one flag per 16x16-pixel tile of the
// picture the camera looks into, row-major; pixels on a tile whose flag is 0,
// and pixels beyond the picture, go black.
struct TileMask {
    const uint8_t* flags;
    int32_t columns;
    int32_t rows;
};

// The darkness pass over the Framebuffer, with the camera at (camera_x,
// camera_y) in the picture the mask covers. Light radii are below 16384
// pixels (the game's largest is under 200); a radius of 0 is no light.
void shade_by_light(const TileMask& visible, int32_t camera_x, int32_t camera_y,
                    int32_t light1_x, int32_t light1_y, int32_t light1_r, int32_t light2_x,
                    int32_t light2_y, int32_t light2_r, int32_t minimum_level);
// The level 0..3 that shade_by_light gives the screen pixel (sx, sy) when its
// tile is visible (the same lights, dither and minimum).
int32_t light_level_at(int32_t camera_x, int32_t camera_y, int32_t sx, int32_t sy,
                       int32_t light1_x, int32_t light1_y, int32_t light1_r, int32_t light2_x,
                       int32_t light2_y, int32_t light2_r, int32_t minimum_level);
// Dithered band of colour along the Framebuffer edges, 3*strength pixels wide.
void edge_vignette(int32_t strength, int32_t colour);
