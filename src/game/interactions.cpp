#include "game/interactions.h"

#include "audio/sequencer.h"
#include "game/game_state.h"
#include "world/floors.h"
#include "world/world_image.h"

// Talking, hiding, the piano and the fuse box come with the interactions;
// until then ACTION does nothing in play.
void on_action() {}

void handle_bump() {
    Game.bump_tile = 0;
}

void pool_greeting() {}

void unlock_floor(int32_t floor) {
    play_sound(SFX_UNLOCK);
    Game.floor_open[floor] = 1;
    if (floor == Game.current_floor + 1 || floor == Game.current_floor - 1) build_world_image();
}

int32_t tile_near_player(int code) {
    const int32_t px = Game.player_x >> 12, py = Game.player_y >> 12;
    for (int32_t y = py - 1; y <= py + 1; ++y)
        for (int32_t x = px - 1; x <= px + 1; ++x)
            if (tile_at(x, y) == code) return 1;
    return 0;
}

int32_t teacher_distance() {
    if (Game.current_floor != Game.teacher_floor) return 9999;
    const int32_t dx = (Game.player_x >> 8) - 16 * Game.teacher_x - 8;
    const int32_t dy = (Game.player_y >> 8) - 16 * Game.teacher_y - 10;
    return isqrt(dx * dx + dy * dy);
}
