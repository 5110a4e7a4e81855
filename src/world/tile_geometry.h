// Where tiles lie: Fixed positions (4096 units a tile, 256 a pixel), tile
// indices on the 56x28 grid of each of the six floors, and the fixed spots
// of the stairwell.
#pragma once
#include <cstdint>

constexpr int MAP_W = 56;
constexpr int MAP_H = 28;
constexpr int MAP_TILES = MAP_W * MAP_H;
constexpr int FLOOR_COUNT = 6;

// Fixed: 4096 units a tile, 256 a pixel.
constexpr int32_t FIXED_TILE = 4096;
constexpr int32_t FIXED_PIXEL = 256;

// The tile anchor: the point of tile (x, y) a character stands on and walks
// to, half a tile across and ten pixels down the tile. In pixels:
constexpr int32_t tile_anchor_px(int32_t x) { return 16 * x + 8; }
constexpr int32_t tile_anchor_py(int32_t y) { return 16 * y + 10; }
// and as a Fixed position.
constexpr int32_t tile_anchor_x(int32_t x) { return tile_anchor_px(x) * FIXED_PIXEL; }
constexpr int32_t tile_anchor_y(int32_t y) { return tile_anchor_py(y) * FIXED_PIXEL; }

constexpr int32_t tile_index(int32_t x, int32_t y) { return x + MAP_W * y; }
constexpr int32_t tile_column(int32_t index) { return index % MAP_W; }
constexpr int32_t tile_row(int32_t index) { return index / MAP_W; }

// The four neighbours of tile t: left, right, up, down; -1 past the grid's
// edge (a row's last tile is no neighbour of the next row's first).
inline void tile_neighbours(int32_t t, int32_t out[4]) {
    const int32_t x = tile_column(t), y = tile_row(t);
    out[0] = x > 0 ? t - 1 : -1;
    out[1] = x < MAP_W - 1 ? t + 1 : -1;
    out[2] = y > 0 ? t - MAP_W : -1;
    out[3] = y < MAP_H - 1 ? t + MAP_W : -1;
}

// The stairwell: stairs up in column 1, down in column 6, rows 19..21.
constexpr int32_t LANDING_X = 3, LANDING_Y = 19;  // where restarts and route searches begin
constexpr int32_t LANDING_TILE = tile_index(LANDING_X, LANDING_Y);
// Where the player stands after taking the stairs: beside the stairs he came up or down.
constexpr int32_t ARRIVAL_UP_X = tile_anchor_x(5);
constexpr int32_t ARRIVAL_DOWN_X = tile_anchor_x(2);
constexpr int32_t ARRIVAL_Y = tile_anchor_y(20);
// Where the friend stands when he comes along on the stairs.
constexpr int32_t FRIEND_ARRIVAL_X = tile_anchor_x(4);
constexpr int32_t FRIEND_ARRIVAL_Y = tile_anchor_y(19);

static_assert(ARRIVAL_Y == 84480 && ARRIVAL_UP_X == 22528 && ARRIVAL_DOWN_X == 10240, "stair arrival");
static_assert(FRIEND_ARRIVAL_X == 18432 && FRIEND_ARRIVAL_Y == 80384, "friend arrival");
