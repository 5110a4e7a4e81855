// The six floor maps, the TileCode sets, and the working copy of the current floor.
#pragma once
#include <cstdint>

#include "game/game_state.h"

// FloorMaps[floor][row]: 56 characters each; repeated rows share one text.
extern const char* const FloorMaps[FLOOR_COUNT][MAP_H];

// The current floor after loading (markers replaced, the pool-hall door opened).
extern uint8_t CurrentFloorMap[MAP_TILES];

// TileCode sets, each defined once.
bool is_floor_tile(int code);        // , . ; _ c f h m t
bool is_wall_tile(int code);         // # b j n p q u w y z (painting)
bool blocks_sight(int code);         // the wall set and F
bool is_route_passable(int code);    // floor set, D, ^, v (characters' route search)

void load_floor(int32_t floor);
// '#' outside the grid.
int tile_at(int32_t column, int32_t row);
// The floor to paint beneath an object, door, fence or barrier.
int floor_under(int32_t column, int32_t row);
// Whether the stairs '^' (up) or 'v' (down) of the current floor lead to an open floor.
bool stairs_open(int code);
// Tile index under the player.
int32_t player_tile();
// Records the 'P' and 'H' markers' tiles in the GameState.
void find_start_markers();
