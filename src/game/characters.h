// The characters' shared machinery (walking a FlowField, random targets,
// sight, the stairwell landing) and the pursuer.
#pragma once
#include <cstdint>

int32_t npc_tile(int32_t slot);
// Pixel distance to the player.
int32_t npc_distance(int32_t slot);
int32_t sees_player(int32_t slot, int32_t r2);
int32_t random_tile_near(int32_t cx, int32_t cy, int32_t r);
int32_t patrol_target(int32_t slot);
void walk_flow(int32_t slot, int32_t speed, int32_t direct, int32_t px, int32_t py);
void npc_place_landing(int32_t slot);
void npc_place_far(int32_t slot);
void npc_reset(int32_t slot);
void npc_arrive(int32_t slot);
void offfloor_update(int32_t slot);
void pursuer_update();
void pursuer_alert();
void caught(const char* text);
// The heartbeat while the pursuer is close (after the light radius each Tick).
void heartbeat_step();
