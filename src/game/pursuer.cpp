#include "game/pursuer.h"

#include "audio/sequencer.h"
#include "game/character_table.h"
#include "game/characters.h"
#include "game/current_floor.h"
#include "game/game_state.h"
#include "data/int_math.h"
#include "data/texts.h"
#include "world/floors.h"
#include "world/tile_geometry.h"
#include "world/visibility.h"

namespace {

const CharacterPace& Pace = CharacterTable[NPC_PURSUER];

// On patrol he walks this long towards a target before he picks another.
constexpr int32_t PATROL_TARGET_TICKS = 360;
// Waking, he is heard getting up this many Ticks before he runs.
constexpr int32_t STAND_UP_WARNING_TICKS = 45;
// Chasing, he loses the trail after not seeing the player for more than
// this, and then searches where he saw him last for SEARCH_AFTER_CHASE_TICKS.
constexpr int32_t CHASE_LOST_TICKS = 45;
constexpr int32_t SEARCH_AFTER_CHASE_TICKS = 270;
// Hearing the player run, he searches where he ran for this long, and hears
// nothing more until HEARING_PAUSE_TICKS have passed.
constexpr int32_t SEARCH_AFTER_HEARING_TICKS = 200;
constexpr int32_t HEARING_PAUSE_TICKS = 150;
// He catches the player closer than half a tile across and seven pixels
// along (Fixed), and pulls him out of a locker within a tile each way.
constexpr int32_t CATCH_REACH_X = FIXED_TILE / 2;
constexpr int32_t CATCH_REACH_Y = 7 * FIXED_PIXEL;
constexpr int32_t LOCKER_REACH = FIXED_TILE;
// A stink bomb stuns him, then slows him, and he searches for a while.
constexpr int32_t STINK_STUN_TICKS = 120;
constexpr int32_t STINK_SLOW_TICKS = 300;
constexpr int32_t STINK_SEARCH_TICKS = 150;
// Patrolling, he thinks about the next floor every WANDER_TICKS to twice
// that, and goes, three times in ten, only if farther than
// WANDER_DISTANCE pixels and out of sight.
constexpr int32_t WANDER_TICKS = 900;
constexpr int32_t WANDER_DISTANCE = 180;
// The heartbeat sounds while he is closer than this (pixels).
constexpr int32_t HEARTBEAT_DISTANCE = 170;

void notice_player(NpcSlot& npc, int32_t player_tile_index) {
    pursuer_alert();
    npc.npc_state = PURSUER_CHASE;
    npc.npc_last_seen = player_tile_index;
    npc.npc_lost_ticks = 0;
}

void new_patrol_target(NpcSlot& npc) {
    npc.npc_target = patrol_target(NPC_PURSUER);
    npc.npc_state_ticks = PATROL_TARGET_TICKS;
}

}  // namespace

int32_t pursuer_base_speed() {
    const int32_t base = Pace.chase_speed + Game.play_ticks / Pace.chase_ticks_a_step;
    return base < Pace.chase_speed_most ? base : Pace.chase_speed_most;
}

