// Herr Mürzel: his states at their thresholds, hearing, capture and the stink
// bomb, leaving the floor, and the shared walking and placing machinery.
#include <cstring>
#include <string>

#include "game/current_floor.h"
#include "game/game_state.h"
#include "generator_model.h"
#include "play_fixture.h"
#include "game/characters.h"
#include "game/flow_field.h"
#include "game/pursuer.h"
#include "game/stairwell.h"
#include "platform/input.h"

namespace {

class Pursuer : public PlayFixture {};

NpcSlot& pursuer() { return Game.npcs[NPC_PURSUER]; }

// A state whose next two draws give the floor-leaving roll r.
uint32_t state_rolling(int32_t r) {
    for (uint32_t s = 1;; ++s)
        if (model_value(model_steps(s, 2)) % 100 == r) return s;
}

}  // namespace

TEST_F(Pursuer, SleepsNinetyTicksWarnsAtFortyFiveThenWakes) {
    NpcSlot& p = put_npc(NPC_PURSUER, 20, 14, PURSUER_ASLEEP);  // on the player: harmless asleep
    p.npc_x += 2048;  // just outside the box, so that waking does not catch at once
    const int32_t x0 = p.npc_x;
    for (int t = 1; t < 90; ++t) {
        pursuer_update();
        ASSERT_EQ(p.npc_state, PURSUER_ASLEEP) << t;
        ASSERT_EQ(Game.mode, MODE_PLAYING) << t;
        if (t == 45) {
            EXPECT_STREQ(Game.message_line1, "HERR MÜRZEL STEHT LANGSAM AUF...");
        }
    }
    EXPECT_EQ(p.npc_x, x0);
    pursuer_update();
    EXPECT_EQ(p.npc_state, PURSUER_CHASE);
    EXPECT_EQ(p.npc_x, x0);  // waking takes the whole Tick
    EXPECT_STREQ(Game.message_line1, "LAUF!!!");
    EXPECT_EQ(last_sound(), 2);
    EXPECT_EQ(Game.alert_ticks, 30);
    EXPECT_EQ(Game.mode, MODE_PLAYING);
    pursuer_update();
    EXPECT_EQ(Game.mode, MODE_CAUGHT_ANIMATION);
}

TEST_F(Pursuer, ChaseSearchPatrolThresholds) {
    // Held on the spot (stunned: he sees nothing) behind the wall above the player.
    NpcSlot& p = put_npc(NPC_PURSUER, 20, 5, PURSUER_CHASE);
    p.npc_stun_ticks = 100000;
    for (int t = 1; t <= 45; ++t) pursuer_update();
    EXPECT_EQ(p.npc_state, PURSUER_CHASE);
    EXPECT_EQ(p.npc_lost_ticks, 45);
    pursuer_update();
    EXPECT_EQ(p.npc_state, PURSUER_SEARCH);
    EXPECT_EQ(p.npc_state_ticks, 270);
    for (int t = 1; t < 270; ++t) pursuer_update();
    EXPECT_EQ(p.npc_state, PURSUER_SEARCH);
    pursuer_update();
    EXPECT_EQ(p.npc_state, PURSUER_PATROL);
    EXPECT_EQ(p.npc_state_ticks, 360);

    // Seen again: the alert, back to the chase.
    p.npc_stun_ticks = 0;
    p.npc_x = tile_anchor_x(24);
    p.npc_y = tile_anchor_y(14);
    pursuer_update();
    EXPECT_EQ(p.npc_state, PURSUER_CHASE);
    EXPECT_EQ(last_sound(), 2);
    EXPECT_EQ(p.npc_last_seen, player_tile());
}

TEST_F(Pursuer, HearsRunningOnlyWhenLookingAndCloseThenCoolsDown) {
    NpcSlot& p = put_npc(NPC_PURSUER, 20, 5, PURSUER_PATROL);
    p.npc_stun_ticks = 100000;
    p.npc_state_ticks = 1000;
    Game.running = 1;
    struct Case { int32_t x, y, state; bool hears; };
    // Squared tile distance 49 is heard, 50 is not; a chase does not listen.
    const Case cases[] = {{27, 14, PURSUER_PATROL, true}, {27, 15, PURSUER_PATROL, false},
                          {13, 14, PURSUER_SEARCH, true}, {27, 14, PURSUER_CHASE, false}};
    for (const Case& c : cases) {
        p.npc_x = tile_anchor_x(c.x);
        p.npc_y = tile_anchor_y(c.y);
        p.npc_state = c.state;
        p.npc_state_ticks = 1000;
        Game.heard_cooldown = 0;
        Game.message_ticks = 0;
        pursuer_update();
        EXPECT_EQ(Game.heard_cooldown == 150, c.hears) << c.x << "," << c.y;
        if (c.hears) {
            EXPECT_EQ(p.npc_state, PURSUER_SEARCH);
            EXPECT_EQ(p.npc_state_ticks, 200);
            EXPECT_EQ(p.npc_target, player_tile());
            EXPECT_STREQ(Game.message_line1, "ER HAT DICH RENNEN GEHÖRT!");
        }
    }
    // Within the cooldown he hears nothing: the count runs down first.
    p.npc_x = tile_anchor_x(27);
    p.npc_y = tile_anchor_y(14);
    p.npc_state = PURSUER_PATROL;
    Game.heard_cooldown = 2;
    pursuer_update();
    EXPECT_EQ(Game.heard_cooldown, 1);
    EXPECT_EQ(p.npc_state, PURSUER_PATROL);
    pursuer_update();
    EXPECT_EQ(Game.heard_cooldown, 150);
}

