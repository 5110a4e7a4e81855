// The random generator, isqrt, the FlowField, item placement, the new game
// and the checkpoint.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>

#include "data/int_math.h"
#include "game/current_floor.h"
#include "generator_model.h"
#include "game/game_flow.h"
#include "game/game_state.h"
#include "game/items.h"
#include "game/movement.h"
#include "game/flow_field.h"
#include "game/new_game.h"
#include "game/quest.h"
#include "world/floors.h"

namespace {

// The state before s: the multiplier is odd, so it has an inverse mod 2^32.
uint32_t model_unstep(uint32_t s) {
    uint32_t inverse = 1103515245u;
    for (int i = 0; i < 5; ++i) inverse *= 2u - 1103515245u * inverse;
    return static_cast<uint32_t>((uint64_t(s - 12345u) * inverse) & 0xFFFFFFFFu);
}

// A state whose next two draws make place_random_spot try tile (x, y) first.
uint32_t state_trying_first(int32_t x, int32_t y) {
    for (uint32_t s = 1; s < 50000000u; ++s) {
        const uint32_t s1 = model_step(s);
        if (model_value(s1) % 54 + 1 == x && model_value(model_step(s1)) % 26 + 1 == y) return s;
    }
    ADD_FAILURE() << "no state tries (" << x << ", " << y << ") first";
    return 1;
}

constexpr int32_t LANDING = 3 + 19 * 56;
bool is_floor_code(int c) { return c && std::string(",.;_cfhmt").find(static_cast<char>(c)) != std::string::npos; }
int32_t chebyshev(int32_t ax, int32_t ay, int32_t bx, int32_t by) {
    const int32_t dx = ax > bx ? ax - bx : bx - ax, dy = ay > by ? ay - by : by - ay;
    return dx > dy ? dx : dy;
}
void ready_floor(int32_t f) {
    load_floor(f);
    compute_flow_field(0, LANDING);
}

}  // namespace

TEST(RandomGenerator, SeedOneGivesTheKnownSequence) {
    Game.random_state = 1;
    EXPECT_EQ(random_step(), 16838);
    EXPECT_EQ(Game.random_state, 1103527590u);
    EXPECT_EQ(random_step(), 5758);  // state 2524885223 has bit 31 set; the value keeps bits 16..30
    EXPECT_EQ(Game.random_state, 2524885223u);
    EXPECT_EQ(random_step(), 10113);
    EXPECT_EQ(random_step(), 17515);
    EXPECT_EQ(random_step(), 31051);
    EXPECT_EQ(random_step(), 5627);

    Game.random_state = 1;
    EXPECT_EQ(random_below(100), 38);
    EXPECT_EQ(random_below(9), 7);
    EXPECT_EQ(random_below(1), 0);
    EXPECT_EQ(Game.random_state, model_steps(1, 3));
}

TEST(Isqrt, FloorOfTheRoot) {
    const int32_t cases[][2] = {{0, 0},       {-1, 0},      {INT32_MIN, 0}, {1, 1},          {3, 1},
                                {4, 2},       {15, 3},      {16, 4},        {17, 4},         {99, 9},
                                {100, 10},    {65535, 255}, {65536, 256},   {2147395599, 46339},
                                {2147395600, 46340},        {INT32_MAX, 46340}};
    for (const auto& c : cases) EXPECT_EQ(isqrt(c[0]), c[1]) << c[0];
    for (int64_t v = 0; v < 300000; v += 7) {
        const int64_t r = isqrt(static_cast<int32_t>(v));
        ASSERT_TRUE(r * r <= v && (r + 1) * (r + 1) > v) << v;
    }
}

TEST(ProgramInit, SeedZeroBecomesOne) {
    program_init(0);
    // The new game's first draws from state 1: 16838, 5758, 10113.
    EXPECT_EQ(Game.code_digits[0], 16838 % 9 + 1);
    EXPECT_EQ(Game.code_digits[1], 5758 % 9 + 1);
    EXPECT_EQ(Game.code_digits[2], 10113 % 9 + 1);
    const uint32_t state_from_zero = Game.random_state;
    program_init(1);
    EXPECT_EQ(Game.random_state, state_from_zero);
    EXPECT_EQ(Game.mode, MODE_TITLE);
    EXPECT_EQ(Game.mode_ticks, 0);
}

