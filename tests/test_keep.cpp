// Keeping and continuing games: the watch that notes each game in the
// record, finding the last game of a record, continuing it to the very same
// GameState, the kept runs' folder, and C on the title and -resume through
// the real main loop.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

#include "fake_platform.h"
#include "game/game_flow.h"
#include "game/game_state.h"
#include "platform/cmdline.h"
#include "platform/input.h"
#include "platform/keep.h"
#include "platform/kept_runs.h"
#include "platform/main_loop.h"
#include "platform/pause.h"
#include "platform/replay.h"

namespace {

// Title, CONFIRM (pass 6 begins game 1), the intro, CONFIRM into play
// (pass 17), walking right, BACK (pass 58 gives it up), the title again.
const std::string GivenUp = "stivra-replay 1\nseed 5\n5 0\n1 64\n10 0\n1 64\n40 8\n1 128\n10 0\n";

std::string read_text(const std::string& name) {
    std::string text;
    if (std::FILE* f = std::fopen(name.c_str(), "rb")) {
        int c;
        while ((c = std::fgetc(f)) != EOF) text += static_cast<char>(c);
        std::fclose(f);
    }
    return text;
}

void write_text(const std::string& name, const std::string& text) {
    std::FILE* f = std::fopen(name.c_str(), "wb");
    ASSERT_NE(f, nullptr) << name;
    std::fputs(text.c_str(), f);
    std::fclose(f);
}

// The GameState hash after the first `passes` passes of a record.
uint64_t hash_after(const std::string& text, uint64_t passes) {
    ReplayPlayer player;
    char error[REPLAY_ERROR_SIZE];
    EXPECT_TRUE(replay_player_start(player, text.data(), text.size(), error)) << error;
    while (player.result.passes < passes && replay_player_pass(player)) {
    }
    EXPECT_EQ(player.result.passes, passes);
    return game_state_hash(Game);
}

// The record of a text's passes as the recorder notes them (memory only).
std::string recorded(const std::string& text) {
    ReplayPlayer player;
    char error[REPLAY_ERROR_SIZE];
    EXPECT_TRUE(replay_player_start(player, text.data(), text.size(), error)) << error;
    record_open_files(nullptr, 0, player.result.seed);
    while (replay_player_pass(player)) record_pass(player.run.bits, player.run.ticks, 0);
    size_t size = 0;
    const char* data = record_text(size);
    std::string out = data ? std::string(data, size) : "";
    record_close();
    return out;
}

GameMark mark_of(const std::string& line) {
    GameMark m{};
    EXPECT_TRUE(game_mark_parse(line.data(), line.size(), m)) << line;
    return m;
}

}  // namespace

TEST(GameWatch, NotesLinesReadBackAndOddOnesAreRefused) {
    GameMark m{3, GAME_GIVEN_UP, 5229, 4, 3, 5, 1, 12345};
    char line[GAME_MARK_LINE_SIZE];
    const int n = game_mark_format(m, line);
    EXPECT_STREQ(line, "# game 3 given up: pass 5229, floor 4, task 3, stickers 5, catches 1, play 12345\n");
    const GameMark back = mark_of(std::string(line, static_cast<size_t>(n - 1)));
    EXPECT_EQ(back.game, 3u);
    EXPECT_EQ(back.state, GAME_GIVEN_UP);
    EXPECT_EQ(back.pass, 5229u);
    EXPECT_EQ(back.play_ticks, 12345);
    EXPECT_EQ(mark_of("# game 1 won: pass 9, floor 1, task 10, stickers 18, catches 0, play 9\r").state, GAME_WON);
    for (const char* bad : {"# game 0 alive: pass 9, floor 1, task 1, stickers 0, catches 0, play 0",
                            "# game 1 alive: pass 0, floor 1, task 1, stickers 0, catches 0, play 0",
                            "# game 1 alive: pass 9, floor 7, task 1, stickers 0, catches 0, play 0",
                            "# game 1 alive: pass 9, floor 1, task 11, stickers 0, catches 0, play 0",
                            "# game 1 asleep: pass 9, floor 1, task 1, stickers 0, catches 0, play 0",
                            "# game 1 alive: pass 9, floor 1, task 1, stickers 0, catches 0, play 0 x",
                            "# game 1 alive: pass 99999999999999999999999, floor 1, task 1, stickers 0, catches 0, play 0",
                            "# game 1 alive: pass 9, floor 1, task 1, stickers 0, catches 0, play 2147483648",
                            "# end: 9 passes, 9 ticks, hash 0123456789abcdef"}) {
        GameMark m2{};
        EXPECT_FALSE(game_mark_parse(bad, std::strlen(bad), m2)) << bad;
    }
}

