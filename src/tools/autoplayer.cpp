#include "tools/autoplayer.h"

#include <cstdio>
#include <cstring>

#include "game/characters.h"
#include "game/current_floor.h"
#include "game/game_state.h"
#include "game/input_bits.h"
#include "game/interactions.h"
#include "platform/replay.h"
#include "tools/autoplayer_internal.h"
#include "world/tile_geometry.h"

bool AutoplayWroteState = false;
bool AutoplayCurious = false;
std::FILE* AutoplayTrace = nullptr;

namespace bot {

BotState Bot;

}  // namespace bot

using namespace bot;

namespace {

// The curious bot's extra presses of PHONE and ACTION this Tick (see
// AutoplayCurious); true when it pressed something.
bool curious_presses() {
    if (!Game.has_phone) {
        if (!Bot.pressed_without_phone && press(INPUT_PHONE)) {
            Bot.pressed_without_phone = true;
            return true;
        }
    } else if (Game.ring_ticks == 0) {
        if (!Bot.pressed_while_coming && Game.friend_state == FRIEND_ON_THE_WAY && press(INPUT_PHONE)) {
            Bot.pressed_while_coming = true;
            return true;
        }
        if (!Bot.pressed_in_cooldown && Game.friend_state == FRIEND_ABSENT && Game.call_cooldown > 0 &&
            press(INPUT_PHONE)) {
            Bot.pressed_in_cooldown = true;
            return true;
        }
    }
    // Once more at the piano and the fuse box after their task is done,
    // when nobody hunts the player.
    if (!hunted() && action_kind(prompt_here()) != ACTION_TALK) {
        const int32_t prompt = prompt_here();
        bool* done = nullptr;
        if (prompt == 'M' && Game.task == 3) done = &Bot.replayed_piano;
        if (prompt == 'u' && Game.task == 5) done = &Bot.reused_fuse_box;
        if (done && !*done && press(INPUT_ACTION)) {
            *done = true;
            return true;
        }
    }
    return false;
}

uint32_t play_tick() {
    if (Game.confiscate_ticks > 0) return 0;
    uint32_t bits = 0;

    // The phone: answer every ring; it sends Brazzik and stops the noise
    // that brings Herr Haselbrink. The curious bot lets the first ring out.
    if (AutoplayCurious && Game.ring_ticks > 0 && !Bot.let_ring_out) {
        if (Game.ring_ticks == 1) Bot.let_ring_out = true;
    } else if (Game.has_phone && Game.ring_ticks > 0) {
        press(INPUT_PHONE);
    }
    if (AutoplayCurious && !Game.player_hidden && curious_presses()) return 0;

    const int32_t here = player_tile();
    const bool item_gone = Bot.target_item >= 0 && Game.items[Bot.target_item].taken;
    const bool replan_due = Bot.path_length == 0 || Bot.plan_floor != Game.current_floor ||
                            Bot.plan_task != Game.task || Bot.plan_age >= (pursuer_awake() ? 5 : 30) ||
                            path_index_of(here) < 0 || item_gone;
    if (replan_due) replan();
    else Bot.plan_age += 1;
    if (Bot.gave_up) return 0;

    if (Bot.brave_ticks > 0) Bot.brave_ticks -= 1;
    if (Bot.goal_kind == GOAL_FLEE) {
        if (++Bot.flee_ticks > 600) {
            Bot.flee_ticks = 0;
            Bot.brave_ticks = 450;
            Bot.plan_age = 1000;
        }
    } else if (Bot.flee_ticks > 0) {
        Bot.flee_ticks -= 1;
    }

    if (Game.player_hidden) {
        Bot.hidden_ticks += 1;
        if (should_leave_locker()) press(INPUT_ACTION);
        return bits;
    }
    Bot.hidden_ticks = 0;

    if (hunted() && sees_player(NPC_PURSUER, murzel_sight()) && can_call_friend() && !(Pressed & INPUT_PHONE))
        press(INPUT_PHONE);

    // Out of Herr Mürzel's sight beside a locker while he hunts: hide. The
    // phone is safe in a locker too.
    const bool murzel_near = pursuer_awake() && pursuer_steps_to_player() >= 0 && pursuer_steps_to_player() < 5;
    if ((hunted() || murzel_near || phone_teacher_close()) && !sees_player(NPC_PURSUER, murzel_sight()) &&
        action_hides()) {
        if (press(INPUT_ACTION)) return 0;
    }

    // Along the path.
    int32_t i = path_index_of(here);
    if (i < 0) return 0;
    const bool at_goal = i == Bot.path_length - 1;
    const int32_t next = at_goal ? Bot.path[i] : Bot.path[i + 1];
    int32_t aim_x = anchor_fixed_x(next), aim_y = anchor_fixed_y(next);

    if (at_goal) {
        switch (Bot.goal_kind) {
        case GOAL_ACTION:
            // The curious bot first lets the prompt show.
            if (action_kind(prompt_here()) != ACTION_TALK && !(AutoplayCurious && Game.message_ticks > 0) &&
                press(INPUT_ACTION) && AutoplayCurious && (Game.task == 1 || Game.task == 3)) {
                Bot.tried_early[Game.task] = true;
                Bot.plan_age = 1000;
            }
            break;
        case GOAL_TALK:
            if (Bot.talked_task != Game.task && action_kind(prompt_here()) == ACTION_TALK &&
                press(INPUT_ACTION)) {
                Bot.talked_task = Game.task;
                Bot.plan_age = 1000;  // heard him: on to the goal
            }
            break;
        case GOAL_BUMP_UP:
            aim_y -= FIXED_TILE;  // walk on into the door above
            // The curious bot's try at a locked door is over once it is told so.
            if (AutoplayCurious && (Game.task == 5 || Game.task == 8) && Game.bump_cooldown > 0) {
                Bot.tried_early[Game.task] = true;
                Bot.plan_age = 1000;
            }
            break;
        case GOAL_FLEE:
            Bot.plan_age = 1000;  // pick a new place to go
            break;
        default: break;
        }
    }

    const uint32_t run = wants_to_run() ? uint32_t(INPUT_RUN) : 0u;
    return bits | steer_with_unsticking(aim_x, aim_y, run, at_goal, at_goal && Bot.goal_kind == GOAL_BUMP_UP);
}

void trace_line(uint32_t bits) {
    static const char* const GoalNames[] = {"none", "item", "stairs", "action", "bump", "talk", "flee"};
    const NpcSlot& h = pursuer();
    std::fprintf(AutoplayTrace,
                 "t=%d task=%d floor=%d at=(%d,%d) goal=%s->(%d,%d) bits=%u stamina=%d hidden=%d "
                 "murzel=%s%d floor%d (%d,%d) steps=%d phone=%d friend=%d catches=%d\n",
                 Game.play_ticks, Game.task, Game.current_floor, Game.player_x >> 12, Game.player_y >> 12,
                 GoalNames[Bot.goal_kind], Bot.target < 0 ? -1 : tile_column(Bot.target),
                 Bot.target < 0 ? -1 : tile_row(Bot.target), bits, Game.stamina, Game.player_hidden,
                 h.npc_present ? "" : "away:", h.npc_state, h.npc_floor, h.npc_x >> 12, h.npc_y >> 12,
                 pursuer_here() ? pursuer_steps_to_player() : -1, Game.has_phone, Game.friend_state,
                 Game.catch_count);
}

// What this Tick did, from the state before and after it; talks_here: ACTION
// talked to Herr Hemmke at the start of the Tick.
void count_events(const GameState& before, uint32_t bits, bool talks_here, AutoplayResult& result) {
    const uint32_t newly = bits & ~before.previous_input;
    if (!before.player_hidden && Game.player_hidden) result.hides += 1;
    if ((newly & INPUT_ACTION) && before.mode == MODE_PLAYING && before.confiscate_ticks == 0 &&
        talks_here)
        result.talks += 1;
    if ((newly & INPUT_PHONE) && before.mode == MODE_PLAYING && before.has_phone && !before.confiscate_ticks) {
        if (before.ring_ticks > 0)
            result.answers += 1;
        else if (before.friend_state == FRIEND_ABSENT && Game.friend_state == FRIEND_ON_THE_WAY)
            result.calls += 1;
    }
    if (before.friend_state != FRIEND_BRAWL && Game.friend_state == FRIEND_BRAWL) result.brawls += 1;
    if (Game.stink_ticks > before.stink_ticks) result.stink_bombs += 1;  // a bomb went off
    if (before.has_phone && !Game.has_phone) result.phone_taken = 1;
}

}  // namespace