namespace {

// How he walks this Tick: his speed, and whether straight at the player.
struct Stride {
    int32_t speed;
    int32_t direct;
};

// His state's rule for this Tick: what he does about the player on tile p
// (seen or not) from his tile h.
Stride follow_state(NpcSlot& npc, int32_t p, int32_t h, bool seen) {
    Stride stride{0, 0};
    switch (npc.npc_state) {
    case PURSUER_ASLEEP:
        npc.npc_state_ticks -= 1;
        if (npc.npc_state_ticks == STAND_UP_WARNING_TICKS)
            set_message("HERR MÜRZEL STEHT LANGSAM AUF...", "", 50);
        if (npc.npc_state_ticks <= 0) {
            notice_player(npc, p);
            set_message("LAUF!!!", "", 60);
        }
        break;
    case PURSUER_CHASE:
        stride.speed = pursuer_base_speed();
        if (seen) {
            npc.npc_last_seen = p;
            npc.npc_lost_ticks = 0;
        } else {
            npc.npc_lost_ticks += 1;
        }
        npc.npc_target = npc.npc_last_seen;
        stride.direct = seen ? 1 : 0;
        if (npc.npc_lost_ticks > CHASE_LOST_TICKS) {
            npc.npc_state = PURSUER_SEARCH;
            npc.npc_state_ticks = SEARCH_AFTER_CHASE_TICKS;
        }
        break;
    case PURSUER_SEARCH:
        stride.speed = Pace.search_speed;
        if (seen) {
            notice_player(npc, p);  // the target follows next Tick
        } else {
            if (h == npc.npc_target)
                npc.npc_target = random_tile_near(tile_column(npc.npc_target), tile_row(npc.npc_target), 4);
            npc.npc_state_ticks -= 1;
            if (npc.npc_state_ticks <= 0) {
                npc.npc_state = PURSUER_PATROL;
                new_patrol_target(npc);
            }
        }
        break;
    case PURSUER_PATROL:
        stride.speed = Pace.patrol_speed;
        if (seen) {
            notice_player(npc, p);
        } else {
            npc.npc_state_ticks -= 1;
            if (h == npc.npc_target || npc.npc_state_ticks <= 0) new_patrol_target(npc);
        }
        break;
    case PURSUER_LOCKER:
        npc.npc_target = p;
        stride.speed = pursuer_base_speed() + Pace.hunt_speed;
        stride.direct = 1;
        break;
    default:
        break;
    }
    return stride;
}

// Running footsteps give the player away to a pursuer who is looking for him.
void listen_for_running(NpcSlot& npc, int32_t p, int32_t h) {
    if (!Game.running || Game.heard_cooldown != 0) return;
    if (npc.npc_state != PURSUER_SEARCH && npc.npc_state != PURSUER_PATROL) return;
    const int32_t dx = tile_column(p) - tile_column(h), dy = tile_row(p) - tile_row(h);
    if (dx * dx + dy * dy < Pace.notice_radius2) {
        npc.npc_target = p;
        npc.npc_state = PURSUER_SEARCH;
        npc.npc_state_ticks = SEARCH_AFTER_HEARING_TICKS;
        Game.heard_cooldown = HEARING_PAUSE_TICKS;
        set_message("ER HAT DICH RENNEN GEHÖRT!", "", 60);
    }
}

// Close enough, he catches the player, out of the locker he saw him enter
// too. True when that ended the Tick.
bool catch_if_close(const NpcSlot& npc) {
    const int32_t dx = abs32(npc.npc_x - Game.player_x), dy = abs32(npc.npc_y - Game.player_y);
    if (Game.player_hidden) {
        if (npc.npc_state == PURSUER_LOCKER && dx < LOCKER_REACH && dy < LOCKER_REACH) {
            caught("ER HAT DICH AUS DEM SPIND GEZOGEN.");
            return Game.mode != MODE_PLAYING;
        }
    } else if (npc.npc_state != PURSUER_ASLEEP && dx < CATCH_REACH_X && dy < CATCH_REACH_Y) {
        caught(CaughtInTheOpen);
        return Game.mode != MODE_PLAYING;
    }
    return false;
}

// Lost the trail for good: now and then he wanders off to the next floor,
// but never where the player could see him go.
void maybe_wander_off(NpcSlot& npc) {
    if (npc.npc_state != PURSUER_PATROL) return;
    npc.npc_floor_ticks -= 1;
    if (npc.npc_floor_ticks > 0) return;
    npc.npc_floor_ticks = WANDER_TICKS + random_below(WANDER_TICKS);
    const int32_t r = random_below(100);
    if (r < 30 && npc_distance(NPC_PURSUER) > WANDER_DISTANCE && !VisibleGrid[npc_tile(NPC_PURSUER)]) {
        npc.npc_present = 0;
        npc.npc_floor_ticks = 300 + random_below(300);
        npc.npc_floor = floor_beside(Game.current_floor, 1);
    }
}

}  // namespace

void pursuer_update() {
    NpcSlot& npc = Game.npcs[NPC_PURSUER];
    const int32_t p = player_tile();
    const int32_t h = npc_tile(NPC_PURSUER);
    const bool seen = npc.npc_stun_ticks == 0 && sees_player(NPC_PURSUER, Pace.sight_radius2);
    if (Game.heard_cooldown > 0) Game.heard_cooldown -= 1;

    const Stride stride = follow_state(npc, p, h, seen);
    listen_for_running(npc, p, h);
    const int32_t speed = held_speed(NPC_PURSUER, stride.speed);
    if (speed > 0)
        walk_flow(NPC_PURSUER, speed, stride.direct, player_pixel_x(), player_pixel_y());
    else
        npc.npc_moving = 0;
    if (npc.npc_stun_ticks > 0) return;

    if (catch_if_close(npc)) return;  // the capture ends the Tick
    maybe_wander_off(npc);
}

