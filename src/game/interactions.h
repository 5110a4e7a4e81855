// What ACTION does in play (talk, piano, fuse box, lockers) and what
// walking into the special tiles does (the exit, the pool-hall door, gates).
#pragma once
#include <cstdint>

void on_action();
// Hiding in the locker beside the player, or climbing out of it.
void locker_toggle();
// The tile that blocked the last move: escape, the pool-hall door, messages.
void handle_bump();
// BRAZZIK waves from the pool the first time the player enters the hall.
void pool_greeting();
// 1 if the TileCode is on one of the nine tiles around the player.
int32_t tile_near_player(int code);
// Pixels to the quest teacher, 9999 when he is on another floor.
int32_t teacher_distance();
