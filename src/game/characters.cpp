#include "game/characters.h"

#include "data/int_math.h"
#include "game/game_state.h"
#include "game/flow_field.h"
#include "world/floors.h"
#include "world/tile_geometry.h"
#include "world/visibility.h"

int32_t npc_tile(int32_t slot) {
    const NpcSlot& npc = Game.npcs[slot];
    return tile_index(npc.npc_x >> 12, npc.npc_y >> 12);
}

bool npc_on_current_floor(int32_t slot) {
    const NpcSlot& npc = Game.npcs[slot];
    return npc.npc_present && npc.npc_floor == Game.current_floor;
}

int32_t npc_distance(int32_t slot) {
    const NpcSlot& npc = Game.npcs[slot];
    const int32_t dx = (npc.npc_x - Game.player_x) / 256;
    const int32_t dy = (npc.npc_y - Game.player_y) / 256;
    return isqrt(dx * dx + dy * dy);
}

int32_t sees_player(int32_t slot, int32_t r2) {
    if (Game.player_hidden) return 0;
    return sees_tile(slot, r2, Game.player_x >> 12, Game.player_y >> 12);
}

int32_t sees_tile(int32_t slot, int32_t r2, int32_t column, int32_t row) {
    const NpcSlot& npc = Game.npcs[slot];
    if (!npc_on_current_floor(slot)) return 0;
    const int32_t nx = npc.npc_x >> 12, ny = npc.npc_y >> 12;
    const int32_t dx = column - nx, dy = row - ny;
    if (dx * dx + dy * dy > r2) return 0;
    return line_of_sight(nx, ny, column, row);
}

int32_t random_tile_near(int32_t cx, int32_t cy, int32_t r) {
    for (int attempt = 0; attempt < 40; ++attempt) {
        const int32_t x = random_below(2 * r + 1) + cx - r;
        const int32_t y = random_below(2 * r + 1) + cy - r;
        if (x < 0 || x >= MAP_W || y < 0 || y >= MAP_H) continue;
        const int code = tile_at(x, y);
        if (is_floor_tile(code) || code == TILE_DOOR) return tile_index(x, y);
    }
    return npc_tile(NPC_PURSUER);
}

int32_t patrol_target(int32_t slot) {
    if (slot == NPC_PURSUER && random_below(100) < 40)
        return random_tile_near(Game.player_x >> 12, Game.player_y >> 12, 8);
    const int32_t y = random_below(26) + 1;
    const int32_t x = random_below(54) + 1;
    return random_tile_near(x, y, 3);
}

void walk_flow(int32_t slot, int32_t speed, int32_t direct, int32_t px, int32_t py) {
    NpcSlot& npc = Game.npcs[slot];
    npc.npc_moving = 0;
    const int32_t t = npc_tile(slot);
    if (npc.npc_target != npc.npc_flow_source) compute_flow_field(slot, npc.npc_target);
    if (t < 0 || t >= MAP_TILES) return;
    const int16_t* field = Game.flow_fields[slot];
    const int32_t w = field[t];
    if (w < 0) return;

    const int32_t here_x = npc.npc_x >> 8, here_y = npc.npc_y >> 8;
    int32_t aim_x, aim_y;
    if (t != npc.npc_target) {
        int32_t neighbours[4];
        tile_neighbours(t, neighbours);
        int32_t best = -1, best_d = 0;
        for (int32_t n : neighbours) {
            if (n < 0) continue;
            if (field[n] < 0 || field[n] >= w) continue;
            const int32_t ax = tile_anchor_px(tile_column(n)) - here_x;
            const int32_t ay = tile_anchor_py(tile_row(n)) - here_y;
            const int32_t d = ax * ax + ay * ay;
            if (best < 0 || d < best_d) {
                best = n;
                best_d = d;
            }
        }
        if (best < 0) return;
        if (direct && best == npc.npc_target) {
            aim_x = px;
            aim_y = py;
        } else {
            aim_x = tile_anchor_px(tile_column(best));
            aim_y = tile_anchor_py(tile_row(best));
        }
    } else if (direct) {
        aim_x = px;
        aim_y = py;
    } else {
        aim_x = tile_anchor_px(tile_column(t));
        aim_y = tile_anchor_py(tile_row(t));
    }

    const int32_t dx = aim_x * 256 - npc.npc_x;
    const int32_t dy = aim_y * 256 - npc.npc_y;
    const int64_t len_squared = int64_t(dx) * dx + int64_t(dy) * dy;
    const int32_t len = isqrt64(len_squared);
    if (len < 1) return;
    const int32_t step = len < speed ? len : speed;
    npc.npc_x += static_cast<int32_t>(int64_t(dx) * step / len);
    npc.npc_y += static_cast<int32_t>(int64_t(dy) * step / len);
    const int32_t adx = dx < 0 ? -dx : dx, ady = dy < 0 ? -dy : dy;
    if (adx > ady)
        npc.npc_facing = dx <= 0 ? FACING_LEFT : FACING_RIGHT;
    else
        npc.npc_facing = dy <= 0 ? FACING_UP : FACING_DOWN;
    // Only its phase matters to the walk animation: wrap instead of overflowing.
    npc.npc_walk_distance = static_cast<int32_t>(static_cast<uint32_t>(npc.npc_walk_distance) + static_cast<uint32_t>(step));
    npc.npc_moving = 1;
}

