// Recorded runs: the reader's errors, the recorder, record-then-replay
// through the real main loop, and a GameState hash that sees every field.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "fake_platform.h"
#include "game/game_flow.h"
#include "game/game_state.h"
#include "gfx/framebuffer.h"
#include "platform/cmdline.h"
#include "platform/input.h"
#include "platform/main_loop.h"
#include "platform/replay.h"
#include "screens/draw_screen.h"

namespace {

std::string read_text(const char* name) {
    std::string text;
    if (std::FILE* f = std::fopen(name, "rb")) {
        int c;
        while ((c = std::fgetc(f)) != EOF) text += static_cast<char>(c);
        std::fclose(f);
    }
    return text;
}

std::string check_error(const std::string& text) {
    ReplayTotals totals;
    char error[REPLAY_ERROR_SIZE];
    if (replay_check(text.data(), text.size(), totals, error)) return "";
    return error;
}

const std::string Head = "stivra-replay 1\nseed 5\n";

// The hash the recorder wrote into its closing comment.
std::string end_hash(const std::string& record) {
    const size_t at = record.rfind("hash ");
    return at == std::string::npos ? "" : record.substr(at + 5, 16);
}

std::string replayed_hash(const std::string& record) {
    ReplayResult result;
    char error[REPLAY_ERROR_SIZE];
    EXPECT_EQ(replay_text(record.data(), record.size(), result, error), REPLAY_DONE) << error;
    char hash[17];
    format_hash(result.hash, hash);
    return hash;
}

}  // namespace

TEST(ReplayReader, EachErrorNamesItsLine) {
    const struct {
        std::string text;
        const char* error;
        ReplayRefusalCode code;
    } cases[] = {
        {"", "line 1: missing header", REFUSAL_NO_HEADER},
        {"seed 5\n", "line 1: missing header", REFUSAL_NO_HEADER},
        {"# made by hand\n\nstivra-replay\n", "line 3: missing version", REFUSAL_NO_VERSION},
        {"stivra-replay 2\nseed 5\n", "line 1: unknown version 2", REFUSAL_UNKNOWN_VERSION},
        {"stivra-replay one\n", "line 1: bad number 'one' for the version", REFUSAL_BAD_NUMBER},
        {"stivra-replay 1 1\n", "line 1: unexpected '1' after the version", REFUSAL_UNEXPECTED_FIELD},
        {"stivra-replay 1\n", "line 2: missing seed line", REFUSAL_NO_SEED_LINE},
        {"stivra-replay 1\nsead 5\n", "line 2: expected the seed line", REFUSAL_NOT_SEED_LINE},
        {"stivra-replay 1\nseed\n", "line 2: expected the seed line", REFUSAL_NOT_SEED_LINE},
        {"stivra-replay 1\nseed -5\n", "line 2: bad number '-5' for the seed", REFUSAL_BAD_NUMBER},
        {"stivra-replay 1\nseed 4294967296\n", "line 2: bad number '4294967296'", REFUSAL_BAD_NUMBER},
        {"stivra-replay 1\nseed 5 6\n", "line 2: unexpected '6' after the seed", REFUSAL_UNEXPECTED_FIELD},
        {Head + "7\n", "line 3: expected 'COUNT BITS [TICKS]'", REFUSAL_NOT_A_RUN},
        {Head + "0 8\n", "line 3: COUNT must be at least 1", REFUSAL_COUNT_ZERO},
        {Head + "1 0x8\n", "line 3: bad number '0x8' for BITS", REFUSAL_BAD_NUMBER},
        {Head + "1 512\n", "line 3: BITS 512 is not an InputBits mask", REFUSAL_BITS_RANGE},
        {Head + "1 8 0\n", "line 3: TICKS 0 is outside 1..4", REFUSAL_TICKS_RANGE},
        {Head + "1 8 5\n", "line 3: TICKS 5 is outside 1..4", REFUSAL_TICKS_RANGE},
        {Head + "1 8 +2\n", "line 3: bad number '+2' for TICKS", REFUSAL_BAD_NUMBER},
        {Head + "1 8 2 2\n", "line 3: unexpected '2' after TICKS", REFUSAL_UNEXPECTED_FIELD},
        {Head + "3 8\n\n1 4", "line 5: the text ends in the middle of a line", REFUSAL_CUT_LINE},
        {"stivra-replay 1", "line 1: the text ends in the middle of a line", REFUSAL_CUT_LINE},
        {Head + "1 8 # a comment is a line too\n2 0 1 # until its newline", "line 4: the text ends in the middle", REFUSAL_CUT_LINE},
        // A day of play at most: 2592000 Ticks, reached on the line that passes it.
        {Head + "2592000 0\n1 0\n", "line 4: the record runs longer than a day of play (more than 2592000 Ticks)", REFUSAL_TOO_LONG},
        {Head + "4000000000 0\n", "line 3: the record runs longer than a day of play", REFUSAL_TOO_LONG},
        {Head + "1 0\n648001 0 4\n", "line 4: the record runs longer than a day of play", REFUSAL_TOO_LONG},
        // A field is quoted short and printable.
        {Head + std::string("1 \x01\x7f") + std::string(40, '9') + "\n", "line 3: bad number '??9999999999999999999999...' for BITS", REFUSAL_BAD_NUMBER},
    };
    for (const auto& c : cases) {
        const std::string error = check_error(c.text);
        EXPECT_EQ(error.rfind(c.error, 0), 0u) << "text: " << c.text << "\nerror: " << error;
        EXPECT_EQ(replay_refusal().code, c.code) << error;
        // The line number the English line starts with is the refusal's own.
        EXPECT_EQ("line " + std::to_string(replay_refusal().line) + ": ", error.substr(0, error.find(": ") + 2));
    }
    EXPECT_LE(check_error(Head + "1 " + std::string(5000, '7') + "\n").size(), 120u);
}

