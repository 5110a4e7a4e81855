// The gameplay Tick's player side: walking and running with collision,
// corner sliding, doors, stamina, the stairs, the camera and the light.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

#include "game/current_floor.h"
#include "generator_model.h"
#include "play_fixture.h"
#include "audio/synth.h"
#include "game/game_flow.h"
#include "game/game_state.h"
#include "game/movement.h"
#include "platform/input.h"
#include "world/floors.h"
#include "world/rooms.h"

namespace {

class Movement : public PlayFixture {
protected:
    void SetUp() override {
        PlayFixture::SetUp();
        Game.stamina = 500;
    }
    static void put_at_pixel(int32_t px, int32_t py) {
        Game.player_x = px * 256;
        Game.player_y = py * 256;
    }
    static void put_pursuer(int32_t x, int32_t y, int32_t state) { put_npc(NPC_PURSUER, x, y, state); }
};

}  // namespace

// ---------------------------------------------------------------------------
// Keys, speeds and facing

TEST_F(Movement, OpposingKeysCancelEachOther) {
    const int32_t x0 = Game.player_x, y0 = Game.player_y;
    move_player(INPUT_UP | INPUT_DOWN);
    move_player(INPUT_LEFT | INPUT_RIGHT | INPUT_UP | INPUT_DOWN | INPUT_RUN);
    EXPECT_EQ(Game.player_x, x0);
    EXPECT_EQ(Game.player_y, y0);
    EXPECT_EQ(Game.player_moving, 0);
    EXPECT_EQ(Game.running, 0);
    EXPECT_EQ(Game.stamina, 508);  // two standing Ticks recover
    // One axis cancelled: the other moves at full, not diagonal, speed.
    move_player(INPUT_UP | INPUT_DOWN | INPUT_RIGHT);
    EXPECT_EQ(Game.player_x, x0 + 300);
    EXPECT_EQ(Game.player_y, y0);
    EXPECT_EQ(Game.player_moving, 1);
    move_player(INPUT_LEFT | INPUT_RIGHT | INPUT_UP);
    EXPECT_EQ(Game.player_x, x0 + 300);
    EXPECT_EQ(Game.player_y, y0 - 300);
}

TEST_F(Movement, SpeedsForShoesRunningDoorsAndDiagonals) {
    struct Case {
        bool sneakers, run, door, diagonal;
        int32_t step;
    };
    const Case cases[] = {
        {false, false, false, false, 300}, {true, false, false, false, 335},
        {false, true, false, false, 540},  {true, true, false, false, 590},
        {false, false, true, false, 165},  {true, false, true, false, 184},  // 335 * 55 / 100 = 184.25
        {false, true, true, false, 297},   {true, true, true, false, 324},   // 590 * 55 / 100 = 324.5
        {false, false, false, true, 212},  {true, false, false, true, 236},  // 300 * 181 / 256 = 212.1
        {false, true, false, true, 381},   {true, true, false, true, 417},
        {false, false, true, true, 116},   {false, true, true, true, 209},   // 297 * 181 / 256 = 209.99
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(testing::Message() << "sneakers " << k.sneakers << " run " << k.run << " door " << k.door
                                        << " diagonal " << k.diagonal);
        Game.inventory[ITEM_SNEAKERS] = k.sneakers ? 1 : 0;
        Game.door_slow = Game.walk_distance = 0;
        Game.stamina = 500;
        if (k.door) {
            stand_on(3, 12);  // the chemistry room's doorway
        } else {
            stand_on(20, 14);
        }
        const int32_t x0 = Game.player_x, y0 = Game.player_y;
        move_player(INPUT_RIGHT | (k.diagonal ? INPUT_DOWN : 0u) | (k.run ? INPUT_RUN : 0u));
        EXPECT_EQ(Game.player_x - x0, k.step);
        EXPECT_EQ(Game.player_y - y0, k.diagonal ? k.step : 0);
        EXPECT_EQ(Game.walk_distance, k.step);
        EXPECT_EQ(Game.running, k.run ? 1 : 0);
        EXPECT_EQ(Game.stamina, k.run ? 490 : 504);
    }
}

