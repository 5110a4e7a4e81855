#include "tools/autoplayer.h"

#include <cstdio>
#include <cstring>

#include "data/int_math.h"
#include "game/character_table.h"
#include "game/characters.h"
#include "game/current_floor.h"
#include "game/flow_field.h"
#include "game/game_flow.h"
#include "game/game_state.h"
#include "game/interactions.h"
#include "game/movement.h"
#include "game/pursuer.h"
#include "game/quest.h"
#include "platform/input.h"
#include "platform/replay.h"
#include "screens/draw_screen.h"
#include "world/floors.h"
#include "world/tile_geometry.h"

bool AutoplayWroteState = false;
bool AutoplayCurious = false;
std::FILE* AutoplayTrace = nullptr;

namespace {

// ---------------------------------------------------------------------------
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

BotState Bot;

// The search grids.
int32_t EnterCost[MAP_TILES];
int32_t Cost[MAP_TILES];
int32_t Parent[MAP_TILES];
int32_t PlainToTarget[MAP_TILES];
int16_t PursuerSteps[MAP_TILES];
int16_t PhoneTeacherSteps[MAP_TILES];
uint8_t PursuerView[MAP_TILES];
uint8_t PhoneTeacherView[MAP_TILES];
uint8_t GoalMark[MAP_TILES];

struct HeapEntry {
    int32_t key;
    int32_t tile;
};
HeapEntry Heap[4 * MAP_TILES + 8];
int32_t HeapSize;

uint32_t bot_random() {
    Bot.rng = Bot.rng * 1664525u + 1013904223u;
    return Bot.rng >> 16;
}

// ---------------------------------------------------------------------------
// The map as the player's collision sees it.

bool standable(int code) { return is_floor_tile(code) || code == 'D'; }

int32_t anchor_fixed_x(int32_t tile) { return tile_anchor_x(tile_column(tile)); }
int32_t anchor_fixed_y(int32_t tile) { return tile_anchor_y(tile_row(tile)); }

bool locker_beside_tile(int32_t tile) { return locker_beside(tile_column(tile), tile_row(tile)); }

// ---------------------------------------------------------------------------
// Dijkstra over EnterCost.

void heap_push(int32_t key, int32_t tile) {
    int32_t i = HeapSize++;
    while (i > 0) {
        const int32_t up = (i - 1) / 2;
        if (Heap[up].key <= key) break;
        Heap[i] = Heap[up];
        i = up;
    }
    Heap[i] = HeapEntry{key, tile};
}

HeapEntry heap_pop() {
    const HeapEntry top = Heap[0];
    const HeapEntry last = Heap[--HeapSize];
    int32_t i = 0;
    for (;;) {
        int32_t child = 2 * i + 1;
        if (child >= HeapSize) break;
        if (child + 1 < HeapSize && Heap[child + 1].key < Heap[child].key) child += 1;
        if (Heap[child].key >= last.key) break;
        Heap[i] = Heap[child];
        i = child;
    }
    if (HeapSize > 0) Heap[i] = last;
    return top;
}

void cheapest_from(int32_t start, int32_t* cost, int32_t* parent) {
    for (int32_t t = 0; t < MAP_TILES; ++t) {
        cost[t] = UNREACHED;
        if (parent) parent[t] = NO_TILE;
    }
    HeapSize = 0;
    cost[start] = 0;
    heap_push(0, start);
    while (HeapSize > 0) {
        const HeapEntry e = heap_pop();
        if (e.key > cost[e.tile]) continue;
        int32_t n[4];
        tile_neighbours(e.tile, n);
        for (int32_t k : n) {
            if (k == NO_TILE || EnterCost[k] >= UNREACHED) continue;
            const int32_t key = e.key + EnterCost[k];
            if (key >= cost[k]) continue;
            cost[k] = key;
            if (parent) parent[k] = e.tile;
            // Each tile is improved at most once per neighbour: the heap cannot overflow.
            heap_push(key, k);
        }
    }
}

// ---------------------------------------------------------------------------
// The grown-ups.

const NpcSlot& pursuer() { return Game.npcs[NPC_PURSUER]; }
const int32_t MurzelSight = CharacterTable[NPC_PURSUER].sight_radius2;
const NpcSlot& phone_teacher() { return Game.npcs[NPC_PHONE_TEACHER]; }

bool pursuer_here() { return npc_on_current_floor(NPC_PURSUER); }
bool pursuer_awake() { return pursuer_here() && pursuer().npc_state != PURSUER_ASLEEP; }
bool murzel_hunting_here() { return pursuer_here() && pursuer_hunting(pursuer()); }
// Steps between him and the player, -1 if he cannot get there.
int32_t pursuer_steps_to_player() { return PursuerSteps[player_tile()]; }

// The phone will ring within a few seconds: Herr Haselbrink hears it on
// this floor and comes straight for it if he sees the player close by.
bool ring_coming() {
    return Game.has_phone && Game.confiscate_ticks == 0 && Game.ring_ticks == 0 && Game.call_countdown <= 150;
}

bool teacher_wants_phone() {
    const int32_t s = phone_teacher().npc_state;
    if (!npc_on_current_floor(NPC_PHONE_TEACHER) || !Game.has_phone) return false;
    return s == PHONE_TEACHER_FOR_PHONE || s == PHONE_TEACHER_SEARCH || (ring_coming() && s != PHONE_TEACHER_CONFISCATE);
}

// The tiles a character on this floor would see the player on.
void view_of(int32_t slot, uint8_t* view) {
    const int32_t r2 = CharacterTable[slot].sight_radius2;
    for (int32_t t = 0; t < MAP_TILES; ++t)
        view[t] = sees_tile(slot, r2, tile_column(t), tile_row(t)) ? 1 : 0;
}

void look_at_grown_ups() {
    route_steps(pursuer_here() ? npc_tile(NPC_PURSUER) : NO_TILE, PursuerSteps);
    route_steps(npc_on_current_floor(NPC_PHONE_TEACHER) ? npc_tile(NPC_PHONE_TEACHER) : NO_TILE, PhoneTeacherSteps);
    view_of(NPC_PURSUER, PursuerView);
    view_of(NPC_PHONE_TEACHER, PhoneTeacherView);
}

// Herr Haselbrink is coming for the phone and close: he keeps coming while
// he sees the player within 90 pixels, ringing or not.
bool phone_teacher_close() {
    const NpcSlot& t = phone_teacher();
    if (!npc_on_current_floor(NPC_PHONE_TEACHER) || !Game.has_phone || Game.confiscate_ticks > 0) return false;
    if (t.npc_state != PHONE_TEACHER_FOR_PHONE || t.npc_stun_ticks > 20) return false;
    const int32_t d = PhoneTeacherSteps[player_tile()];
    return d >= 0 && d < 9;
}

// Herr Mürzel is after the player and close enough to matter.
bool hunted() {
    if (!murzel_hunting_here() || pursuer().npc_stun_ticks > 20) return false;
    const int32_t d = pursuer_steps_to_player();
    return d >= 0 && d < 16;
}

// ---------------------------------------------------------------------------
// Costs of the tiles for this plan.

void build_costs(bool up_stairs, bool down_stairs) {
    for (int32_t t = 0; t < MAP_TILES; ++t) {
        const int code = CurrentFloorMap[t];
        int32_t c = UNREACHED;
        if (is_floor_tile(code))
            c = STEP;
        else if (code == 'D')
            c = DOOR_STEP;
        else if (code == '^' && up_stairs && stairs_open('^'))
            c = STEP;
        else if (code == 'v' && down_stairs && stairs_open('v'))
            c = STEP;
        EnterCost[t] = c;
    }

    if (pursuer_awake() && pursuer().npc_stun_ticks < 40) {
        const int32_t s = pursuer().npc_state;
        const int32_t reach = pursuer_hunting(pursuer()) ? 8 : s == PURSUER_SEARCH ? 6 : 5;
        const int32_t seen_cost = (s == PURSUER_SEARCH || s == PURSUER_PATROL) ? 25 : 10;
        for (int32_t t = 0; t < MAP_TILES; ++t) {
            if (EnterCost[t] >= UNREACHED) continue;
            const int32_t d = PursuerSteps[t];
            if (d >= 0 && d < reach) EnterCost[t] += (reach - d) * (reach - d) * 6;
            if (PursuerView[t]) EnterCost[t] += seen_cost;
        }
    } else if (pursuer_here()) {
        // Asleep or held by Brazzik: only do not walk into him.
        for (int32_t t = 0; t < MAP_TILES; ++t) {
            const int32_t d = PursuerSteps[t];
            if (EnterCost[t] < UNREACHED && d >= 0 && d < 3) EnterCost[t] += (3 - d) * 20;
        }
    }
    if (teacher_wants_phone()) {
        // Out of his sight he cannot come straight for the player.
        const int32_t seen_cost = phone_teacher().npc_state == PHONE_TEACHER_FOR_PHONE || ring_coming() ? 40 : 10;
        for (int32_t t = 0; t < MAP_TILES; ++t) {
            if (EnterCost[t] >= UNREACHED) continue;
            const int32_t d = PhoneTeacherSteps[t];
            if (d >= 0 && d < 7) EnterCost[t] += (7 - d) * (7 - d) * 4;
            if (PhoneTeacherView[t]) EnterCost[t] += seen_cost;
        }
    }
}

// ---------------------------------------------------------------------------
// What the quest needs now: marks the goal tiles and returns the goal kind.

int32_t pixel_distance_to_hemmke(int32_t tile) {
    if (Game.current_floor != Game.teacher_floor) return 9999;
    const int32_t dx = tile_anchor_px(tile_column(tile)) - tile_anchor_px(Game.teacher_x);
    const int32_t dy = tile_anchor_py(tile_row(tile)) - tile_anchor_py(Game.teacher_y);
    return isqrt(dx * dx + dy * dy);
}

// Tiles beside a piano or the fuse box, far enough from Herr Hemmke that
// ACTION does not talk to him instead.
void mark_action_spots(int code) {
    for (int32_t t = 0; t < MAP_TILES; ++t) {
        if (!standable(CurrentFloorMap[t])) continue;
        const int32_t x = tile_column(t), y = tile_row(t);
        bool near = false;
        for (int32_t dy = -1; dy <= 1 && !near; ++dy)
            for (int32_t dx = -1; dx <= 1 && !near; ++dx) near = tile_at(x + dx, y + dy) == code;
        if (near && pixel_distance_to_hemmke(t) >= 48) GoalMark[t] = 1;
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

// Plain walking costs from the target, for judging detours.
void plain_costs_to(int32_t target) {
    int32_t saved[MAP_TILES];
    std::memcpy(saved, EnterCost, sizeof saved);
    for (int32_t t = 0; t < MAP_TILES; ++t) {
        const int code = CurrentFloorMap[t];
        EnterCost[t] = is_floor_tile(code) ? STEP : code == 'D' ? DOOR_STEP : UNREACHED;
    }
    cheapest_from(target, PlainToTarget, nullptr);
    std::memcpy(EnterCost, saved, sizeof saved);
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
                    if (pixel_distance_to_hemmke(t) >= 30) continue;
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

// ---------------------------------------------------------------------------
// Steering: the player's own step, tried in every direction.

int64_t distance2(int32_t x0, int32_t y0, int32_t x1, int32_t y1) {
    const int64_t dx = x1 - x0, dy = y1 - y0;
    return dx * dx + dy * dy;
}

// The direction bits that bring the player nearest to the aim this Tick;
// 0 when none gets nearer.
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
        return d < 11 || sees_player(NPC_PURSUER, MurzelSight);
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

    if (hunted() && sees_player(NPC_PURSUER, MurzelSight) && can_call_friend() && !(Pressed & INPUT_PHONE))
        press(INPUT_PHONE);

    // Out of Herr Mürzel's sight beside a locker while he hunts: hide. The
    // phone is safe in a locker too.
    const bool murzel_near = pursuer_awake() && pursuer_steps_to_player() >= 0 && pursuer_steps_to_player() < 5;
    if ((hunted() || murzel_near || phone_teacher_close()) && !sees_player(NPC_PURSUER, MurzelSight) &&
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
    // As in a fresh process: the tick counter and the previous input are
    // never reset by program_init, and the first press depends on them.
    Game = GameState{};
    program_init(seed);
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
        game_tick(bits);
        draw_screen();
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
