#include "game/current_floor.h"

#include "game/game_state.h"
#include "world/floors.h"
#include "world/world_image.h"

void load_floor(int32_t floor) {
    if (floor < 0 || floor >= FLOOR_COUNT) return;
    Game.current_floor = floor;
    load_floor_map(floor, Game.pool_hall_open != 0);
    for (int slot = NPC_PURSUER; slot <= NPC_FRIEND; ++slot) Game.npcs[slot].npc_flow_source = -1;
}

void repaint_floor() {
    FloorLook look{};
    look.floor = Game.current_floor;
    look.power_on = Game.power_on != 0;
    look.pool_hall_open = Game.pool_hall_open != 0;
    look.stairs_up_open = stairs_open(TILE_STAIRS_UP);
    look.stairs_down_open = stairs_open(TILE_STAIRS_DOWN);
    build_world_image(look);
}

bool stairs_open(int code) {
    const int32_t f = Game.current_floor;
    if (f < 0 || f >= FLOOR_COUNT) return false;
    const int32_t next = floor_next(f, stairs_way(code));
    return next >= 0 && Game.floor_open[next] != 0;
}

int32_t player_tile() { return tile_index(Game.player_x >> 12, Game.player_y >> 12); }

void find_start_markers() {
    // A marker on a later floor would win; each of the two is on one floor only.
    for (int floor = 0; floor < FLOOR_COUNT; ++floor) {
        const int32_t player = find_marker(floor, TILE_PLAYER_START);
        if (player >= 0) {
            Game.player_start_x = tile_column(player);
            Game.player_start_y = tile_row(player);
        }
        const int32_t pursuer = find_marker(floor, TILE_PURSUER_START);
        if (pursuer >= 0) {
            Game.pursuer_start_x = tile_column(pursuer);
            Game.pursuer_start_y = tile_row(pursuer);
        }
    }
}