TEST_F(Movement, FacingFollowsTheHorizontalKeyFirst) {
    const uint32_t held[] = {INPUT_RIGHT, INPUT_LEFT, INPUT_UP, INPUT_DOWN, INPUT_RIGHT | INPUT_UP,
                             INPUT_LEFT | INPUT_DOWN};
    const int32_t facing[] = {2, 3, 1, 0, 2, 3};
    for (int i = 0; i < 6; ++i) {
        Game.player_facing = 9;
        move_player(held[i]);
        EXPECT_EQ(Game.player_facing, facing[i]) << "held " << held[i];
    }
    move_player(0);
    EXPECT_EQ(Game.player_facing, 3);  // standing keeps it
    // A blocked step against the east wall still turns the player and counts for the animation.
    put_at_pixel(874, 250);
    Game.walk_distance = 0;
    move_player(INPUT_RIGHT);
    EXPECT_EQ(Game.player_x, 874 * 256);
    EXPECT_EQ(Game.player_facing, 2);
    EXPECT_EQ(Game.walk_distance, 300);
}

TEST_F(Movement, WalkDistanceWrapsInsteadOfOverflowing) {
    Game.walk_distance = INT32_MAX - 100;
    move_player(INPUT_RIGHT);
    EXPECT_EQ(Game.walk_distance, INT32_MIN + 199);
}

// ---------------------------------------------------------------------------
// The collision box

TEST_F(Movement, ProbeUsesTheFourBoxCorners) {
    // Pixel positions with the last free one and the first blocked one per edge.
    const int32_t cases[][3] = {
        {136, 271, 0}, {136, 272, 1},  // bottom: the position itself; row 17 is wall
        {72, 213, 0},  {72, 212, 1},   // top: five pixels up; row 12 is wall above column 4
        {22, 234, 0},  {21, 234, 1},   // left: six pixels left; column 0
        {874, 250, 0}, {875, 250, 1},  // right: five pixels right; column 55
        {-10, 234, 1}, {200, 460, 1},  // outside the grid
    };
    for (const auto& c : cases)
        EXPECT_EQ(probe_tile_box(c[0] * 256 + 255 * (c[2] == 0), c[1] * 256), c[2]) << c[0] << ", " << c[1];
}

TEST_F(Movement, ProbeReportsSpecialsOverWalls) {
    // Outer wall (0, 20) on the left corners, closed stairs up (1, 20) on the right.
    EXPECT_EQ(probe_tile_box(16 * 256, 330 * 256), '^');
    Game.floor_open[4] = 1;
    EXPECT_EQ(probe_tile_box(16 * 256, 330 * 256), 1);  // open stairs are floor
    load_floor(0);
    EXPECT_EQ(probe_tile_box(430 * 256, 195 * 256), 'X');  // wall (26, 12), then the locked door
    EXPECT_EQ(probe_tile_box(460 * 256, 195 * 256), 'X');  // the locked door, then wall (29, 12)
    load_floor(5);
    EXPECT_EQ(probe_tile_box(36 * 256, 354 * 256), 'g');
    EXPECT_EQ(probe_tile_box(248 * 256, 20 * 256), 'E');
    load_floor(4);
    EXPECT_EQ(probe_tile_box(488 * 256, 432 * 256), 'e');
}

TEST_F(Movement, ClosedStairsBlockAndAreReported) {
    // Up at column 1 (to floor index 4) and down at column 6 (to index 2): both shut.
    const int32_t px[2] = {38, 90};
    const uint32_t key[2] = {INPUT_LEFT, INPUT_RIGHT};
    const int32_t code[2] = {'^', 'v'};
    for (int i = 0; i < 2; ++i) {
        put_at_pixel(px[i], 330);
        Game.bump_tile = 0;
        move_player(key[i]);
        EXPECT_EQ(Game.bump_tile, code[i]);
        EXPECT_EQ(Game.player_x, px[i] * 256);
        EXPECT_EQ(Game.player_y, 330 * 256);
    }
    Game.floor_open[2] = Game.floor_open[4] = 1;
    for (int i = 0; i < 2; ++i) {
        put_at_pixel(px[i], 330);
        Game.bump_tile = 0;
        move_player(key[i]);
        EXPECT_EQ(Game.bump_tile, 0);
        EXPECT_EQ(Game.player_x, px[i] * 256 + (i ? 300 : -300));
    }
}

