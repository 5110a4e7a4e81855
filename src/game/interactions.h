// What ACTION does in play (talk, piano, fuse box, lockers) and what
// walking into the special tiles does (the exit, the pool-hall door, gates).
#pragma once
#include <cstdint>

// Herr Hemmke talks to a player within this many pixels of his anchor.
constexpr int32_t TALK_DISTANCE = 40;

// What ACTION does: talking to Herr Hemmke comes first, then the piano or
// the fuse box the prompt shows, else the locker (getting in or out; hidden,
// only that).
enum ActionKind : int32_t { ACTION_TALK, ACTION_PIANO, ACTION_FUSE_BOX, ACTION_LOCKER };
// The rule itself, from what it depends on: whether the player hides, whether
// he stands within talking distance of Herr Hemmke, and the prompt.
ActionKind action_kind_of(bool hidden, bool near_teacher, int32_t prompt_kind);
// For the player as he stands now.
ActionKind action_kind(int32_t prompt_kind);
// Whether the player stands within talking distance of Herr Hemmke.
bool teacher_in_reach();
// The prompt where the player stands: 'M' beside the piano (floor index 2),
// 'u' beside the fuse box (floor index 1), else 0.
int32_t prompt_here();
void on_action();
// Whether a locker stands beside the tile, above, below, left or right.
bool locker_beside(int32_t column, int32_t row);
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
// The same from a point of this floor, in pixels (a bot weighing where to stand).
int32_t teacher_distance_from(int32_t px, int32_t py);
