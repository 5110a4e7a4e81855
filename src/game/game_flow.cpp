#include "game/game_flow.h"

#include "audio/sequencer.h"
#include "audio/synth.h"
#include "game/characters.h"
#include "game/current_floor.h"
#include "game/game_state.h"
#include "game/input_bits.h"
#include "game/movement.h"
#include "game/new_game.h"
#include "gfx/draw.h"
#include "gfx/font.h"
#include "world/floors.h"

namespace {

void enter_mode(int32_t mode) {
    Game.mode = mode;
    Game.mode_ticks = 0;
}

// The song that belongs to the screen; in play the chase has its own.
int32_t song_for_mode() {
    switch (Game.mode) {
    case MODE_TITLE: return 1;
    case MODE_INTRO: return 2;
    case MODE_PLAYING: {
        const NpcSlot& pursuer = Game.npcs[NPC_PURSUER];
        const bool chase = npc_on_current_floor(NPC_PURSUER) && pursuer_hunting(pursuer) &&
                           pursuer.npc_stun_ticks == 0;
        return chase ? 3 : 2;
    }
    case MODE_CAUGHT_ANIMATION: return 0;
    case MODE_CAUGHT: return 5;
    case MODE_ESCAPED: return 4;
    default: return 0;
    }
}

}  // namespace

void program_init(uint32_t seed) {
    Game.random_state = seed == 0 ? 1 : seed;
    build_glyph_lookup();
    build_shade_table();
    silence_voices();
    find_start_markers();
    new_game();
    enter_mode(MODE_TITLE);
}

int32_t game_tick(uint32_t bits) {
    const uint32_t newly = bits & ~Game.previous_input;
    Game.previous_input = bits;
    // Left running for years the counters wrap as 32-bit values instead of overflowing.
    Game.total_ticks = static_cast<int32_t>(static_cast<uint32_t>(Game.total_ticks) + 1u);
    Game.mode_ticks = static_cast<int32_t>(static_cast<uint32_t>(Game.mode_ticks) + 1u);

    switch (Game.mode) {
    case MODE_TITLE:
        if (newly & INPUT_BACK) return 0;
        if (newly & (INPUT_ACTION | INPUT_CONFIRM)) {
            new_game();
            enter_mode(MODE_INTRO);
        }
        break;
    case MODE_INTRO:
        if ((newly & (INPUT_ACTION | INPUT_CONFIRM | INPUT_BACK)) || Game.mode_ticks > 330)
            enter_mode(MODE_PLAYING);
        break;
    case MODE_PLAYING:
        update_world(bits, newly);
        break;
    case MODE_CAUGHT_ANIMATION:
        if (Game.mode_ticks >= 50) enter_mode(MODE_CAUGHT);
        break;
    case MODE_CAUGHT:
        if ((newly & (INPUT_ACTION | INPUT_CONFIRM)) && Game.mode_ticks > 20)
            restore_checkpoint();
        else if (newly & INPUT_BACK)
            enter_mode(MODE_TITLE);
        break;
    case MODE_ESCAPED:
        if ((newly & (INPUT_ACTION | INPUT_CONFIRM | INPUT_BACK)) && Game.mode_ticks > 60)
            enter_mode(MODE_TITLE);
        break;
    default:
        break;
    }

    sequencer_step(song_for_mode());
    ring_melody_step(Game.ring_ticks, Game.ring_count);
    return 1;
}