// ---------------------------------------------------------------------------
// FlowField

TEST(FlowField, StepCountsOverTheStairwellAndThroughDoors) {
    ready_floor(3);
    const int16_t* field = Game.flow_fields[0];
    EXPECT_EQ(Game.npcs[0].npc_flow_source, LANDING);
    const int32_t cases[][3] = {
        {3, 19, 0}, {2, 19, 1}, {4, 19, 1}, {3, 18, 1}, {3, 20, 1},
        {1, 19, 2},    // closed stairs still count for the route search
        {6, 21, 5},    // stairs down
        {3, 12, 7},    // the chemistry room's door
        {3, 11, 8},    // behind it
        {21, 20, 27},  // row 15 to column 12, the door in row 17, along row 18, round the shelf
        {0, 19, -1}, {7, 19, -1}, {5, 13, -1},  // walls and a locker
    };
    for (const auto& c : cases) EXPECT_EQ(field[tile_index(c[0], c[1])], c[2]) << c[0] << ", " << c[1];
    compute_flow_field(2, tile_index(13, 14));  // other slots have their own field
    EXPECT_EQ(Game.flow_fields[0][LANDING], 0);
    EXPECT_EQ(Game.npcs[2].npc_flow_source, tile_index(13, 14));
}

TEST(FlowField, PassableSetIsExactlyTheTwelveCodes) {
    const std::string passable = ".,cthfm_;D^v";
    for (int code = 1; code < 256; ++code) {
        std::memset(CurrentFloorMap, '#', MAP_TILES);
        CurrentFloorMap[tile_index(1, 1)] = '.';
        CurrentFloorMap[tile_index(2, 1)] = static_cast<uint8_t>(code);
        CurrentFloorMap[tile_index(3, 1)] = '.';
        compute_flow_field(1, tile_index(1, 1));
        const bool expected = passable.find(static_cast<char>(code)) != std::string::npos;
        ASSERT_EQ(Game.flow_fields[1][tile_index(3, 1)], expected ? 2 : -1) << "code " << code;
    }
}

TEST(FlowField, NoWrapAcrossRowEnds) {
    std::memset(CurrentFloorMap, '#', MAP_TILES);
    CurrentFloorMap[tile_index(55, 1)] = '.';
    CurrentFloorMap[tile_index(0, 2)] = '.';  // the next index, on the far side of the next row
    compute_flow_field(0, tile_index(55, 1));
    EXPECT_EQ(Game.flow_fields[0][tile_index(0, 2)], -1);
    compute_flow_field(0, tile_index(0, 2));
    EXPECT_EQ(Game.flow_fields[0][tile_index(55, 1)], -1);
    std::memset(CurrentFloorMap, '.', MAP_TILES);
    compute_flow_field(0, 0);
    EXPECT_EQ(Game.flow_fields[0][MAP_TILES - 1], 55 + 27);
    load_floor(3);
}

// ---------------------------------------------------------------------------
// place_random_spot, one try at a time: the state is chosen so that the
// first try lands on a known tile; an accepted try uses exactly two draws.

class PlaceRandomSpot : public ::testing::Test {
protected:
    void SetUp() override {
        Game.item_count = 0;
        for (int f = 0; f < FLOOR_COUNT; ++f) Game.teacher_spot_x[f] = Game.teacher_spot_y[f] = -9;
        ready_floor(3);
    }
    void TearDown() override { load_floor(3); }

    static bool accepts_first(int32_t floor, int32_t rule, int32_t x, int32_t y) {
        const uint32_t s = state_trying_first(x, y);
        Game.random_state = s;
        const int32_t spot = place_random_spot(floor, rule);
        const bool accepted = Game.random_state == model_steps(s, 2);
        EXPECT_EQ(spot == tile_index(x, y), accepted) << "rejected tile returned later, or the reverse";
        return accepted;
    }
};

