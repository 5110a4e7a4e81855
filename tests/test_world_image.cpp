#include <gtest/gtest.h>

#include <cstring>

#include "data/sprite_rows.h"
#include "game/current_floor.h"
#include "game/game_state.h"
#include "gfx/font.h"
#include "world/floors.h"
#include "world/world_image.h"

// Expected pixels are worked out here from the painting rules, tile by tile,
// and compared with what the builder paints.
namespace {

uint32_t mix(uint32_t v) {
    const uint32_t w = (v ^ (v >> 13)) * 1274126177u;
    return w ^ (w >> 16);
}

int floor_byte(int X, int Y) {
    return static_cast<int>(mix(static_cast<uint32_t>(Y) * 668265263u + static_cast<uint32_t>(X) * 374761393u) & 255u);
}

int floor_colour(char code, int X, int Y) {
    const int c = X % 16, r = Y % 16;
    const int l = floor_byte(X, Y);
    const bool edge = c == 0 || r == 0;
    switch (code) {
        case '.': return edge ? 2 : l < 24 ? 2 : l > 245 ? 4 : 3;
        case ',': return (r % 4 == 3 || (X + 5 * (Y / 4)) % 16 == 0 || l < 18) ? 7 : 8;
        case 'f': return (X % 8 == 0 || (11 * (X / 8) + Y) % 32 == 0) ? 7 : l < 14 ? 10 : 8;
        case 't': return (c % 4 == 0 || r % 4 == 0) ? 4 : 5;
        case 'c': return (c % 8 == 0 || r % 8 == 0) ? 3 : l < 10 ? 5 : 4;
        case 'h': return edge ? 2 : ((X / 16 + Y / 16) % 2 == 0 ? 4 : 3);
        case 'm': return edge ? 2 : l < 20 ? 3 : 13;
        case '_': return l < 30 ? 3 : l > 240 ? 1 : 2;
        case ';': return l < 40 ? 13 : l > 252 ? 15 : 14;
        default: return -1;
    }
}

uint8_t at(int X, int Y) { return WorldImage[Y * WORLD_W + X]; }

// The expected 16x16 picture of one tile, built up rectangle by rectangle.
struct TileImage {
    int column, row;
    int px[16][16];

    TileImage(int c, int r) : column(c), row(r) {
        for (auto& line : px)
            for (int& p : line) p = -1;
    }
    int x() const { return column * 16; }
    int y() const { return row * 16; }
    void floor(char code) {
        for (int r = 0; r < 16; ++r)
            for (int c = 0; c < 16; ++c) px[r][c] = floor_colour(code, x() + c, y() + r);
    }
    void rect(int dx, int dy, int w, int h, int colour) {
        for (int r = dy; r < dy + h; ++r)
            for (int c = dx; c < dx + w; ++c)
                if (r >= 0 && r < 16 && c >= 0 && c < 16) px[r][c] = colour;
    }
    // Sprite pixels as the data says; transparent ones leave what is below.
    void sprite(int first, int dx, int dy, int size) {
        for (int r = 0; r < size; ++r) {
            for (int c = 0; c < size; ++c) {
                const char ch = SpriteRowTable[first + r][c];
                int colour = -1;
                if (ch >= '0' && ch <= '9') colour = ch - '0';
                else if (ch >= 'a' && ch <= 'f') colour = 10 + ch - 'a';
                else if (ch == 'x') colour = 1;
                if (colour >= 0) rect(dx + c, dy + r, 1, 1, colour);
            }
        }
    }
};

::testing::AssertionResult painted_as(const TileImage& e) {
    for (int r = 0; r < 16; ++r) {
        for (int c = 0; c < 16; ++c) {
            if (e.px[r][c] < 0) continue;
            const int got = at(e.x() + c, e.y() + r);
            if (got != e.px[r][c]) {
                return ::testing::AssertionFailure()
                       << "tile " << e.column << "," << e.row << " pixel " << c << "," << r << ": "
                       << got << " instead of " << e.px[r][c];
            }
        }
    }
    return ::testing::AssertionSuccess();
}

// The state of a new game: only the start floor open, no power, pool hall locked.
void fresh_state() {
    build_glyph_lookup();
    for (int& open : Game.floor_open) open = 0;
    Game.floor_open[3] = 1;
    Game.power_on = 0;
    Game.pool_hall_open = 0;
}

void all_open_state() {
    build_glyph_lookup();
    for (int& open : Game.floor_open) open = 1;
    Game.power_on = 1;
    Game.pool_hall_open = 1;
}

void show(int floor) {
    load_floor(floor);
    repaint_floor();
}

void set_tile(int column, int row, char code) {
    CurrentFloorMap[tile_index(column, row)] = static_cast<uint8_t>(code);
}

// The floor beneath furniture, worked out from the neighbours of the map.
char ground(int column, int row) {
    const int steps[4][2] = {{0, 1}, {0, -1}, {-1, 0}, {1, 0}};
    for (const auto& s : steps) {
        const int c = column + s[0], r = row + s[1];
        if (c < 0 || c >= MAP_W || r < 0 || r >= MAP_H) continue;
        const char t = static_cast<char>(CurrentFloorMap[tile_index(c, r)]);
        if (std::strchr(",.;_cfhmt", t)) return t;
    }
    return Game.current_floor == 4 ? ';' : '.';
}

TileImage wall_face(int column, int row, bool bricks) {
    TileImage e(column, row);
    for (int i = 0; i < 16; ++i) {
        for (int j = 0; j < 16; ++j) {
            int colour;
            const int X = e.x() + j, Y = e.y() + i;
            if (i == 0) colour = 1;
            else if (i <= 2) colour = 2;
            else if (i == 3) colour = 4;
            else if (i == 14) colour = 8;
            else if (i == 15) colour = 7;
            else if (bricks) colour = (i % 4 == 3 || (j + 4 * ((i / 4) % 2)) % 8 == 0) ? 7 : 10;
            else if (i == 13) colour = 4;
            else colour = floor_byte(X, Y) < 20 ? 4 : 5;
            e.px[i][j] = colour;
        }
    }
    return e;
}

}  // namespace

