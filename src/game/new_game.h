// A new game, item placement, checkpoints, and the
// scene-setting operations of the demo scenes.
#pragma once
#include <cstdint>

struct ItemPlacementRow {
    int32_t floor;
    int32_t item_type;
    int32_t count;
    int32_t rule;  // 0 reachable, 1 reachable outside the corridor, 2 pool edge, 3 beside the start, 4 teacher spot
};
extern const ItemPlacementRow ItemPlacementTable[21];

// A tile index on the loaded floor by the placement rule; (3, 18) after 600 failed tries.
int32_t place_random_spot(int32_t floor, int32_t rule);

void new_game();
void restore_checkpoint();

// Demo scenes.
void scene_set_floor(int32_t floor);
void scene_send_pursuer_away();
void scene_place_player_and_pursuer(int32_t px, int32_t py, int32_t hx, int32_t hy);
void scene_place_npc(int32_t slot, int32_t x, int32_t y);
void scene_place_teacher(int32_t x, int32_t y, int32_t state);
void scene_set_item(int32_t slot, int32_t floor, int32_t x, int32_t y, int32_t type);
