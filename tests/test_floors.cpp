#include <gtest/gtest.h>

#include <cstring>

#include "game/current_floor.h"
#include "game/game_state.h"
#include "world/floors.h"

namespace {

// Every tile code the school uses, and how each behaves.
struct CodeClass {
    char code;
    bool floor, wall, blocks, route;
};
constexpr CodeClass Legend[] = {
    {',', 1, 0, 0, 1}, {'.', 1, 0, 0, 1}, {';', 1, 0, 0, 1}, {'_', 1, 0, 0, 1},
    {'c', 1, 0, 0, 1}, {'f', 1, 0, 0, 1}, {'h', 1, 0, 0, 1}, {'m', 1, 0, 0, 1},
    {'t', 1, 0, 0, 1}, {'#', 0, 1, 1, 0}, {'b', 0, 1, 1, 0}, {'j', 0, 1, 1, 0},
    {'n', 0, 1, 1, 0}, {'p', 0, 1, 1, 0}, {'q', 0, 1, 1, 0}, {'u', 0, 1, 1, 0},
    {'w', 0, 1, 1, 0}, {'y', 0, 1, 1, 0}, {'z', 0, 1, 1, 0}, {'F', 0, 0, 1, 0},
    {'D', 0, 0, 0, 1}, {'^', 0, 0, 0, 1}, {'v', 0, 0, 0, 1}, {'~', 0, 0, 0, 0},
    {'E', 0, 0, 0, 0}, {'X', 0, 0, 0, 0}, {'e', 0, 0, 0, 0}, {'g', 0, 0, 0, 0},
    {'B', 0, 0, 0, 0}, {'G', 0, 0, 0, 0}, {'I', 0, 0, 0, 0}, {'J', 0, 0, 0, 0},
    {'L', 0, 0, 0, 0}, {'M', 0, 0, 0, 0}, {'N', 0, 0, 0, 0}, {'O', 0, 0, 0, 0},
    {'Q', 0, 0, 0, 0}, {'R', 0, 0, 0, 0}, {'S', 0, 0, 0, 0}, {'T', 0, 0, 0, 0},
    {'U', 0, 0, 0, 0}, {'V', 0, 0, 0, 0}, {'W', 0, 0, 0, 0}, {'Y', 0, 0, 0, 0},
    {'Z', 0, 0, 0, 0}, {'k', 0, 0, 0, 0}, {'o', 0, 0, 0, 0}, {'P', 0, 0, 0, 0},
    {'H', 0, 0, 0, 0}, {'K', 0, 0, 0, 0},
};

bool in_legend(char c) {
    for (const CodeClass& k : Legend) {
        if (k.code == c) return true;
    }
    return false;
}

void reset_world_flags() {
    Game.pool_hall_open = 0;
    for (int& open : Game.floor_open) open = 0;
    Game.floor_open[3] = 1;
}

}  // namespace

TEST(FloorMaps, EveryRowIs56LegendCharacters) {
    for (int f = 0; f < FLOOR_COUNT; ++f) {
        for (int r = 0; r < MAP_H; ++r) {
            ASSERT_NE(FloorMaps[f][r], nullptr);
            ASSERT_EQ(std::strlen(FloorMaps[f][r]), 56u) << "floor " << f << " row " << r;
            for (int c = 0; c < MAP_W; ++c) {
                EXPECT_TRUE(in_legend(FloorMaps[f][r][c]))
                    << "floor " << f << " row " << r << " column " << c;
            }
        }
    }
}

TEST(FloorMaps, SharedSkeleton) {
    for (int f = 0; f < FLOOR_COUNT; ++f) {
        EXPECT_EQ(FloorMaps[f][17][4], 'z') << f;
        EXPECT_EQ(FloorMaps[f][17][5], 'z') << f;
        for (int r = 19; r <= 21; ++r) {
            EXPECT_EQ(FloorMaps[f][r][1], f == 5 ? 'g' : '^') << f;
            EXPECT_EQ(FloorMaps[f][r][6], f == 0 ? '.' : 'v') << f;
        }
    }
    // Repeated rows are shared, not copied.
    EXPECT_EQ(FloorMaps[0][2], FloorMaps[0][9]);
    EXPECT_EQ(FloorMaps[0][27], FloorMaps[5][27]);
}

TEST(TileSets, EveryLegendCode) {
    for (const CodeClass& k : Legend) {
        EXPECT_EQ(is_floor_tile(k.code), k.floor) << k.code;
        EXPECT_EQ(is_wall_tile(k.code), k.wall) << k.code;
        EXPECT_EQ(blocks_sight(k.code), k.blocks) << k.code;
        EXPECT_EQ(is_route_passable(k.code), k.route) << k.code;
        EXPECT_EQ(is_stairs_tile(k.code), std::strchr("^v", k.code) != nullptr) << k.code;
        EXPECT_EQ(is_barrier_tile(k.code), std::strchr("EXge", k.code) != nullptr) << k.code;
    }
    EXPECT_FALSE(is_floor_tile(' '));
    EXPECT_FALSE(is_wall_tile(0));
}