// What editors and other tools leave around a good record is no error: a
// byte-order mark, a last comment without its newline; and the limits let
// through exactly what they allow.
TEST(ReplayReader, ByteOrderMarkLastCommentAndTheLimits) {
    for (const std::string& text : {"\xEF\xBB\xBF" + Head + "2 8\n", Head + "2 8\n# end: 2 passes", Head + "2 8\n  \t"})
        EXPECT_EQ(check_error(text), "") << text;
    EXPECT_EQ(check_error(Head + "2592000 0\n"), "");
    EXPECT_EQ(check_error(Head + "648000 0 4\n"), "");

    std::string large = Head + "1 8\n";
    large.resize(REPLAY_MAX_BYTES, '\n');
    EXPECT_EQ(check_error(large), "");
    large += '\n';
    EXPECT_EQ(check_error(large), "the record is larger than 4194304 bytes (4 MiB), far more than any recorded run");
}

// What the page says a refusal by: its code and its arguments, the English
// line made from them; a success leaves no refusal behind.
TEST(ReplayReader, RefusalsCarryTheirArguments) {
    const ReplayRefusal& r = replay_refusal();
    check_error(Head + "1 8\n2 \x01" + std::string(30, '7') + "\n");
    EXPECT_EQ(r.code, REFUSAL_BAD_NUMBER);
    EXPECT_EQ(r.line, 4u);
    EXPECT_EQ(r.what, FIELD_BITS);
    EXPECT_STREQ(r.field, "?77777777777777777777777...");
    check_error("stivra-replay 1\nseed 5 x\n");
    EXPECT_EQ(r.code, REFUSAL_UNEXPECTED_FIELD);
    EXPECT_EQ(r.what, FIELD_SEED);
    EXPECT_STREQ(r.field, "x");
    check_error(Head + "1 8 7\n");
    EXPECT_EQ(r.numbers[0], 7u);
    check_error(Head + "3000000 0\n");
    EXPECT_EQ(r.code, REFUSAL_TOO_LONG);
    EXPECT_EQ(r.numbers[0], REPLAY_MAX_PLAY_TICKS);
    EXPECT_EQ(check_error(Head + "1 8\n"), "");
    EXPECT_EQ(r.code, REFUSAL_NONE);

    char error[REPLAY_ERROR_SIZE];
    replay_size_error(error);
    EXPECT_EQ(r.code, REFUSAL_TOO_LARGE);
    EXPECT_EQ(r.line, 0u);
    EXPECT_EQ(r.numbers[0], REPLAY_MAX_BYTES);
    replay_shorter_error(12, 999999, error);
    EXPECT_STREQ(error, "the record holds 12 passes, fewer than the 999999 to continue to");
    EXPECT_EQ(r.code, REFUSAL_SHORTER);
    EXPECT_EQ(r.numbers[1], 999999u);

    // Every code has a name of its own, as the page looks them up.
    for (int a = 0; a < REFUSAL_CODE_COUNT; ++a) {
        ASSERT_NE(ReplayRefusalNames[a], nullptr);
        EXPECT_GT(std::strlen(ReplayRefusalNames[a]), 0u);
        for (int b = 0; b < a; ++b) EXPECT_STRNE(ReplayRefusalNames[a], ReplayRefusalNames[b]);
    }
}

