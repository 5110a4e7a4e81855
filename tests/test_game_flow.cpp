// The GameMode state machine of game_tick and the song it hands to the
// sequencer.
#include <gtest/gtest.h>

#include <cstdint>

#include "generator_model.h"
#include "audio/sequencer.h"
#include "audio/synth.h"
#include "game/game_flow.h"
#include "game/game_state.h"
#include "game/new_game.h"
#include "game/quest.h"
#include "platform/input.h"

namespace {

class GameFlow : public ::testing::Test {
protected:
    void SetUp() override {
        program_init(2024);
        Sequencer = SequencerState{};
        Game.previous_input = 0;
    }

    // Into play the way the player gets there: ACTION on the title, ACTION in the intro.
    static void start_playing() {
        game_tick(INPUT_ACTION);
        game_tick(0);
        game_tick(INPUT_ACTION);
        ASSERT_EQ(Game.mode, MODE_PLAYING);
        // Keep the characters out of the way.
        NpcSlot& pursuer = Game.npcs[NPC_PURSUER];
        pursuer.npc_present = 0;
        pursuer.npc_floor = 5;
        pursuer.npc_state = PURSUER_PATROL;
        pursuer.npc_floor_ticks = 99999;
        Game.npcs[NPC_PHONE_TEACHER].npc_floor_ticks = 99999;
        Game.call_countdown = 99999;
    }

    static void enter(int32_t mode) {
        Game.mode = mode;
        Game.mode_ticks = 0;
    }

    // Alternating between two keys makes every Tick a new press.
    static uint32_t alternate(int i, uint32_t a, uint32_t b) { return (i % 2) ? a : b; }
};

}  // namespace

TEST_F(GameFlow, HoldingConfirmLeavesTheTitleButNotTheIntro) {
    EXPECT_EQ(game_tick(INPUT_CONFIRM), 1);
    EXPECT_EQ(Game.mode, MODE_INTRO);
    EXPECT_EQ(Game.mode_ticks, 0);
    // The intro song starts at its first step on this very Tick.
    EXPECT_EQ(Sequencer.song, 2);
    EXPECT_EQ(Sequencer.step, 1);
    EXPECT_EQ(Sequencer.tick_in_step, 1);

    for (int t = 1; t <= 330; ++t) {
        game_tick(INPUT_CONFIRM);
        ASSERT_EQ(Game.mode, MODE_INTRO) << "mode tick " << t;
        ASSERT_EQ(Game.mode_ticks, t);
    }
    game_tick(INPUT_CONFIRM);  // mode tick 331 > 330
    EXPECT_EQ(Game.mode, MODE_PLAYING);
    EXPECT_EQ(Game.mode_ticks, 0);
    // Intro and play share song 2, so it runs on: 332 Ticks at 7 per step.
    EXPECT_EQ(Sequencer.song, 2);
    EXPECT_EQ(Sequencer.step, 48);
    EXPECT_EQ(Sequencer.tick_in_step, 332 % 7);
    game_tick(INPUT_CONFIRM);
    EXPECT_EQ(Game.mode_ticks, 1);
}

TEST_F(GameFlow, TheIntroEndsOnANewPressOfActionConfirmOrBack) {
    const uint32_t keys[] = {INPUT_ACTION, INPUT_CONFIRM, INPUT_BACK};
    for (uint32_t key : keys) {
        enter(MODE_INTRO);
        game_tick(0);
        game_tick(INPUT_RUN | INPUT_UP | INPUT_PHONE);  // other keys do nothing
        EXPECT_EQ(Game.mode, MODE_INTRO);
        game_tick(key);
        EXPECT_EQ(Game.mode, MODE_PLAYING) << "key " << key;
        EXPECT_EQ(Game.mode_ticks, 0);
    }
}

