#include "game/friend.h"

#include "audio/sequencer.h"
#include "game/character_table.h"
#include "game/characters.h"
#include "game/current_floor.h"
#include "game/game_state.h"
#include "data/int_math.h"
#include "world/floors.h"
#include "world/tile_geometry.h"

namespace {

const CharacterPace& Pace = CharacterTable[NPC_FRIEND];
constexpr int32_t LEAVING_TILE = tile_index(4, 18);

bool is_hunting(int32_t slot) {
    const int32_t s = Game.npcs[slot].npc_state;
    return slot == NPC_PURSUER ? pursuer_hunting(Game.npcs[slot]) : s == PHONE_TEACHER_FOR_PHONE;
}

void start_brawl(NpcSlot& target) {
    Game.friend_state = FRIEND_BRAWL;
    Game.friend_ticks = 90;
    target.npc_stun_ticks = 90;
    target.npc_slow_ticks = 450;
    if (Game.friend_target == NPC_PHONE_TEACHER) {
        target.npc_state = PHONE_TEACHER_PATROL;
        set_message("RAUFEREI!", "BRAZZIK HÄLT HERRN HASELBRINK AUF!", 90);
    } else {
        if (pursuer_hunting(target)) {
            target.npc_state = PURSUER_SEARCH;
            target.npc_state_ticks = 200;
        }
        set_message("RAUFEREI!", "BRAZZIK HÄLT HERRN MÜRZEL AUF!", 90);
    }
}

void run_to_target(NpcSlot& self) {
    const int32_t slot = Game.friend_target;
    if (slot < 0 || slot > NPC_PHONE_TEACHER || !npc_on_current_floor(slot)) {
        Game.friend_state = FRIEND_GUARDING;
        Game.friend_ticks = 300;
        return;
    }
    NpcSlot& target = Game.npcs[slot];
    self.npc_target = npc_tile(slot);
    walk_flow(NPC_FRIEND, Pace.hunt_speed, 1, target.npc_x >> 8, target.npc_y >> 8);
    if (abs32(self.npc_x - target.npc_x) < 3072 && abs32(self.npc_y - target.npc_y) < 2560)
        start_brawl(target);
}

void guard(NpcSlot& self) {
    const int32_t before = Game.friend_ticks;
    Game.friend_ticks -= 1;
    self.npc_target = player_tile();
    if (npc_distance(NPC_FRIEND) < 29)
        self.npc_moving = 0;
    else
        walk_flow(NPC_FRIEND, Pace.patrol_speed, 1, player_pixel_x() + 14, player_pixel_y());
    const int32_t threat = nearest_threat();
    if (threat >= 0 && npc_distance(threat) < 100) {
        Game.friend_target = threat;
        Game.friend_state = FRIEND_RUNNING;
    }
    // The guard time ends his stay even if a threat came up this Tick.
    if (before <= 1) Game.friend_state = FRIEND_LEAVING;
}

}  // namespace

int32_t nearest_threat() {
    int32_t best = -1, best_d = 0;
    for (int32_t slot = NPC_PURSUER; slot <= NPC_PHONE_TEACHER; ++slot) {
        if (!npc_on_current_floor(slot) || Game.npcs[slot].npc_state == PHONE_TEACHER_CONFISCATE) continue;
        int32_t d = npc_distance(slot);
        if (is_hunting(slot)) d /= 4;
        if (best < 0 || d < best_d) {
            best = slot;
            best_d = d;
        }
    }
    return best;
}

void friend_update() {
    NpcSlot& self = Game.npcs[NPC_FRIEND];
    switch (Game.friend_state) {
    case FRIEND_ON_THE_WAY: {
        const int32_t before = Game.friend_ticks;
        Game.friend_ticks -= 1;
        if (before > 1) break;
        npc_place_landing(NPC_FRIEND);
        self.npc_flow_source = -1;
        Game.friend_target = nearest_threat();
        if (Game.friend_target >= 0) {
            Game.friend_state = FRIEND_RUNNING;
            set_message("BRAZZIK STÜRMT DURCHS TREPPENHAUS!", "", 60);
        } else {
            Game.friend_state = FRIEND_GUARDING;
            Game.friend_ticks = 450;
            set_message("BRAZZIK: KEIN LEHRER HIER, BRO.", "ICH PASS AUF DICH AUF.", 90);
        }
        break;
    }
    case FRIEND_RUNNING:
        run_to_target(self);
        break;
    case FRIEND_BRAWL:
        Game.friend_ticks -= 1;
        if (Game.friend_ticks >= 0 && Game.friend_ticks % 15 == 0) play_sound(SFX_BRAWL);
        if (Game.friend_ticks <= 0) {
            Game.friend_state = FRIEND_LEAVING;
            set_message("BRAZZIK: KEIN PROBLEM, BRO!", "", 60);
        }
        break;
    case FRIEND_LEAVING:
        self.npc_target = LEAVING_TILE;
        walk_flow(NPC_FRIEND, Pace.hunt_speed, 0, 0, 0);
        if (npc_tile(NPC_FRIEND) == LEAVING_TILE) Game.friend_state = FRIEND_ABSENT;
        break;
    case FRIEND_GUARDING:
        guard(self);
        break;
    default:
        break;
    }
}
