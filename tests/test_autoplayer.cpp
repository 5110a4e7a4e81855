// The auto-player: it walks through every door of every floor by the
// player's own collision rules, makes the right choices in the tight spots
// (lockers, the phone, the caught screen, the piano beside Herr Hemmke),
// wins a game acting only through InputBits, and its record plays back
// into the very same game.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "game/current_floor.h"
#include "game/game_flow.h"
#include "game/game_state.h"
#include "platform/present.h"
#include "platform/input.h"
#include "tools/autoplayer.h"
#include "platform/replay.h"
#include "world/floors.h"
#include "world/tile_geometry.h"

namespace {

std::string temp_path(const char* name) {
    return std::string(::testing::TempDir()) + name;
}

// Plays a record back the way the main loop would: each pass runs its Ticks
// with its bits, then draws one frame. Returns false on anything unexpected.
// Plays a record back through the replay reader, as stivra-tool replay does.
bool play_back(const std::string& path, long* passes) {
    static char text[4 << 20];
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return false;
    const size_t size = std::fread(text, 1, sizeof text, f);
    std::fclose(f);
    ReplayResult result{};
    char error[REPLAY_ERROR_SIZE] = "";
    const bool ok = replay_text(text, size, result, error) == REPLAY_DONE;
    EXPECT_STREQ(error, "");
    *passes = static_cast<long>(result.passes);
    return ok;
}

// A floor of its own: the player at the landing, the grown-ups and the
// phone out of the way, every gate and the pool hall open.
void walk_alone_on(int32_t floor) {
    Game = GameState{};  // as the process starts: no key held from before
    program_init(77);
    game_tick(INPUT_CONFIRM);
    game_tick(0);
    game_tick(INPUT_CONFIRM);
    ASSERT_EQ(Game.mode, MODE_PLAYING);
    for (int f = 0; f < FLOOR_COUNT; ++f) Game.floor_open[f] = 1;
    Game.pool_hall_open = 1;
    load_floor(floor);
    for (int slot = NPC_PURSUER; slot <= NPC_PHONE_TEACHER; ++slot) {
        NpcSlot& npc = Game.npcs[slot];
        npc.npc_present = 0;
        npc.npc_floor = (floor + 3) % FLOOR_COUNT;
        npc.npc_follow_ticks = 0;
        npc.npc_floor_ticks = 999999;
    }
    Game.npcs[NPC_PURSUER].npc_state = PURSUER_PATROL;  // asleep he would set off at once
    Game.call_countdown = 999999;
    Game.player_x = tile_anchor_x(LANDING_X);
    Game.player_y = tile_anchor_y(LANDING_Y);
    autoplayer_reset();
}

// A few Ticks of the bot, without frames (nothing here depends on them).
void bot_ticks(int n) {
    for (int i = 0; i < n; ++i) game_tick(autoplayer_bits(nullptr));
}

// Herr Mürzel chasing on the player's floor, standing on tile (x, y).
void pursuer_chasing_from(int32_t x, int32_t y) {
    NpcSlot& h = Game.npcs[NPC_PURSUER];
    h.npc_present = 1;
    h.npc_floor = Game.current_floor;
    h.npc_state = PURSUER_CHASE;
    h.npc_x = tile_anchor_x(x);
    h.npc_y = tile_anchor_y(y);
    h.npc_last_seen = h.npc_target = player_tile();
    h.npc_flow_source = -1;
    h.npc_stun_ticks = h.npc_slow_ticks = h.npc_lost_ticks = 0;
}

void put_player(int32_t x, int32_t y) {
    Game.player_x = tile_anchor_x(x);
    Game.player_y = tile_anchor_y(y);
}

}  // namespace

// Doors are the narrowest places: the player's box has two pixels to spare
// on either side, and the door slows him down. Every door of every floor is
// reached in turn, and so is every tile beside a locker in the corridor.
TEST(AutoPlayer, WalksThroughEveryDoorOfEveryFloor) {
    for (int32_t floor = 0; floor < FLOOR_COUNT; ++floor) {
        walk_alone_on(floor);
        int32_t reached = 0;
        for (int32_t t = 0; t < MAP_TILES; ++t) {
            const int code = CurrentFloorMap[t];
            const bool beside_corridor_locker =
                tile_row(t) >= 13 && tile_row(t) <= 16 && is_floor_tile(code) &&
                (tile_at(tile_column(t), tile_row(t) - 1) == 'L' || tile_at(tile_column(t), tile_row(t) + 1) == 'L');
            if (code != 'D' && !beside_corridor_locker) continue;
            int32_t ticks = 0;
            while (player_tile() != t && ticks < 1500 && Game.mode == MODE_PLAYING) {
                game_tick(autoplayer_walk_bits(t));
                ticks += 1;
            }
            ASSERT_EQ(player_tile(), t) << "floor " << floor << ": tile (" << tile_column(t) << ", "
                                        << tile_row(t) << ") not reached";
            ASSERT_EQ(Game.current_floor, floor) << "took the stairs on the way";
            reached += 1;
        }
        EXPECT_GT(reached, 0) << "floor " << floor;
    }
}