TEST_F(GameFlow, BackOnTheTitleQuitsBeforeTheMusic) {
    Sequencer = SequencerState{1, 5, 3};
    const int32_t triggers = Voices[0].trigger_count + Voices[1].trigger_count;
    const uint32_t state = Game.random_state;
    const int32_t total = Game.total_ticks;
    EXPECT_EQ(game_tick(INPUT_BACK | INPUT_ACTION), 0);
    EXPECT_EQ(Game.mode, MODE_TITLE);
    EXPECT_EQ(Sequencer.song, 1);
    EXPECT_EQ(Sequencer.step, 5);
    EXPECT_EQ(Sequencer.tick_in_step, 3);
    EXPECT_EQ(Voices[0].trigger_count + Voices[1].trigger_count, triggers);
    EXPECT_EQ(Game.random_state, state);  // no new game either
    EXPECT_EQ(Game.total_ticks, total + 1);

    // Held on, BACK is no longer new: the title stays with its song.
    EXPECT_EQ(game_tick(INPUT_BACK), 1);
    EXPECT_EQ(Game.mode, MODE_TITLE);
    EXPECT_EQ(Sequencer.song, 1);
}

TEST_F(GameFlow, ActionOrConfirmOnTheTitleStartsANewGame) {
    const uint32_t keys[] = {INPUT_ACTION, INPUT_CONFIRM};
    for (uint32_t key : keys) {
        enter(MODE_TITLE);
        Game.previous_input = 0;
        Game.task = 7;
        Game.play_ticks = 99;
        Game.catch_count = 4;
        const uint32_t s = Game.random_state;
        EXPECT_EQ(game_tick(key), 1);
        EXPECT_EQ(Game.mode, MODE_INTRO);
        EXPECT_EQ(Game.task, 0);
        EXPECT_EQ(Game.play_ticks, 0);
        EXPECT_EQ(Game.catch_count, 0);
        // The new game's first draws are the code digits.
        const uint32_t s1 = model_step(s), s2 = model_step(s1), s3 = model_step(s2);
        EXPECT_EQ(Game.code_digits[0], model_value(s1) % 9 + 1);
        EXPECT_EQ(Game.code_digits[1], model_value(s2) % 9 + 1);
        EXPECT_EQ(Game.code_digits[2], model_value(s3) % 9 + 1);
    }
}

TEST_F(GameFlow, ModeTickRestartsButTheTotalNeverDoes) {
    int32_t total = Game.total_ticks;
    game_tick(INPUT_ACTION);
    EXPECT_EQ(Game.total_ticks, ++total);
    game_tick(0);
    EXPECT_EQ(Game.mode_ticks, 1);  // the first Tick after a change sees 1
    EXPECT_EQ(Game.total_ticks, ++total);
    game_tick(INPUT_ACTION);
    EXPECT_EQ(Game.mode, MODE_PLAYING);
    EXPECT_EQ(Game.total_ticks, ++total);
    game_tick(0);
    EXPECT_EQ(Game.mode_ticks, 1);
    EXPECT_EQ(Game.total_ticks, ++total);
    game_tick(INPUT_BACK);
    EXPECT_EQ(Game.mode, MODE_TITLE);
    game_tick(0);
    game_tick(INPUT_CONFIRM);  // a second new game
    EXPECT_EQ(Game.total_ticks, total + 3);

    // After years on one screen the counters wrap instead of overflowing;
    // play time likewise.
    Game.total_ticks = INT32_MAX;
    Game.mode_ticks = INT32_MAX;
    game_tick(0);
    EXPECT_EQ(Game.total_ticks, INT32_MIN);
    EXPECT_EQ(Game.mode_ticks, INT32_MIN);
    Game.mode = MODE_PLAYING;
    Game.play_ticks = INT32_MAX;
    game_tick(0);
    EXPECT_EQ(Game.play_ticks, INT32_MIN);
}