TEST_F(PlaceRandomSpot, EachRuleAtItsEdges) {
    // 16838 % 54 + 1 = 45, 5758 % 26 + 1 = 13: seed 1 first tries the corridor at (45, 13).
    Game.random_state = 1;
    EXPECT_EQ(place_random_spot(3, 0), tile_index(45, 13));

    struct Try {
        int32_t floor, rule, x, y;
        bool accepted;
    };
    const Try tries[] = {
        // The stairwell corner x <= 7, y >= 16.
        {3, 0, 5, 18, false}, {3, 0, 7, 16, false}, {3, 0, 2, 21, false}, {3, 0, 8, 16, true}, {3, 0, 7, 15, true},
        // Floor set and reachability: a locker, a wall, a doorway, the locked pool hall.
        {3, 0, 5, 13, false}, {3, 0, 20, 17, false}, {3, 0, 21, 20, false}, {0, 0, 4, 11, false}, {0, 0, 12, 18, true},
        // The corridor band 13..16 for rules 1 and 4, except on the schoolyard.
        {3, 0, 20, 14, true}, {3, 1, 20, 13, false}, {3, 1, 20, 16, false}, {3, 4, 20, 15, false},
        {3, 1, 20, 18, true}, {4, 1, 20, 14, true}, {4, 4, 16, 13, true},
        // Rule 4 keeps out of x <= 17, y <= 11.
        {3, 4, 16, 11, false}, {3, 0, 16, 11, true}, {3, 4, 19, 11, true},
        {4, 4, 17, 11, false}, {4, 4, 18, 11, true}, {4, 4, 17, 12, true},
        // Rule 2: 't' with y <= 11, reachable or not.
        {0, 2, 4, 11, true}, {0, 2, 1, 1, true}, {0, 2, 12, 18, false}, {0, 2, 8, 13, false},
    };
    for (const Try& t : tries) {
        if (Game.current_floor != t.floor) ready_floor(t.floor);
        EXPECT_EQ(accepts_first(t.floor, t.rule, t.x, t.y), t.accepted)
            << "floor " << t.floor << " rule " << t.rule << " at (" << t.x << ", " << t.y << ")";
    }
}

TEST_F(PlaceRandomSpot, KeepsClearOfThisFloorsTeacherSpotAndItems) {
    Game.teacher_spot_x[3] = 30;
    Game.teacher_spot_y[3] = 14;
    EXPECT_FALSE(accepts_first(3, 0, 31, 15));
    EXPECT_FALSE(accepts_first(3, 0, 29, 14));
    EXPECT_FALSE(accepts_first(3, 0, 30, 14));
    EXPECT_TRUE(accepts_first(3, 0, 32, 15));
    EXPECT_TRUE(accepts_first(3, 0, 28, 14));
    Game.teacher_spot_x[3] = -9;
    Game.teacher_spot_x[2] = 30;  // another floor's spot does not matter
    Game.teacher_spot_y[2] = 14;
    EXPECT_TRUE(accepts_first(3, 0, 31, 15));

    scene_set_item(0, 2, 20, 14, ITEM_STICKER);
    scene_set_item(1, 3, 40, 15, ITEM_STICKER);
    scene_set_item(2, 3, 10, 14, ITEM_STICKER);  // not placed: beyond item_count
    Game.item_count = 2;
    EXPECT_TRUE(accepts_first(3, 0, 21, 15));
    EXPECT_FALSE(accepts_first(3, 0, 41, 14));
    EXPECT_FALSE(accepts_first(3, 0, 39, 14));
    EXPECT_TRUE(accepts_first(3, 0, 42, 14));
    EXPECT_TRUE(accepts_first(3, 0, 11, 14));
}

TEST_F(PlaceRandomSpot, FallsBackToTile1011AfterSixHundredTries) {
    for (int16_t& v : Game.flow_fields[0]) v = -1;
    Game.random_state = 77;
    EXPECT_EQ(place_random_spot(3, 0), 1011);
    EXPECT_EQ(Game.random_state, model_steps(77, 1200));
    ready_floor(3);  // floor index 3 has no pool edge at all
    Game.random_state = 5;
    EXPECT_EQ(place_random_spot(3, 2), 1011);
    EXPECT_EQ(Game.random_state, model_steps(5, 1200));
}