TEST(WorldImage, FloorTextures) {
    fresh_state();
    struct Case {
        int floor, column, row;
        char code;
    };
    const Case cases[] = {
        {3, 20, 14, '.'}, {3, 20, 1, ','}, {3, 3, 1, 'c'},  {3, 23, 20, 't'}, {1, 20, 5, 'f'},
        {1, 3, 2, 'm'},   {5, 5, 1, 'h'},  {5, 6, 1, 'h'},  {4, 15, 13, '_'}, {4, 2, 1, ';'},
    };
    for (const Case& k : cases) {
        show(k.floor);
        ASSERT_EQ(tile_at(k.column, k.row), k.code);
        TileImage e(k.column, k.row);
        e.floor(k.code);
        EXPECT_TRUE(painted_as(e)) << "floor " << k.floor;
    }
}

// The water is a texture of its four colours (3, 4, 5, 13: never a rope's 12
// or 6, so a rope shows wherever those appear): on pixel row 8 of the water
// tiles of tile rows 4 and 7, and nowhere else.
TEST(WorldImage, WaterAndItsLaneRopesOnlyOnTileRowsFourAndSeven) {
    fresh_state();
    show(0);
    int rope_rows_seen[2] = {0, 0};
    int water_colours_seen[16] = {};
    for (int row = 0; row < 28; ++row) {
        for (int column = 0; column < 56; ++column) {
            if (tile_at(column, row) != '~') continue;
            for (int r = 0; r < 16; ++r) {
                const bool rope = (row == 4 || row == 7) && r == 8;
                for (int c = 0; c < 16; ++c) {
                    const int X = column * 16 + c, Y = row * 16 + r;
                    if (rope) {
                        ASSERT_EQ(at(X, Y), X % 4 < 2 ? 12 : 6) << "tile " << column << "," << row;
                    } else {
                        const int colour = at(X, Y);
                        ASSERT_TRUE(colour == 3 || colour == 4 || colour == 5 || colour == 13)
                            << "colour " << colour << " on tile " << column << "," << row
                            << " pixel row " << r;
                        water_colours_seen[colour] += 1;
                    }
                }
            }
            if (row == 4) rope_rows_seen[0] += 1;
            if (row == 7) rope_rows_seen[1] += 1;
        }
    }
    EXPECT_GT(rope_rows_seen[0], 0);
    EXPECT_GT(rope_rows_seen[1], 0);
    for (int colour : {3, 4, 5, 13}) EXPECT_GT(water_colours_seen[colour], 0) << colour;
}