// ---------------------------------------------------------------------------
// Walls and corners

TEST_F(Movement, DiagonalIntoAWallMovesAlongTheOtherAxisWithoutSliding) {
    // One pixel above row 17's wall: x moves, y stays.
    Game.player_x = 8 * 4096 + 2048;
    Game.player_y = 271 * 256 + 255;
    move_player(INPUT_RIGHT | INPUT_DOWN);
    EXPECT_EQ(Game.player_x, 8 * 4096 + 2048 + 212);
    EXPECT_EQ(Game.player_y, 271 * 256 + 255);
    // Against the east wall: x stays, y takes exactly the diagonal step (a slide would add 200).
    Game.player_x = 874 * 256 + 255;
    Game.player_y = 64000;
    move_player(INPUT_RIGHT | INPUT_DOWN);
    EXPECT_EQ(Game.player_x, 874 * 256 + 255);
    EXPECT_EQ(Game.player_y, 64000 + 212);
}

TEST_F(Movement, CornerSlideFindsAnOpeningWithinTwelvePixels) {
    // East in row 21 of the physics room into the wall at column 21; the
    // doorway (21, 20) ends 11, 12 and 13 pixels up.
    const int32_t x = 330 * 256 + 255;
    const int32_t rows[] = {346, 347, 348};
    const int32_t slide[] = {-200, -200, 0};
    for (int i = 0; i < 3; ++i) {
        Game.player_x = x;
        Game.player_y = rows[i] * 256;
        move_player(INPUT_RIGHT);
        EXPECT_EQ(Game.player_x, x);
        EXPECT_EQ(Game.player_y, rows[i] * 256 + slide[i]) << "row pixel " << rows[i];
    }
    // North into row 12 just right of the chemistry room's doorway (3, 12): slides left.
    put_at_pixel(66, 213);
    move_player(INPUT_UP);
    EXPECT_EQ(Game.player_x, 66 * 256 - 200);
    EXPECT_EQ(Game.player_y, 213 * 256);
}

// What a player program tries ahead must be what the Tick then does: the
// step changes nothing, and move_player lands exactly where it said, around
// corners, in doorways, running and walking, with and without sneakers.
TEST_F(Movement, PlayerStepForeseesMovePlayerAndChangesNothing) {
    static GameState before;
    const uint32_t Bits[] = {INPUT_RIGHT, INPUT_LEFT, INPUT_UP, INPUT_DOWN, INPUT_RIGHT | INPUT_UP,
                             INPUT_LEFT | INPUT_DOWN | INPUT_RUN, INPUT_UP | INPUT_RUN, 0};
    int32_t slides = 0;
    for (int32_t sneakers = 0; sneakers <= 1; ++sneakers) {
        for (int32_t py = 200; py < 360; py += 7) {
            for (int32_t px = 20; px < 360; px += 11) {
                for (uint32_t bits : Bits) {
                    Game.inventory[ITEM_SNEAKERS] = sneakers;
                    Game.stamina = 500;
                    Game.exhausted = 0;
                    Game.door_slow = px % 3 == 0 ? 6 : 0;
                    Game.bump_tile = 0;
                    put_at_pixel(px, py);
                    std::memcpy(&before, &Game, sizeof Game);
                    const PlayerStep step = player_step(Game, bits);
                    ASSERT_EQ(std::memcmp(&before, &Game, sizeof Game), 0);
                    move_player(bits);
                    ASSERT_EQ(step.x, Game.player_x) << px << "," << py << " bits " << bits;
                    ASSERT_EQ(step.y, Game.player_y) << px << "," << py << " bits " << bits;
                    EXPECT_EQ(step.facing, Game.player_facing);
                    EXPECT_EQ(step.door_slow, Game.door_slow);
                    EXPECT_EQ(step.running, Game.running);
                    EXPECT_EQ(step.bump_tile, Game.bump_tile);
                    const bool sideways = bits == INPUT_RIGHT ? step.y != before.player_y
                                        : bits == INPUT_UP    ? step.x != before.player_x
                                                              : false;
                    if (sideways) slides += 1;
                }
            }
        }
    }
    EXPECT_GT(slides, 0);  // the sweep reaches corners
}

