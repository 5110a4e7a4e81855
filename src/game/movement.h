// The gameplay Tick and the player's side of it: walking, running, stamina,
// the stairs, the camera and the light.
#pragma once
#include <cstdint>

void update_world(uint32_t held, uint32_t pressed);
void move_player(uint32_t held);
// 0 free, 1 wall, or the TileCode of a blocking special tile or closed stairs.
int32_t probe_tile_box(int32_t x, int32_t y);
void change_floor(int32_t floor, int32_t going_up);
int32_t camera_target_x();
int32_t camera_target_y();
void snap_camera();