// ---------------------------------------------------------------------------
// new_game

namespace {

// Floors 0..5 in order, each floor's table rows in row order: floor, type, rule.
const int32_t kExpectedItems[40][3] = {
    {0, 8, 1},  {0, 9, 2},  {0, 3, 0},  {0, 4, 0},  {0, 4, 0},  {0, 4, 0},  {1, 7, 1},  {1, 7, 1},
    {1, 7, 1},  {1, 1, 1},  {1, 2, 0},  {1, 4, 0},  {1, 4, 0},  {1, 4, 0},  {2, 6, 1},  {2, 6, 1},
    {2, 6, 1},  {2, 6, 1},  {2, 3, 0},  {2, 4, 0},  {2, 4, 0},  {2, 4, 0},  {3, 0, 3},  {3, 5, 4},
    {3, 2, 0},  {3, 4, 0},  {3, 4, 0},  {3, 4, 0},  {4, 10, 0}, {4, 10, 0}, {4, 10, 0}, {4, 2, 0},
    {4, 4, 0},  {4, 4, 0},  {4, 4, 0},  {5, 11, 1}, {5, 2, 0},  {5, 4, 0},  {5, 4, 0},  {5, 4, 0},
};

}  // namespace

TEST(NewGame, CodeDigitsComeFirstAndTheTeacherAndPhoneDrawsLast) {
    for (uint32_t seed : {1u, 2u, 99u, 4242u, 0xDEADBEEFu}) {
        program_init(seed);
        uint32_t s = seed;
        for (int i = 0; i < 3; ++i) {
            s = model_step(s);
            EXPECT_EQ(Game.code_digits[i], model_value(s) % 9 + 1) << "seed " << seed;
        }
        const uint32_t last = Game.random_state;
        EXPECT_EQ(Game.call_countdown, 1800 + model_value(last) % 600) << "seed " << seed;
        EXPECT_EQ(Game.npcs[NPC_PHONE_TEACHER].npc_floor_ticks, 1200 + model_value(model_unstep(last)) % 900)
            << "seed " << seed;
    }
}

TEST(NewGame, ItemsFollowTheTableAndThePlacementRules) {
    for (uint32_t seed : {1u, 7u, 2024u, 0xCAFEF00Du, 555555u}) {
        SCOPED_TRACE(testing::Message() << "seed " << seed);
        program_init(seed);
        ASSERT_EQ(Game.item_count, 40);
        ItemSlot items[40];  // copies: loading floors below changes the game
        std::memcpy(items, Game.items, sizeof items);
        const int32_t* spot_x = Game.teacher_spot_x;
        const int32_t* spot_y = Game.teacher_spot_y;
        EXPECT_EQ(items[22].x, 15);  // the flashlight: player start (13, 10) + (2, -1)
        EXPECT_EQ(items[22].y, 9);

        for (int f = 0; f < FLOOR_COUNT; ++f) {
            ready_floor(f);
            const int16_t* field = Game.flow_fields[0];
            const int32_t tx = spot_x[f], ty = spot_y[f];
            EXPECT_TRUE(is_floor_code(tile_at(tx, ty)) && field[tile_index(tx, ty)] >= 0) << "teacher on " << f;
            EXPECT_FALSE(tx <= 7 && ty >= 16) << "teacher on " << f;
            EXPECT_FALSE(f != 4 && ty >= 13 && ty <= 16) << "teacher on " << f;
            EXPECT_FALSE(tx <= 17 && ty <= 11) << "teacher on " << f;
            for (int i = 0; i < 40; ++i) {
                const ItemSlot& it = items[i];
                const int32_t rule = kExpectedItems[i][2];
                EXPECT_EQ(it.floor, kExpectedItems[i][0]) << "item " << i;
                EXPECT_EQ(it.type, kExpectedItems[i][1]) << "item " << i;
                EXPECT_EQ(it.taken, 0);
                if (it.floor != f) continue;
                EXPECT_TRUE(is_floor_code(tile_at(it.x, it.y))) << "item " << i;
                if (rule == 2) {
                    EXPECT_TRUE(tile_at(it.x, it.y) == 't' && it.y <= 11) << "item " << i;
                } else {
                    EXPECT_GE(field[tile_index(it.x, it.y)], 0) << "item " << i;
                }
                if (rule == 3) continue;
                EXPECT_FALSE(it.x <= 7 && it.y >= 16) << "item " << i;
                EXPECT_FALSE(rule == 1 && f != 4 && it.y >= 13 && it.y <= 16) << "item " << i;
                EXPECT_GE(chebyshev(it.x, it.y, tx, ty), 2) << "item " << i << " beside the teacher";
                for (int j = 0; j < i; ++j) {
                    EXPECT_FALSE(items[j].floor == f && chebyshev(it.x, it.y, items[j].x, items[j].y) < 2)
                        << "items " << j << " and " << i;
                }
            }
        }
    }
    for (uint32_t seed = 100; seed < 110; ++seed) {
        program_init(seed);
        for (int d : Game.code_digits) EXPECT_TRUE(d >= 1 && d <= 9) << d;
    }
    // Every sticker the HUD and the escape screen count to is placed.
    int32_t stickers = 0;
    for (int i = 0; i < Game.item_count; ++i) stickers += Game.items[i].type == ITEM_STICKER;
    EXPECT_EQ(stickers, STICKER_TOTAL);
}