TEST(WorldImage, WallFacesAndTops) {
    fresh_state();
    show(3);
    EXPECT_TRUE(painted_as(wall_face(14, 17, false)));  // corridor wall above a room
    // The bottom row has nothing below it: always a top, with an edge towards the room above.
    TileImage top(10, 27);
    top.rect(0, 0, 16, 16, 1);
    top.rect(0, 0, 16, 1, 3);
    EXPECT_TRUE(painted_as(top));
    TileImage corner(0, 27);
    corner.rect(0, 0, 16, 16, 1);
    EXPECT_TRUE(painted_as(corner));
    set_tile(10, 27, 'w');
    repaint_floor();
    EXPECT_TRUE(painted_as(top));

    // Schoolyard: bricks down to row 13; a wall above the fence shows its face.
    show(4);
    EXPECT_TRUE(painted_as(wall_face(0, 22, true)));
    EXPECT_TRUE(painted_as(wall_face(29, 12, true)));
    // The fence gets no edge, open ground does.
    TileImage beside_fence(29, 0);
    beside_fence.rect(0, 0, 16, 16, 1);
    EXPECT_TRUE(painted_as(beside_fence));
    TileImage between(29, 1);
    between.rect(0, 0, 16, 16, 1);
    between.rect(0, 0, 1, 16, 3);
    between.rect(15, 0, 1, 16, 3);
    EXPECT_TRUE(painted_as(between));
}

TEST(WorldImage, WallAboveBarriersIsATop) {
    fresh_state();
    load_floor(0);
    set_tile(27, 11, '#');  // above the locked pool-hall door
    repaint_floor();
    TileImage e(27, 11);
    e.rect(0, 0, 16, 16, 1);
    e.rect(0, 0, 1, 16, 3);
    e.rect(15, 0, 1, 16, 3);
    e.rect(0, 0, 16, 1, 3);
    EXPECT_TRUE(painted_as(e));

    load_floor(5);
    set_tile(5, 4, '#');
    set_tile(5, 5, 'E');
    repaint_floor();
    EXPECT_EQ(at(5 * 16 + 8, 4 * 16 + 14), 1);

    // Once the pool hall is open the same wall stands above a doorway.
    Game.pool_hall_open = 1;
    load_floor(0);
    set_tile(27, 11, '#');
    repaint_floor();
    EXPECT_EQ(at(27 * 16 + 8, 11 * 16 + 14), 8);
    Game.pool_hall_open = 0;
}

TEST(WorldImage, Windows) {
    fresh_state();
    show(3);
    TileImage e = wall_face(2, 0, false);
    e.rect(2, 3, 12, 10, 4);
    e.rect(3, 4, 10, 8, 1);
    for (int k = 0; k < 6; ++k) e.rect(4 + k, 10 - k, 1, 1, 3);
    e.rect(7, 4, 2, 8, 4);
    e.rect(3, 7, 10, 1, 4);
    EXPECT_TRUE(painted_as(e));
    EXPECT_EQ(at(32 + 4, 10), 3);
    EXPECT_EQ(at(32 + 7, 7), 4);

    show(4);
    TileImage yard = wall_face(30, 0, true);
    yard.rect(2, 3, 12, 10, 4);
    yard.rect(3, 4, 10, 8, 15);
    yard.rect(7, 4, 2, 8, 4);
    yard.rect(3, 7, 10, 1, 4);
    EXPECT_TRUE(painted_as(yard));
}

TEST(WorldImage, BlackboardFramesOnlyAtTheEnds) {
    fresh_state();
    show(3);
    // Blackboard tiles 5..9 of row 0.
    EXPECT_EQ(at(5 * 16, 5), 7);
    EXPECT_EQ(at(6 * 16, 5), 13);
    EXPECT_EQ(at(8 * 16 + 15, 5), 13);
    EXPECT_EQ(at(9 * 16 + 15, 5), 7);
    EXPECT_EQ(at(7 * 16 + 3, 12), 4);  // chalk tray
}

