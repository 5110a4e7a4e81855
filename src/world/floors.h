// The six floor maps, the TileCode sets, and the working copy of the current floor.
#pragma once
#include <cstdint>

#include "world/tile_codes.h"
#include "world/tile_geometry.h"

// FloorMaps[floor][row]: 56 characters each; repeated rows share one text.
extern const char* const FloorMaps[FLOOR_COUNT][MAP_H];

// The current floor after loading (markers replaced, the pool-hall door opened).
extern uint8_t CurrentFloorMap[MAP_TILES];

// TileCode sets, each defined once.
bool is_floor_tile(int code);        // , . ; _ c f h m t
bool is_wall_tile(int code);         // # b j n p q u w y z (painting)
bool blocks_sight(int code);         // the wall set and F
bool is_route_passable(int code);    // floor set, D, ^, v (characters' route search)
bool is_stairs_tile(int code);       // ^ v
bool is_barrier_tile(int code);      // E X g e: locked ways, a bump tells why

// Copies the floor into CurrentFloorMap with the start markers replaced by
// the floor around them and, once the swimming hall is open, its locked door
// 'X' as a doorway. Floors outside 0..5 leave the map as it is.
void load_floor_map(int32_t floor, bool pool_hall_open);
// The floor one step up (way +1) or down (way -1), -1 past the top or the
// bottom of the building.
constexpr int32_t floor_next(int32_t floor, int32_t way) {
    const int32_t next = floor + way;
    return next < 0 || next >= FLOOR_COUNT ? -1 : next;
}
// The floor one step up (way +1) or down (way -1) from a floor of the
// building, or the other way at the top and at the bottom.
constexpr int32_t floor_beside(int32_t floor, int32_t way) {
    const int32_t next = floor_next(floor, way);
    return next < 0 ? floor - way : next;
}
// Which way the stairs '^' (up, +1) and 'v' (down, -1) lead.
constexpr int32_t stairs_way(int code) { return code == TILE_STAIRS_UP ? 1 : -1; }
// '#' outside the grid.
int tile_at(int32_t column, int32_t row);
// The floor to paint beneath an object, door, fence or barrier on the given
// floor (whose map is the current one).
int floor_under(int32_t floor, int32_t column, int32_t row);
// The tile of the first marker of this code ('P' the player, 'H' the
// pursuer) in the floor's map, scanning rows from the top, or -1.
int32_t find_marker(int32_t floor, char code);
