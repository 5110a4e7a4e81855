// What the player can see: a per-tile flag grid and the tile line-of-sight test.
#pragma once
#include <cstdint>

#include "world/tile_geometry.h"

extern uint8_t VisibleGrid[MAP_TILES];

// The tiles seen from the player's tile (column, row).
void update_visibility(int32_t column, int32_t row);
// 1 if the grid line from tile (x0, y0) to (x1, y1) is not blocked.
int32_t line_of_sight(int32_t x0, int32_t y0, int32_t x1, int32_t y1);