TEST(ReplayReader, CommentsBlankLinesAndWindowsLineEnds) {
    const std::string text =
        "# recorded by hand\r\n\r\nstivra-replay 1\r\nseed 4294967295 # the largest\r\n"
        "3 8 2\r\n  \t# only a comment\n1\t511\t4\n2 0\n";
    ReplayTotals totals;
    char error[REPLAY_ERROR_SIZE];
    ASSERT_TRUE(replay_check(text.data(), text.size(), totals, error)) << error;
    EXPECT_EQ(totals.seed, 4294967295u);
    EXPECT_EQ(totals.passes, 6u);
    EXPECT_EQ(totals.ticks, 3u * 2 + 4 + 2);

    ReplayReader reader;
    ASSERT_TRUE(replay_begin(reader, text.data(), text.size()));
    ReplayRun run;
    ASSERT_EQ(replay_next(reader, run), 1);
    EXPECT_EQ(run.count, 3u);
    EXPECT_EQ(run.bits, 8u);
    EXPECT_EQ(run.ticks, 2u);
    EXPECT_EQ(reader.line, 5u);

    // No runs at all is a valid, empty record.
    EXPECT_EQ(check_error(Head), "");
}

TEST(ReplayReader, WrittenRunsReadBack) {
    char line[40];
    EXPECT_EQ(replay_format_run(ReplayRun{3, 8, 1}, line), 4);
    EXPECT_STREQ(line, "3 8\n");
    replay_format_run(ReplayRun{4294967295u, 511, 4}, line);
    EXPECT_STREQ(line, "4294967295 511 4\n");
    const std::string text = Head + line;
    ReplayReader reader;
    ReplayRun run;
    ASSERT_TRUE(replay_begin(reader, text.data(), text.size()));
    ASSERT_EQ(replay_next(reader, run), 1);
    EXPECT_EQ(run.count, 4294967295u);
    EXPECT_EQ(run.bits, 511u);
    EXPECT_EQ(run.ticks, 4u);
    EXPECT_EQ(replay_next(reader, run), 0);
}

TEST(Replay, ABadLineAnywhereReplaysNothing) {
    program_init(77);
    Game.total_ticks = 12345;
    const std::string text = Head + "100 8\n3 0 9\n";
    ReplayResult result;
    char error[REPLAY_ERROR_SIZE];
    EXPECT_EQ(replay_text(text.data(), text.size(), result, error), REPLAY_BAD_TEXT);
    EXPECT_STREQ(error, "line 4: TICKS 9 is outside 1..4");
    EXPECT_EQ(Game.total_ticks, 12345);
    EXPECT_EQ(result.passes, 0u);
}

