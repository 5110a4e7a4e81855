#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

#include "data/sprite_rows.h"
#include "game/game_state.h"
#include "gfx/draw.h"
#include "gfx/figures.h"
#include "gfx/font.h"
#include "platform/present.h"
#include "screens/hud.h"
#include "screens/play_view.h"
#include "world/visibility.h"
#include "world/world_image.h"

namespace {

constexpr int FRAME = SCREEN_W * SCREEN_H;
uint8_t Expected[FRAME];

uint32_t lcg(uint32_t& state) {
    state = state * 1103515245u + 12345u;
    return (state >> 16) & 0x7FFFu;
}

uint8_t px(int x, int y) { return Framebuffer[y * SCREEN_W + x]; }
int32_t fixed(int32_t pixel) { return pixel * 256; }

uint8_t pattern(int x, int y) { return static_cast<uint8_t>((x * 7 + y * 3) % 15 + 1); }

// The world window a view origin shows, black outside the world's rows.
void expect_world_window(uint8_t* out, int vx, int vy) {
    for (int sy = 0; sy < SCREEN_H; ++sy) {
        for (int sx = 0; sx < SCREEN_W; ++sx) {
            int wy = vy + sy;
            out[sy * SCREEN_W + sx] = wy < 0 || wy >= WORLD_H ? 0 : WorldImage[wy * WORLD_W + vx + sx];
        }
    }
}

// The frame equals the expected picture with the HUD drawn over it (the HUD
// only reads the GameState, so it is drawn the same way over both).
bool frame_is(const uint8_t* expected) {
    static uint8_t actual[FRAME];
    std::memcpy(actual, Framebuffer, FRAME);
    std::memcpy(Framebuffer, expected, FRAME);
    draw_hud();
    const bool same = std::memcmp(actual, Framebuffer, FRAME) == 0;
    std::memcpy(Framebuffer, actual, FRAME);
    return same;
}

class PlayView : public ::testing::Test {
protected:
    void SetUp() override {
        build_glyph_lookup();
        build_shade_table();
        Game = GameState{};
        Game.current_floor = 2;  // no second light, no minimum level
        Game.teacher_floor = -1;
        Game.friend_target = -1;
        Game.random_state = 12345678u;
        // A light so wide that every pixel of the world stays unshaded.
        Game.light_radius = 4000;
        std::memset(VisibleGrid, 1, sizeof VisibleGrid);
        for (int y = 0; y < WORLD_H; ++y) {
            for (int x = 0; x < WORLD_W; ++x) WorldImage[y * WORLD_W + x] = pattern(x, y);
        }
        place_player(850, 440);  // off screen for most views
    }
    void place_player(int x, int y) {
        Game.player_x = fixed(x);
        Game.player_y = fixed(y);
    }
    void place_npc(int slot, int x, int y, int32_t state) {
        NpcSlot& n = Game.npcs[slot];
        n.npc_present = 1;
        n.npc_floor = Game.current_floor;
        n.npc_x = fixed(x);
        n.npc_y = fixed(y);
        n.npc_state = state;
    }
    void fill_world(uint8_t colour) { std::memset(WorldImage, colour, sizeof WorldImage); }
    void view(int x, int y) {
        Game.camera_x = x;
        Game.camera_y = y;
    }
};

TEST_F(PlayView, WorldWindowWithBlackRowsOutsideAndClampedOrigin) {
    struct Case {
        int camera_x, camera_y, vx, vy, player_x, player_y;
    } cases[] = {
        {100, -26, 100, -26, 850, 440},   // 26 black rows on top
        {576, 278, 576, 278, 100, 100},   // 30 black rows below
        {-50, -100, 0, -26, 850, 440},    // clamped
        {700, 300, 576, 278, 100, 100},
    };
    for (const Case& c : cases) {
        view(c.camera_x, c.camera_y);
        place_player(c.player_x, c.player_y);
        const uint32_t state = Game.random_state;
        draw_play_view();
        expect_world_window(Expected, c.vx, c.vy);
        EXPECT_TRUE(frame_is(Expected)) << c.camera_x << "," << c.camera_y;
        EXPECT_EQ(Game.random_state, state);
    }
    view(100, -26);
    draw_play_view();
    EXPECT_EQ(px(5, 25), 0);
    EXPECT_EQ(px(5, 26), pattern(105, 0));
    view(576, 278);
    place_player(100, 100);
    draw_play_view();
    EXPECT_EQ(px(319, 169), pattern(895, 447));
    EXPECT_EQ(px(319, 170), 0);
}

TEST_F(PlayView, ShakeDrawsTwoNumbersAndMovesTheView) {
    Game.shake_ticks = 3;
    for (uint32_t seed : {1u, 99u, 4242u, 77777u}) {
        for (int cy : {100, -26}) {
            Game.random_state = seed;
            uint32_t state = seed;
            const int r1 = static_cast<int>(lcg(state));
            const int r2 = static_cast<int>(lcg(state));
            int vx = 200 + r1 % 5 - 2;
            int vy = cy + r2 % 5 - 2;
            if (vy < -26) vy = -26;
            view(200, cy);
            draw_play_view();
            expect_world_window(Expected, vx, vy);
            EXPECT_TRUE(frame_is(Expected)) << seed;
            EXPECT_EQ(Game.random_state, state);
        }
    }
}

TEST_F(PlayView, RandomDrawsPerFrame) {
    view(200, 100);
    auto steps_of_frame = [] {
        uint32_t state = Game.random_state;
        draw_play_view();
        const uint32_t after = Game.random_state;
        for (int n = 0; n < 200; ++n, lcg(state)) {
            if (state == after) return n;
        }
        return -1;
    };
    EXPECT_EQ(steps_of_frame(), 0);
    Game.stink_ticks = 10;  // no pursuer on this floor: no cloud
    Game.friend_state = FRIEND_BRAWL;
    Game.friend_target = NPC_PURSUER;
    EXPECT_EQ(steps_of_frame(), 0);

    place_npc(NPC_PURSUER, 360, 200, PURSUER_PATROL);
    Game.friend_state = FRIEND_ABSENT;
    Game.npcs[NPC_PURSUER].npc_floor = 3;  // present, but on another floor
    EXPECT_EQ(steps_of_frame(), 0);
    Game.npcs[NPC_PURSUER].npc_floor = 2;
    EXPECT_EQ(steps_of_frame(), 18);
    Game.stink_ticks = 0;
    Game.friend_state = FRIEND_BRAWL;
    EXPECT_EQ(steps_of_frame(), 38);
    Game.friend_target = NPC_PHONE_TEACHER;  // not here
    EXPECT_EQ(steps_of_frame(), 0);
    Game.friend_target = NPC_PURSUER;
    Game.stink_ticks = 1;
    Game.shake_ticks = 1;
    EXPECT_EQ(steps_of_frame(), 58);
}

TEST_F(PlayView, DarknessRingsAroundThePlayersLight) {
    // Light centre 8 pixels above the player's feet: world (448, 200),
    // screen (160, 100). R = 100: inner 3600, outer 6400, step 175.
    fill_world(15);
    Game.light_radius = 100;
    place_player(448, 208);
    view(288, 100);
    draw_play_view();
    // Row 100 reads dither row 0 (0 8 2 10).
    EXPECT_EQ(px(216, 100), 15);  // 56^2 = 3136
    EXPECT_EQ(px(217, 100), 8);   // 57^2 + 8*175 = 4649
    EXPECT_EQ(px(220, 100), 8);   // 3600: one step darker
    EXPECT_EQ(px(236, 100), 8);   // 5776
    EXPECT_EQ(px(240, 100), 7);   // 6400: two steps darker
    EXPECT_EQ(px(256, 100), 7);   // 9216
    EXPECT_EQ(px(260, 100), 0);   // 10000: black
    EXPECT_EQ(px(160, 44), 15);   // 56 above the centre, not the feet
    EXPECT_EQ(px(160, 40), 8);
    EXPECT_EQ(px(160, 156), 15);
    EXPECT_EQ(px(160, 160), 8);

    // A tile out of sight is black however well lit.
    VisibleGrid[tile_index(31, 12)] = 0;  // world 496..511 x 192..207
    draw_play_view();
    for (int y = 92; y < 108; ++y) {
        for (int x = 208; x < 224; ++x) EXPECT_EQ(px(x, y), 0) << x << "," << y;
    }
    EXPECT_EQ(px(204, 100), 15);
}

TEST_F(PlayView, SecondLightAndMinimumLevelPerFloor) {
    fill_world(15);
    Game.light_radius = 10;
    struct Case {
        int floor, power, light_x, light_y, centre, far;
    } cases[] = {
        {0, 0, 448, 96, 15, 0}, {1, 0, 344, 96, 0, 0}, {1, 1, 344, 96, 15, 7},
        {2, 0, 448, 200, 0, 0}, {3, 0, 154, 52, 15, 0}, {4, 0, 328, 214, 15, 7},
        {5, 0, 256, 22, 15, 0},
    };
    for (const Case& c : cases) {
        Game.current_floor = c.floor;
        Game.power_on = c.power;
        int vx = c.light_x - 160, vy = c.light_y - 100;
        vx = vx < 0 ? 0 : vx;
        vy = vy < -26 ? -26 : vy;
        view(vx, vy);
        draw_play_view();
        EXPECT_EQ(px(c.light_x - vx, c.light_y - vy), c.centre) << "floor " << c.floor;
        // A bottom corner well beyond the light's reach.
        int corner_x = c.light_x - vx < 160 ? 319 : 0;
        EXPECT_EQ(px(corner_x, 199), c.far) << "floor " << c.floor;
    }
}

TEST_F(PlayView, FiguresSortedByDepthEqualKeysKeepListOrder) {
    // All five feet points on one spot: drawn player, pursuer, phone
    // teacher, friend, quest teacher. Then keys that reverse that order.
    view(232, 150);
    Game.total_ticks = 35;  // the pursuer's pale eyes are in their off phase
    Game.friend_state = FRIEND_GUARDING;
    Game.teacher_floor = 2;
    Game.teacher_x = 24;
    Game.teacher_y = 15;  // feet at (392, 250), facing left: his centre >= player x
    for (int reversed = 0; reversed < 2; ++reversed) {
        const int d = reversed ? 1 : 0;
        place_player(392, 250 + 4 * d);
        place_npc(NPC_PURSUER, 392, 250 + 3 * d, PURSUER_ASLEEP);
        place_npc(NPC_PHONE_TEACHER, 392, 250 + 2 * d, PHONE_TEACHER_PATROL);
        place_npc(NPC_FRIEND, 392, 250 + 1 * d, 0);
        draw_play_view();

        expect_world_window(Expected, 232, 150);
        auto player = [&] { draw_player_figure(Expected, 320, 200, 160, 100 + 4 * d, 0, 0, 0, 1); };
        auto pursuer = [&] { draw_adult_figure(Expected, 320, 200, 160, 100 + 3 * d, 0, 0, 1, 1, 0); };
        auto teacher = [&] { draw_adult_figure(Expected, 320, 200, 160, 100 + 2 * d, 0, 0, 1, 1, 1); };
        auto friend_ = [&] { draw_friend_figure(Expected, 320, 200, 160, 100 + d, 0, 0, 1); };
        auto quest = [&] { draw_adult_figure(Expected, 320, 200, 160, 100, 3, 0, 6, 1, 2); };
        if (!reversed) {
            player();
            pursuer();
            teacher();
            friend_();
            quest();
        } else {
            quest();
            friend_();
            teacher();
            pursuer();
            player();
        }
        EXPECT_TRUE(frame_is(Expected)) << "reversed " << reversed;
    }
}

// The player stands in tile (24, 15) under a doorway at (24, 14); the room
// beyond it (rows 12 and 13) and the tile to his left are out of sight. Above
// his own tile he shows as he would on tiles he can see; from its top row
// down, and wherever he is not, the darkness stays.
TEST_F(PlayView, PlayerShowsAboveHisTileWhereTheDarknessCutsHimOff) {
    view(232, 150);
    place_player(388, 250);  // screen (156, 100); his tile's top row is screen row 90
    static uint8_t Seen[FRAME], Figure[FRAME];
    std::memset(Figure, 0xFF, FRAME);
    draw_player_figure(Figure, SCREEN_W, SCREEN_H, 156, 100, 0, 0, 0, 1);
    auto out_of_sight = [](int column, int row) {
        return (row == 12 || row == 13) || (row == 15 && column == 23);
    };
    // On floor 2 at the usual light his head lies in its dithered rings; when
    // the light flickers down, floor 1 (power back) shows him at its minimum
    // level and floor 4 in the rings of its own light.
    Game.power_on = 1;
    for (int floor : {2, 1, 4}) {
        Game.current_floor = floor;
        Game.light_radius = floor == 2 ? 66 : 24;
        Game.player_hidden = 0;
        std::memset(VisibleGrid, 1, sizeof VisibleGrid);
        draw_play_view();
        std::memcpy(Seen, Framebuffer, FRAME);
        for (int row = 12; row <= 15; ++row) {
            for (int column = 0; column < MAP_W; ++column) {
                if (out_of_sight(column, row)) VisibleGrid[tile_index(column, row)] = 0;
            }
        }
        draw_play_view();
        int shown = 0, cut_off = 0;
        for (int y = 0; y < SCREEN_H; ++y) {
            for (int x = 0; x < SCREEN_W; ++x) {
                const int i = y * SCREEN_W + x;
                const bool dark = out_of_sight((232 + x) >> 4, (150 + y) >> 4);
                const bool his = Figure[i] != 0xFF;
                if (!dark || (his && y < 90)) {
                    ASSERT_EQ(Framebuffer[i], Seen[i]) << x << "," << y << " floor " << floor;
                    if (dark) ++shown;
                } else {
                    ASSERT_EQ(Framebuffer[i], 0) << x << "," << y << " floor " << floor;
                    if (his) ++cut_off;
                }
            }
        }
        EXPECT_GT(shown, 150);   // head, hood and shoulders
        EXPECT_GT(cut_off, 10);  // his left leg and shoe in his own row
    }

    // Hidden in a locker he is not drawn, not even through the slits.
    Game.player_hidden = 1;
    place_player(392, 210);  // his head in the slit of rows 54..60
    std::memset(VisibleGrid, 0, sizeof VisibleGrid);
    VisibleGrid[tile_index(24, 13)] = 1;
    draw_play_view();
    for (int x = 150; x < 170; ++x) EXPECT_EQ(px(x, 56), 0) << x;
}

TEST_F(PlayView, PlayerAboveHisTileStaysBehindWhoStandsInFrontOfHim) {
    // His head reaches into a dark tile; the phone teacher stands a few pixels
    // lower (in front of him) or higher (behind him) and overlaps it.
    view(232, 150);
    place_player(388, 250);  // screen (156, 100); his tile's top row is screen row 90
    static uint8_t Seen[FRAME], Him[FRAME], Other[FRAME];
    std::memset(Him, 0xFF, FRAME);
    draw_player_figure(Him, SCREEN_W, SCREEN_H, 156, 100, 0, 0, 0, 1);
    for (int in_front : {1, 0}) {
        const int other_y = in_front ? 104 : 96;
        place_npc(NPC_PHONE_TEACHER, 386, 150 + other_y, 0);
        std::memset(Other, 0xFF, FRAME);
        draw_adult_figure(Other, SCREEN_W, SCREEN_H, 154, other_y, Game.npcs[NPC_PHONE_TEACHER].npc_facing, 0, 1,
                          1, 1);
        std::memset(VisibleGrid, 1, sizeof VisibleGrid);
        draw_play_view();
        std::memcpy(Seen, Framebuffer, FRAME);
        for (int column = 0; column < MAP_W; ++column) {
            VisibleGrid[tile_index(column, 13)] = 0;
            VisibleGrid[tile_index(column, 14)] = 0;
        }
        draw_play_view();
        int his_shown = 0, covered = 0;
        for (int y = 58; y < 90; ++y) {  // tile rows 13 and 14 on screen, above his tile
            for (int x = 0; x < SCREEN_W; ++x) {
                const int i = y * SCREEN_W + x;
                const bool his = Him[i] != 0xFF, other = Other[i] != 0xFF;
                if (his && !(in_front && other)) {
                    ASSERT_EQ(Framebuffer[i], Seen[i]) << x << "," << y << " in front " << in_front;
                    ++his_shown;
                } else {
                    // The dark tile stays dark where the one in front covers him.
                    ASSERT_EQ(Framebuffer[i], 0) << x << "," << y << " in front " << in_front;
                    if (his) ++covered;
                }
            }
        }
        EXPECT_GT(his_shown, 20) << in_front;
        if (in_front) {
            EXPECT_GT(covered, 20);
        } else {
            EXPECT_EQ(covered, 0);
        }
    }
}

TEST_F(PlayView, LockerViewLeavesFiveSlits) {
    Game.player_hidden = 1;
    place_player(392, 210);  // its figure would stand in the top slits
    view(232, 150);
    draw_play_view();
    for (int top : {54, 72, 90, 108, 126}) {
        for (int y = top; y <= top + 6; ++y) {
            for (int x = 70; x <= 249; ++x) {
                ASSERT_EQ(px(x, y), pattern(232 + x, 150 + y)) << x << "," << y;
            }
        }
        EXPECT_EQ(px(70, top - 1), 1);   // shadow above
        EXPECT_EQ(px(249, top + 7), 3);  // light edge below
        EXPECT_EQ(px(69, top), 2);
        EXPECT_EQ(px(250, top + 6), 2);
    }
    EXPECT_EQ(px(250, 53), 2);
    EXPECT_EQ(px(100, 62), 2);
    EXPECT_EQ(px(100, 144), 2);  // 94 mod 18 = 4, but past the last slit
    EXPECT_EQ(px(97, 0), 3);     // 13*0 + 7*97 is a multiple of 97
    EXPECT_EQ(px(98, 0), 2);
    for (int x : {0, 7, 40, 280, 312, 319}) EXPECT_EQ(px(x, 100), 1) << x;
    EXPECT_EQ(px(8, 100), 2);
    EXPECT_EQ(px(311, 100), 2);
    EXPECT_EQ(px(290, 96), 4);  // the handle
    EXPECT_EQ(px(295, 113), 4);
    EXPECT_EQ(px(291, 97), 5);
    EXPECT_EQ(px(294, 112), 5);
    EXPECT_EQ(px(289, 96), 2);
}

TEST_F(PlayView, FloorBannerCardNumberAndTitle) {
    Game.current_floor = 5;
    Game.floor_banner_ticks = 80;
    view(100, 100);
    draw_play_view();
    // The card at (118, 26): base colour 3, outline 1, rounded corners.
    EXPECT_EQ(px(168, 66), 3);
    EXPECT_EQ(px(118, 26), pattern(218, 126));  // outside the corner
    EXPECT_EQ(px(200, 70), pattern(300, 170));
    EXPECT_EQ(px(199, 69), 1);
    EXPECT_EQ(px(198, 68), 3);
    EXPECT_EQ(px(118, 50), 1);
    EXPECT_EQ(px(201, 50), 1);
    EXPECT_EQ(px(160, 26), 1);
    EXPECT_EQ(px(160, 71), 1);
    EXPECT_EQ(px(160, 70), 3);
    // The number 6 at (176, 35), scale 4: top row columns 2..3, fourth row 0..3.
    EXPECT_EQ(px(176, 35), 3);
    EXPECT_EQ(px(184, 35), 1);
    EXPECT_EQ(px(191, 38), 1);
    EXPECT_EQ(px(176, 47), 1);
    // Every emblem pixel at double size from (122, 31).
    for (int row = 0; row < 18; ++row) {
        for (int col = 0; col < 20; ++col) {
            if (SpriteRowTable[SPRITE_EMBLEMS + 18 * 5 + row][col] != '6') continue;
            EXPECT_EQ(px(122 + 2 * col, 31 + 2 * row), 6);
            EXPECT_EQ(px(123 + 2 * col, 32 + 2 * row), 6);
        }
    }
    // "6. ETAGE" at scale 2 from x 113, "HAUPTEINGANG" from x 124.
    EXPECT_EQ(px(117, 76), 6);
    EXPECT_EQ(px(120, 77), 6);
    EXPECT_EQ(px(124, 94), 5);
    EXPECT_EQ(px(128, 94), 5);

    Game.current_floor = 2;  // checker: 15 where column + row is even
    draw_play_view();
    EXPECT_EQ(px(168, 66), 15);
    EXPECT_EQ(px(169, 66), 12);
    Game.current_floor = 1;  // diagonal: 12 where (2 row + column) mod 4 is 0
    draw_play_view();
    EXPECT_EQ(px(166, 66), 12);
    EXPECT_EQ(px(167, 66), 15);
}

TEST_F(PlayView, FloorItemsBobSparkleAndGlint) {
    view(100, 100);
    auto item = [](int i, int floor, int x, int y, int type, int taken) {
        Game.items[i] = {floor, x, y, type, taken};
    };
    item(0, 2, 12, 10, ITEM_FLASHLIGHT, 0);
    item(1, 2, 14, 10, ITEM_STICKER, 0);
    item(2, 2, 16, 10, ITEM_SHEET_MUSIC, 1);
    item(3, 3, 18, 10, ITEM_FUSE, 0);
    item(4, 2, 20, 10, ITEM_FUSE, 0);
    item(5, 2, 22, 10, ITEM_STAIR_KEY, 0);
    Game.item_count = 6;
    VisibleGrid[tile_index(20, 10)] = 0;

    auto icon = [](int first_row, int x, int y) {
        blit_pattern(Expected, 320, 200, x, y, first_row, 8, 8, 0, 1, 1);
    };
    // Tick 2: the flashlight (slot 0) is up a pixel and sparkles, the sticker
    // never bobs, the key (slot 5) is down and sparkles ((2 + 25) mod 24 = 3).
    Game.total_ticks = 2;
    draw_play_view();
    expect_world_window(Expected, 100, 100);
    icon(SPRITE_FLASHLIGHT, 96, 64);
    Expected[65 * 320 + 98] = 6;
    icon(SPRITE_STICKER, 128, 65);
    icon(SPRITE_KEY, 256, 65);
    Expected[66 * 320 + 258] = 6;
    for (int y = 60; y < 76; ++y) std::memset(Expected + y * 320 + 220, 0, 16);
    EXPECT_TRUE(frame_is(Expected));

    // Tick 10: the key is up, the flashlight down, no sparkles.
    Game.total_ticks = 10;
    draw_play_view();
    expect_world_window(Expected, 100, 100);
    icon(SPRITE_FLASHLIGHT, 96, 65);
    icon(SPRITE_STICKER, 128, 65);
    icon(SPRITE_KEY, 256, 64);
    for (int y = 60; y < 76; ++y) std::memset(Expected + y * 320 + 220, 0, 16);
    EXPECT_TRUE(frame_is(Expected));

    // In the dark only a glint shows, never for the sticker.
    Game.light_radius = 10;
    for (int t : {0, 2, 3, 13, 15, 16}) {
        Game.total_ticks = t;
        draw_play_view();
        std::memset(Expected, 0, FRAME);
        if (t % 24 < 3) Expected[67 * 320 + 99] = 15;
        if ((t + 35) % 24 < 3) Expected[67 * 320 + 259] = 15;
        EXPECT_TRUE(frame_is(Expected)) << "tick " << t;
    }

    // On a floor lit throughout, items show wherever the player stands.
    Game.current_floor = 4;
    for (int i : {0, 1, 4, 5}) Game.items[i].floor = 4;
    Game.total_ticks = 10;
    Game.item_count = 0;
    draw_play_view();
    std::memcpy(Expected, Framebuffer, FRAME);
    Game.item_count = 6;
    draw_play_view();
    icon(SPRITE_FLASHLIGHT, 96, 65);
    icon(SPRITE_STICKER, 128, 65);
    icon(SPRITE_KEY, 256, 64);
    EXPECT_TRUE(frame_is(Expected));
}

TEST_F(PlayView, PursuerEyesGlintAndAlertInTheDark) {
    fill_world(15);
    Game.light_radius = 10;
    place_player(400, 200);
    view(300, 100);
    place_npc(NPC_PURSUER, 550, 200, PURSUER_CHASE);  // 150 pixels away, screen (250, 100)
    draw_play_view();
    EXPECT_EQ(px(249, 74), 4);
    EXPECT_EQ(px(250, 74), 4);
    EXPECT_EQ(px(249, 75), 3);
    for (int x : {247, 248, 251, 252}) EXPECT_EQ(px(x, 78), 12) << x;
    EXPECT_EQ(px(249, 78), 0);

    Game.total_ticks = 32;  // the pale points blink off; red eyes stay
    Game.npcs[NPC_PURSUER].npc_facing = 2;
    draw_play_view();
    EXPECT_EQ(px(249, 74), 0);
    EXPECT_EQ(px(252, 78), 12);
    EXPECT_EQ(px(247, 78), 0);

    Game.total_ticks = 0;
    Game.npcs[NPC_PURSUER].npc_stun_ticks = 5;
    Game.npcs[NPC_PURSUER].npc_x = fixed(500);  // 100 away: brighter points
    Game.alert_ticks = 10;
    draw_play_view();
    EXPECT_EQ(px(199, 74), 5);
    EXPECT_EQ(px(202, 78), 0);  // stunned: no red eyes
    EXPECT_EQ(px(200, 54), 12);  // "!" at scale 2 from (196, 54)
    EXPECT_EQ(px(201, 62), 12);
    EXPECT_EQ(px(202, 56), 1);

    Game.alert_ticks = 0;
    Game.npcs[NPC_PURSUER].npc_x = fixed(620);  // 220 away: nothing
    Game.npcs[NPC_PURSUER].npc_stun_ticks = 0;
    draw_play_view();
    for (int y = 70; y < 80; ++y) {
        for (int x = 310; x < 320; ++x) EXPECT_EQ(px(x, y), 0) << x << "," << y;
    }

    // The phone teacher's glasses glint in the dark while he comes for the phone.
    place_npc(NPC_PHONE_TEACHER, 450, 180, PHONE_TEACHER_FOR_PHONE);  // screen (150, 80)
    draw_play_view();
    EXPECT_EQ(px(147, 58), 6);
    EXPECT_EQ(px(152, 58), 6);
    EXPECT_EQ(px(146, 57), 5);
    EXPECT_EQ(px(153, 57), 5);
    Game.total_ticks = 15;
    draw_play_view();
    EXPECT_EQ(px(147, 58), 0);
}

}  // namespace
