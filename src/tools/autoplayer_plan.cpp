// The auto-player's planner: what the quest needs now, the detours worth
// taking (useful items, Herr Hemmke's hint), when to flee instead, and the
// path to whichever goal wins.
#include <cstring>

#include "game/character_table.h"
#include "game/characters.h"
#include "game/current_floor.h"
#include "game/game_state.h"
#include "game/interactions.h"
#include "game/movement.h"
#include "game/pursuer.h"
#include "game/quest.h"
#include "tools/autoplayer.h"
#include "tools/autoplayer_internal.h"
#include "world/floors.h"
#include "world/tile_geometry.h"

namespace bot {

uint8_t GoalMark[MAP_TILES];

namespace {

// ---------------------------------------------------------------------------
// What the quest needs now: marks the goal tiles and returns the goal kind.

// Pixels from the tile's anchor to Herr Hemmke, as the game measures the
// player's (9999 on another floor).
int32_t pixel_distance_to_hemmke(int32_t tile) {
    return teacher_distance_from(tile_anchor_px(tile_column(tile)), tile_anchor_py(tile_row(tile)));
}

// Tiles beside a piano or the fuse box, far enough from Herr Hemmke that
// ACTION does not talk to him instead.
// Spots for the piano or the fuse box keep this far (pixels) from Herr
// Hemmke, past the talk radius, so that ACTION there never talks instead.
constexpr int32_t ACTION_SPOT_CLEARANCE = TALK_DISTANCE + 8;
// A tile to talk from lies well inside the talk radius: the bot stops on the
// tile's anchor, and its last steps may end a little beside it.
constexpr int32_t TALK_SPOT_REACH = TALK_DISTANCE - 10;

void mark_action_spots(int code) {
    for (int32_t t = 0; t < MAP_TILES; ++t) {
        if (!standable(CurrentFloorMap[t])) continue;
        const int32_t x = tile_column(t), y = tile_row(t);
        bool near = false;
        for (int32_t dy = -1; dy <= 1 && !near; ++dy)
            for (int32_t dx = -1; dx <= 1 && !near; ++dx) near = tile_at(x + dx, y + dy) == code;
        if (near && pixel_distance_to_hemmke(t) >= ACTION_SPOT_CLEARANCE) GoalMark[t] = 1;
    }
}

// The tiles right below a door with this code (the pool door, the exit).
void mark_doors_below(int code) {
    for (int32_t t = 0; t < MAP_TILES - MAP_W; ++t)
        if (CurrentFloorMap[t] == code && standable(CurrentFloorMap[t + MAP_W])) GoalMark[t + MAP_W] = 1;
}

// Marks the goal tiles; sets which stairs may be used.
int32_t mark_quest_goal(bool& up_stairs, bool& down_stairs) {
    std::memset(GoalMark, 0, sizeof GoalMark);
    up_stairs = down_stairs = false;
    const TaskRow& task = TaskTable[Game.task];
    if (Game.current_floor != task.floor) {
        const bool up = task.floor > Game.current_floor;
        up_stairs = up;
        down_stairs = !up;
        for (int32_t t = 0; t < MAP_TILES; ++t)
            if (CurrentFloorMap[t] == (up ? '^' : 'v')) GoalMark[t] = 1;
        return GOAL_STAIRS;
    }
    // The curious bot tries each of them once before its time: it learns
    // what the game says to that.
    if (AutoplayCurious && !Bot.tried_early[Game.task]) {
        switch (Game.task) {
        case 1: mark_action_spots('M'); return GOAL_ACTION;
        case 3: mark_action_spots('u'); return GOAL_ACTION;
        case 5: mark_doors_below('X'); return GOAL_BUMP_UP;
        case 8: mark_doors_below('E'); return GOAL_BUMP_UP;
        default: break;
        }
    }
    switch (Game.task) {
    case 2: mark_action_spots('M'); return GOAL_ACTION;
    case 4: mark_action_spots('u'); return GOAL_ACTION;
    case 9:
        for (int32_t t = 0; t < MAP_W; ++t)
            if (CurrentFloorMap[t] == 'E' && standable(CurrentFloorMap[t + MAP_W])) GoalMark[t + MAP_W] = 1;
        return GOAL_BUMP_UP;
    case 6:
        if (!Game.pool_hall_open) {
            for (int32_t t = MAP_W; t < MAP_TILES - MAP_W; ++t)
                if (CurrentFloorMap[t] == 'X' && standable(CurrentFloorMap[t + MAP_W])) GoalMark[t + MAP_W] = 1;
            return GOAL_BUMP_UP;
        }
        break;
    default: break;
    }
    for (int32_t i = 0; i < Game.item_count; ++i) {
        const ItemSlot& item = Game.items[i];
        if (!item.taken && item.type == task.item_type && item.floor == Game.current_floor)
            GoalMark[tile_index(item.x, item.y)] = 1;
    }
    return GOAL_ITEM;
}

// How many extra steps (in cost units) an item off the way is worth.
int32_t detour_allowance(int32_t type) {
    switch (type) {
    case ITEM_FLASHLIGHT: return 400;
    case ITEM_SNEAKERS: return 350;
    case ITEM_STINK_BOMB: return 300;
    case ITEM_ENERGY_DRINK: return 200;
    case ITEM_STICKER: return 120;
    default: return 0;
    }
}

int32_t running_speed() { return player_speed(Game, INPUT_RUN); }

// Somewhere away from the grown-up that he reaches much later than the
// player, out of sight, best beside a locker.
int32_t flee_target(const int16_t* his_steps, int32_t his_speed, const uint8_t* his_view) {
    // His steps weighed by how much faster the player is.
    const int32_t weight = STEP * running_speed() / his_speed;
    int32_t best = NO_TILE, best_score = -UNREACHED;
    for (int32_t t = 0; t < MAP_TILES; ++t) {
        if (Cost[t] >= 500 || Cost[t] < 3 * STEP || EnterCost[t] >= UNREACHED) continue;
        const int code = CurrentFloorMap[t];
        if (code == '^' || code == 'v') continue;
        const int32_t his = his_steps[t] < 0 ? 60 : his_steps[t];
        int32_t score = his * weight - Cost[t];
        if (!his_view[t]) {
            score += 40;
            if (locker_beside_tile(t)) score += 60;
        }
        if (score > best_score) {
            best_score = score;
            best = t;
        }
    }
    return best;
}


}  // namespace

void make_path(int32_t target) {
    int32_t length = 0;
    for (int32_t t = target; t != NO_TILE && length < MAP_TILES; t = Parent[t]) Bot.path[length++] = t;
    // Reverse: the player's tile first.
    for (int32_t i = 0; i < length / 2; ++i) {
        const int32_t swap = Bot.path[i];
        Bot.path[i] = Bot.path[length - 1 - i];
        Bot.path[length - 1 - i] = swap;
    }
    Bot.path_length = length;
    Bot.target = target;
    Bot.target_item = -1;
    for (int32_t i = 0; i < Game.item_count; ++i) {
        const ItemSlot& item = Game.items[i];
        if (!item.taken && item.floor == Game.current_floor && tile_index(item.x, item.y) == target)
            Bot.target_item = i;
    }
}

void replan() {
    Bot.plan_age = 0;
    Bot.plan_floor = Game.current_floor;
    Bot.plan_task = Game.task;
    Bot.path_length = 0;
    Bot.target = NO_TILE;
    Bot.target_item = -1;
    look_at_grown_ups();

    bool up_stairs, down_stairs;
    int32_t kind = mark_quest_goal(up_stairs, down_stairs);
    build_costs(up_stairs, down_stairs);
    const int32_t here = player_tile();
    cheapest_from(here, Cost, Parent);

    int32_t main_target = NO_TILE;
    for (int32_t t = 0; t < MAP_TILES; ++t)
        if (GoalMark[t] && Cost[t] < UNREACHED && (main_target == NO_TILE || Cost[t] < Cost[main_target]))
            main_target = t;
    if (main_target == NO_TILE) {
        Bot.gave_up = "the quest's next goal cannot be reached";
        Bot.goal_kind = GOAL_NONE;
        return;
    }

    if ((hunted() || phone_teacher_close()) && Bot.brave_ticks == 0) {
        // Go on only if he gets there much later than the player.
        const bool from_murzel = hunted();
        const int16_t* his_steps = from_murzel ? PursuerSteps : PhoneTeacherSteps;
        // Both go straight for the player at their hunting speed.
        const int32_t his_speed = from_murzel
                                      ? pursuer_base_speed() + CharacterTable[NPC_PURSUER].hunt_speed
                                      : CharacterTable[NPC_PHONE_TEACHER].hunt_speed;
        const int32_t his = his_steps[main_target];
        const bool goal_is_safe =
            his < 0 || his * STEP * running_speed() / his_speed > Cost[main_target] + 60;
        if (!goal_is_safe) {
            const int32_t t = flee_target(his_steps, his_speed, from_murzel ? PursuerView : PhoneTeacherView);
            if (t != NO_TILE) {
                Bot.goal_kind = GOAL_FLEE;
                make_path(t);
                return;
            }
        }
    } else {
        // Small detours: useful items, and Herr Hemmke's hint.
        plain_costs_to(main_target);
        const bool calm = !pursuer_awake() || pursuer_steps_to_player() < 0 || pursuer_steps_to_player() > 8;
        int32_t best = NO_TILE, best_extra = UNREACHED, best_kind = GOAL_ITEM;
        if (calm) {
            for (int32_t i = 0; i < Game.item_count; ++i) {
                const ItemSlot& item = Game.items[i];
                if (item.taken || item.floor != Game.current_floor) continue;
                const int32_t t = tile_index(item.x, item.y);
                const int32_t allowance = detour_allowance(item.type);
                if (allowance == 0 || Cost[t] >= UNREACHED || PlainToTarget[t] >= UNREACHED) continue;
                const int32_t extra = Cost[t] + PlainToTarget[t] - Cost[main_target];
                if (extra <= allowance && extra < best_extra) {
                    best = t;
                    best_extra = extra;
                    best_kind = GOAL_ITEM;
                }
            }
            if (Bot.talked_task != Game.task && Game.teacher_floor == Game.current_floor) {
                for (int32_t t = 0; t < MAP_TILES; ++t) {
                    if (Cost[t] >= UNREACHED || PlainToTarget[t] >= UNREACHED) continue;
                    if (pixel_distance_to_hemmke(t) >= TALK_SPOT_REACH) continue;
                    const int32_t extra = Cost[t] + PlainToTarget[t] - Cost[main_target];
                    if (extra <= 80 && extra < best_extra) {
                        best = t;
                        best_extra = extra;
                        best_kind = GOAL_TALK;
                    }
                }
            }
        }
        if (best != NO_TILE) {
            Bot.goal_kind = best_kind;
            make_path(best);
            return;
        }
    }
    Bot.goal_kind = kind;
    make_path(main_target);
}


}  // namespace bot