TEST(LoadFloor, MarkersBecomeTheirNeighboursFloor) {
    reset_world_flags();
    struct Case {
        int floor, column, row;
        char expected;
    };
    const Case cases[] = {
        {3, 13, 10, 'c'},  // P: floor below
        {3, 8, 2, 'c'},    // H: table below, stone tiles above
        {3, 44, 23, '.'},  // K: bookshelf below, corridor floor above
        {4, 53, 11, 'c'},  // K: window below, table above, taken from the left
        {4, 51, 22, ';'},
        {0, 17, 24, 't'},
        {2, 13, 10, ','},
    };
    for (const Case& k : cases) {
        load_floor(k.floor);
        EXPECT_EQ(tile_at(k.column, k.row), k.expected)
            << "floor " << k.floor << " at " << k.column << "," << k.row;
    }
    for (int f = 0; f < FLOOR_COUNT; ++f) {
        load_floor(f);
        for (int i = 0; i < MAP_TILES; ++i) {
            const char t = static_cast<char>(CurrentFloorMap[i]);
            EXPECT_TRUE(t != 'P' && t != 'H' && t != 'K') << "floor " << f << " tile " << i;
            const char original = FloorMaps[f][i / MAP_W][i % MAP_W];
            if (original != 'P' && original != 'H' && original != 'K') {
                EXPECT_EQ(t, original);
            } else if (f == 4) {
                EXPECT_NE(t, '.');  // outdoors a marker never turns into corridor floor
            }
        }
    }
}

TEST(LoadFloor, SetsFloorAndResetsRoutes) {
    reset_world_flags();
    for (int slot = 0; slot < NPC_SLOT_COUNT; ++slot) Game.npcs[slot].npc_flow_source = 77;
    load_floor(2);
    EXPECT_EQ(Game.current_floor, 2);
    EXPECT_EQ(Game.npcs[NPC_PURSUER].npc_flow_source, -1);
    EXPECT_EQ(Game.npcs[NPC_PHONE_TEACHER].npc_flow_source, -1);
    EXPECT_EQ(Game.npcs[NPC_FRIEND].npc_flow_source, -1);
    EXPECT_EQ(Game.npcs[3].npc_flow_source, 77);
    // An index outside the building changes nothing.
    load_floor(6);
    load_floor(-1);
    EXPECT_EQ(Game.current_floor, 2);
}

TEST(LoadFloor, PoolHallDoor) {
    reset_world_flags();
    load_floor(0);
    EXPECT_EQ(tile_at(27, 12), 'X');
    EXPECT_EQ(tile_at(28, 12), 'X');
    Game.pool_hall_open = 1;
    load_floor(0);
    EXPECT_EQ(tile_at(27, 12), 'D');
    EXPECT_EQ(tile_at(28, 12), 'D');
    EXPECT_EQ(tile_at(26, 12), '#');
    reset_world_flags();
}

TEST(TileAt, OutsideTheGridIsWall) {
    reset_world_flags();
    load_floor(4);
    EXPECT_EQ(tile_at(-1, 5), '#');
    EXPECT_EQ(tile_at(56, 0), '#');
    EXPECT_EQ(tile_at(3, 28), '#');
    EXPECT_EQ(tile_at(0, -1), '#');
    EXPECT_EQ(tile_at(0, 0), 'F');
    EXPECT_EQ(tile_at(55, 27), 'F');
}

TEST(FloorUnder, OrderAndFallback) {
    reset_world_flags();
    load_floor(3);
    EXPECT_EQ(floor_under(Game.current_floor, 21, 20), ',');  // door between walls: from the left
    EXPECT_EQ(floor_under(Game.current_floor, 3, 12), '.');   // door: corridor below
    EXPECT_EQ(floor_under(Game.current_floor, 1, 11), 'c');   // shelf: stone above
    // Nothing but walls around: the floor's default ground.
    EXPECT_EQ(floor_under(Game.current_floor, 0, 0), '.');
    load_floor(4);
    EXPECT_EQ(floor_under(Game.current_floor, 0, 0), ';');
    EXPECT_EQ(floor_under(Game.current_floor, 55, 27), ';');
}

TEST(StartMarkers, PlayerAndPursuer) {
    find_start_markers();
    EXPECT_EQ(Game.player_start_x, 13);
    EXPECT_EQ(Game.player_start_y, 10);
    EXPECT_EQ(Game.pursuer_start_x, 8);
    EXPECT_EQ(Game.pursuer_start_y, 2);
}

TEST(PlayerTile, FromFixedPosition) {
    Game.player_x = 13 * 4096 + 2048;
    Game.player_y = 10 * 4096 + 4095;
    EXPECT_EQ(player_tile(), 10 * 56 + 13);
    Game.player_x = 0;
    Game.player_y = 0;
    EXPECT_EQ(player_tile(), 0);
}

// The stairs lead only to floors of the building and only when their floor
// is open: at the top and the bottom the open floor beside is the one the
// other stairs lead to, never this one's.
TEST(Stairs, LeadToTheOpenFloorBesideWithinTheBuilding) {
    static_assert(floor_next(0, -1) == -1 && floor_next(FLOOR_COUNT - 1, 1) == -1, "edges");
    static_assert(floor_beside(0, -1) == 1 && floor_beside(FLOOR_COUNT - 1, 1) == FLOOR_COUNT - 2,
                  "the other way at the edges");
    for (int& open : Game.floor_open) open = 1;
    struct Case { int32_t floor; bool up, down; };
    const Case cases[] = {{0, true, false}, {3, true, true}, {FLOOR_COUNT - 1, false, true}};
    for (const Case& c : cases) {
        Game.current_floor = c.floor;
        EXPECT_EQ(stairs_open('^'), c.up) << c.floor;
        EXPECT_EQ(stairs_open('v'), c.down) << c.floor;
    }
    reset_world_flags();
    Game.current_floor = 3;
    EXPECT_FALSE(stairs_open('^'));  // floor 4 still closed
    Game.floor_open[4] = 1;
    EXPECT_TRUE(stairs_open('^'));
    EXPECT_FALSE(stairs_open('v'));
    Game.current_floor = FLOOR_COUNT;  // no floor of the building: no stairs
    EXPECT_FALSE(stairs_open('v'));
    reset_world_flags();
}
