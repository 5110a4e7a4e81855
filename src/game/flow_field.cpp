#include "game/flow_field.h"

#include "game/game_state.h"
#include "world/floors.h"
#include "world/tile_geometry.h"

void compute_flow_field(int32_t slot, int32_t source_tile) {
    Game.npcs[slot].npc_flow_source = source_tile;
    route_steps(source_tile, Game.flow_fields[slot]);
}

void route_steps(int32_t source_tile, int16_t* field) {
    static int16_t queue[MAP_TILES];  // each tile is queued at most once
    for (int i = 0; i < MAP_TILES; ++i) field[i] = -1;
    if (source_tile < 0 || source_tile >= MAP_TILES) return;
    field[source_tile] = 0;
    int head = 0, tail = 0;
    queue[tail++] = static_cast<int16_t>(source_tile);
    while (head < tail) {
        const int t = queue[head++];
        // The order decides nothing about the counts, but keeps the search
        // the same everywhere.
        int32_t neighbours[4];
        tile_neighbours(t, neighbours);
        for (int n : neighbours) {
            if (n < 0 || field[n] != -1 || !is_route_passable(CurrentFloorMap[n])) continue;
            field[n] = static_cast<int16_t>(field[t] + 1);
            queue[tail++] = static_cast<int16_t>(n);
        }
    }
}
