// The phone, Brazzik and Herr Haselbrink, and the demo scenes.
#include <climits>
#include <string>

#include "game/characters.h"
#include "game/current_floor.h"
#include "game/friend.h"
#include "game/game_state.h"
#include "game/new_game.h"
#include "game/phone.h"
#include "game/phone_teacher.h"
#include "game/scenes.h"
#include "generator_model.h"
#include "platform/input.h"
#include "play_fixture.h"

namespace {

class Phone : public PlayFixture {
protected:
    static std::string line1() { return Game.message_line1; }
    static NpcSlot& teacher() { return Game.npcs[NPC_PHONE_TEACHER]; }
    static NpcSlot& friend_slot() { return Game.npcs[NPC_FRIEND]; }
    static void start_ringing() {
        Game.call_countdown = 1;
        phone_ring_step();
    }
};

}  // namespace

TEST_F(Phone, AnsweredOnTheLastRingingTickMissedOneTickLater) {
    for (int answer : {1, 0}) {
        start_ringing();
        EXPECT_EQ(line1(), "DEIN HANDY KLINGELT! (BRAZZIK)");
        EXPECT_EQ(Game.ring_ticks, 209);
        EXPECT_EQ(Game.ring_count, 1);
        for (int t = 0; t < 208; ++t) phone_ring_step();
        ASSERT_EQ(Game.ring_ticks, 1);
        if (answer) {
            phone_button();
            EXPECT_EQ(line1(), "BRAZZIK: YO BRO, BRAUCHST DU HILFE?");
            EXPECT_EQ(Game.friend_state, FRIEND_ON_THE_WAY);
            EXPECT_EQ(Game.friend_ticks, 30);
            EXPECT_EQ(Game.call_cooldown, 1200);
            EXPECT_GE(Game.call_countdown, 1500);
            Game.friend_state = FRIEND_ABSENT;
        } else {
            phone_ring_step();
            EXPECT_EQ(line1(), "VERPASSTER ANRUF: BRAZZIK");
            EXPECT_TRUE(Game.call_countdown >= 1500 && Game.call_countdown < 3000);
        }
        EXPECT_EQ(Game.ring_ticks, 0);
    }
}

TEST_F(Phone, CallingTheFriendAndTheCooldown) {
    phone_button();
    EXPECT_EQ(line1(), "DU RUFST BRAZZIK AN...");
    EXPECT_EQ(last_sound(), 9);
    EXPECT_EQ(Game.call_cooldown, 1200);
    Game.call_cooldown = 700;
    phone_button();  // he is on his way: the cooldown stays
    EXPECT_EQ(line1(), "BRAZZIK IST SCHON UNTERWEGS.");
    EXPECT_EQ(Game.call_cooldown, 700);
    Game.friend_state = FRIEND_ABSENT;
    const std::pair<int32_t, const char*> cases[] = {{29, "BRAZZIK GEHT NICHT RAN. (NOCH 1 S)"},
                                                     {30, "BRAZZIK GEHT NICHT RAN. (NOCH 2 S)"},
                                                     {1200, "BRAZZIK GEHT NICHT RAN. (NOCH 41 S)"}};
    for (const auto& c : cases) {
        Game.call_cooldown = c.first;
        phone_button();
        EXPECT_EQ(line1(), c.second);
    }
    Game.has_phone = 0;
    phone_button();
    EXPECT_EQ(line1(), "DEIN HANDY HAT JETZT HERR HASELBRINK.");
}

TEST_F(Phone, HidingHidesTheCallButNotTheRing) {
    put_npc(NPC_PHONE_TEACHER, 24, 14, PHONE_TEACHER_PATROL);
    Game.player_hidden = 1;
    phone_button();
    EXPECT_EQ(teacher().npc_state, PHONE_TEACHER_PATROL);
    EXPECT_EQ(line1(), "DU RUFST BRAZZIK AN...");
    start_ringing();
    EXPECT_EQ(teacher().npc_state, PHONE_TEACHER_FOR_PHONE);
    EXPECT_EQ(teacher().npc_last_seen, player_tile());
    // Not hidden, a call in his sight sends him for it.
    Game.player_hidden = 0;
    Game.ring_ticks = 0;
    Game.friend_state = FRIEND_ABSENT;
    Game.call_cooldown = 0;
    teacher().npc_state = PHONE_TEACHER_PATROL;
    phone_button();
    EXPECT_EQ(teacher().npc_state, PHONE_TEACHER_FOR_PHONE);
    EXPECT_EQ(line1(), "HERR HASELBRINK: EIN HANDY?!");
}

