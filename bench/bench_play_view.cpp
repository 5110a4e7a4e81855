#include <benchmark/benchmark.h>

#include "game/current_floor.h"
#include "game/game_state.h"
#include "gfx/draw.h"
#include "gfx/font.h"
#include "platform/present.h"
#include "screens/play_view.h"
#include "world/floors.h"
#include "world/visibility.h"
#include "world/world_image.h"

namespace {

// One frame of a typical play view (the HUD is drawn on top elsewhere): the
// fourth floor painted, the player in the corridor with the usual light, the
// pursuer patrolling a few tiles away, no effects.
void BM_DrawPlayView(benchmark::State& state) {
    build_glyph_lookup();
    build_shade_table();
    Game = GameState{};
    Game.random_state = 1;
    Game.current_floor = 3;
    Game.teacher_floor = -1;
    Game.friend_target = -1;
    load_floor(3);
    repaint_floor();
    Game.player_x = 20 * FIXED_TILE + 2048;
    Game.player_y = 14 * FIXED_TILE + 2560;
    Game.player_facing = 2;
    update_visibility(Game.player_x >> 12, Game.player_y >> 12);
    Game.light_radius = 92;
    Game.camera_x = (Game.player_x >> 8) - SCREEN_W / 2;
    Game.camera_y = (Game.player_y >> 8) - SCREEN_H / 2;
    NpcSlot& pursuer = Game.npcs[NPC_PURSUER];
    pursuer.npc_present = 1;
    pursuer.npc_floor = 3;
    pursuer.npc_x = 26 * FIXED_TILE + 2048;
    pursuer.npc_y = 14 * FIXED_TILE + 2560;
    pursuer.npc_state = PURSUER_PATROL;
    pursuer.npc_facing = 3;
    pursuer.npc_moving = 1;
    for (auto _ : state) {
        draw_play_view();
        benchmark::ClobberMemory();
        Game.total_ticks += 1;
    }
    state.SetItemsProcessed(state.iterations() * SCREEN_W * SCREEN_H);
}
BENCHMARK(BM_DrawPlayView);

}  // namespace