TEST(NewGame, ResetsTheGameAndSnapsTheCameraBetweenPlayerAndPursuer) {
    program_init(4711);
    Game.task = 6;
    Game.inventory[ITEM_FUSE] = 2;
    Game.items[3].taken = 1;
    Game.floor_open[0] = Game.power_on = Game.pool_hall_open = 1;
    Game.play_ticks = 5000;
    Game.catch_count = 3;
    Game.final_ticks = 1234;
    Game.stamina = 10;
    Game.exhausted = Game.stink_ticks = Game.pool_greeting_done = 1;
    Game.npcs[NPC_PURSUER].npc_stun_ticks = 50;
    new_game();

    const int32_t open[6] = {0, 0, 0, 1, 0, 0};
    for (int f = 0; f < 6; ++f) EXPECT_TRUE(Game.floor_open[f] == open[f] && Game.checkpoint.floor_open[f] == open[f]);
    for (int t = 0; t < ITEM_TYPE_COUNT; ++t) EXPECT_TRUE(Game.inventory[t] == 0 && Game.checkpoint.inventory[t] == 0);
    for (int i = 0; i < Game.item_count; ++i) EXPECT_TRUE(Game.items[i].taken == 0 && Game.checkpoint.taken[i] == 0);
    EXPECT_EQ(Game.checkpoint.task, 0);
    EXPECT_EQ(Game.checkpoint.power_on, 0);
    EXPECT_EQ(Game.checkpoint.pool_hall_open, 0);
    const int32_t zeros[] = {Game.task, Game.power_on, Game.pool_hall_open, Game.play_ticks, Game.catch_count,
                             Game.exhausted, Game.stink_ticks, Game.pool_greeting_done, Game.stairs_cooldown};
    for (int32_t v : zeros) EXPECT_EQ(v, 0);
    EXPECT_EQ(Game.final_ticks, 1234);  // only copied when a game ends
    EXPECT_EQ(Game.current_floor, 3);
    EXPECT_EQ(Game.player_x, 13 * 4096 + 2048);
    EXPECT_EQ(Game.player_y, 10 * 4096 + 2560);
    EXPECT_EQ(Game.player_facing, 1);
    EXPECT_EQ(Game.stamina, 1000);
    EXPECT_EQ(Game.current_room, -1);
    EXPECT_EQ(Game.stairs_armed, 1);
    EXPECT_EQ(Game.hinted_item, -1);
    EXPECT_EQ(Game.light_radius, 150);
    EXPECT_STREQ(Game.message_line1, "SCHNAPP DIR DIE TASCHENLAMPE!");
    EXPECT_STREQ(Game.message_line2, "DANN FINDE DEN TREPPENSCHLÜSSEL.");
    EXPECT_EQ(Game.message_ticks, 120);
    EXPECT_EQ(Game.teacher_floor, 3);  // task 0
    EXPECT_EQ(Game.teacher_x, Game.teacher_spot_x[3]);
    EXPECT_EQ(Game.teacher_y, Game.teacher_spot_y[3]);

    const NpcSlot& pursuer = Game.npcs[NPC_PURSUER];
    EXPECT_EQ(pursuer.npc_x, 8 * 4096 + 2048);
    EXPECT_EQ(pursuer.npc_y, 2 * 4096 + 2560);
    EXPECT_TRUE(pursuer.npc_floor == 3 && pursuer.npc_present == 1 && pursuer.npc_state == PURSUER_ASLEEP);
    EXPECT_EQ(pursuer.npc_state_ticks, 90);
    EXPECT_EQ(pursuer.npc_floor_ticks, 1500);
    EXPECT_EQ(pursuer.npc_stun_ticks, 0);
    EXPECT_EQ(pursuer.npc_last_seen, tile_index(8, 2));
    ASSERT_TRUE(pursuer.npc_target >= 0 && pursuer.npc_target < MAP_TILES);
    const int target = CurrentFloorMap[pursuer.npc_target];
    EXPECT_TRUE(is_floor_code(target) || target == 'D');
    const NpcSlot& teacher = Game.npcs[NPC_PHONE_TEACHER];
    EXPECT_TRUE(teacher.npc_floor == 2 && teacher.npc_present == 0 && teacher.npc_state == PHONE_TEACHER_PATROL);
    EXPECT_TRUE(teacher.npc_floor_ticks >= 1200 && teacher.npc_floor_ticks < 2100);
    EXPECT_TRUE(Game.call_countdown >= 1800 && Game.call_countdown < 2400);
    EXPECT_EQ(Game.has_phone, 1);
    EXPECT_EQ(Game.friend_target, -1);

    // Player pixel (216, 170), sleeping pursuer (136, 42): the midpoint.
    EXPECT_EQ(Game.camera_x, (216 + 136) / 2 - 160);
    EXPECT_EQ(Game.camera_y, (170 + 42) / 2 - 104);
}

