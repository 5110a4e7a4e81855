#include "game/game_flow.h"

#include "game/game_state.h"

void program_init(uint32_t seed) {
    Game.random_state = seed == 0 ? 1 : seed;
}

int32_t game_tick(uint32_t bits) {
    Game.previous_input = bits;
    Game.total_ticks += 1;
    Game.mode_ticks += 1;
    return 1;
}

void draw_screen() {}