// Each way a game ends, seen by the watch: given up on the title, won on
// the escaped screen; a new game after a won one counts on.
TEST(GameWatch, FollowsBeginningsEndsAndWhatChanged) {
    program_init(7);
    GameWatch w;
    game_watch_reset(w);
    EXPECT_FALSE(game_watch_pass(w, 1));  // the title is no game
    Game.mode = MODE_INTRO;
    EXPECT_TRUE(game_watch_pass(w, 2));
    EXPECT_EQ(w.last.game, 1u);
    EXPECT_EQ(w.last.state, GAME_ALIVE);
    Game.mode = MODE_PLAYING;
    EXPECT_FALSE(game_watch_pass(w, 3));  // nothing worth a note
    EXPECT_EQ(w.last.pass, 3u);
    Game.play_ticks = 1800;  // a minute of play is
    EXPECT_TRUE(game_watch_pass(w, 4));
    Game.current_floor = 2;
    Game.task = 4;
    EXPECT_TRUE(game_watch_pass(w, 5));
    EXPECT_EQ(w.last.floor, 3);
    EXPECT_EQ(w.last.task, 5);
    Game.mode = MODE_TITLE;  // BACK: the game as it was before that pass
    Game.current_floor = 0;
    EXPECT_TRUE(game_watch_pass(w, 6));
    EXPECT_EQ(w.last.state, GAME_GIVEN_UP);
    EXPECT_EQ(w.last.pass, 5u);
    EXPECT_EQ(w.last.floor, 3);
    EXPECT_FALSE(game_watch_pass(w, 7));

    Game.mode = MODE_INTRO;
    EXPECT_TRUE(game_watch_pass(w, 8));
    Game.mode = MODE_PLAYING;
    game_watch_pass(w, 9);
    Game.final_ticks = 4321;
    Game.mode = MODE_ESCAPED;
    EXPECT_TRUE(game_watch_pass(w, 10));
    EXPECT_EQ(w.last.game, 2u);
    EXPECT_EQ(w.last.state, GAME_WON);
    EXPECT_EQ(w.last.pass, 9u);
    EXPECT_EQ(w.last.play_ticks, 4321);
    Game.mode = MODE_TITLE;  // leaving the escaped screen ends nothing more
    EXPECT_FALSE(game_watch_pass(w, 11));
    EXPECT_EQ(w.last.state, GAME_WON);
}

