// The play view: the window onto the current floor, the characters sorted by
// depth, the darkness, and the effects the game switches on through its
// counters. Ends with the HUD.
#pragma once
#include <cstdint>

#include "game/game_state.h"
#include "world/world_image.h"

// Per floor a fixed second light in world pixels; radius 0 is none.
struct FloorLightRow {
    int16_t x, y, radius;
};
extern const FloorLightRow FloorLight[FLOOR_COUNT];

// Per ItemType the first row of its 8x8 icon, and whether it bobs and glints
// when lying on the floor.
struct ItemIconRow {
    int16_t first_row;
    uint8_t bobs;
};
extern const ItemIconRow ItemIconTable[ITEM_TYPE_COUNT];

void draw_play_view();

// The parts, in screen coordinates.
void draw_swimmer(int32_t vx, int32_t vy);
void draw_floor_items(int32_t vx, int32_t vy, int32_t lit);
void draw_pursuer_eyes(int32_t x, int32_t y);
// Draws 38 numbers from the shared generator.
void draw_brawl_cloud(int32_t x, int32_t y);
void draw_floor_card(int32_t x, int32_t y, int32_t floor);