void pursuer_offfloor_update() {
    NpcSlot& npc = Game.npcs[NPC_PURSUER];
    if (npc.npc_state == PURSUER_ASLEEP) {
        npc.npc_state = PURSUER_PATROL;
        npc.npc_floor_ticks = 600;
    }
    if (npc.npc_follow_ticks <= 0) {
        // "0 or less": a count that starts at or below 0 still sets him off.
        npc.npc_floor_ticks -= 1;
        if (npc.npc_floor_ticks <= 0) {
            npc.npc_follow_floor = Game.current_floor;
            npc.npc_follow_ticks = 45;
            npc.npc_floor_ticks = 450 + random_below(450);
        }
        return;
    }
    if (follow_stairs_step(NPC_PURSUER)) pursuer_arrive();
}

void pursuer_arrive() {
    NpcSlot& npc = Game.npcs[NPC_PURSUER];
    npc_step_onto_landing(NPC_PURSUER);
    npc.npc_state = PURSUER_SEARCH;
    npc.npc_state_ticks = 300;
    npc.npc_last_seen = player_tile();
    npc.npc_target = npc.npc_last_seen;
    play_sound(SFX_FOOTSTEPS);
    set_message("DU HÖRST SCHRITTE IM TREPPENHAUS...", "", 75);
}

void pursuer_alert() {
    play_sound(SFX_NOTICED);
    Game.alert_ticks = 30;
    Game.shake_ticks = 8;
}

void caught(const char* text) {
    if (Game.inventory[ITEM_STINK_BOMB] <= 0) {
        Game.catch_count += 1;
        Game.caught_text = text;
        Game.final_ticks = Game.play_ticks;
        Game.mode = MODE_CAUGHT_ANIMATION;
        Game.mode_ticks = 0;
        Game.ring_ticks = 0;
        play_sound(SFX_CAUGHT);
        return;
    }
    NpcSlot& npc = Game.npcs[NPC_PURSUER];
    Game.inventory[ITEM_STINK_BOMB] -= 1;
    Game.player_hidden = 0;
    npc.npc_stun_ticks = STINK_STUN_TICKS;
    npc.npc_slow_ticks = STINK_SLOW_TICKS;
    npc.npc_state = PURSUER_SEARCH;
    npc.npc_state_ticks = STINK_SEARCH_TICKS;
    npc.npc_target = npc_tile(NPC_PURSUER);
    Game.stink_ticks = 60;
    Game.shake_ticks = 8;
    play_sound(SFX_STINK_BOMB);
    set_message("STINKBOMBE!", "HERR MÜRZEL HUSTET - LAUF!", 90);
}

void pursuer_alarm(PursuerAlarm alarm) {
    NpcSlot& npc = Game.npcs[NPC_PURSUER];
    // The piano does not disturb a chase; neither alarm wakes him or takes
    // him from the locker.
    const int32_t s = npc.npc_state;
    const bool excluded = s == PURSUER_ASLEEP || s == PURSUER_LOCKER ||
                          (alarm == ALARM_PIANO && s == PURSUER_CHASE);
    if (npc_on_current_floor(NPC_PURSUER) && !excluded) {
        npc.npc_state = PURSUER_SEARCH;
        npc.npc_state_ticks = 300;
        npc.npc_target = player_tile();
    } else if (npc.npc_follow_ticks == 0) {
        npc.npc_follow_floor = Game.current_floor;
        npc.npc_follow_ticks = alarm == ALARM_PIANO ? 60 : 90;
    }
}

void heartbeat_step() {
    if (!npc_on_current_floor(NPC_PURSUER)) return;
    if (Game.npcs[NPC_PURSUER].npc_state == PURSUER_ASLEEP) return;
    const int32_t distance = npc_distance(NPC_PURSUER);
    if (distance >= HEARTBEAT_DISTANCE) return;
    Game.heartbeat_ticks -= 1;
    if (Game.heartbeat_ticks <= 0) {
        play_sound(SFX_HEARTBEAT);
        Game.heartbeat_flash = 6;
        Game.heartbeat_ticks = distance / 7 + 8;
    }
}
