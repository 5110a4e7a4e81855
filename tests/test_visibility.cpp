#include <gtest/gtest.h>

#include "game/current_floor.h"
#include "game/game_state.h"
#include "world/floors.h"
#include "world/visibility.h"

namespace {

void stand_at(int column, int row) {
    Game.player_x = column * 4096 + 2048;
    Game.player_y = row * 4096 + 2560;
}

// An empty hall: corridor floor everywhere.
void open_floor() {
    Game.current_floor = 3;
    for (uint8_t& t : CurrentFloorMap) t = '.';
}

bool visible(int column, int row) { return VisibleGrid[tile_index(column, row)] != 0; }

}  // namespace

TEST(LineOfSight, EveryTileCodeInBetween) {
    // Codes that stop sight when they stand between the two ends.
    const char* blockers = "#bjnpuwyzEX";
    const char* others = "q F D ^ v ~ e g B G I J L M N O Q R S T U V W Y Z k o , . ; _ c f h m t";
    open_floor();
    for (const char* p = blockers; *p; ++p) {
        CurrentFloorMap[tile_index(12, 10)] = static_cast<uint8_t>(*p);
        EXPECT_EQ(line_of_sight(10, 10, 14, 10), 0) << *p;
        EXPECT_EQ(line_of_sight(12, 8, 12, 12), 0) << *p;
        EXPECT_EQ(line_of_sight(10, 8, 14, 12), 0) << *p;  // diagonal
        // The far end itself never blocks.
        EXPECT_EQ(line_of_sight(10, 10, 12, 10), 1) << *p;
    }
    for (const char* p = others; *p; ++p) {
        if (*p == ' ') continue;
        CurrentFloorMap[tile_index(12, 10)] = static_cast<uint8_t>(*p);
        EXPECT_EQ(line_of_sight(10, 10, 14, 10), 1) << *p;
        EXPECT_EQ(line_of_sight(10, 8, 14, 12), 1) << *p;
    }
}

TEST(LineOfSight, EndsAndGridEdge) {
    open_floor();
    EXPECT_EQ(line_of_sight(5, 5, 5, 5), 1);
    // The starting tile is never tested.
    CurrentFloorMap[tile_index(5, 5)] = '#';
    EXPECT_EQ(line_of_sight(5, 5, 9, 5), 1);
    // Outside the grid counts as wall, except as the target.
    EXPECT_EQ(line_of_sight(0, 3, -1, 3), 1);
    EXPECT_EQ(line_of_sight(0, 3, -2, 3), 0);
    EXPECT_EQ(line_of_sight(3, 27, 3, 29), 0);
}

TEST(LineOfSight, BresenhamSteps) {
    // A wall just off the straight line matters only where the walk passes.
    // From (0,0) to (4,2) the walk visits (1,1), (2,1), (3,2); backwards
    // it visits (3,1), (2,1), (1,0).
    open_floor();
    CurrentFloorMap[tile_index(2, 1)] = '#';
    EXPECT_EQ(line_of_sight(0, 0, 4, 2), 0);
    EXPECT_EQ(line_of_sight(4, 2, 0, 0), 0);
    open_floor();
    CurrentFloorMap[tile_index(1, 1)] = '#';
    EXPECT_EQ(line_of_sight(0, 0, 4, 2), 0);
    EXPECT_EQ(line_of_sight(4, 2, 0, 0), 1);
    open_floor();
    CurrentFloorMap[tile_index(3, 1)] = '#';
    EXPECT_EQ(line_of_sight(0, 0, 4, 2), 1);
    EXPECT_EQ(line_of_sight(4, 2, 0, 0), 0);
    open_floor();
    CurrentFloorMap[tile_index(2, 0)] = '#';
    EXPECT_EQ(line_of_sight(0, 0, 4, 2), 1);
}

TEST(Visibility, RadiusLimit) {
    open_floor();
    stand_at(27, 14);
    update_visibility(Game.player_x >> 12, Game.player_y >> 12);
    EXPECT_TRUE(visible(27, 14));
    EXPECT_TRUE(visible(27 + 12, 14 + 2));   // 148
    EXPECT_FALSE(visible(27 + 12, 14 + 3));  // 153
    EXPECT_TRUE(visible(27 - 8, 14 - 9));    // 145
    EXPECT_FALSE(visible(27 - 10, 14 + 7));  // 149
    EXPECT_TRUE(visible(27, 14 - 12));
    EXPECT_TRUE(visible(27 + 12, 14));
    EXPECT_FALSE(visible(27 + 13, 14));
    int count = 0;
    for (uint8_t v : VisibleGrid) count += v;
    int inside = 0;
    for (int dy = -12; dy <= 12; ++dy)
        for (int dx = -12; dx <= 12; ++dx)
            if (dx * dx + dy * dy <= 148 && 14 + dy >= 0 && 14 + dy < MAP_H) ++inside;
    EXPECT_EQ(count, inside);

    // Near the edge of the grid nothing outside is marked.
    stand_at(0, 0);
    update_visibility(Game.player_x >> 12, Game.player_y >> 12);
    EXPECT_TRUE(visible(12, 2));
    EXPECT_FALSE(visible(12, 3));
}

TEST(Visibility, WallNextToThePlayer) {
    open_floor();
    for (int r = 0; r < MAP_H; ++r) CurrentFloorMap[tile_index(30, r)] = '#';
    stand_at(29, 14);
    update_visibility(Game.player_x >> 12, Game.player_y >> 12);
    EXPECT_TRUE(visible(30, 14));
    EXPECT_TRUE(visible(30, 13));
    EXPECT_TRUE(visible(30, 15));
    EXPECT_FALSE(visible(30, 20));  // seen only past the wall tiles nearer by
    EXPECT_FALSE(visible(31, 14));
    EXPECT_FALSE(visible(35, 16));
    EXPECT_TRUE(visible(20, 14));

    // Standing on a wall tile the player still sees their own tile.
    stand_at(30, 14);
    update_visibility(Game.player_x >> 12, Game.player_y >> 12);
    EXPECT_TRUE(visible(30, 14));
}

TEST(Visibility, SchoolFloors) {
    Game.pool_hall_open = 0;
    // From the chemistry room the wall to biology is seen, the room behind it not.
    load_floor(3);
    stand_at(13, 10);
    update_visibility(Game.player_x >> 12, Game.player_y >> 12);
    EXPECT_TRUE(visible(17, 10));
    EXPECT_FALSE(visible(18, 10));
    EXPECT_TRUE(visible(13, 12 - 11));

    // The pool is seen through the glass wall; the locked door blocks sight.
    load_floor(0);
    stand_at(10, 14);
    update_visibility(Game.player_x >> 12, Game.player_y >> 12);
    EXPECT_TRUE(visible(10, 5));
    EXPECT_EQ(line_of_sight(27, 15, 27, 10), 0);
    EXPECT_EQ(line_of_sight(28, 15, 28, 10), 0);
    Game.pool_hall_open = 1;
    load_floor(0);
    EXPECT_EQ(line_of_sight(27, 15, 27, 10), 1);
    Game.pool_hall_open = 0;

    // The schoolyard fence lets sight through along the perimeter.
    load_floor(4);
    EXPECT_EQ(line_of_sight(0, 13, 0, 4), 1);
    // The main entrance door does not.
    load_floor(5);
    EXPECT_EQ(line_of_sight(14, 0, 17, 0), 0);
}
