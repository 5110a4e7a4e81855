// The top of the game logic: program start-up and one Tick.
#pragma once
#include <cstdint>

void program_init(uint32_t seed);
// One Tick with this Tick's InputBits; 0 asks the program to quit.
int32_t game_tick(uint32_t bits);