TEST_F(GameFlow, TheCaughtAnimationLastsFiftyTicksWhateverIsPressed) {
    start_playing();
    enter(MODE_CAUGHT_ANIMATION);
    for (int t = 1; t <= 49; ++t) {
        game_tick(alternate(t, INPUT_ACTION | INPUT_BACK, INPUT_CONFIRM));
        ASSERT_EQ(Game.mode, MODE_CAUGHT_ANIMATION) << "mode tick " << t;
        ASSERT_EQ(Sequencer.song, 0);
        ASSERT_EQ(Sequencer.step, 0);
    }
    game_tick(0);
    EXPECT_EQ(Game.mode, MODE_CAUGHT);
    EXPECT_EQ(Game.mode_ticks, 0);
    EXPECT_EQ(Sequencer.song, 5);
    EXPECT_EQ(Sequencer.step, 1);
    EXPECT_EQ(Sequencer.tick_in_step, 1);
}

TEST_F(GameFlow, TheCaughtScreenWaitsTwentyTicksForActionButNotForBack) {
    start_playing();
    Game.task = 3;
    save_checkpoint();
    enter(MODE_CAUGHT);
    for (int t = 1; t <= 20; ++t) {
        game_tick(alternate(t, INPUT_ACTION, INPUT_CONFIRM));
        ASSERT_EQ(Game.mode, MODE_CAUGHT) << "mode tick " << t;
    }
    game_tick(INPUT_ACTION);  // mode tick 21; ACTION was not held at 20
    EXPECT_EQ(Game.mode, MODE_PLAYING);
    EXPECT_EQ(Game.mode_ticks, 0);
    EXPECT_EQ(Game.current_floor, 1);
    EXPECT_EQ(Game.player_x, 14336);
    EXPECT_EQ(Game.player_y, 80384);
    EXPECT_EQ(Sequencer.song, 2);
    EXPECT_EQ(Sequencer.step, 1);

    // BACK leaves at once, and the title does not start a game by itself.
    enter(MODE_CAUGHT);
    Game.task = 4;
    const uint32_t state = Game.random_state;
    game_tick(0);
    game_tick(INPUT_BACK | INPUT_ACTION);  // mode tick 2: BACK wins
    EXPECT_EQ(Game.mode, MODE_TITLE);
    EXPECT_EQ(Game.mode_ticks, 0);
    EXPECT_EQ(Game.task, 4);
    EXPECT_EQ(Game.random_state, state);
    EXPECT_EQ(Sequencer.song, 1);

    // After 20 Ticks ACTION wins over BACK.
    enter(MODE_CAUGHT);
    Game.mode_ticks = 20;
    game_tick(0);
    game_tick(INPUT_BACK | INPUT_CONFIRM);
    EXPECT_EQ(Game.mode, MODE_PLAYING);
}

TEST_F(GameFlow, TheEscapedScreenIgnoresEveryKeyForSixtyTicks) {
    enter(MODE_ESCAPED);
    const uint32_t keys[] = {INPUT_ACTION, INPUT_CONFIRM, INPUT_BACK};
    for (int t = 1; t <= 60; ++t) {
        game_tick(keys[t % 3]);
        ASSERT_EQ(Game.mode, MODE_ESCAPED) << "mode tick " << t;
        ASSERT_EQ(Sequencer.song, 4);
    }
    game_tick(INPUT_CONFIRM);  // mode tick 61, a new press after ACTION at 60
    EXPECT_EQ(Game.mode, MODE_TITLE);
    EXPECT_EQ(Game.mode_ticks, 0);
    EXPECT_EQ(Sequencer.song, 1);
    EXPECT_EQ(Sequencer.step, 1);

    enter(MODE_ESCAPED);
    for (int t = 1; t <= 70; ++t) game_tick(0);
    EXPECT_EQ(Game.mode, MODE_ESCAPED);
    game_tick(INPUT_BACK);
    EXPECT_EQ(Game.mode, MODE_TITLE);
}

