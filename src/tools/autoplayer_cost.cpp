// The auto-player's costs: what stepping onto each tile costs for the plan at
// hand (the map, the stairs it may take, the danger near the grown-ups),
// the searches over them, and what the bot reads of the grown-ups.
#include <cstring>

#include "game/character_table.h"
#include "game/characters.h"
#include "game/current_floor.h"
#include "game/flow_field.h"
#include "game/game_state.h"
#include "game/interactions.h"
#include "game/pursuer.h"
#include "tools/autoplayer_internal.h"
#include "world/floors.h"
#include "world/tile_geometry.h"

namespace bot {

int32_t EnterCost[MAP_TILES];
int32_t Cost[MAP_TILES];
int32_t Parent[MAP_TILES];
int32_t PlainToTarget[MAP_TILES];
int16_t PursuerSteps[MAP_TILES];
int16_t PhoneTeacherSteps[MAP_TILES];
uint8_t PursuerView[MAP_TILES];
uint8_t PhoneTeacherView[MAP_TILES];

namespace {

struct HeapEntry {
    int32_t key;
    int32_t tile;
};
HeapEntry Heap[4 * MAP_TILES + 8];
int32_t HeapSize;

}  // namespace

// ---------------------------------------------------------------------------
// The map as the player's collision sees it.

bool standable(int code) { return is_floor_tile(code) || code == 'D'; }

int32_t anchor_fixed_x(int32_t tile) { return tile_anchor_x(tile_column(tile)); }
int32_t anchor_fixed_y(int32_t tile) { return tile_anchor_y(tile_row(tile)); }

bool locker_beside_tile(int32_t tile) { return locker_beside(tile_column(tile), tile_row(tile)); }

// ---------------------------------------------------------------------------
// Dijkstra over EnterCost.

namespace {

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

}  // namespace

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
int32_t murzel_sight() { return CharacterTable[NPC_PURSUER].sight_radius2; }
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

}  // namespace bot