// One whole game: won, with the GameState left alone by the planner, and the
// record of it played back pass by pass ends in the same state, on the
// escaped screen. Seed 144 is one of the quicker games, and one with a
// capture, so the caught screens and the restart from the checkpoint run too.
TEST(AutoPlayer, WinsAndItsRecordPlaysBackTheSameGame) {
    const std::string path = temp_path("autoplay_seed144.txt");
    ASSERT_TRUE(record_open(path.c_str(), 144));
    const AutoplayResult result = autoplay_run(144, 30 * 60 * 30);
    ASSERT_TRUE(record_close());
    EXPECT_EQ(result.outcome, AUTOPLAY_WON) << result.reason;
    EXPECT_FALSE(AutoplayWroteState);
    EXPECT_EQ(result.task, 9);
    EXPECT_EQ(result.play_ticks, Game.final_ticks);
    ASSERT_EQ(Game.mode, MODE_ESCAPED);

    static GameState won;
    static uint8_t won_frame[SCREEN_W * SCREEN_H];
    std::memcpy(&won, &Game, sizeof Game);
    std::memcpy(won_frame, Framebuffer, sizeof won_frame);
    long passes = 0;
    ASSERT_TRUE(play_back(path, &passes));
    EXPECT_EQ(passes, result.ticks);
    EXPECT_EQ(Game.mode, MODE_ESCAPED);
    EXPECT_EQ(std::memcmp(&won, &Game, sizeof Game), 0) << "the replay went another way";
    EXPECT_EQ(std::memcmp(won_frame, Framebuffer, sizeof won_frame), 0);
    std::remove(path.c_str());
}


// Chased but out of his sight (he is behind the wall of the chemistry room)
// beside a locker: the bot hides. In his sight it would not: he would come
// for the locker.
TEST(AutoPlayerChoices, HidesFromAChaseOnlyOutOfSight) {
    walk_alone_on(3);
    Game.teacher_floor = 5;  // Herr Hemmke elsewhere: ACTION must not talk
    put_player(6, 14);       // below the locker at (6, 13)
    pursuer_chasing_from(6, 8);
    bot_ticks(2);
    EXPECT_EQ(Game.player_hidden, 1);
    EXPECT_EQ(Game.npcs[NPC_PURSUER].npc_state, PURSUER_CHASE);

    walk_alone_on(3);
    Game.teacher_floor = 5;
    put_player(6, 14);
    pursuer_chasing_from(12, 15);  // in the corridor, in plain sight
    for (int i = 0; i < 20; ++i) {
        bot_ticks(1);
        ASSERT_NE(Game.npcs[NPC_PURSUER].npc_state, PURSUER_LOCKER) << "hid before his eyes";
    }
}

// The ring is answered on the next Tick, which sends Brazzik; chased in
// sight with the phone free, the bot calls him itself.
TEST(AutoPlayerChoices, AnswersTheRingAndCallsBrazzikWhenHunted) {
    walk_alone_on(3);
    Game.call_countdown = 1;
    bot_ticks(1);
    ASSERT_GT(Game.ring_ticks, 0);
    bot_ticks(1);
    EXPECT_EQ(Game.ring_ticks, 0);
    EXPECT_EQ(Game.friend_state, FRIEND_ON_THE_WAY);

    walk_alone_on(3);
    put_player(20, 15);
    pursuer_chasing_from(26, 15);
    bot_ticks(1);
    EXPECT_EQ(Game.friend_state, FRIEND_ON_THE_WAY);
    EXPECT_EQ(Game.call_cooldown, 1200);
}