TEST(Replay, PassesRunTheirTicksThenAFrame) {
    // Out of the title, into play, then 40 Ticks of walking right.
    const std::string text = "stivra-replay 1\nseed 9\n2 0\n1 64\n1 0\n1 16 3\n10 8 4\n";
    ReplayResult result;
    char error[REPLAY_ERROR_SIZE];
    ASSERT_EQ(replay_text(text.data(), text.size(), result, error), REPLAY_DONE) << error;
    EXPECT_EQ(result.seed, 9u);
    EXPECT_EQ(result.passes, 15u);
    EXPECT_EQ(result.ticks, 2u + 1 + 1 + 3 + 40);
    EXPECT_EQ(result.mode, MODE_PLAYING);
    EXPECT_EQ(Game.total_ticks, 47);
    EXPECT_EQ(Game.play_ticks, 2 + 40);  // ACTION leaves the intro on the first of its three Ticks
    EXPECT_FALSE(result.quit);
    EXPECT_EQ(result.hash, game_state_hash(Game));

    // The same text gives the same end; one more frame gives another.
    ReplayResult again;
    replay_text(text.data(), text.size(), again, error);
    EXPECT_EQ(again.hash, result.hash);
    const uint32_t before = Game.random_state;
    Game.mode = MODE_CAUGHT_ANIMATION;  // a screen that draws from the generator
    Game.caught_text = "";
    draw_screen();
    EXPECT_NE(Game.random_state, before);

    // BACK on the title asks to quit; the replay says so.
    const std::string quit = "stivra-replay 1\nseed 9\n1 128 2\n";
    replay_text(quit.data(), quit.size(), result, error);
    EXPECT_TRUE(result.quit);
    EXPECT_EQ(result.ticks, 2u);
}

TEST(GameStateHash, SeesEveryByteButNotWhereTheTextLives) {
    program_init(3);
    static GameState copy;
    copy = Game;
    copy.caught_text = "NACHSITZEN";
    const uint64_t base = game_state_hash(copy);
    uint8_t* bytes = reinterpret_cast<uint8_t*>(&copy);
    const size_t text_at = offsetof(GameState, caught_text);
    size_t last_seen = 0;
    std::vector<size_t> unseen;
    for (size_t i = 0; i < sizeof copy; ++i) {
        if (i >= text_at && i < text_at + sizeof copy.caught_text) continue;
        bytes[i] ^= 0x5a;
        if (game_state_hash(copy) == base) unseen.push_back(i);
        else last_seen = i;
        bytes[i] ^= 0x5a;
    }
    // Only the padding at the end of the record may stay out of the hash;
    // anything else is a field missing from the list in state_fields.h.
    for (size_t i : unseen) EXPECT_GT(i, last_seen) << "byte " << i << " of the GameState is not hashed";

    // The caught text counts by its characters, not by its address.
    static const char same[] = "NACHSITZEN";
    copy.caught_text = same;
    EXPECT_EQ(game_state_hash(copy), base);
    copy.caught_text = "NACHSITZEM";
    EXPECT_NE(game_state_hash(copy), base);
    copy.caught_text = nullptr;
    const uint64_t none = game_state_hash(copy);
    copy.caught_text = "";
    EXPECT_NE(game_state_hash(copy), none);
}

