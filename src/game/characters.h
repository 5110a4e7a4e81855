// The characters' shared machinery: walking a FlowField, random targets,
// sight, distances and the places by the stairwell.
#pragma once
#include <cstdint>

#include "game/game_state.h"

int32_t npc_tile(int32_t slot);
// Pixel distance to the player.
int32_t npc_distance(int32_t slot);
// Whether the slot, on the player's floor, sees the player (not hidden) or
// the tile (column, row) within r2 squared tiles and in a clear line.
int32_t sees_player(int32_t slot, int32_t r2);
int32_t sees_tile(int32_t slot, int32_t r2, int32_t column, int32_t row);
int32_t random_tile_near(int32_t cx, int32_t cy, int32_t r);
int32_t patrol_target(int32_t slot);
void walk_flow(int32_t slot, int32_t speed, int32_t direct, int32_t px, int32_t py);
void npc_place_landing(int32_t slot);
void npc_place_far(int32_t slot);
void npc_reset(int32_t slot);
// Counts a grown-up's stun and slow down by one Tick: stunned he stands
// still, slowed he walks at half the speed.
int32_t held_speed(int32_t slot, int32_t speed);
// What every arrival by the stairs does first: present at the landing, a new
// route, on his feet.
void npc_step_onto_landing(int32_t slot);
// Whether the slot walks about on the player's floor.
bool npc_on_current_floor(int32_t slot);
// One Tick of walking the stairwell towards npc_follow_floor, one floor
// every 45 Ticks; true when the step brought the slot onto the player's floor
// (the caller lets it arrive).
bool follow_stairs_step(int32_t slot);
// The player's position in pixels.
inline int32_t player_pixel_x() { return Game.player_x >> 8; }
inline int32_t player_pixel_y() { return Game.player_y >> 8; }