// A record's last game, from its notes or by replaying it, and the notes
// that cannot be right.
TEST(Keep, FindsTheLastGameOfARecord) {
    const std::string noted = recorded(GivenUp);
    EXPECT_NE(noted.find("# game 1 alive: pass 6, floor 4, task 1,"), std::string::npos) << noted;
    EXPECT_NE(noted.find("# game 1 given up: pass 57, floor 4, task 1,"), std::string::npos) << noted;

    char error[REPLAY_ERROR_SIZE];
    RecordGame game;
    ASSERT_TRUE(record_find_last_game(noted.data(), noted.size(), false, game, error)) << error;
    EXPECT_EQ(game.seed, 5u);
    EXPECT_EQ(game.passes, 68u);
    EXPECT_EQ(game.mark.state, GAME_GIVEN_UP);
    EXPECT_EQ(game.mark.pass, 57u);
    // Without notes the replay finds the same game; without leave to replay, none.
    RecordGame replayed;
    ASSERT_TRUE(record_find_last_game(GivenUp.data(), GivenUp.size(), true, replayed, error)) << error;
    EXPECT_EQ(replayed.mark.state, GAME_GIVEN_UP);
    EXPECT_EQ(replayed.mark.pass, 57u);
    EXPECT_EQ(replayed.mark.play_ticks, game.mark.play_ticks);
    ASSERT_TRUE(record_find_last_game(GivenUp.data(), GivenUp.size(), false, replayed, error));
    EXPECT_EQ(replayed.mark.state, GAME_NONE);

    // Cut off alive (a crash, a closed window): handed over at the last pass.
    const std::string cut = recorded("stivra-replay 1\nseed 5\n5 0\n1 64\n10 0\n1 64\n20 8\n");
    ASSERT_TRUE(record_find_last_game(cut.data(), cut.size(), false, game, error)) << error;
    EXPECT_EQ(game.mark.state, GAME_ALIVE);
    EXPECT_EQ(game.mark.pass, 37u);
    const std::string more = cut + "300 2\n";  // passes after the last note
    ASSERT_TRUE(record_find_last_game(more.data(), more.size(), false, game, error));
    EXPECT_EQ(game.mark.pass, 337u);

    const std::string beyond = GivenUp + "# game 1 given up: pass 69, floor 4, task 1, stickers 0, catches 0, play 0\n";
    EXPECT_FALSE(record_find_last_game(beyond.data(), beyond.size(), false, game, error));
    EXPECT_STREQ(error, "the record holds 68 passes, fewer than the 69 to continue to");
    const std::string bad = "stivra-replay 1\nseed 5\n1 999\n";
    EXPECT_FALSE(record_find_last_game(bad.data(), bad.size(), true, game, error));
    EXPECT_STREQ(error, "line 3: BITS 999 is not an InputBits mask (0..511)");
}

// Continuing replays to the hand-over pass: the same GameState as the game
// had there, and a record that is the kept passes.
TEST(Keep, ContinuingReachesTheSameGameAndRecordsTheKeptPasses) {
    const std::string noted = recorded(GivenUp);
    const uint64_t expected = hash_after(noted, 57);

    program_init(99);  // some other game runs when the player continues
    record_open_files(nullptr, 0, 99);
    const uint64_t before = game_state_hash(Game);
    char error[REPLAY_ERROR_SIZE];
    EXPECT_FALSE(continue_begin(noted.data(), noted.size(), 69, error));
    EXPECT_STREQ(error, "the record holds 68 passes, fewer than the 69 to continue to");
    EXPECT_FALSE(continue_active());
    EXPECT_EQ(game_state_hash(Game), before);  // a refusal changes nothing

    ASSERT_TRUE(continue_begin(noted.data(), noted.size(), 57, error)) << error;
    EXPECT_EQ(continue_target(), 57u);
    int steps = 0;
    while (continue_step(5)) ++steps;
    EXPECT_EQ(steps, 11);
    EXPECT_FALSE(continue_active());
    EXPECT_EQ(continue_done(), 57u);
    EXPECT_EQ(game_state_hash(Game), expected);
    EXPECT_EQ(Game.mode, MODE_PLAYING);

    size_t size = 0;
    const char* text = record_text(size);
    ASSERT_NE(text, nullptr);
    ReplayTotals totals;
    ASSERT_TRUE(replay_check(text, size, totals, error)) << error;
    EXPECT_EQ(totals.seed, 5u);
    EXPECT_EQ(totals.passes, 57u);
    EXPECT_EQ(record_last_game().state, GAME_ALIVE);
    EXPECT_EQ(record_last_game().pass, 57u);
    record_close();
}