TEST(WorldImage, Doors) {
    fresh_state();
    show(3);
    // Door in the corridor wall: lintel and both jambs.
    TileImage e(3, 12);
    e.floor('.');
    e.rect(2, 3, 12, 3, 1);
    e.rect(0, 0, 16, 3, 7);
    e.rect(0, 0, 16, 1, 1);
    e.rect(0, 0, 2, 16, 7);
    e.rect(1, 0, 1, 16, 8);
    e.rect(14, 0, 2, 16, 7);
    EXPECT_TRUE(painted_as(e));
    // Door between two rooms in a vertical wall, on the wooden floor beside it.
    TileImage side(21, 20);
    side.floor(',');
    side.rect(0, 0, 16, 2, 7);
    side.rect(0, 14, 16, 2, 7);
    EXPECT_TRUE(painted_as(side));

    // Double doors of the gym: one opening, no jamb in the middle.
    show(1);
    TileImage left(10, 12);
    left.floor('.');
    left.rect(2, 3, 12, 3, 1);
    left.rect(0, 0, 16, 3, 7);
    left.rect(0, 0, 16, 1, 1);
    left.rect(0, 0, 2, 16, 7);
    left.rect(1, 0, 1, 16, 8);
    EXPECT_TRUE(painted_as(left));
    TileImage right(11, 12);
    right.floor('.');
    right.rect(2, 3, 12, 3, 1);
    right.rect(0, 0, 16, 3, 7);
    right.rect(0, 0, 16, 1, 1);
    right.rect(14, 0, 2, 16, 7);
    EXPECT_TRUE(painted_as(right));
}

namespace {

TileImage steps(int column, int row, bool top_edge, bool bottom_edge) {
    TileImage e(column, row);
    for (int k = 0; k < 16; ++k) e.rect(k, 0, 1, 16, k % 4 == 3 ? 1 : 5 - k / 4);
    if (top_edge) e.rect(0, 0, 16, 2, 7);
    if (bottom_edge) e.rect(0, 14, 16, 2, 7);
    return e;
}

void gate(TileImage& e) {
    for (int k = 0; k < 5; ++k) e.rect(1 + 3 * k, 0, 1, 16, 4);
    e.rect(0, 3, 16, 1, 5);
    e.rect(0, 12, 16, 1, 5);
}

}  // namespace

TEST(WorldImage, StairsGateArrowAndPlainSteps) {
    fresh_state();
    show(3);
    // Floor 4 closed: a gate on all three steps, padlocked in the middle.
    TileImage top = steps(1, 19, true, false);
    gate(top);
    TileImage middle = steps(1, 20, false, false);
    gate(middle);
    middle.rect(6, 3, 4, 1, 4);
    middle.rect(5, 4, 1, 3, 4);
    middle.rect(10, 4, 1, 3, 4);
    middle.rect(4, 7, 8, 6, 15);
    middle.rect(4, 12, 8, 1, 8);
    middle.rect(7, 9, 2, 2, 1);
    TileImage bottom = steps(1, 21, false, true);
    gate(bottom);
    EXPECT_TRUE(painted_as(top));
    EXPECT_TRUE(painted_as(middle));
    EXPECT_TRUE(painted_as(bottom));

    // Floor 4 opened: an arrow pointing left on the middle step, plain steps around it.
    Game.floor_open[4] = 1;
    repaint_floor();
    TileImage up = steps(1, 20, false, false);
    for (int k = 0; k < 4; ++k) up.rect(4 + k, 7 - k, 1, 2 + 2 * k, 6);
    EXPECT_TRUE(painted_as(up));
    EXPECT_TRUE(painted_as(steps(1, 19, true, false)));
    EXPECT_TRUE(painted_as(steps(1, 21, false, true)));

    // Stairs down to floor 2 are still closed; open, the arrow points right.
    TileImage down_closed = steps(6, 19, true, false);
    gate(down_closed);
    EXPECT_TRUE(painted_as(down_closed));
    Game.floor_open[2] = 1;
    repaint_floor();
    TileImage down = steps(6, 20, false, false);
    for (int k = 0; k < 4; ++k) down.rect(11 - k, 7 - k, 1, 2 + 2 * k, 6);
    EXPECT_TRUE(painted_as(down));
}

TEST(WorldImage, FurnitureStandsOnTheFloorAroundIt) {
    for (int state = 0; state < 2; ++state) {
        if (state == 0) fresh_state();
        else all_open_state();
        int checked = 0;
        for (int f = 0; f < FLOOR_COUNT; ++f) {
            show(f);
            for (int row = 0; row < MAP_H; ++row) {
                for (int column = 0; column < MAP_W; ++column) {
                    const char t = static_cast<char>(tile_at(column, row));
                    if (t != 'T' && t != 'B') continue;
                    if (f == 3 && column == 9 && row <= 3) continue;  // under the desk lamp
                    TileImage e(column, row);
                    e.floor(ground(column, row));
                    e.sprite(t == 'T' ? 64 : 16, 0, 0, 16);
                    const uint32_t h = mix(static_cast<uint32_t>(row) * 97513827u -
                                           static_cast<uint32_t>(column) * 1671637545u);
                    if (t == 'B' && h % 4 != 3) e.sprite(292 + 8 * static_cast<int>(h % 4), 4, 0, 8);
                    if (t == 'T') {
                        const int l = static_cast<int>(h % 256);
                        const int offset = static_cast<int>(h % 8);
                        if (l < 110) e.rect(3 + offset, 5, 4, 3, 6);
                        else if (l < 160) e.rect(2 + offset, 5, 5, 3, h % 2 ? 14 : 12);
                    }
                    EXPECT_TRUE(painted_as(e)) << "floor " << f;
                    ++checked;
                }
            }
        }
        EXPECT_GT(checked, 200);
    }
}

