#include "world/floors.h"

uint8_t CurrentFloorMap[MAP_TILES];

bool is_floor_tile(int code) {
    switch (code) {
        case ',': case '.': case ';': case '_': case 'c': case 'f': case 'h': case 'm': case 't':
            return true;
        default:
            return false;
    }
}

bool is_wall_tile(int code) {
    switch (code) {
        case '#': case 'b': case 'j': case 'n': case 'p': case 'q': case 'u': case 'w': case 'y':
        case 'z':
            return true;
        default:
            return false;
    }
}

bool blocks_sight(int code) { return is_wall_tile(code) || code == TILE_FENCE; }

bool is_route_passable(int code) {
    return is_floor_tile(code) || code == TILE_DOOR || is_stairs_tile(code);
}

bool is_stairs_tile(int code) { return code == TILE_STAIRS_UP || code == TILE_STAIRS_DOWN; }

bool is_barrier_tile(int code) {
    return code == TILE_ENTRANCE || code == TILE_POOL_DOOR || code == TILE_GRATING ||
           code == TILE_SCHOOL_GATE;
}

int tile_at(int32_t column, int32_t row) {
    if (column < 0 || column >= MAP_W || row < 0 || row >= MAP_H) return TILE_WALL;
    return CurrentFloorMap[tile_index(column, row)];
}

namespace {

bool is_marker(int code) { return code == TILE_PURSUER_START || code == 'K' || code == TILE_PLAYER_START; }

// The floor a tile stands on: below, above, left, right, else the floor's
// default ground (grass outdoors, corridor floor indoors).
int neighbouring_floor(int32_t floor, int32_t column, int32_t row) {
    const int32_t order[4][2] = {{0, 1}, {0, -1}, {-1, 0}, {1, 0}};
    for (const auto& step : order) {
        const int t = tile_at(column + step[0], row + step[1]);
        if (is_floor_tile(t)) return t;
    }
    return floor == 4 ? ';' : '.';
}

}  // namespace

void load_floor_map(int32_t floor, bool pool_hall_open) {
    if (floor < 0 || floor >= FLOOR_COUNT) return;
    for (int row = 0; row < MAP_H; ++row) {
        const char* text = FloorMaps[floor][row];
        for (int column = 0; column < MAP_W; ++column) {
            char t = text[column];
            if (t == TILE_POOL_DOOR && pool_hall_open) t = TILE_DOOR;
            CurrentFloorMap[tile_index(column, row)] = static_cast<uint8_t>(t);
        }
    }
    // In place and in scan order: a marker above or to the left has already
    // become floor by the time its neighbour is looked at.
    for (int row = 0; row < MAP_H; ++row) {
        for (int column = 0; column < MAP_W; ++column) {
            uint8_t& tile = CurrentFloorMap[tile_index(column, row)];
            if (is_marker(tile)) tile = static_cast<uint8_t>(neighbouring_floor(floor, column, row));
        }
    }
}

int floor_under(int32_t floor, int32_t column, int32_t row) {
    return neighbouring_floor(floor, column, row);
}

int32_t find_marker(int32_t floor, char code) {
    for (int row = 0; row < MAP_H; ++row) {
        for (int column = 0; column < MAP_W; ++column) {
            if (FloorMaps[floor][row][column] == code) return tile_index(column, row);
        }
    }
    return -1;
}
