#include "game/game_state.h"

#include "gfx/text.h"

GameState Game;

int32_t random_step() {
    Game.random_state = Game.random_state * 1103515245u + 12345u;
    return static_cast<int32_t>((Game.random_state >> 16) & 0x7FFF);
}

int32_t random_below(int32_t n) {
    int32_t value = random_step();
    return n > 0 ? value % n : 0;
}

void set_message(const char* line1, const char* line2, int32_t ticks) {
    Game.message_line1[0] = 0;
    Game.message_line2[0] = 0;
    if (line1) append_text(Game.message_line1, line1);
    if (line2) append_text(Game.message_line2, line2);
    Game.message_ticks = ticks;
}