uint32_t autoplayer_walk_bits(int32_t tile) {
    Bot.previous_bits = 0;
    if (Game.mode != MODE_PLAYING || tile < 0 || tile >= MAP_TILES) return 0;
    if (Bot.target != tile || Bot.plan_floor != Game.current_floor || path_index_of(player_tile()) < 0 ||
        Bot.plan_age >= 30) {
        Bot.plan_age = 0;
        Bot.plan_floor = Game.current_floor;
        Bot.goal_kind = GOAL_ITEM;
        look_at_grown_ups();
        build_costs(false, false);
        cheapest_from(player_tile(), Cost, Parent);
        Bot.path_length = 0;
        if (Cost[tile] >= UNREACHED) return 0;
        make_path(tile);
    } else {
        Bot.plan_age += 1;
    }
    const int32_t i = path_index_of(player_tile());
    const bool at_goal = i == Bot.path_length - 1;
    const int32_t next = at_goal ? Bot.path[i] : Bot.path[i + 1];
    return steer_with_unsticking(anchor_fixed_x(next), anchor_fixed_y(next), 0, at_goal, false);
}

void autoplayer_reset() {
    std::memset(&Bot, 0, sizeof Bot);
    Bot.rng = 12345;
    Bot.target = NO_TILE;
    Bot.target_item = -1;
    Bot.talked_task = -1;
    Bot.gave_up = nullptr;
}