void npc_place_landing(int32_t slot) {
    NpcSlot& npc = Game.npcs[slot];
    // Slot 0 at tile (3, 18), slot 1 at (4, 18), slot 2 at (3, 20).
    npc.npc_x = tile_anchor_x((slot & 1) ? 4 : 3);
    npc.npc_y = tile_anchor_y(18 + 2 * (slot / 2));
    npc.npc_moving = 0;
    npc.npc_facing = FACING_DOWN;
    npc.npc_target = npc_tile(slot);
}

void npc_place_far(int32_t slot) {
    NpcSlot& npc = Game.npcs[slot];
    const int32_t px = Game.player_x >> 12, py = Game.player_y >> 12;
    for (int attempt = 0; attempt < 80; ++attempt) {
        const int32_t x = random_below(54) + 1;
        const int32_t y = random_below(26) + 1;
        const int code = tile_at(x, y);
        if (!is_route_passable(code) || is_stairs_tile(code)) continue;
        if ((x - px) * (x - px) + (y - py) * (y - py) <= 200) continue;
        npc.npc_x = tile_anchor_x(x);
        npc.npc_y = tile_anchor_y(y);
        npc.npc_target = tile_index(x, y);
        npc.npc_moving = 0;
        return;
    }
    npc_place_landing(slot);
}

bool follow_stairs_step(int32_t slot) {
    NpcSlot& npc = Game.npcs[slot];
    npc.npc_follow_ticks -= 1;
    if (npc.npc_follow_ticks > 0) return false;  // "0 or less": never skips past the step
    if (npc.npc_floor != npc.npc_follow_floor)
        npc.npc_floor = floor_beside(npc.npc_floor, npc.npc_floor < npc.npc_follow_floor ? 1 : -1);
    if (npc.npc_floor == Game.current_floor) return true;
    if (npc.npc_floor != npc.npc_follow_floor) npc.npc_follow_ticks = 45;
    return false;
}

void npc_step_onto_landing(int32_t slot) {
    NpcSlot& npc = Game.npcs[slot];
    npc.npc_present = 1;
    npc_place_landing(slot);
    npc.npc_flow_source = -1;
    npc.npc_stun_ticks = 0;
}

int32_t held_speed(int32_t slot, int32_t speed) {
    NpcSlot& npc = Game.npcs[slot];
    if (npc.npc_stun_ticks > 0) {
        npc.npc_stun_ticks -= 1;
        speed = 0;
    }
    if (npc.npc_slow_ticks > 0) {
        npc.npc_slow_ticks -= 1;
        speed /= 2;
    }
    return speed;
}

void npc_reset(int32_t slot) {
    NpcSlot& npc = Game.npcs[slot];
    npc.npc_lost_ticks = 0;
    npc.npc_stun_ticks = 0;
    npc.npc_slow_ticks = 0;
    npc.npc_follow_ticks = 0;
    npc.npc_state_ticks = 300;
    npc.npc_last_seen = npc_tile(slot);
    npc.npc_state = slot == NPC_PURSUER ? int32_t(PURSUER_PATROL) : int32_t(PHONE_TEACHER_PATROL);
    npc.npc_target = patrol_target(slot);
}