// ---------------------------------------------------------------------------
// Doors and stamina

TEST_F(Movement, DoorSlowFillsOnADoorAndDrainsElsewhere) {
    stand_on(3, 12);
    for (int32_t expected : {3, 6, 9, 12, 12}) {
        move_player(0);
        EXPECT_EQ(Game.door_slow, expected);
    }
    Game.door_slow = 11;
    move_player(0);
    EXPECT_EQ(Game.door_slow, 14);
    stand_on(20, 14);
    for (int32_t expected : {12, 10, 8, 6, 4, 2, 0, 0}) {
        move_player(0);
        EXPECT_EQ(Game.door_slow, expected);
    }
    Game.door_slow = 1;
    move_player(0);
    EXPECT_EQ(Game.door_slow, 0);
    // The counter is updated before the speed is chosen.
    Game.door_slow = 2;
    int32_t x0 = Game.player_x;
    move_player(INPUT_RIGHT);
    EXPECT_EQ(Game.player_x - x0, 300);
    Game.door_slow = 3;
    x0 = Game.player_x;
    move_player(INPUT_RIGHT);
    EXPECT_EQ(Game.player_x - x0, 165);
}

TEST_F(Movement, StaminaDrainsWhileRunningAndRecoversOtherwise) {
    const uint32_t held[] = {INPUT_RIGHT | INPUT_RUN, INPUT_RUN, INPUT_RIGHT, 0};
    const int32_t stamina[] = {490, 494, 498, 505};
    for (int i = 0; i < 4; ++i) {
        Game.player_hidden = i == 3;  // +7 while hidden
        move_player(held[i]);
        EXPECT_EQ(Game.stamina, stamina[i]) << i;
    }
    Game.stamina = 995;
    move_player(0);
    EXPECT_EQ(Game.stamina, 1000);
    Game.player_hidden = 0;

    // A drink keeps stamina while running; the Tick, not the step, counts it down.
    Game.stamina = 500;
    Game.drink_ticks = 100;
    int32_t x0 = Game.player_x;
    move_player(INPUT_RIGHT | INPUT_RUN);
    EXPECT_EQ(Game.player_x - x0, 540);
    EXPECT_EQ(Game.stamina, 500);
    EXPECT_EQ(Game.drink_ticks, 100);

    // Empty but not exhausted: RUN only walks.
    Game.drink_ticks = Game.stamina = 0;
    x0 = Game.player_x;
    move_player(INPUT_RIGHT | INPUT_RUN);
    EXPECT_EQ(Game.running, 0);
    EXPECT_EQ(Game.player_x - x0, 300);
    EXPECT_EQ(Game.stamina, 4);
}

TEST_F(Movement, RunningOutOfBreathWithoutADrink) {
    Game.stamina = 11;
    move_player(INPUT_RIGHT | INPUT_RUN);
    EXPECT_EQ(Game.stamina, 1);  // the last breath still runs
    EXPECT_EQ(Game.exhausted, 0);
    move_player(INPUT_RIGHT | INPUT_RUN);
    EXPECT_EQ(Game.stamina, 0);
    EXPECT_EQ(Game.exhausted, 1);
    EXPECT_STREQ(Game.message_line1, "KEINE PUSTE MEHR!");
    EXPECT_STREQ(Game.message_line2, "");
    EXPECT_EQ(Game.message_ticks, 45);
    EXPECT_EQ(EffectSlot.trigger_count, 0);

    int32_t x0 = Game.player_x;
    move_player(INPUT_RIGHT | INPUT_RUN);
    EXPECT_EQ(Game.running, 0);
    EXPECT_EQ(Game.player_x - x0, 300);
    Game.stamina = 346;
    move_player(0);
    EXPECT_EQ(Game.exhausted, 1);  // 350 is not above 350
    Game.stamina = 347;
    move_player(0);
    EXPECT_EQ(Game.exhausted, 0);  // 351 is
    x0 = Game.player_x;
    move_player(INPUT_LEFT | INPUT_RUN);
    EXPECT_EQ(x0 - Game.player_x, 540);
}

