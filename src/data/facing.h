// Which way a figure looks, as the GameState keeps it (player_facing,
// npc_facing, plain int32_t fields) and as the figures are drawn: down the
// screen shows the front, up the back, right and left the side.
#pragma once
#include <cstdint>

enum Facing : int32_t { FACING_DOWN = 0, FACING_UP = 1, FACING_RIGHT = 2, FACING_LEFT = 3 };
