// The auto-player's steering: the path turned into this Tick's InputBits by
// trying the player's own step in every direction, getting out of spots
// where no direction helps, pressing buttons only as fresh presses, and the
// choices made on the way (run or walk, hide, leave the locker, call).
#include "game/character_table.h"
#include "game/characters.h"
#include "game/current_floor.h"
#include "game/game_state.h"
#include "game/interactions.h"
#include "game/movement.h"
#include "game/pursuer.h"
#include "tools/autoplayer_internal.h"
#include "world/tile_geometry.h"

namespace bot {

uint32_t bot_random() {
    Bot.rng = Bot.rng * 1664525u + 1013904223u;
    return Bot.rng >> 16;
}

// ---------------------------------------------------------------------------
// Steering: the player's own step, tried in every direction.

int64_t distance2(int32_t x0, int32_t y0, int32_t x1, int32_t y1) {
    const int64_t dx = x1 - x0, dy = y1 - y0;
    return dx * dx + dy * dy;
}

// The direction bits that bring the player nearest to the aim this Tick;
// 0 when none gets nearer.
namespace {

uint32_t steer_towards(int32_t aim_x, int32_t aim_y, uint32_t run) {
    static const uint32_t Directions[8] = {
        INPUT_RIGHT, INPUT_LEFT, INPUT_DOWN, INPUT_UP,
        INPUT_RIGHT | INPUT_DOWN, INPUT_RIGHT | INPUT_UP, INPUT_LEFT | INPUT_DOWN, INPUT_LEFT | INPUT_UP,
    };
    const int64_t here = distance2(Game.player_x, Game.player_y, aim_x, aim_y);
    uint32_t best = 0;
    int64_t best_d = here;
    for (uint32_t dir : Directions) {
        const PlayerStep next = player_step(Game, dir | run);
        const int64_t d = distance2(next.x, next.y, aim_x, aim_y);
        if (d < best_d) {
            best_d = d;
            best = dir;
        }
    }
    return best;
}

}  // namespace

// ---------------------------------------------------------------------------
// Pressing: a press counts only if the bit was up on the previous Tick.

uint32_t Pressed;

bool press(uint32_t bit) {
    if (Bot.previous_bits & bit) return false;
    Pressed |= bit;
    return true;
}

// ---------------------------------------------------------------------------
// One Tick of play.

bool can_call_friend() {
    if (!Game.has_phone || Game.confiscate_ticks > 0 || Game.ring_ticks > 0) return false;
    if (Game.friend_state != FRIEND_ABSENT || Game.call_cooldown > 0) return false;
    const NpcSlot& t = phone_teacher();
    return !(npc_on_current_floor(NPC_PHONE_TEACHER) && t.npc_state != PHONE_TEACHER_CONFISCATE &&
             sees_player(NPC_PHONE_TEACHER, CharacterTable[NPC_PHONE_TEACHER].notice_radius2));
}

// ACTION here would hide in a locker rather than talk or play.
bool action_hides() {
    return action_kind(prompt_here()) == ACTION_LOCKER && locker_beside_tile(player_tile());
}

bool should_leave_locker() {
    const NpcSlot& h = pursuer();
    if (pursuer_here() && h.npc_state == PURSUER_LOCKER) return true;  // he saw it: better to run
    if (phone_teacher_close()) return false;
    if (!pursuer_here()) return true;
    if (h.npc_state == PURSUER_CHASE) return false;
    const int32_t d = pursuer_steps_to_player();
    const bool sees_spot = PursuerView[player_tile()] != 0;
    if (d < 0 || (d > 9 && !sees_spot)) return true;
    return Bot.hidden_ticks > 900 && d > 5 && !sees_spot;
}

bool wants_to_run() {
    if (Game.exhausted || Game.stamina <= 0) return false;
    if (phone_teacher_close()) return true;
    if (hunted()) {
        const int32_t d = pursuer_steps_to_player();
        return d < 11 || sees_player(NPC_PURSUER, murzel_sight());
    }
    // Running is heard by a searching or patrolling pursuer nearby.
    if (pursuer_awake()) {
        const int32_t dx = (Game.player_x >> 12) - (pursuer().npc_x >> 12);
        const int32_t dy = (Game.player_y >> 12) - (pursuer().npc_y >> 12);
        if (dx * dx + dy * dy < 72) return false;
    }
    if (Bot.resting) {
        if (Game.stamina >= 900) Bot.resting = false;
        return false;
    }
    if (Game.stamina < 450) {
        Bot.resting = true;
        return false;
    }
    return true;
}

int32_t path_index_of(int32_t tile) {
    for (int32_t i = 0; i < Bot.path_length; ++i)
        if (Bot.path[i] == tile) return i;
    return -1;
}

// Steering toward the aim, and out of the odd spot where no direction
// gets the player any nearer: a few Ticks of a random direction, then a
// new plan. Walking into a door or the exit on purpose is not being stuck.
uint32_t steer_with_unsticking(int32_t aim_x, int32_t aim_y, uint32_t run, bool at_goal, bool bump) {
    uint32_t move;
    if (Bot.jiggle_ticks > 0) {
        Bot.jiggle_ticks -= 1;
        move = Bot.jiggle_bits;
    } else {
        move = steer_towards(aim_x, aim_y, run);
        if (bump && move == 0) move = INPUT_UP;
    }
    const bool stood_still = Game.player_x == Bot.last_x && Game.player_y == Bot.last_y;
    if (!bump && !at_goal && (move == 0 || stood_still))
        Bot.still_ticks += 1;
    else
        Bot.still_ticks = 0;
    if (Bot.still_ticks > 12) {
        static const uint32_t Jiggles[4] = {INPUT_UP, INPUT_DOWN, INPUT_LEFT, INPUT_RIGHT};
        Bot.jiggle_bits = Jiggles[bot_random() & 3];
        Bot.jiggle_ticks = 6;
        Bot.still_ticks = 0;
        Bot.plan_age = 1000;
    }
    Bot.last_x = Game.player_x;
    Bot.last_y = Game.player_y;
    return move ? move | run : 0;
}


}  // namespace bot