TEST_F(Movement, EnergyDrinkIsUsedTheMomentStaminaRunsOut) {
    Game.stamina = 10;
    Game.inventory[ITEM_ENERGY_DRINK] = 2;
    const int32_t x0 = Game.player_x;
    move_player(INPUT_RIGHT | INPUT_RUN);
    EXPECT_EQ(Game.player_x - x0, 540);
    EXPECT_EQ(Game.stamina, 1000);
    EXPECT_EQ(Game.drink_ticks, 240);
    EXPECT_EQ(Game.inventory[ITEM_ENERGY_DRINK], 1);
    EXPECT_EQ(Game.exhausted, 0);
    EXPECT_EQ(EffectSlot.requested, 19);
    EXPECT_EQ(EffectSlot.trigger_count, 1);
    EXPECT_STREQ(Game.message_line1, "ENERGY-DRINK! 8 SEKUNDEN VOLLE PUSTE.");
    EXPECT_STREQ(Game.message_line2, "");
    EXPECT_EQ(Game.message_ticks, 60);
}

// ---------------------------------------------------------------------------
// The Tick's bookkeeping

TEST_F(Movement, TickCountsTimersDownAndComputesPrompts) {
    Game.current_room = room_at(3, 20, 14);
    int32_t* timers[] = {&Game.message_ticks,   &Game.alert_ticks,        &Game.heartbeat_flash,
                         &Game.shake_ticks,     &Game.room_label_ticks,   &Game.bump_cooldown,
                         &Game.stairs_cooldown, &Game.floor_banner_ticks, &Game.call_cooldown,
                         &Game.drink_ticks,     &Game.stink_ticks};
    for (int32_t* t : timers) *t = 2;
    Game.play_ticks = 41;
    update_world(0, 0);
    for (int32_t* t : timers) EXPECT_EQ(*t, 1);
    update_world(0, 0);
    update_world(0, 0);
    for (int32_t* t : timers) EXPECT_EQ(*t, 0);
    EXPECT_EQ(Game.play_ticks, 44);
    EXPECT_EQ(Game.prompt_kind, 0);

    load_floor(2);
    stand_on(3, 3);  // the piano at (2, 2) is diagonal to the player
    update_world(0, 0);
    EXPECT_EQ(Game.prompt_kind, 'M');
    load_floor(1);
    stand_on(36, 13);  // below the fuse box
    update_world(0, 0);
    EXPECT_EQ(Game.prompt_kind, 'u');
    stand_on(38, 14);
    update_world(0, 0);
    EXPECT_EQ(Game.prompt_kind, 0);
}

TEST_F(Movement, HiddenOrDuringTheConfiscationThePlayerStaysButRecovers) {
    const int32_t x0 = Game.player_x;
    Game.player_hidden = 1;
    update_world(INPUT_RIGHT | INPUT_RUN, 0);
    EXPECT_EQ(Game.player_x, x0);
    EXPECT_EQ(Game.stamina, 507);
    Game.player_hidden = 0;
    Game.confiscate_ticks = 5;
    update_world(INPUT_RIGHT | INPUT_RUN, 0);
    EXPECT_EQ(Game.player_x, x0);
    EXPECT_EQ(Game.stamina, 511);
    EXPECT_EQ(Game.confiscate_ticks, 4);
}

// ---------------------------------------------------------------------------
// Stairs and floor changes