TEST(Recorder, MergesEqualPassesAndFlushesEverySecond) {
    const char* name = "recorder_test.txt";
    program_init(11);
    ASSERT_TRUE(record_open(name, 11));
    EXPECT_EQ(read_text(name), "stivra-replay 1\nseed 11\n");
    record_pass(0, 1, 5000);
    record_pass(0, 1, 5033);
    record_pass(0, 1, 5066);
    record_pass(8, 1, 5100);
    record_pass(8, 2, 5999);
    // Not yet a second: the last runs may still wait in the buffer.
    record_pass(8, 2, 6000);  // a second since the first pass: out with it
    EXPECT_EQ(read_text(name), "stivra-replay 1\nseed 11\n3 0\n1 8\n2 8 2\n");
    // A run that goes on across the flush continues on a new line.
    record_pass(8, 2, 6033);
    record_pass(8, 2, 7033);
    EXPECT_EQ(read_text(name), "stivra-replay 1\nseed 11\n3 0\n1 8\n2 8 2\n2 8 2\n");
    record_pass(64, 4, 7066);
    ASSERT_TRUE(record_close());
    EXPECT_FALSE(recording());
    char hash[17];
    format_hash(game_state_hash(Game), hash);
    const std::string record = read_text(name);
    EXPECT_EQ(record.substr(0, record.rfind("# end: ")),
              "stivra-replay 1\nseed 11\n3 0\n1 8\n2 8 2\n2 8 2\n1 64 4\n");
    EXPECT_EQ(record.substr(record.rfind("# end: ")).substr(0, 57),
              std::string("# end: 9 passes, 16 ticks, hash ") + hash + ", states ");
    std::remove(name);

    EXPECT_FALSE(record_open("no_such_directory/r.txt", 1));
    EXPECT_FALSE(recording());
    record_pass(8, 1, 0);  // not recording: nothing happens
}

#ifdef __linux__
TEST(Recorder, AFailedWriteIsReported) {
    ASSERT_TRUE(record_open("/dev/full", 1));
    for (uint32_t i = 0; i < 3000; ++i) record_pass(i & 15, 1, i * 33);
    EXPECT_FALSE(record_close());
}
#endif

// The game recorded by the real main loop (through STIVRA_RECORD) with
// stalls of 2, 3, 4 and more Ticks, key presses between passes, and the
// smoke run's script: replaying the record ends on the very same GameState.
TEST(Recorder, RecordThenReplayGivesTheSameHash) {
    const char* name = "record_replay_test.txt";
    for (int autoplay = 0; autoplay <= 1; ++autoplay) {
        reset_fake_platform();
        ::setenv("STIVRA_RECORD", name, 1);
        Fake.stop_after_pumps = 9000;
        Fake.on_pump = [](int pump) {
            // Every 97th pass a stall of 40..240 ms (1..7 Ticks due at once).
            if (pump % 97 == 0) Fake.now_ms += 40 + 50 * static_cast<uint32_t>((pump / 97) % 5);
            static const uint32_t keys[] = {VKEY_RETURN, 'D', VKEY_SHIFT, 'S', 'E', 'W', VKEY_RETURN, 'A', 'Q'};
            const uint32_t key = keys[(pump / 150) % 9];
            if (pump % 150 == 0) window_key_down(key);
            if (pump % 150 == 100 || (pump % 150 == 0 && key == 'E')) window_key_up(key);
        };
        Game = GameState{};  // as in a freshly started program
        const char* game[] = {"stivra"};
        const char* smoke[] = {"stivra", "-autoplay", "record_replay_test.bmp"};
        const int code = autoplay ? program_main(3, const_cast<char**>(smoke), 2024)
                                  : program_main(1, const_cast<char**>(game), 2024);
        ::unsetenv("STIVRA_RECORD");
        ASSERT_EQ(code, 0);
        char hash[17];
        format_hash(game_state_hash(Game), hash);
        const uint32_t ticks = static_cast<uint32_t>(Game.total_ticks);
        if (autoplay) EXPECT_EQ(ticks, 150u);
        else EXPECT_GT(ticks, 260u);

        const std::string record = read_text(name);
        EXPECT_NE(record.find(" 2\n"), std::string::npos) << "no pass of 2 Ticks:\n" << record;
        EXPECT_NE(record.find(" 4\n"), std::string::npos) << "no pass of 4 Ticks:\n" << record;
        EXPECT_EQ(end_hash(record), hash);
        EXPECT_EQ(replayed_hash(record), hash) << record;
        // The closing line's chains are the replay's: the game recorded
        // every pass's state and frame as the replay has them.
        ReplayResult replayed;
        char error[REPLAY_ERROR_SIZE];
        replay_text(record.data(), record.size(), replayed, error);
        char line[RECORD_END_LINE_SIZE];
        format_end_line(replayed.passes, replayed.ticks, replayed.hash, replayed.chains, line);
        EXPECT_EQ(record.substr(record.rfind("# end: ")), line);
        EXPECT_EQ(static_cast<uint32_t>(Game.total_ticks), ticks);
        std::remove(name);
    }
    std::remove("record_replay_test.bmp");
    reset_fake_platform();
}