TEST_F(Pursuer, CaptureBoxes) {
    // He steps 265 (chase at the start) or 305 (locker) straight at the
    // player before the test; the box is 2048 x 1792, from a locker 4096 x 4096.
    struct Case { int32_t dx, dy, state, hidden; bool caught; };
    const Case cases[] = {
        {2047 + 265, 0, PURSUER_CHASE, 0, true},   {2048 + 265, 0, PURSUER_CHASE, 0, false},
        {0, 1791 + 265, PURSUER_CHASE, 0, true},   {0, 1792 + 265, PURSUER_CHASE, 0, false},
        {4095 + 305, 0, PURSUER_LOCKER, 1, true},  {4096 + 305, 0, PURSUER_LOCKER, 1, false},
        {0, 4095 + 305, PURSUER_LOCKER, 1, true},  {300, 0, PURSUER_CHASE, 1, false},
    };
    for (const Case& c : cases) {
        Game.mode = MODE_PLAYING;
        Game.player_hidden = c.hidden;
        NpcSlot& p = put_npc(NPC_PURSUER, 20, 14, c.state);
        p.npc_x = Game.player_x - c.dx;
        p.npc_y = Game.player_y - c.dy;
        p.npc_last_seen = player_tile();
        pursuer_update();
        EXPECT_EQ(Game.mode == MODE_CAUGHT_ANIMATION, c.caught) << c.dx << "," << c.dy << " state " << c.state;
        if (c.caught) {
            EXPECT_STREQ(Game.caught_text, c.hidden ? "ER HAT DICH AUS DEM SPIND GEZOGEN." : "UND ZWAR FÜR IMMER.");
        }
    }
}

TEST_F(Pursuer, StinkBombSavesOncePerBombAndTheCaptureEndsTheTick) {
    Game.inventory[ITEM_STINK_BOMB] = 1;
    Game.play_ticks = 500;
    NpcSlot& p = put_npc(NPC_PURSUER, 20, 14, PURSUER_CHASE);
    p.npc_x += 1000;
    Game.heartbeat_ticks = 1000;  // no heartbeat over the bomb's sound
    update_world(0, 0);
    EXPECT_EQ(Game.mode, MODE_PLAYING);
    EXPECT_EQ(Game.inventory[ITEM_STINK_BOMB], 0);
    EXPECT_EQ(Game.catch_count, 0);
    EXPECT_EQ(p.npc_stun_ticks, 120);
    EXPECT_EQ(p.npc_slow_ticks, 300);
    EXPECT_EQ(p.npc_state, PURSUER_SEARCH);
    EXPECT_EQ(p.npc_state_ticks, 150);
    EXPECT_EQ(p.npc_target, npc_tile(NPC_PURSUER));
    EXPECT_EQ(Game.stink_ticks, 60);
    EXPECT_EQ(last_sound(), 18);
    EXPECT_STREQ(Game.message_line2, "HERR MÜRZEL HUSTET - LAUF!");

    // No bomb left: caught. Nothing after the pursuer runs in that Tick.
    put_npc(NPC_PURSUER, 20, 14, PURSUER_CHASE).npc_x += 1000;
    p.npc_stun_ticks = p.npc_slow_ticks = 0;
    Game.friend_state = FRIEND_ON_THE_WAY;
    Game.friend_ticks = 10;
    const int32_t camera_x = Game.camera_x - 40;
    Game.camera_x = camera_x;
    update_world(0, 0);
    EXPECT_EQ(Game.mode, MODE_CAUGHT_ANIMATION);
    EXPECT_EQ(Game.mode_ticks, 0);
    EXPECT_EQ(Game.catch_count, 1);
    EXPECT_EQ(Game.final_ticks, 502);
    EXPECT_EQ(last_sound(), 4);
    EXPECT_EQ(Game.friend_ticks, 10);
    EXPECT_EQ(Game.camera_x, camera_x);
}