TEST_F(Movement, OpenStairsChangeTheFloor) {
    Game.floor_open[4] = 1;
    put_pursuer(30, 14, PURSUER_ASLEEP);  // does not follow
    stand_on(1, 20);
    Game.current_room = 7;
    update_world(0, 0);
    EXPECT_EQ(Game.current_floor, 4);
    EXPECT_EQ(Game.player_x, 22528);
    EXPECT_EQ(Game.player_y, 84480);
    EXPECT_EQ(Game.player_facing, 3);
    EXPECT_EQ(Game.stairs_armed, 0);
    EXPECT_EQ(Game.stairs_cooldown, 20);
    EXPECT_EQ(Game.floor_banner_ticks, 80);
    EXPECT_EQ(Game.current_room, -1);
    EXPECT_EQ(EffectSlot.requested, 13);
    EXPECT_EQ(EffectSlot.trigger_count, 1);
    EXPECT_EQ(Game.npcs[NPC_PURSUER].npc_present, 0);
    EXPECT_EQ(Game.npcs[NPC_PURSUER].npc_floor, 3);
    EXPECT_EQ(Game.npcs[NPC_PURSUER].npc_follow_ticks, 0);
    EXPECT_EQ(Game.camera_x, 0);  // 88 - 160 clamped
    EXPECT_EQ(Game.camera_y, 218);  // 330 - 112

    Game.stairs_cooldown = 0;
    Game.stairs_armed = 1;
    stand_on(6, 19);  // down again
    update_world(0, 0);
    EXPECT_EQ(Game.current_floor, 3);
    EXPECT_EQ(Game.player_x, 10240);
    EXPECT_EQ(Game.player_y, 84480);
    EXPECT_EQ(Game.player_facing, 2);
}

TEST_F(Movement, ArrivingDisarmedStairsWaitForAStepOffThem) {
    Game.floor_open[4] = Game.floor_open[5] = 1;
    change_floor(4, 1);
    Game.stairs_cooldown = 0;
    const int32_t tiles[][2] = {{1, 20}, {1, 20}, {6, 20}, {3, 20}};  // up, up, down, then off the stairs
    for (const auto& t : tiles) {
        stand_on(t[0], t[1]);
        update_world(0, 0);
        EXPECT_EQ(Game.current_floor, 4);
    }
    EXPECT_EQ(Game.stairs_armed, 1);
    stand_on(1, 20);
    update_world(0, 0);
    EXPECT_EQ(Game.current_floor, 5);
}

TEST_F(Movement, CooldownConfiscationAndClosedGatesKeepThePlayerOnTheFloor) {
    stand_on(1, 20);
    update_world(0, 0);  // the gate to floor index 4 is shut
    EXPECT_EQ(Game.current_floor, 3);
    Game.floor_open[4] = 1;
    Game.stairs_cooldown = 3;
    update_world(0, 0);
    update_world(0, 0);
    EXPECT_EQ(Game.current_floor, 3);
    update_world(0, 0);  // the cooldown reaches 0 at the start of this Tick
    EXPECT_EQ(Game.current_floor, 4);

    load_floor(3);
    Game.stairs_cooldown = 0;
    Game.stairs_armed = 1;
    Game.confiscate_ticks = 5;
    stand_on(1, 20);
    update_world(0, 0);
    EXPECT_EQ(Game.current_floor, 3);
}