// Caught: the caught screen takes no key for its first 20 Ticks, and then
// the bot goes on from the checkpoint.
TEST(AutoPlayerChoices, GoesOnFromTheCaughtScreen) {
    walk_alone_on(3);
    Game.mode = MODE_CAUGHT;
    Game.mode_ticks = 0;
    int ticks = 0;
    while (Game.mode == MODE_CAUGHT && ticks < 40) {
        bot_ticks(1);
        ticks += 1;
    }
    EXPECT_EQ(Game.mode, MODE_PLAYING);
    EXPECT_EQ(ticks, 21);
}

// ACTION within 40 pixels of Herr Hemmke talks instead of playing: with him
// standing over the nearest pianos, within 40 pixels of every spot beside
// them, the bot plays one farther off.
TEST(AutoPlayerChoices, PlaysAPianoOutOfHerrHemmkesEarshot) {
    walk_alone_on(2);
    put_player(12, 19);  // in the music room, pianos at (8, 20) and (9, 20) close by
    Game.task = 2;
    Game.teacher_floor = 2;
    Game.teacher_x = 9;
    Game.teacher_y = 19;
    int ticks = 0;
    while (Game.task == 2 && ticks < 3000) {
        bot_ticks(1);
        ticks += 1;
    }
    EXPECT_EQ(Game.task, 3);
}

// The curious bot (--curious) is on only within the test that asks for it.
struct CuriousBot {
    CuriousBot() { AutoplayCurious = true; }
    ~CuriousBot() { AutoplayCurious = false; }
};

// It lets the first ring out, answers the next, presses PHONE once while
// Brazzik is coming and once while he cannot be called, and once with the
// phone gone; none of it twice.
TEST(AutoPlayerCurious, TriesThePhoneInEveryState) {
    CuriousBot curious;
    walk_alone_on(3);
    Game.call_countdown = 1;
    bool missed = false;
    for (int i = 0; i < 220 && !missed; ++i) {
        bot_ticks(1);
        missed = std::strcmp(Game.message_line1, "VERPASSTER ANRUF: BRAZZIK") == 0;
    }
    ASSERT_TRUE(missed);
    EXPECT_EQ(Game.friend_state, FRIEND_ABSENT);

    Game.call_countdown = 1;
    bot_ticks(4);  // rings, answered, PHONE let go, and pressed again while he comes
    EXPECT_EQ(Game.ring_ticks, 0);
    EXPECT_EQ(Game.friend_state, FRIEND_ON_THE_WAY);
    EXPECT_STREQ(Game.message_line1, "BRAZZIK IST SCHON UNTERWEGS.");

    Game.friend_state = FRIEND_ABSENT;  // gone again, the cooldown still running
    bot_ticks(2);
    EXPECT_EQ(std::strncmp(Game.message_line1, "BRAZZIK GEHT NICHT RAN.", 23), 0) << Game.message_line1;
    set_message("", "", 0);
    bot_ticks(3);
    EXPECT_STREQ(Game.message_line1, "");  // each only once

    Game.has_phone = 0;
    bot_ticks(2);
    EXPECT_STREQ(Game.message_line1, "DEIN HANDY HAT JETZT HERR HASELBRINK.");
}

// On the escaped screen it waits until everything is shown (the last line
// comes after 70 Ticks), then goes back to the title; the plain bot presses
// nothing there.
TEST(AutoPlayerCurious, ReadsTheEscapedScreenAndGoesToTheTitle) {
    walk_alone_on(3);
    Game.mode = MODE_ESCAPED;
    Game.mode_ticks = 0;
    bot_ticks(200);
    EXPECT_EQ(Game.mode, MODE_ESCAPED);

    CuriousBot curious;
    Game.mode_ticks = 0;
    int ticks = 0;
    while (Game.mode == MODE_ESCAPED && ticks < 200) {
        bot_ticks(1);
        ticks += 1;
    }
    EXPECT_EQ(Game.mode, MODE_TITLE);
    EXPECT_GT(ticks, 70);
}

// Before the sheets of music are all found, it goes to a piano and plays
// it once, and hears that it cannot yet.
TEST(AutoPlayerCurious, TriesThePianoBeforeItsTime) {
    CuriousBot curious;
    walk_alone_on(2);
    Game.task = 1;
    bool told = false;
    for (int i = 0; i < 3000 && !told; ++i) {
        bot_ticks(1);
        told = std::strcmp(Game.message_line1, "EIN KLAVIER. OHNE NOTEN KANNST DU NICHTS SPIELEN.") == 0;
    }
    EXPECT_TRUE(told);
    EXPECT_EQ(Game.task, 1);
}