TEST_F(Pursuer, LeavesOnlyUnseenFarAwayOnALuckyRollInPatrol) {
    // away: pixels to the right of the player, when not the tile's own distance
    struct Case { int32_t floor, x, roll; bool visible; bool leaves; int32_t to; int32_t away; };
    const Case cases[] = {
        {3, 50, 29, false, true, 4, 0}, {3, 50, 30, false, false, 3, 0}, {3, 50, 0, true, false, 3, 0},
        {3, 31, 0, false, false, 3, 0},    // 176 pixels: too close
        {3, 31, 0, false, false, 3, 180},  // 180 is not farther than 180
        {3, 31, 0, false, true, 4, 181},
        {5, 50, 0, false, true, 4, 0},     // the top floor: down instead of up
    };
    for (const Case& c : cases) {
        if (Game.current_floor != c.floor) go_to_floor(c.floor);
        stand_on(20, 14);
        NpcSlot& p = put_npc(NPC_PURSUER, c.x, 14, PURSUER_PATROL);
        if (c.away) {
            p.npc_x = Game.player_x + c.away * 256;
            p.npc_y = Game.player_y;
        }
        // Walking towards the player would bring a pursuer placed by pixels
        // under the distance before it is measured: he walks away.
        p.npc_target = tile_index(c.away ? c.x + 2 : c.x - 1, 14);
        p.npc_state_ticks = 1000;
        p.npc_floor_ticks = 1;
        std::memset(VisibleGrid, c.visible ? 1 : 0, sizeof VisibleGrid);
        const uint32_t state = state_rolling(c.roll);
        Game.random_state = state;
        pursuer_update();
        EXPECT_EQ(p.npc_present == 0, c.leaves) << "x " << c.x << " roll " << c.roll;
        EXPECT_EQ(p.npc_floor, c.to);
        // Gone, he stays away 300 Ticks and the third draw below 300; else
        // the next try comes after 900 and the first draw below 900.
        if (c.leaves)
            EXPECT_EQ(p.npc_floor_ticks, 300 + static_cast<int32_t>(model_value(model_steps(state, 3)) % 300));
        else
            EXPECT_EQ(p.npc_floor_ticks, 900 + static_cast<int32_t>(model_value(model_steps(state, 1)) % 900));
    }
}

TEST_F(Pursuer, OffTheFloorHeComesBackByTheStairs) {
    NpcSlot& p = pursuer();
    p.npc_floor = 5;
    p.npc_present = 0;
    p.npc_state = PURSUER_ASLEEP;
    p.npc_follow_ticks = 0;
    offfloor_update(NPC_PURSUER);  // asleep elsewhere: he wakes into his rounds
    EXPECT_EQ(p.npc_state, PURSUER_PATROL);
    EXPECT_EQ(p.npc_floor_ticks, 599);
    p.npc_floor_ticks = -5;  // already past 0: still sets him off
    offfloor_update(NPC_PURSUER);
    EXPECT_EQ(p.npc_follow_ticks, 45);
    EXPECT_EQ(p.npc_follow_floor, 3);
    for (int t = 0; t < 45; ++t) offfloor_update(NPC_PURSUER);
    EXPECT_EQ(p.npc_floor, 4);
    EXPECT_EQ(p.npc_follow_ticks, 45);
    EXPECT_EQ(p.npc_present, 0);
    for (int t = 0; t < 45; ++t) offfloor_update(NPC_PURSUER);
    EXPECT_EQ(p.npc_floor, 3);
    EXPECT_EQ(p.npc_present, 1);
    EXPECT_EQ(npc_tile(NPC_PURSUER), tile_index(3, 18));
    EXPECT_EQ(p.npc_state, PURSUER_SEARCH);
    EXPECT_EQ(p.npc_state_ticks, 300);
    EXPECT_EQ(p.npc_target, player_tile());
    EXPECT_EQ(last_sound(), 8);
    EXPECT_STREQ(Game.message_line1, "DU HÖRST SCHRITTE IM TREPPENHAUS...");
}

TEST_F(Pursuer, FollowsThePlayerUpTheStairsAndArrivesAtTheLanding) {
    Game.floor_open[4] = 1;
    stand_on(1, 20);  // on the stairs up
    Game.stairs_armed = 1;
    NpcSlot& p = put_npc(NPC_PURSUER, 10, 15, PURSUER_CHASE);
    update_world(INPUT_UP, 0);
    ASSERT_EQ(Game.current_floor, 4);
    EXPECT_EQ(p.npc_present, 0);
    const int32_t delay = (7 + 4 + 5) * 3;
    EXPECT_EQ(p.npc_follow_ticks, delay);
    int ticks = 0;
    while (!p.npc_present && ticks < 200) {
        update_world(0, 0);
        ++ticks;
    }
    EXPECT_EQ(ticks, delay);
    EXPECT_EQ(p.npc_floor, 4);
    EXPECT_EQ(p.npc_state, PURSUER_CHASE);  // arrives searching and sees him at once
    EXPECT_EQ(Game.alert_ticks, 30);
}

