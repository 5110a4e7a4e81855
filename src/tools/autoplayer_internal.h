// The auto-player's parts, for its own files only: what the bot knows and
// plans (BotState), the search grids, and the operations of the tile costs
// and the searches (autoplayer_cost.cpp), the planner that picks a goal and
// a path (autoplayer_plan.cpp) and the steering that turns the path into
// InputBits (autoplayer_steer.cpp). autoplayer.cpp plays a Tick with them.
#pragma once
#include <cstdint>

#include "game/game_state.h"
#include "game/input_bits.h"
#include "world/tile_geometry.h"

namespace bot {

// Costs. A plain tile costs 10; a door 20, because the player slows down in
// it and for a few Ticks after. Danger near the grown-ups adds to that.
constexpr int32_t UNREACHED = 0x3fffffff;
constexpr int32_t STEP = 10;
constexpr int32_t DOOR_STEP = 20;
constexpr int32_t NO_TILE = -1;

// What the bot is walking to, and what it does on arrival.
enum GoalKind : int32_t {
    GOAL_NONE,
    GOAL_ITEM,     // walk onto it: the pickup is automatic
    GOAL_STAIRS,   // walk onto the stairs: the floor changes
    GOAL_ACTION,   // stand there and press ACTION (piano, fuse box)
    GOAL_BUMP_UP,  // stand there and walk up into the tile above (pool door, main exit)
    GOAL_TALK,     // stand near Herr Hemmke and press ACTION
    GOAL_FLEE,     // somewhere Herr Mürzel reaches later than the player
};

struct BotState {
    uint32_t previous_bits;
    uint32_t rng;

    // The plan: a path of tiles from the player's tile to the target.
    int32_t goal_kind;
    int32_t target;
    int32_t target_item;  // ItemSlot lying on the target, -1 none
    int32_t path[MAP_TILES];
    int32_t path_length;
    int32_t plan_floor;
    int32_t plan_task;
    int32_t plan_age;

    // Getting unstuck.
    int32_t last_x, last_y;
    int32_t still_ticks;
    int32_t jiggle_ticks;
    uint32_t jiggle_bits;

    // Fleeing for long gets nowhere: a capture only costs the way back from
    // the checkpoint, so after a while the bot goes for its goal regardless.
    int32_t flee_ticks;
    int32_t brave_ticks;

    // Lockers, breath, the quest teacher.
    int32_t hidden_ticks;
    bool resting;
    int32_t talked_task;

    const char* gave_up;

    // What the curious bot has tried already (AutoplayCurious).
    bool let_ring_out;
    bool pressed_while_coming;
    bool pressed_in_cooldown;
    bool pressed_without_phone;
    bool replayed_piano;
    bool reused_fuse_box;
    bool tried_early[10];  // by task: the piano, the fuse box, the pool door, the exit before their time
};


extern BotState Bot;

// The search grids (autoplayer_cost.cpp, GoalMark autoplayer_plan.cpp).
extern int32_t EnterCost[MAP_TILES];      // what stepping onto each tile costs this plan
extern int32_t Cost[MAP_TILES];           // cheapest from the player's tile
extern int32_t Parent[MAP_TILES];         // the tile each cheapest way comes from
extern int32_t PlainToTarget[MAP_TILES];  // plain walking from the target
extern int16_t PursuerSteps[MAP_TILES];   // Herr Mürzel's steps to each tile, -1 none
extern int16_t PhoneTeacherSteps[MAP_TILES];
extern uint8_t PursuerView[MAP_TILES];    // tiles he would see the player on
extern uint8_t PhoneTeacherView[MAP_TILES];
extern uint8_t GoalMark[MAP_TILES];       // the tiles the plan may end on

// The map as the player's collision sees it.
bool standable(int code);
int32_t anchor_fixed_x(int32_t tile);
int32_t anchor_fixed_y(int32_t tile);
bool locker_beside_tile(int32_t tile);

// Dijkstra over EnterCost from start; parent may be null.
void cheapest_from(int32_t start, int32_t* cost, int32_t* parent);

// The grown-ups, as the bot sees them.
const NpcSlot& pursuer();
const NpcSlot& phone_teacher();
int32_t murzel_sight();
bool pursuer_here();
bool pursuer_awake();
bool murzel_hunting_here();
// Steps between Herr Mürzel and the player, -1 if he cannot get there.
int32_t pursuer_steps_to_player();
// The phone will ring within a few seconds.
bool ring_coming();
bool teacher_wants_phone();
// Fills the grown-ups' steps and views for this floor.
void look_at_grown_ups();
// Herr Haselbrink is coming for the phone and close.
bool phone_teacher_close();
// Herr Mürzel is after the player and close enough to matter.
bool hunted();

// EnterCost for this plan: which stairs may be taken, and the danger.
void build_costs(bool up_stairs, bool down_stairs);
// Plain walking costs from the target into PlainToTarget, for judging detours.
void plain_costs_to(int32_t target);

// A fresh plan: the goal of the quest (or a detour, or a place to flee to)
// and the path there.
void replan();
// The path from the player's tile to target, by Parent.
void make_path(int32_t target);

// Steering and pressing.
uint32_t bot_random();
// Presses bit this Tick; a press counts only if it was up on the previous Tick.
extern uint32_t Pressed;
bool press(uint32_t bit);
int32_t path_index_of(int32_t tile);
uint32_t steer_with_unsticking(int32_t aim_x, int32_t aim_y, uint32_t run, bool at_goal, bool bump);
bool can_call_friend();
// ACTION here would hide in a locker rather than talk or play.
bool action_hides();
bool should_leave_locker();
bool wants_to_run();

}  // namespace bot