// Ten runs are kept, the newest in lauf_0.txt; a newest run without a game
// is reused, a damaged one is named and kept; the title names the last game.
TEST(KeptRuns, MakeRoomAndFindTheLastGame) {
    const std::string folder = "kept_runs_test/";
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    const auto slot = [&](int i) { return folder + "lauf_" + std::to_string(i) + ".txt"; };
    const std::string noted = recorded(GivenUp);

    EXPECT_EQ(std::string(kept_runs_open(folder.c_str())), slot(0));
    GameMark mark;
    EXPECT_FALSE(continue_offer(mark));  // nothing kept yet

    write_text(slot(0), "stivra-replay 1\nseed 3\n40 0\n");  // a run that never left the title
    write_text(slot(1), noted);
    kept_runs_open(folder.c_str());
    EXPECT_FALSE(std::filesystem::exists(slot(2)));  // lauf_0 was reused, nothing moved
    ASSERT_TRUE(continue_offer(mark));
    EXPECT_EQ(mark.pass, 57u);
    char line[64];
    ASSERT_TRUE(continue_offer_line(line));
    EXPECT_STREQ(line, "C = WEITERSPIELEN: 4. ETAGE, AUFGABE 1/10, 0:01");

    for (int i = 0; i < KEPT_RUNS; ++i) write_text(slot(i), i == 0 ? "damaged\n" : noted);
    testing::internal::CaptureStderr();
    kept_runs_open(folder.c_str());
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_NE(said.find("the kept game " + slot(0) + " is damaged (line 1: missing header"), std::string::npos)
        << said;
    EXPECT_FALSE(std::filesystem::exists(slot(0)));  // made room: this run goes there
    EXPECT_EQ(read_text(slot(1)), "damaged\n");
    EXPECT_FALSE(std::filesystem::exists(slot(KEPT_RUNS)));
    ASSERT_TRUE(continue_offer(mark));  // the newest game behind the damaged file
    kept_runs_reset();
    std::filesystem::remove_all(folder);
}

namespace {

std::string BeforeC;  // the record as it stood on the title, before C

// Plays a game in the real main loop: into play, walking right, then BACK
// and (with quit) Escape again on the title. Stops after `pumps` pumps.
void play_and_give_up(bool quit, int pumps) {
    Fake.stop_after_pumps = pumps;
    Fake.on_pump = [quit](int pump) {
        // A pass with Ticks comes about every 33 pumps.
        if (pump == 20 || pump == 200) window_key_down(VKEY_RETURN), window_key_up(VKEY_RETURN);
        if (pump == 300) window_key_down('D');
        if (pump == 1200) window_key_up('D');
        if (pump == 1300 || (quit && pump == 1500)) window_key_down(VKEY_ESCAPE), window_key_up(VKEY_ESCAPE);
        if (!quit && pump == 1500) {
            size_t size = 0;
            const char* text = record_text(size);
            BeforeC = text ? std::string(text, size) : "";
            window_key_down(VKEY_C), window_key_up(VKEY_C);
        }
    };
}

}  // namespace

// BACK, then C on the title: the game before BACK, paused. Then a new
// program run continues it from the kept file, and -resume from any record.
TEST(KeptRuns, ContinueOnTheTitleAndFromAFile) {
    const std::string folder = "kept_runs_loop/";
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    const char* game[] = {"stivra"};

    reset_fake_platform();
    Fake.keep_folder = folder.c_str();
    play_and_give_up(false, 2500);
    Game = GameState{};
    ASSERT_EQ(program_main(1, const_cast<char**>(game), 41), 0);
    const std::string first = read_text(folder + "lauf_0.txt");
    RecordGame kept;
    char error[REPLAY_ERROR_SIZE];
    ASSERT_TRUE(record_find_last_game(first.data(), first.size(), false, kept, error)) << error;
    EXPECT_EQ(kept.mark.state, GAME_ALIVE);  // continued, then the window closed
    EXPECT_EQ(Paused, 1u);                    // handed over paused, and left so
    EXPECT_EQ(Game.mode, MODE_PLAYING);
    // The game before BACK: where the given-up game stood, and its record
    // the kept passes.
    RecordGame given_up;
    ASSERT_TRUE(record_find_last_game(BeforeC.data(), BeforeC.size(), false, given_up, error)) << BeforeC;
    ASSERT_EQ(given_up.mark.state, GAME_GIVEN_UP) << BeforeC;
    EXPECT_EQ(kept.passes, given_up.mark.pass);
    EXPECT_EQ(game_state_hash(Game), hash_after(BeforeC, given_up.mark.pass));

    // A new program run: C continues the kept game.
    reset_fake_platform();
    Fake.keep_folder = folder.c_str();
    Fake.stop_after_pumps = 40;
    Fake.on_pump = [](int pump) {
        if (pump == 5) window_key_down(VKEY_C), window_key_up(VKEY_C);
    };
    Game = GameState{};
    ASSERT_EQ(program_main(1, const_cast<char**>(game), 42), 0);
    EXPECT_EQ(Paused, 1u);
    EXPECT_EQ(game_state_hash(Game), hash_after(first, kept.mark.pass));
    EXPECT_EQ(read_text(folder + "lauf_1.txt"), first);

    // -resume FILE, a record from anywhere.
    const std::string file = folder + "sent.txt";
    write_text(file, GivenUp);
    reset_fake_platform();
    Fake.stop_after_pumps = 10;
    const char* resume[] = {"stivra", "-resume", file.c_str()};
    Game = GameState{};
    ASSERT_EQ(program_main(3, const_cast<char**>(resume), 43), 0);
    EXPECT_EQ(Paused, 1u);
    EXPECT_EQ(game_state_hash(Game), hash_after(GivenUp, 57));

    reset_fake_platform();
    std::filesystem::remove_all(folder);
}