TEST(ReplayChains, SeeEveryPixelAndTheOrderOfPasses) {
    static uint8_t frame[SCREEN_W * SCREEN_H];
    std::memset(frame, 3, sizeof frame);
    const uint64_t base = frame_hash(frame);
    for (int at : {0, 1, 7, 8, 31999, SCREEN_W * SCREEN_H - 1}) {
        frame[at] = 4;
        EXPECT_NE(frame_hash(frame), base) << "pixel " << at;
        frame[at] = 3;
    }
    EXPECT_EQ(frame_hash(frame), base);

    // Two runs that pass the same states in another order differ, and so do
    // runs that differ in one pass only, however they end.
    const PassHashes a{1, 2}, b{3, 4};
    RunChains ab, ba, aa;
    chains_fold(ab, a), chains_fold(ab, b);
    chains_fold(ba, b), chains_fold(ba, a);
    chains_fold(aa, a), chains_fold(aa, PassHashes{1, 5});
    EXPECT_NE(ab.states, ba.states);
    EXPECT_NE(ab.frames, ba.frames);
    RunChains a_then_c;
    chains_fold(a_then_c, a), chains_fold(a_then_c, PassHashes{1, 4});
    EXPECT_EQ(aa.states, a_then_c.states);  // the same states
    EXPECT_NE(aa.frames, a_then_c.frames);  // one frame differs
}

TEST(ReplayStoredEnd, TheLastClosingLineInEitherForm) {
    StoredEnd end;
    const std::string full = Head + "3 8\n# end: 3 passes, 3 ticks, hash 00000000000000ff, states "
                                    "0123456789abcdef, frames fedcba9876543210\n";
    ASSERT_TRUE(replay_stored_end(full.data(), full.size(), end));
    EXPECT_EQ(end.passes, 3u);
    EXPECT_EQ(end.hash, 0xffu);
    EXPECT_TRUE(end.has_chains);
    EXPECT_EQ(end.chains.states, 0x0123456789abcdefull);
    EXPECT_EQ(end.chains.frames, 0xfedcba9876543210ull);

    // The short form of older builds, the last line without its newline,
    // and of several closing lines the last.
    const std::string two = full + "4 0\n# end: 7 passes, 9 ticks, hash 0000000000000001";
    ASSERT_TRUE(replay_stored_end(two.data(), two.size(), end));
    EXPECT_EQ(end.passes, 7u);
    EXPECT_EQ(end.ticks, 9u);
    EXPECT_FALSE(end.has_chains);

    // What does not read whole is no closing line.
    for (const std::string bad : {"# end: 3 passes, 3 ticks, hash 00ff\n", "# end: 3 passes, 3 ticks\n",
                                  "# end: 3 passes, 3 ticks, hash 00000000000000ff0\n",
                                  "# end: 99999999999999999999 passes, 3 ticks, hash 00000000000000ff\n",
                                  "#end: 3 passes, 3 ticks, hash 00000000000000ff\n"})
        EXPECT_FALSE(replay_stored_end((Head + bad).data(), Head.size() + bad.size(), end)) << bad;
    // A closing line with broken chains still gives its end, as the short form.
    const std::string broken = Head + "# end: 3 passes, 3 ticks, hash 00000000000000ff, states 12\n";
    ASSERT_TRUE(replay_stored_end(broken.data(), broken.size(), end));
    EXPECT_FALSE(end.has_chains);
}