TEST_F(Movement, ChangeFloorTakesFollowersAlong) {
    NpcSlot& pursuer = Game.npcs[NPC_PURSUER];
    NpcSlot& teacher = Game.npcs[NPC_PHONE_TEACHER];
    put_pursuer(10, 14, PURSUER_CHASE);
    teacher.npc_x = 30 * 4096 + 2048;
    teacher.npc_y = 20 * 4096 + 2560;
    teacher.npc_floor = 3;
    teacher.npc_present = 1;
    teacher.npc_state = PHONE_TEACHER_FOR_PHONE;
    change_floor(4, 1);
    EXPECT_EQ(pursuer.npc_present, 0);
    EXPECT_EQ(pursuer.npc_follow_floor, 4);
    EXPECT_EQ(pursuer.npc_follow_ticks, (7 + 5 + 5) * 3);
    EXPECT_EQ(teacher.npc_present, 0);
    EXPECT_EQ(teacher.npc_follow_floor, 4);
    EXPECT_EQ(teacher.npc_follow_ticks, (27 + 1 + 5) * 3);
    EXPECT_EQ(Game.teacher_following, 1);

    // state, state ticks, stun, follows (from the landing: (0 + 0 + 5) * 3 Ticks)
    const int32_t cases[][4] = {{PURSUER_LOCKER, 0, 0, 1},  {PURSUER_SEARCH, 151, 0, 1}, {PURSUER_SEARCH, 150, 0, 0},
                                {PURSUER_CHASE, 0, 1, 0},   {PURSUER_PATROL, 999, 0, 0}};
    for (const auto& k : cases) {
        load_floor(3);
        put_pursuer(3, 19, k[0]);
        pursuer.npc_state_ticks = k[1];
        pursuer.npc_stun_ticks = k[2];
        pursuer.npc_follow_ticks = 0;
        change_floor(2, 0);
        EXPECT_EQ(pursuer.npc_present, 0);
        EXPECT_EQ(pursuer.npc_follow_ticks, k[3] ? 15 : 0) << "state " << k[0] << " ticks " << k[1];
    }

    // The confiscating teacher stays behind and ends the scene.
    load_floor(3);
    teacher.npc_floor = 3;
    teacher.npc_present = 1;
    teacher.npc_state = PHONE_TEACHER_CONFISCATE;
    teacher.npc_follow_ticks = Game.teacher_following = 0;
    change_floor(4, 1);
    EXPECT_EQ(teacher.npc_state, PHONE_TEACHER_PATROL);
    EXPECT_EQ(teacher.npc_present, 0);
    EXPECT_EQ(teacher.npc_follow_ticks, 0);
    EXPECT_EQ(Game.teacher_following, 0);
}

TEST_F(Movement, ChangeFloorWakesACharacterWaitingOnTheNewFloor) {
    NpcSlot& teacher = Game.npcs[NPC_PHONE_TEACHER];
    teacher.npc_floor = 2;
    teacher.npc_present = teacher.npc_follow_ticks = 0;
    teacher.npc_state = PHONE_TEACHER_CONFISCATE;
    change_floor(2, 0);
    EXPECT_EQ(teacher.npc_present, 1);
    EXPECT_EQ(teacher.npc_flow_source, -1);
    EXPECT_EQ(teacher.npc_state, PHONE_TEACHER_PATROL);
    EXPECT_EQ(teacher.npc_state_ticks, 300);
    // Far from the player's tile (2, 20), or at the landing (4, 18) if nowhere was found.
    const int32_t tx = teacher.npc_x >> 12, ty = teacher.npc_y >> 12;
    EXPECT_TRUE((tx - 2) * (tx - 2) + (ty - 20) * (ty - 20) > 200 || (tx == 4 && ty == 18)) << tx << ", " << ty;
    // One still on the way by the stairs is left alone.
    NpcSlot& pursuer = Game.npcs[NPC_PURSUER];
    pursuer.npc_floor = 3;
    pursuer.npc_follow_ticks = 10;
    change_floor(3, 1);
    EXPECT_EQ(pursuer.npc_present, 0);
    EXPECT_EQ(pursuer.npc_follow_ticks, 10);
}

// ---------------------------------------------------------------------------
// Camera and light

TEST_F(Movement, CameraTargetFollowsThePlayerWithinTheWorld) {
    EXPECT_EQ(camera_target_x(), 168);
    EXPECT_EQ(camera_target_y(), 122);
    stand_on(1, 1);  // (24, 26)
    EXPECT_EQ(camera_target_x(), 0);
    EXPECT_EQ(camera_target_y(), -26);
    stand_on(54, 26);  // (872, 426)
    EXPECT_EQ(camera_target_x(), 576);
    EXPECT_EQ(camera_target_y(), 278);

    // A sleeping pursuer on this floor pulls the view to the midpoint.
    stand_on(20, 14);
    put_pursuer(31, 7, PURSUER_ASLEEP);  // (504, 122)
    EXPECT_EQ(camera_target_x(), (328 + 504) / 2 - 160);
    EXPECT_EQ(camera_target_y(), (234 + 122) / 2 - 104);
    Game.npcs[NPC_PURSUER].npc_x += 256;  // an odd sum: the half is truncated
    EXPECT_EQ(camera_target_x(), 256);
    Game.npcs[NPC_PURSUER].npc_state = PURSUER_PATROL;
    EXPECT_EQ(camera_target_x(), 168);
    Game.npcs[NPC_PURSUER].npc_state = PURSUER_ASLEEP;
    Game.npcs[NPC_PURSUER].npc_present = 0;
    EXPECT_EQ(camera_target_y(), 122);
}

