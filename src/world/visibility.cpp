#include "world/visibility.h"

#include "world/floors.h"

uint8_t VisibleGrid[MAP_TILES];

namespace {

// How far the player sees, in tiles: 12 straight along a row or column,
// a little less on the diagonals.
constexpr int32_t SIGHT_REACH = 12;
constexpr int32_t SIGHT_RADIUS_SQUARED = 148;

}  // namespace

void update_visibility(int32_t px, int32_t py) {
    for (uint8_t& flag : VisibleGrid) flag = 0;
    for (int32_t dy = -SIGHT_REACH; dy <= SIGHT_REACH; ++dy) {
        for (int32_t dx = -SIGHT_REACH; dx <= SIGHT_REACH; ++dx) {
            if (dx * dx + dy * dy > SIGHT_RADIUS_SQUARED) continue;
            const int32_t tx = px + dx;
            const int32_t ty = py + dy;
            if (tx < 0 || tx >= MAP_W || ty < 0 || ty >= MAP_H) continue;
            if (line_of_sight(px, py, tx, ty)) VisibleGrid[tile_index(tx, ty)] = 1;
        }
    }
}

int32_t line_of_sight(int32_t x0, int32_t y0, int32_t x1, int32_t y1) {
    const int32_t dx = x1 >= x0 ? x1 - x0 : x0 - x1;
    const int32_t dy = -(y1 >= y0 ? y1 - y0 : y0 - y1);
    const int32_t sx = x0 <= x1 ? 1 : -1;
    const int32_t sy = y0 <= y1 ? 1 : -1;
    int32_t err = dx + dy;
    int32_t x = x0;
    int32_t y = y0;
    if (x == x1 && y == y1) return 1;
    for (;;) {
        const int32_t e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y += sy;
        }
        // The target itself never blocks; the glass wall and the fence let
        // sight through, the entrance and the locked pool door do not.
        if (x == x1 && y == y1) return 1;
        const int t = tile_at(x, y);
        if (t == TILE_GLASS_WALL || t == TILE_FENCE) continue;
        if (blocks_sight(t) || t == TILE_ENTRANCE || t == TILE_POOL_DOOR) return 0;
    }
}