TEST_F(Pursuer, AlarmsOfThePianoAndTheJanitorKey) {
    NpcSlot& p = put_npc(NPC_PURSUER, 40, 14, PURSUER_PATROL);
    pursuer_alarm(ALARM_PIANO);
    EXPECT_EQ(p.npc_state, PURSUER_SEARCH);
    EXPECT_EQ(p.npc_state_ticks, 300);
    EXPECT_EQ(p.npc_target, player_tile());
    p.npc_state = PURSUER_CHASE;  // the piano does not touch a chase, the key does
    pursuer_alarm(ALARM_PIANO);
    EXPECT_EQ(p.npc_state, PURSUER_CHASE);
    pursuer_alarm(ALARM_JANITOR_KEY);
    EXPECT_EQ(p.npc_state, PURSUER_SEARCH);
    // Elsewhere he sets out for the player's floor, unless already on his way.
    p.npc_present = 0;
    p.npc_floor = 1;
    p.npc_follow_ticks = 0;
    pursuer_alarm(ALARM_JANITOR_KEY);
    EXPECT_EQ(p.npc_follow_ticks, 90);
    EXPECT_EQ(p.npc_follow_floor, 3);
    p.npc_follow_ticks = 0;
    pursuer_alarm(ALARM_PIANO);
    EXPECT_EQ(p.npc_follow_ticks, 60);
    p.npc_follow_floor = 0;
    pursuer_alarm(ALARM_JANITOR_KEY);
    EXPECT_EQ(p.npc_follow_floor, 0);
}

TEST_F(Pursuer, ChaseSpeedRisesWithPlayTimeUpTo335) {
    const int32_t cases[][2] = {{0, 265}, {109, 265}, {110, 266}, {7700, 335}, {100000, 335}};
    for (const auto& c : cases) {
        Game.play_ticks = c[0];
        EXPECT_EQ(pursuer_base_speed(), c[1]) << c[0];
    }
}

TEST_F(Pursuer, WalkFlowPicksTheNearestLowerNeighbourFirstOnATie) {
    std::memset(CurrentFloorMap, '.', sizeof CurrentFloorMap);
    NpcSlot& n = put_npc(NPC_FRIEND, 10, 10, 0);
    n.npc_target = tile_index(11, 11);
    walk_flow(NPC_FRIEND, 100, 0, 0, 0);
    EXPECT_EQ(n.npc_x, tile_anchor_x(10) + 100);  // right and down are as near: right comes first
    EXPECT_EQ(n.npc_facing, 2);
    EXPECT_EQ(n.npc_moving, 1);
    n.npc_x = tile_anchor_x(10);
    n.npc_y = tile_anchor_y(10) + 256;  // a pixel lower: down is nearer
    walk_flow(NPC_FRIEND, 100, 0, 0, 0);
    EXPECT_EQ(n.npc_x, tile_anchor_x(10));
    EXPECT_EQ(n.npc_facing, 0);
    // A target behind walls: he stands still.
    for (int32_t x = 20; x <= 22; ++x)
        for (int32_t y = 20; y <= 22; ++y) CurrentFloorMap[tile_index(x, y)] = '#';
    CurrentFloorMap[tile_index(21, 21)] = '.';
    n.npc_target = tile_index(21, 21);
    const int32_t x0 = n.npc_x, y0 = n.npc_y;
    walk_flow(NPC_FRIEND, 100, 0, 0, 0);
    EXPECT_EQ(n.npc_moving, 0);
    EXPECT_EQ(n.npc_x, x0);
    EXPECT_EQ(n.npc_y, y0);
    EXPECT_EQ(n.npc_flow_source, tile_index(21, 21));  // computed once for the new target
}

TEST_F(Pursuer, PlaceFarKeepsItsDistanceOrFallsBackToTheLanding) {
    for (int i = 0; i < 20; ++i) {
        npc_place_far(NPC_PURSUER);
        const int32_t t = npc_tile(NPC_PURSUER);
        const int32_t dx = tile_column(t) - 20, dy = tile_row(t) - 14;
        ASSERT_GT(dx * dx + dy * dy, 200);
        ASSERT_TRUE(is_route_passable(CurrentFloorMap[t]) && CurrentFloorMap[t] != '^' && CurrentFloorMap[t] != 'v');
    }
    std::memset(CurrentFloorMap, '#', sizeof CurrentFloorMap);
    pursuer().npc_facing = 2;
    npc_place_far(NPC_PURSUER);
    EXPECT_EQ(npc_tile(NPC_PURSUER), tile_index(3, 18));
    EXPECT_EQ(pursuer().npc_facing, 0);
}