TEST_F(Phone, TheRingCallsHimFromUpToTwoFloorsAway) {
    for (int32_t floor : {0, 1, 5}) {
        teacher().npc_present = 0;
        teacher().npc_floor = floor;
        teacher().npc_follow_ticks = 0;
        Game.teacher_following = 0;
        Game.ring_ticks = 0;
        start_ringing();
        const bool comes = floor >= 1;
        EXPECT_EQ(teacher().npc_follow_ticks == 45, comes) << floor;
        EXPECT_EQ(Game.teacher_following, comes ? 1 : 0);
    }
}

TEST_F(Phone, ThePhoneStaysGoneAfterACheckpointRestart) {
    Game.has_phone = 0;
    restore_checkpoint();
    EXPECT_EQ(Game.has_phone, 0);
    start_ringing();
    EXPECT_EQ(Game.ring_ticks, 0);
}

TEST_F(Phone, FriendWithNoAdultAboutGuardsThenLeaves) {
    phone_button();
    for (int t = 0; t < 29; ++t) friend_update();
    EXPECT_EQ(Game.friend_state, FRIEND_ON_THE_WAY);
    friend_update();
    EXPECT_EQ(Game.friend_state, FRIEND_GUARDING);
    EXPECT_EQ(npc_tile(NPC_FRIEND), tile_index(3, 20));
    EXPECT_EQ(line1(), "BRAZZIK: KEIN LEHRER HIER, BRO.");
    for (int t = 0; t < 449; ++t) friend_update();
    EXPECT_EQ(Game.friend_state, FRIEND_GUARDING);
    friend_update();
    EXPECT_EQ(Game.friend_state, FRIEND_LEAVING);
    for (int t = 0; t < 300 && Game.friend_state == FRIEND_LEAVING; ++t) friend_update();
    EXPECT_EQ(Game.friend_state, FRIEND_ABSENT);
    EXPECT_EQ(npc_tile(NPC_FRIEND), tile_index(4, 18));
}

TEST_F(Phone, AHuntingAdultCountsAtAQuarterOfHisDistance) {
    put_npc(NPC_PURSUER, 20, 14, PURSUER_CHASE).npc_x += 300 * 256;
    put_npc(NPC_PHONE_TEACHER, 20, 14, PHONE_TEACHER_PATROL).npc_x -= 100 * 256;
    EXPECT_EQ(nearest_threat(), NPC_PURSUER);  // 75 against 100
    Game.npcs[NPC_PURSUER].npc_state = PURSUER_PATROL;
    EXPECT_EQ(nearest_threat(), NPC_PHONE_TEACHER);
    Game.npcs[NPC_PURSUER].npc_x = Game.player_x + 100 * 256;
    EXPECT_EQ(nearest_threat(), NPC_PURSUER);  // a tie: the pursuer
    teacher().npc_state = PHONE_TEACHER_CONFISCATE;
    Game.npcs[NPC_PURSUER].npc_present = 0;
    EXPECT_EQ(nearest_threat(), -1);
}

TEST_F(Phone, BrawlHoldsAndSlowsSixBlowsAndSetsAChaseBack) {
    for (int32_t state : {PURSUER_CHASE, PURSUER_PATROL}) {
        NpcSlot& p = put_npc(NPC_PURSUER, 22, 14, state);
        p.npc_state_ticks = 999;
        friend_slot().npc_x = p.npc_x - 2048;
        friend_slot().npc_y = p.npc_y;
        Game.friend_state = FRIEND_RUNNING;
        Game.friend_target = NPC_PURSUER;
        friend_update();
        ASSERT_EQ(Game.friend_state, FRIEND_BRAWL);
        EXPECT_EQ(p.npc_stun_ticks, 90);
        EXPECT_EQ(p.npc_slow_ticks, 450);
        EXPECT_EQ(p.npc_state, state == PURSUER_CHASE ? int32_t(PURSUER_SEARCH) : state);
        EXPECT_EQ(p.npc_state_ticks, state == PURSUER_CHASE ? 200 : 999);
        EXPECT_EQ(std::string(Game.message_line2), "BRAZZIK HÄLT HERRN MÜRZEL AUF!");
        int blows = 0;
        while (Game.friend_state == FRIEND_BRAWL) {
            const int32_t before = sounds();
            friend_update();
            blows += sounds() != before && last_sound() == 10;
        }
        EXPECT_EQ(blows, 6);
        EXPECT_EQ(Game.friend_state, FRIEND_LEAVING);
    }
}