TEST_F(GameFlow, BackDuringPlayCountsTheTimersDownThenGoesToTheTitle) {
    start_playing();
    Game.message_ticks = 10;
    Game.stairs_cooldown = 3;
    Game.ring_ticks = 40;
    Game.play_ticks = 7;
    const int32_t x0 = Game.player_x;
    EXPECT_EQ(game_tick(INPUT_BACK | INPUT_RIGHT), 1);
    EXPECT_EQ(Game.mode, MODE_TITLE);
    EXPECT_EQ(Game.mode_ticks, 0);
    EXPECT_EQ(Game.ring_ticks, 0);
    EXPECT_EQ(Game.message_ticks, 9);
    EXPECT_EQ(Game.stairs_cooldown, 2);
    EXPECT_EQ(Game.play_ticks, 8);
    EXPECT_EQ(Game.player_x, x0);  // no step on that Tick
    EXPECT_EQ(Sequencer.song, 1);
    EXPECT_EQ(Sequencer.step, 1);
}

TEST_F(GameFlow, PlaySongFollowsTheChase) {
    start_playing();
    NpcSlot& pursuer = Game.npcs[NPC_PURSUER];
    struct Case {
        int32_t present, on_this_floor, state, stun, song;
    };
    const Case cases[] = {
        {1, 1, PURSUER_CHASE, 0, 3},  {1, 1, PURSUER_LOCKER, 0, 3}, {1, 1, PURSUER_SEARCH, 0, 2},
        {1, 1, PURSUER_PATROL, 0, 2}, {1, 1, PURSUER_ASLEEP, 0, 2}, {1, 1, PURSUER_CHASE, 4, 2},
        {0, 1, PURSUER_CHASE, 0, 2},  {1, 0, PURSUER_CHASE, 0, 2},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(testing::Message() << "present " << k.present << " here " << k.on_this_floor << " state "
                                        << k.state << " stun " << k.stun);
        // Far across the floor, so nothing else happens.
        pursuer.npc_x = 50 * 4096 + 2048;
        pursuer.npc_y = 24 * 4096 + 2560;
        pursuer.npc_present = k.present;
        pursuer.npc_floor = k.on_this_floor ? Game.current_floor : 5;
        pursuer.npc_state = k.state;
        pursuer.npc_state_ticks = 90;
        pursuer.npc_stun_ticks = k.stun;
        game_tick(0);
        EXPECT_EQ(Sequencer.song, k.song);
    }
}

TEST_F(GameFlow, EachChaseSwitchRestartsTheSong) {
    start_playing();
    for (int t = 0; t < 30; ++t) game_tick(0);
    ASSERT_EQ(Sequencer.song, 2);
    ASSERT_GT(Sequencer.step, 1);

    NpcSlot& pursuer = Game.npcs[NPC_PURSUER];
    pursuer.npc_x = 50 * 4096 + 2048;
    pursuer.npc_y = 24 * 4096 + 2560;
    pursuer.npc_floor = Game.current_floor;
    pursuer.npc_present = 1;
    pursuer.npc_state = PURSUER_CHASE;
    pursuer.npc_stun_ticks = 0;
    game_tick(0);
    EXPECT_EQ(Sequencer.song, 3);
    EXPECT_EQ(Sequencer.step, 1);
    EXPECT_EQ(Sequencer.tick_in_step, 1);
    for (int t = 0; t < 7; ++t) game_tick(0);
    EXPECT_EQ(Sequencer.step, 3);  // 8 Ticks at 3 per step

    pursuer.npc_stun_ticks = 100;  // a stink bomb: no chase music
    game_tick(0);
    EXPECT_EQ(Sequencer.song, 2);
    EXPECT_EQ(Sequencer.step, 1);
    EXPECT_EQ(Sequencer.tick_in_step, 1);
    pursuer.npc_stun_ticks = 0;
    game_tick(0);
    EXPECT_EQ(Sequencer.song, 3);
    EXPECT_EQ(Sequencer.step, 1);
}
