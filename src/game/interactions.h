// What ACTION does in play and what walking into special tiles does.
#pragma once
#include <cstdint>

void on_action();
void handle_bump();
void pool_greeting();
void unlock_floor(int32_t floor);
// 1 if the TileCode is on one of the nine tiles around the player.
int32_t tile_near_player(int code);
// Pixels to the quest teacher, 9999 when he is on another floor.
int32_t teacher_distance();