TEST_F(Phone, GuardTimeOverWinsOverAThreatInTheSameTick) {
    Game.friend_state = FRIEND_GUARDING;
    Game.friend_ticks = 1;
    friend_slot().npc_x = Game.player_x;
    friend_slot().npc_y = Game.player_y;
    put_npc(NPC_PURSUER, 22, 14, PURSUER_PATROL);
    friend_update();
    EXPECT_EQ(Game.friend_target, NPC_PURSUER);
    EXPECT_EQ(Game.friend_state, FRIEND_LEAVING);
}

TEST_F(Phone, GuardingBrazzikGoesForAThreatCloserThanAHundredPixels) {
    for (const int32_t distance : {99, 100}) {
        Game.friend_state = FRIEND_GUARDING;
        Game.friend_ticks = 500;
        Game.friend_target = -1;
        friend_slot().npc_x = Game.player_x;
        friend_slot().npc_y = Game.player_y;
        NpcSlot& p = put_npc(NPC_PURSUER, 22, 14, PURSUER_PATROL);
        p.npc_x = Game.player_x + distance * 256;
        p.npc_y = Game.player_y;
        friend_update();
        EXPECT_EQ(Game.friend_state, distance < 100 ? FRIEND_RUNNING : FRIEND_GUARDING) << distance;
        EXPECT_EQ(Game.friend_target, distance < 100 ? NPC_PURSUER : -1) << distance;
    }
}

TEST_F(Phone, BrazzikWhoseTargetLeftTheFloorGuardsThreeHundredTicks) {
    NpcSlot& p = put_npc(NPC_PURSUER, 30, 14, PURSUER_PATROL);
    p.npc_floor = Game.current_floor == 0 ? 1 : 0;  // gone up or down the stairs
    Game.npcs[NPC_PHONE_TEACHER].npc_present = 0;
    Game.friend_state = FRIEND_RUNNING;
    Game.friend_target = NPC_PURSUER;
    friend_update();
    EXPECT_EQ(Game.friend_state, FRIEND_GUARDING);
    for (int t = 0; t < 299; ++t) friend_update();
    EXPECT_EQ(Game.friend_state, FRIEND_GUARDING) << "300 Ticks of guarding";
    friend_update();
    EXPECT_EQ(Game.friend_state, FRIEND_LEAVING);
}

TEST_F(Phone, TeacherHeldNinetyTicksThenAtHalfSpeed) {
    NpcSlot& t = put_npc(NPC_PHONE_TEACHER, 30, 14, PHONE_TEACHER_PATROL);
    t.npc_floor_ticks = 99999;
    t.npc_stun_ticks = 90;
    t.npc_slow_ticks = 450;
    const int32_t x0 = t.npc_x, y0 = t.npc_y;
    for (int i = 0; i < 90; ++i) phone_teacher_update();
    EXPECT_EQ(t.npc_x, x0);
    EXPECT_EQ(t.npc_y, y0);
    EXPECT_EQ(t.npc_stun_ticks, 0);
    phone_teacher_update();
    EXPECT_EQ(t.npc_walk_distance, 80);  // half of his 160
    EXPECT_EQ(t.npc_slow_ticks, 450 - 91);
}

