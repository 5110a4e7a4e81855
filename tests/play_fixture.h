// A game in play on the start floor with nobody about and nothing due, for
// the tests of the characters, interactions, items and the HUD.
#pragma once
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

#include "audio/synth.h"
#include "game/current_floor.h"
#include "game/game_flow.h"
#include "game/game_state.h"
#include "game/movement.h"
#include "screens/draw_screen.h"
#include "world/floors.h"
#include "world/tile_geometry.h"
#include "world/visibility.h"
#include "world/world_image.h"

class PlayFixture : public ::testing::Test {
protected:
    void SetUp() override {
        program_init(31337);
        Game.mode = MODE_PLAYING;
        Game.mode_ticks = 0;
        NpcSlot& pursuer = Game.npcs[NPC_PURSUER];
        pursuer.npc_present = 0;
        pursuer.npc_floor = 5;
        pursuer.npc_state = PURSUER_PATROL;
        pursuer.npc_floor_ticks = Game.npcs[NPC_PHONE_TEACHER].npc_floor_ticks = 99999;
        Game.npcs[NPC_PHONE_TEACHER].npc_floor = 0;
        Game.call_countdown = 99999;
        Game.message_ticks = 0;
        EffectSlot = SoundEffectSlot{};
        stand_on(20, 14);  // the corridor of the start floor
    }

    static void stand_on(int32_t x, int32_t y) {
        Game.player_x = tile_anchor_x(x);
        Game.player_y = tile_anchor_y(y);
    }
    static NpcSlot& put_npc(int slot, int32_t x, int32_t y, int32_t state) {
        NpcSlot& n = Game.npcs[slot];
        n.npc_x = tile_anchor_x(x);
        n.npc_y = tile_anchor_y(y);
        n.npc_floor = Game.current_floor;
        n.npc_present = 1;
        n.npc_state = state;
        n.npc_state_ticks = 90;
        n.npc_target = tile_index(x, y);
        n.npc_flow_source = -1;
        return n;
    }
    static void go_to_floor(int32_t floor) {
        Game.floor_open[floor] = 1;
        load_floor(floor);
        repaint_floor();
    }
    // The effect of the last play_sound since the fixture started (0 none).
    static int32_t last_sound() { return EffectSlot.trigger_count ? EffectSlot.requested : 0; }
    static int32_t sounds() { return EffectSlot.trigger_count; }
};