// ---------------------------------------------------------------------------
// Checkpoints

class Checkpoint : public ::testing::Test {
protected:
    void SetUp() override { program_init(20240601u); }
};

TEST_F(Checkpoint, RestoreBringsBackProgressAndKeepsTheRest) {
    // At the checkpoint: task 3 (solved on floor index 1), two fuses.
    Game.task = 3;
    Game.floor_open[1] = Game.floor_open[2] = 1;
    Game.inventory[ITEM_FUSE] = 2;
    Game.items[6].taken = Game.items[7].taken = 1;
    save_checkpoint();

    // Since then.
    Game.task = 4;
    Game.power_on = Game.pool_hall_open = Game.floor_open[0] = 1;
    Game.inventory[ITEM_FUSE] = 3;
    Game.inventory[ITEM_STINK_BOMB] = 1;
    Game.items[8].taken = 1;
    Game.items[0].x = 50;  // positions are never part of the snapshot
    Game.teacher_spot_x[1] = 44;
    Game.play_ticks = 9000;
    Game.catch_count = 2;
    Game.code_digits[0] = 4;
    Game.stamina = 3;
    int32_t* cleared[] = {&Game.exhausted,   &Game.running,          &Game.drink_ticks, &Game.door_slow,
                          &Game.player_hidden, &Game.bump_tile,      &Game.stink_ticks, &Game.confiscate_ticks,
                          &Game.ring_ticks,  &Game.alert_ticks,      &Game.shake_ticks, &Game.heartbeat_flash,
                          &Game.teacher_following, &Game.friend_state};
    for (int32_t* p : cleared) *p = 5;
    Game.hinted_item = 7;
    Game.current_room = 4;
    Game.mode = MODE_CAUGHT;
    Game.mode_ticks = 40;
    NpcSlot& pursuer = Game.npcs[NPC_PURSUER];
    pursuer.npc_present = 1;
    pursuer.npc_state = PURSUER_CHASE;
    pursuer.npc_follow_ticks = pursuer.npc_stun_ticks = pursuer.npc_slow_ticks = 7;
    NpcSlot& teacher = Game.npcs[NPC_PHONE_TEACHER];
    teacher.npc_floor = teacher.npc_present = 1;
    teacher.npc_state = PHONE_TEACHER_CONFISCATE;
    teacher.npc_follow_ticks = 12;
    const uint32_t state = Game.random_state;

    restore_checkpoint();

    EXPECT_EQ(Game.task, 3);
    EXPECT_EQ(Game.power_on, 0);
    EXPECT_EQ(Game.pool_hall_open, 0);
    const int32_t open[6] = {0, 1, 1, 1, 0, 0};
    for (int f = 0; f < 6; ++f) EXPECT_EQ(Game.floor_open[f], open[f]) << f;
    EXPECT_EQ(Game.inventory[ITEM_FUSE], 2);
    EXPECT_EQ(Game.inventory[ITEM_STINK_BOMB], 0);
    EXPECT_TRUE(Game.items[6].taken && Game.items[7].taken && !Game.items[8].taken);
    EXPECT_EQ(Game.items[0].x, 50);
    EXPECT_EQ(Game.teacher_spot_x[1], 44);
    EXPECT_EQ(Game.play_ticks, 9000);
    EXPECT_EQ(Game.catch_count, 2);
    EXPECT_EQ(Game.code_digits[0], 4);

    // Back on the floor of the task, standing on the landing.
    EXPECT_EQ(Game.current_floor, 1);
    EXPECT_EQ(Game.player_x, tile_anchor_x(LANDING_X));
    EXPECT_EQ(Game.player_y, tile_anchor_y(LANDING_Y));
    EXPECT_EQ(player_tile(), LANDING);
    EXPECT_EQ(Game.player_facing, 0);
    EXPECT_EQ(Game.stamina, 1000);
    for (int32_t* p : cleared) EXPECT_EQ(*p, 0);
    EXPECT_EQ(Game.current_room, -1);
    EXPECT_EQ(Game.stairs_cooldown, 20);
    EXPECT_EQ(Game.stairs_armed, 1);
    EXPECT_EQ(Game.floor_banner_ticks, 80);
    EXPECT_EQ(Game.hinted_item, -1);
    EXPECT_EQ(Game.teacher_floor, 1);
    EXPECT_EQ(Game.teacher_x, 44);
    // The call countdown is the restore's one draw.
    EXPECT_EQ(Game.random_state, model_step(state));
    EXPECT_EQ(Game.call_countdown, 900 + model_value(model_step(state)) % 900);

    EXPECT_TRUE(pursuer.npc_present == 0 && pursuer.npc_floor == 2 && pursuer.npc_state == PURSUER_PATROL);
    EXPECT_EQ(pursuer.npc_floor_ticks, 600);
    EXPECT_EQ(pursuer.npc_follow_ticks + pursuer.npc_stun_ticks + pursuer.npc_slow_ticks, 0);
    EXPECT_TRUE(teacher.npc_present == 0 && teacher.npc_floor == 0 && teacher.npc_state == PHONE_TEACHER_PATROL);
    EXPECT_EQ(teacher.npc_follow_ticks, 0);
    EXPECT_EQ(teacher.npc_floor_ticks, 900);

    EXPECT_EQ(Game.light_radius, 92);
    EXPECT_STREQ(Game.message_line1, "WEITER AB DEM LETZTEN CHECKPOINT.");
    EXPECT_STREQ(Game.message_line2, objective_line());
    EXPECT_EQ(Game.message_ticks, 120);
    // The camera is on the player at once, not on its way there.
    EXPECT_EQ(Game.camera_x, camera_target_x());
    EXPECT_EQ(Game.camera_y, camera_target_y());
    EXPECT_EQ(Game.mode, MODE_PLAYING);
    EXPECT_EQ(Game.mode_ticks, 0);
}