// STIVRA_KEEP=0 keeps nothing; a folder the game may not write to is named
// in one line and the game plays on; a plain first argument that names no
// file is ignored as it always was, and -resume with a damaged record says
// why and starts a new game.
TEST(KeptRuns, KeepNothingOrFailLoudlyAndPlayOn) {
    const std::string folder = "kept_runs_fail/";
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    const char* game[] = {"stivra"};
    const auto run = [&](const char* const* args, int count, const std::string& keep) {
        reset_fake_platform();
        Fake.keep_folder = keep.c_str();
        Fake.stop_after_pumps = 50;
        Game = GameState{};
        testing::internal::CaptureStderr();
        EXPECT_EQ(program_main(count, const_cast<char**>(args), 5), 0);
        return testing::internal::GetCapturedStderr();
    };

    ::setenv("STIVRA_KEEP", "0", 1);
    EXPECT_EQ(run(game, 1, folder), "");
    ::unsetenv("STIVRA_KEEP");
    EXPECT_FALSE(std::filesystem::exists(folder + "lauf_0.txt"));

    const std::string missing = folder + "no_such_folder/";
    EXPECT_EQ(run(game, 1, missing),
              "stivra: cannot write the kept game " + missing + "lauf_0.txt; this run is not kept\n");
    EXPECT_GT(Game.total_ticks, 0);  // and it played on

#ifdef __linux__
    // A record that takes no byte is said at once, and once.
    ::setenv("STIVRA_RECORD", "/dev/full", 1);
    ::setenv("STIVRA_KEEP", "0", 1);
    EXPECT_EQ(run(game, 1, folder), "stivra: a write to /dev/full failed; the record there is incomplete\n");
    ::unsetenv("STIVRA_RECORD");
    ::unsetenv("STIVRA_KEEP");
#endif

    const char* plain[] = {"stivra", "not-a-file"};
    EXPECT_EQ(run(plain, 2, folder), "");
    EXPECT_EQ(Paused, 0u);
    const std::string damaged = folder + "damaged.txt";
    write_text(damaged, "stivra-replay 1\nseed 5\n1 99999\n");
    const char* resume[] = {"stivra", "-resume", damaged.c_str()};
    EXPECT_EQ(run(resume, 3, folder),
              "stivra: cannot continue " + damaged + ": line 3: BITS 99999 is not an InputBits mask (0..511)\n");
    EXPECT_EQ(Paused, 0u);
    const char* dropped[] = {"stivra", damaged.c_str()};
    EXPECT_NE(run(dropped, 2, folder).find("cannot continue"), std::string::npos);
    write_text(damaged, "stivra-replay 1\nseed 5\n40 0\n");
    EXPECT_EQ(run(resume, 3, folder), "stivra: " + damaged + " holds no game to continue; a new one starts\n");
    // A record cut off in the middle of a line (a crash) goes on from its
    // last whole line.
    write_text(damaged, GivenUp.substr(0, GivenUp.size() - 3));
    EXPECT_EQ(run(resume, 3, folder), "");
    EXPECT_EQ(Paused, 1u);
    EXPECT_EQ(game_state_hash(Game), hash_after(GivenUp, 57));

    reset_fake_platform();
    std::filesystem::remove_all(folder);
}