TEST_F(Movement, CameraApproachesAQuarterOfTheWayTruncatingTowardZero) {
    Game.current_room = room_at(3, 20, 14);
    // Target (168, 122); start, then after one Tick.
    const int32_t cases[][4] = {
        {171, 129, 171, 128},  // -3 / 4 = 0, -7 / 4 = -1
        {160, 100, 162, 105},  // 8 / 4 = 2, 22 / 4 = 5
        {165, 130, 165, 128},  // 3 / 4 = 0, -8 / 4 = -2
    };
    for (const auto& c : cases) {
        Game.camera_x = c[0];
        Game.camera_y = c[1];
        update_world(0, 0);
        EXPECT_EQ(Game.camera_x, c[2]);
        EXPECT_EQ(Game.camera_y, c[3]);
    }
}

TEST_F(Movement, LightRadiusDraws) {
    // floor, flashlight, draws, base
    const int32_t cases[][4] = {{3, 0, 1, 66}, {3, 1, 2, 92}, {4, 0, 1, 86}, {4, 1, 2, 112}};
    for (const auto& k : cases) {
        if (Game.current_floor != k[0]) load_floor(k[0]);
        Game.inventory[ITEM_FLASHLIGHT] = k[1];
        for (uint32_t seed = 1; seed <= 6; ++seed) {
            Game.random_state = seed * 7919u;
            update_world(0, 0);
            ASSERT_EQ(steps_between(seed * 7919u, Game.random_state), k[2]) << "floor " << k[0];
            EXPECT_EQ(Game.light_radius, k[3] + model_value(Game.random_state) % 3) << "floor " << k[0];
        }
    }
}

TEST_F(Movement, LightRadiusNearThePursuer) {
    // Asleep on this floor: one more draw, 150 minus its low two bits.
    put_pursuer(40, 14, PURSUER_ASLEEP);
    for (uint32_t seed = 1; seed <= 8; ++seed) {
        Game.inventory[ITEM_FLASHLIGHT] = seed & 1;
        Game.random_state = seed;
        update_world(0, 0);
        ASSERT_EQ(steps_between(seed, Game.random_state), 2 + int(seed & 1));
        EXPECT_EQ(Game.light_radius, 150 - (model_value(Game.random_state) & 3));
    }

    // Awake (stunned, so he stays put) 80 pixels away: the light flickers,
    // and one Tick in sixteen it nearly goes out.
    Game.inventory[ITEM_FLASHLIGHT] = 0;
    put_pursuer(25, 14, PURSUER_CHASE);
    Game.npcs[NPC_PURSUER].npc_stun_ticks = 5000;
    int dark = 0;
    for (uint32_t seed = 1; seed <= 400; ++seed) {
        Game.random_state = seed;
        Game.npcs[NPC_PURSUER].npc_lost_ticks = 0;  // keeps chasing: no draws of his own
        update_world(0, 0);
        ASSERT_EQ(steps_between(seed, Game.random_state), 3);
        const bool out = (model_steps(seed, 3) & 0x000F0000u) == 0;
        dark += out;
        EXPECT_EQ(Game.light_radius, out ? 24 : 66 + model_value(model_steps(seed, 2)) % 30) << "seed " << seed;
    }
    EXPECT_GT(dark, 0);

    // The flicker ends at 110 pixels.
    const int32_t offsets[] = {109, 110};
    const int draws[] = {3, 1};
    for (int i = 0; i < 2; ++i) {
        Game.npcs[NPC_PURSUER].npc_x = Game.player_x + offsets[i] * 256;
        Game.random_state = 3;
        update_world(0, 0);
        EXPECT_EQ(steps_between(3, Game.random_state), draws[i]) << offsets[i] << " pixels";
    }
    EXPECT_EQ(Game.light_radius, 66 + model_value(Game.random_state) % 3);
}
