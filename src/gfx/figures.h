// People drawn from rectangles and a 10x10 head sprite, measured from the feet
// point (x centre, y the row just below the feet), and the program icon.
#pragma once
#include <cstdint>

#include "data/facing.h"

// facing (Facing): FACING_DOWN the front, FACING_UP the back, FACING_RIGHT
// and FACING_LEFT the side.
// phase: 0..3 (0 and 2 neutral, 1 and 3 strides).
// variant: 0 the pursuer, 1 HERR HASELBRINK, 2 HERR HEMMKE.
void draw_adult_figure(uint8_t* buffer, int32_t width, int32_t height, int32_t x, int32_t y,
                       int32_t facing, int32_t phase, int32_t eye_colour, int32_t scale,
                       int32_t variant);
// Where the player's figure at scale 1 can set pixels, relative to (x, y),
// inclusive, with room to spare: a pass over his figure need look no further.
constexpr int32_t PLAYER_FIGURE_LEFT = -12, PLAYER_FIGURE_RIGHT = 12;
constexpr int32_t PLAYER_FIGURE_TOP = -52, PLAYER_FIGURE_BOTTOM = 2;
// crouch 0..14 lowers the body.
void draw_player_figure(uint8_t* buffer, int32_t width, int32_t height, int32_t x, int32_t y,
                        int32_t facing, int32_t phase, int32_t crouch, int32_t scale);
void draw_friend_figure(uint8_t* buffer, int32_t width, int32_t height, int32_t x, int32_t y,
                        int32_t facing, int32_t phase, int32_t scale);
// The 32x32 face at scale n into a size x size buffer (size = 32*n).
void draw_icon(uint8_t* buffer, int32_t size, int32_t n);
