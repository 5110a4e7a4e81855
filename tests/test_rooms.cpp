#include <gtest/gtest.h>

#include <cstring>

#include "game/game_state.h"
#include "gfx/font.h"
#include "gfx/framebuffer.h"
#include "world/rooms.h"
#include "world/world_image.h"

TEST(RoomAt, Boundaries) {
    EXPECT_EQ(room_at(0, 27, 12), -1);  // pool-hall door in the wall row
    EXPECT_EQ(room_at(3, 13, 10), 25);  // the start room
    EXPECT_STREQ(RoomTable.name[25], "CHEMIERAUM");
    EXPECT_EQ(room_at(4, 5, 17), -1);   // sports ground starts at column 8
    EXPECT_EQ(room_at(4, 8, 17), 39);
    EXPECT_EQ(room_at(4, 5, 12), 35);   // the yard reaches down to row 12
    // Inclusive corners.
    EXPECT_EQ(room_at(3, 1, 1), 25);
    EXPECT_EQ(room_at(3, 16, 11), 25);
    EXPECT_EQ(room_at(3, 17, 5), -1);
    EXPECT_EQ(room_at(3, 18, 1), 26);
    EXPECT_EQ(room_at(5, 54, 26), 48);
    EXPECT_EQ(room_at(5, 55, 26), -1);
    // Outside the building.
    EXPECT_EQ(room_at(-1, 10, 14), -1);
    EXPECT_EQ(room_at(6, 10, 14), -1);
    EXPECT_EQ(room_at(3, -1, 14), -1);
}

TEST(RoomTable, RoomsOfAFloorDoNotOverlap) {
    for (int a = 0; a < ROOM_COUNT; ++a) {
        EXPECT_GE(RoomTable.floor[a], 0);
        EXPECT_LT(RoomTable.floor[a], FLOOR_COUNT);
        EXPECT_LE(RoomTable.x0[a], RoomTable.x1[a]) << a;
        EXPECT_LE(RoomTable.y0[a], RoomTable.y1[a]) << a;
        EXPECT_GE(RoomTable.x0[a], 1) << a;
        EXPECT_LE(RoomTable.x1[a], 54) << a;
        for (int b = a + 1; b < ROOM_COUNT; ++b) {
            if (RoomTable.floor[a] != RoomTable.floor[b]) continue;
            const bool apart = RoomTable.x1[a] < RoomTable.x0[b] || RoomTable.x1[b] < RoomTable.x0[a] ||
                               RoomTable.y1[a] < RoomTable.y0[b] || RoomTable.y1[b] < RoomTable.y0[a];
            EXPECT_TRUE(apart) << a << " and " << b;
        }
    }
}

// The floor banner shows the name in one line under the floor's number.
TEST(FloorNames, EveryFloorHasOneThatFitsTheBanner) {
    build_glyph_lookup();
    for (int f = 0; f < FLOOR_COUNT; ++f) {
        ASSERT_NE(FloorNames[f], nullptr) << f;
        EXPECT_GT(text_width(FloorNames[f], 1), 0) << f;
        EXPECT_LE(text_width(FloorNames[f], 1), SCREEN_W) << f;
        for (int g = 0; g < f; ++g) EXPECT_STRNE(FloorNames[f], FloorNames[g]) << f << " " << g;
    }
}

TEST(LabelTable, PlatesAndPlacement) {
    int per_floor[FLOOR_COUNT] = {};
    for (int i = 0; i < LABEL_COUNT; ++i) {
        const Label& l = LabelTable[i];
        ASSERT_GE(l.floor, 0);
        ASSERT_LT(l.floor, FLOOR_COUNT);
        ++per_floor[l.floor];
        EXPECT_GE(l.x - 2, 0) << i;
        EXPECT_LE(l.x + 6 * static_cast<int>(std::strlen(l.text)), WORLD_W) << i;
        EXPECT_GE(l.y - 2, 0) << i;
        EXPECT_LE(l.y + 9, WORLD_H) << i;
    }
    EXPECT_EQ(per_floor[3], 13);
    EXPECT_EQ(LabelTable[0].plate_colour, 11);
    EXPECT_STREQ(LabelTable[0].text, "GESPERRT");
    // Writing on the blackboards and the hall's name have no plate.
    EXPECT_EQ(LabelTable[5].plate_colour, -1);
    for (int i = 29; i <= 32; ++i) EXPECT_EQ(LabelTable[i].plate_colour, -1) << i;
    EXPECT_STREQ(LabelTable[43].text, "STROM");
    EXPECT_EQ(LabelTable[43].floor, 1);
}
