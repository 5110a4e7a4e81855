// The gameplay Tick and the player's side of it: walking, running, stamina,
// the stairs, the camera and the light.
#pragma once
#include <cstdint>

#include "game/game_state.h"

void update_world(uint32_t held, uint32_t pressed);
// The player's walking for one Tick, worked out from a GameState without
// changing it: what move_player applies, and what a player program can try.
struct PlayerStep {
    int32_t x, y;  // Fixed, after the step
    int32_t door_slow;
    int32_t moving;
    int32_t running;
    int32_t speed;      // Fixed units walked this Tick along each axis, 0 standing
    int32_t facing;     // Facing
    int32_t bump_tile;  // the special tile or closed stairs walked into, 0 none
};
PlayerStep player_step(const GameState& state, uint32_t held);
// Whether the held bits make the player run: RUN held, breath left, not exhausted.
bool player_can_run(const GameState& state, uint32_t held);
// Walking or running speed before doors and diagonals slow it.
int32_t player_speed(const GameState& state, uint32_t held);
// One Tick of the player: the step, then breath spent running or caught otherwise.
void move_player(uint32_t held);
// 0 free, 1 wall, or the TileCode of a blocking special tile or closed stairs.
int32_t probe_tile_box(int32_t x, int32_t y);
void change_floor(int32_t floor, int32_t going_up);
// The camera's left and top edge in WorldImage pixels, kept to where the
// view shows the floor.
int32_t clamp_camera_x(int64_t x);
int32_t clamp_camera_y(int64_t y);
int32_t camera_target_x();
int32_t camera_target_y();
void snap_camera();