TEST_F(Checkpoint, CharactersAreSentToANeighbourFloor) {
    // task, task floor, pursuer floor, teacher before, teacher after, teacher present after
    const int32_t cases[][6] = {
        {0, 3, 4, 3, 2, 0}, {5, 0, 1, 0, 1, 0}, {8, 5, 4, 2, 2, 0}, {9, 5, 4, 5, 4, 0}, {7, 4, 5, 4, 3, 0},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(testing::Message() << "task " << k[0]);
        Game.task = k[0];
        save_checkpoint();
        Game.npcs[NPC_PHONE_TEACHER].npc_floor = k[3];
        Game.npcs[NPC_PHONE_TEACHER].npc_present = 1;
        restore_checkpoint();
        EXPECT_EQ(Game.current_floor, k[1]);
        EXPECT_EQ(Game.npcs[NPC_PURSUER].npc_floor, k[2]);
        EXPECT_EQ(Game.npcs[NPC_PHONE_TEACHER].npc_floor, k[4]);
        EXPECT_EQ(Game.npcs[NPC_PHONE_TEACHER].npc_present, k[5]);
    }
}

// Caught on floor 2 on the way to floor 1, with Herr Haselbrink walking
// there: by the time the player climbs to floor 3, where his wandering has
// taken him, he must be placed there afresh, not left at his floor-2 spot
// (inside a bookshelf on floor 3, where he could never move).
TEST_F(Checkpoint, ATeacherLeftOnAnotherFloorIsPlacedAfreshWhenMet) {
    Game.task = 3;
    for (int f = 0; f < 6; ++f) Game.floor_open[f] = f >= 1 && f <= 3;
    save_checkpoint();
    load_floor(2);
    NpcSlot& teacher = Game.npcs[NPC_PHONE_TEACHER];
    teacher.npc_floor = 2;
    teacher.npc_present = 1;
    teacher.npc_x = 8 * 4096 + 2048;  // tile (8, 19): corridor floor here, a bookshelf on floor 3
    teacher.npc_y = 19 * 4096 + 2560;
    restore_checkpoint();
    EXPECT_EQ(Game.current_floor, 1);
    EXPECT_EQ(teacher.npc_present, 0);

    teacher.npc_floor = 3;  // one of his own floor changes while the player is away
    change_floor(2, 1);
    change_floor(3, 1);
    EXPECT_EQ(teacher.npc_present, 1);
    EXPECT_TRUE(is_route_passable(tile_at(teacher.npc_x >> 12, teacher.npc_y >> 12)))
        << "at (" << (teacher.npc_x >> 12) << ", " << (teacher.npc_y >> 12) << ")";
}