uint32_t autoplayer_bits(const char** gave_up) {
    Pressed = 0;
    uint32_t bits = 0;
    switch (Game.mode) {
    case MODE_TITLE:
    case MODE_INTRO:
        press(INPUT_CONFIRM);
        break;
    case MODE_ESCAPED:
        // The curious bot reads the whole escaped screen, then goes back to the title.
        if (AutoplayCurious && Game.mode_ticks >= 80) press(INPUT_CONFIRM);
        break;
    case MODE_CAUGHT:
        // A fresh plan from the landing once the game goes on.
        Bot.path_length = 0;
        Bot.jiggle_ticks = 0;
        if (Game.mode_ticks >= 20) press(INPUT_CONFIRM);
        break;
    case MODE_PLAYING:
        bits = play_tick();
        break;
    default:
        break;
    }
    bits |= Pressed;
    Bot.previous_bits = bits;
    if (gave_up) *gave_up = Bot.gave_up;
    return bits;
}

AutoplayResult autoplay_run(uint32_t seed, int32_t max_ticks) {
    static GameState before;
    // As a fresh process starts: the tick counter and the previous input are
    // never reset by program_init, and the first press depends on them.
    replay_start(seed);
    autoplayer_reset();
    AutoplayWroteState = false;
    AutoplayResult result{};
    result.seed = seed;
    result.outcome = AUTOPLAY_TIMEOUT;
    result.reason = "";
    int32_t ticks = 0;
    while (ticks < max_ticks) {
        if (Game.mode == MODE_ESCAPED) {
            result.outcome = AUTOPLAY_WON;
            if (!AutoplayCurious) break;
        }
        if (result.outcome == AUTOPLAY_WON && Game.mode == MODE_TITLE) break;  // the curious bot's way out
        std::memcpy(&before, &Game, sizeof Game);
        const char* gave_up = nullptr;
        const uint32_t bits = autoplayer_bits(&gave_up);
        if (std::memcmp(&before, &Game, sizeof Game) != 0) AutoplayWroteState = true;
        if (gave_up) {
            result.outcome = AUTOPLAY_LOST;
            result.reason = gave_up;
            break;
        }
        if (AutoplayTrace && Game.mode == MODE_PLAYING && Game.play_ticks % 30 == 0) trace_line(bits);
        const bool talks_here = Game.mode == MODE_PLAYING && action_kind(prompt_here()) == ACTION_TALK;
        replay_pass(bits, 1);  // the bot never asks to quit
        // One Tick a pass. A headless run needs no flushing each second, so
        // the recorder's clock stands still and equal passes stay one line.
        if (recording()) record_pass(bits, 1, 0);
        ticks += 1;
        count_events(before, bits, talks_here, result);
    }
    if (Game.mode == MODE_ESCAPED) result.outcome = AUTOPLAY_WON;
    result.ticks = ticks;
    result.play_ticks = Game.play_ticks;
    result.catches = Game.catch_count;
    result.stickers = Game.inventory[ITEM_STICKER];
    result.task = Game.task;
    return result;
}