TEST(WorldImage, FuseBoxLampAndPoolHallSign) {
    fresh_state();
    show(1);
    EXPECT_EQ(at(36 * 16 + 10, 12 * 16 + 10), 12);
    EXPECT_EQ(at(36 * 16 + 11, 12 * 16 + 10), 12);
    Game.power_on = 1;
    repaint_floor();
    EXPECT_EQ(at(36 * 16 + 10, 12 * 16 + 10), 14);

    // The "GESPERRT" plate beside the locked swimming-hall door.
    auto plate_pixels = [] {
        int n = 0;
        for (int Y = 197; Y < 208; ++Y)
            for (int X = 423; X < 423 + 51; ++X) n += at(X, Y) == 11;
        return n;
    };
    show(0);
    EXPECT_EQ(at(423, 197), 11);
    EXPECT_GT(plate_pixels(), 400);
    Game.pool_hall_open = 1;
    show(0);
    EXPECT_EQ(plate_pixels(), 0);
    Game.pool_hall_open = 0;
}

TEST(WorldImage, Overlays) {
    fresh_state();
    // Floor sign: chequered on floor 2 (index 1), the number in near-black.
    show(1);
    EXPECT_EQ(at(65, 274), 1);
    EXPECT_EQ(at(94, 284), 1);
    EXPECT_EQ(at(66, 275), 12);  // x + y odd
    EXPECT_EQ(at(67, 275), 15);
    EXPECT_EQ(at(77 + 1, 276), 1);  // top bar of the "2"
    // Gym court and its centre ring.
    EXPECT_EQ(at(40, 24), 6);
    EXPECT_EQ(at(679, 175), 6);
    EXPECT_EQ(at(359, 100 + 21), 6);
    EXPECT_EQ(at(359 + 15, 100 + 15), 6);
    EXPECT_NE(at(359 + 10, 100 + 10), 6);
    // Stair hints: the "<" of "< HOCH" and the ">" of "RUNTER >".
    EXPECT_EQ(at(19 + 3, 291), 5);
    EXPECT_EQ(at(62 + 42 + 1, 339), 5);

    show(3);
    EXPECT_EQ(at(66, 275), 12);
    EXPECT_EQ(at(67, 275), 12);
    EXPECT_EQ(at(149, 46), 14);
    EXPECT_EQ(at(150, 45), 13);
    EXPECT_EQ(at(154, 50), 4);
    EXPECT_EQ(at(151, 53), 2);

    show(4);
    EXPECT_EQ(at(176, 290), 6);
    EXPECT_EQ(at(735, 420), 6);
    EXPECT_EQ(at(455, 350), 6);
    EXPECT_EQ(at(324, 196), 15);
    EXPECT_EQ(at(327, 196), 15);  // the rim over the post
    EXPECT_EQ(at(327, 197), 2);
    EXPECT_EQ(at(322, 192), 3);

    // No way up from the top floor, no way down from the bottom one.
    show(5);
    EXPECT_NE(at(19 + 3, 291), 5);
    show(0);
    EXPECT_NE(at(62 + 42 + 1, 339), 5);
}

TEST(WorldImage, RebuildsAreIdentical) {
    static uint8_t first[WORLD_W * WORLD_H];
    for (int state = 0; state < 2; ++state) {
        if (state == 0) fresh_state();
        else all_open_state();
        for (int f = 0; f < FLOOR_COUNT; ++f) {
            show(f);
            std::memcpy(first, WorldImage, sizeof first);
            show((f + 3) % FLOOR_COUNT);
            show(f);
            EXPECT_EQ(std::memcmp(first, WorldImage, sizeof first), 0) << "floor " << f;
            for (uint8_t p : WorldImage) ASSERT_LT(p, 16);
        }
    }
    fresh_state();
}