TEST_F(Checkpoint, AdvanceTaskSavesEvenAtTheLastTask) {
    Game.task = 3;
    Game.hinted_item = 6;
    Game.inventory[ITEM_FUSE] = 3;
    advance_task();
    EXPECT_EQ(Game.task, 4);
    EXPECT_EQ(Game.checkpoint.task, 4);
    EXPECT_EQ(Game.checkpoint.inventory[ITEM_FUSE], 3);
    EXPECT_EQ(Game.teacher_floor, 1);
    EXPECT_EQ(Game.teacher_x, Game.teacher_spot_x[1]);
    EXPECT_EQ(Game.hinted_item, -1);

    Game.task = 9;
    Game.items[39].taken = 1;
    Game.hinted_item = 3;
    advance_task();
    EXPECT_EQ(Game.task, 9);
    EXPECT_EQ(Game.checkpoint.task, 9);
    EXPECT_EQ(Game.checkpoint.taken[39], 1);
    EXPECT_EQ(Game.teacher_floor, 5);
    EXPECT_EQ(Game.hinted_item, -1);
}

TEST_F(Checkpoint, AnOpenPoolHallComesBackAsADoorway) {
    Game.task = 5;
    Game.pool_hall_open = 1;
    save_checkpoint();
    Game.pool_hall_open = 0;
    restore_checkpoint();
    EXPECT_EQ(Game.current_floor, 0);
    EXPECT_EQ(tile_at(27, 12), 'D');
    EXPECT_EQ(tile_at(28, 12), 'D');
}