TEST_F(Phone, TeacherTakesThePhoneOnlyFromAVisiblePlayerWhoHasOne) {
    for (int32_t hidden : {1, 0}) {
        NpcSlot& t = put_npc(NPC_PHONE_TEACHER, 20, 14, PHONE_TEACHER_FOR_PHONE);
        t.npc_x += 2000;
        t.npc_last_seen = player_tile();
        Game.player_hidden = hidden;
        Game.ring_ticks = 20;
        phone_teacher_update();
        EXPECT_EQ(Game.has_phone, hidden);
    }
    EXPECT_EQ(teacher().npc_state, PHONE_TEACHER_CONFISCATE);
    EXPECT_EQ(Game.confiscate_ticks, 180);
    EXPECT_EQ(Game.ring_ticks, 0);
    EXPECT_EQ(last_sound(), 12);
    EXPECT_EQ(line1(), "HERR HASELBRINK: HANDY HER!");
    // The phone gone, he never goes for it again: a ring in his sight leaves him searching.
    teacher().npc_state = PHONE_TEACHER_SEARCH;
    teacher().npc_state_ticks = 100;
    Game.ring_ticks = 20;
    phone_teacher_update();
    EXPECT_EQ(teacher().npc_state, PHONE_TEACHER_SEARCH);
    Game.has_phone = 1;  // with it, the same Tick sends him back for it
    teacher().npc_x += 6 * 4096;
    phone_teacher_update();
    EXPECT_EQ(teacher().npc_state, PHONE_TEACHER_FOR_PHONE);
}

TEST_F(Phone, TeacherHuntsThePhoneWhileItRingsOrWithinNinetyPixels) {
    // Seeing the player, he goes straight for him while the phone still
    // rings (for its last Tick too); once it is silent, only within 90 pixels.
    struct Case { int32_t away, ring; bool straight; };
    for (const Case c : {Case{96, 1, true}, Case{96, 0, false}, Case{90, 0, false}, Case{89, 0, true}}) {
        NpcSlot& t = put_npc(NPC_PHONE_TEACHER, 26, 14, PHONE_TEACHER_FOR_PHONE);
        t.npc_x = Game.player_x + c.away * 256;
        t.npc_y = Game.player_y;
        const int32_t elsewhere = tile_index(40, 14);
        t.npc_last_seen = elsewhere;
        Game.ring_ticks = c.ring;
        phone_teacher_update();
        EXPECT_EQ(t.npc_last_seen, c.straight ? player_tile() : elsewhere) << c.away << " px, ring " << c.ring;
    }
}

TEST_F(Phone, TeacherFloorsStayInTheBuilding) {
    // Find states whose first draw picks a random direction and whose second goes down or up.
    auto state_for = [](bool up) {
        for (uint32_t s = 1;; ++s) {
            const uint32_t s1 = model_step(s), s2 = model_step(s1);
            if (model_value(s1) % 100 > 64 && ((s2 & 0x10000u) != 0) == up) return s;
        }
    };
    const int32_t cases[][3] = {{0, 0, 1}, {5, 1, 4}};
    for (const auto& c : cases) {
        teacher().npc_present = 0;
        teacher().npc_floor = c[0];
        teacher().npc_follow_ticks = 0;
        teacher().npc_floor_ticks = 1;
        Game.random_state = state_for(c[1] != 0);
        phone_teacher_offfloor_update();
        EXPECT_EQ(teacher().npc_floor, c[2]);
        EXPECT_TRUE(teacher().npc_floor_ticks >= 450 && teacher().npc_floor_ticks < 900);
    }
}

TEST(Scenes, EveryScenePlaysAndDraws) {
    program_init(77);
    for (int32_t n : {-1, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21,
                      22, 23, 24, 25, 26, 1000, INT_MIN, INT_MAX}) {
        demo_scene_setup(n);
        draw_screen();
        ASSERT_TRUE(Game.mode >= MODE_TITLE && Game.mode <= MODE_ESCAPED) << n;
    }
    demo_scene_setup(15);
    EXPECT_STREQ(Game.message_line1, "DEIN HANDY KLINGELT! (BRAZZIK)");
    EXPECT_GT(Game.ring_ticks, 0);
    demo_scene_setup(6);
    EXPECT_EQ(Game.player_hidden, 1);
    demo_scene_setup(26);
    EXPECT_EQ(Game.mode, MODE_PLAYING);
    EXPECT_EQ(Game.current_floor, 3);
}
