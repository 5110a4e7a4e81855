#include "game/phone_teacher.h"

#include "audio/sequencer.h"
#include "game/character_table.h"
#include "game/characters.h"
#include "game/current_floor.h"
#include "game/game_state.h"
#include "data/int_math.h"
#include "world/floors.h"
#include "world/tile_geometry.h"
#include "world/visibility.h"

namespace {

const CharacterPace& Pace = CharacterTable[NPC_PHONE_TEACHER];

bool stands_on(int32_t tile) { return npc_tile(NPC_PHONE_TEACHER) == tile; }

void new_patrol_target(NpcSlot& npc) { npc.npc_target = patrol_target(NPC_PHONE_TEACHER); }

}  // namespace

void phone_teacher_update() {
    NpcSlot& npc = Game.npcs[NPC_PHONE_TEACHER];
    int32_t sees = 0;
    if (npc.npc_stun_ticks == 0 && Game.has_phone == 1) sees = sees_player(NPC_PHONE_TEACHER, Pace.sight_radius2);
    int32_t speed = 0;
    int32_t direct = 0;

    switch (npc.npc_state) {
    case PHONE_TEACHER_PATROL: {
        if (stands_on(npc.npc_target) || npc.npc_flow_source < 0) new_patrol_target(npc);
        const int32_t before = npc.npc_floor_ticks;
        npc.npc_floor_ticks -= 1;
        if (before <= 1) {
            npc.npc_floor_ticks = 900 + random_step() % 600;
            const int32_t r = random_step();
            if (r % 100 < 60 && npc_distance(NPC_PHONE_TEACHER) > 150 && !VisibleGrid[npc_tile(NPC_PHONE_TEACHER)]) {
                npc.npc_present = 0;
                npc.npc_floor = floor_beside(Game.current_floor, -1);
            }
        }
        speed = Pace.patrol_speed;
        break;
    }
    case PHONE_TEACHER_FOR_PHONE:
        if (!sees || (Game.ring_ticks <= 0 && npc_distance(NPC_PHONE_TEACHER) >= 90)) {
            npc.npc_target = npc.npc_last_seen;
        } else {
            npc.npc_last_seen = player_tile();
            npc.npc_target = npc.npc_last_seen;
            direct = 1;
        }
        speed = Pace.hunt_speed;
        if (direct == 0 && stands_on(npc.npc_last_seen)) {
            npc.npc_state = PHONE_TEACHER_SEARCH;
            npc.npc_state_ticks = 150;
        }
        break;
    case PHONE_TEACHER_SEARCH: {
        if (stands_on(npc.npc_target))
            npc.npc_target = random_tile_near(tile_column(npc.npc_last_seen), tile_row(npc.npc_last_seen), 4);
        // Asked every Tick: a ringing phone in sight sends him back for it.
        if (sees && Game.ring_ticks > 0) npc.npc_state = PHONE_TEACHER_FOR_PHONE;
        const int32_t before = npc.npc_state_ticks;
        npc.npc_state_ticks -= 1;
        if (before <= 1) {
            set_message("HERR HASELBRINK: HMPF. NA GUT.", "", 45);
            npc.npc_state = PHONE_TEACHER_PATROL;
        }
        speed = Pace.search_speed;
        break;
    }
    case PHONE_TEACHER_CONFISCATE:
        npc.npc_moving = 0;
        npc.npc_facing = npc.npc_x >= Game.player_x ? FACING_LEFT : FACING_RIGHT;
        return;
    default:
        break;
    }

    speed = held_speed(NPC_PHONE_TEACHER, speed);
    if (speed != 0)
        walk_flow(NPC_PHONE_TEACHER, speed, direct, player_pixel_x(), player_pixel_y());
    else
        npc.npc_moving = 0;

    if (npc.npc_state == PHONE_TEACHER_FOR_PHONE && Game.has_phone == 1 && Game.player_hidden == 0 &&
        npc.npc_stun_ticks == 0 && abs32(npc.npc_x - Game.player_x) < 3072 &&
        abs32(npc.npc_y - Game.player_y) < 2304) {
        Game.has_phone = 0;
        Game.ring_ticks = 0;
        Game.confiscate_ticks = 180;
        npc.npc_state = PHONE_TEACHER_CONFISCATE;
        play_sound(SFX_CONFISCATE);
        set_message("HERR HASELBRINK: HANDY HER!", "UND SCHREIB DEINEN NAMEN AUF.", 120);
    }
}

void phone_teacher_offfloor_update() {
    NpcSlot& npc = Game.npcs[NPC_PHONE_TEACHER];
    if (npc.npc_follow_ticks <= 0) {
        npc.npc_floor_ticks -= 1;
        if (npc.npc_floor_ticks > 0) return;
        const int32_t r = random_step() % 100;
        bool up;
        if (r > 64) {
            random_step();
            up = (Game.random_state & 0x10000u) != 0;
        } else {
            up = !(Game.current_floor < npc.npc_floor);  // towards the player
        }
        npc.npc_floor = floor_beside(npc.npc_floor, up ? 1 : -1);
        npc.npc_floor_ticks = 450 + random_step() % 450;
        if (npc.npc_floor == Game.current_floor) phone_teacher_arrive();
        return;
    }
    if (follow_stairs_step(NPC_PHONE_TEACHER)) phone_teacher_arrive();
}

void phone_teacher_arrive() {
    NpcSlot& npc = Game.npcs[NPC_PHONE_TEACHER];
    npc_step_onto_landing(NPC_PHONE_TEACHER);
    if (Game.teacher_following == 1 && Game.has_phone == 1) {
        npc.npc_state = PHONE_TEACHER_FOR_PHONE;
        npc.npc_target = npc.npc_last_seen;
        set_message("HERR HASELBRINK KOMMT DIE TREPPE RUNTER!", "", 75);
    } else {
        npc.npc_state = PHONE_TEACHER_PATROL;
        new_patrol_target(npc);
    }
    Game.teacher_following = 0;
}
