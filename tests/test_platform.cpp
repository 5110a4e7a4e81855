// The platform shell: command line, window scale, letterbox, BMP files, and
// the main loop driven by a fake clock.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "data/text_reader.h"
#include "fake_platform.h"
#include "game/game_state.h"
#include "platform/bmp.h"
#include "platform/cmdline.h"
#include "platform/input.h"
#include "platform/main_loop.h"
#include "platform/present.h"
#include "platform/replay.h"
#include "platform/seed.h"

namespace {

std::vector<std::string> split(const char* line) {
    copy_command_line(line);
    char* arguments[MAX_ARGUMENTS];
    int n = split_command_line(arguments, MAX_ARGUMENTS);
    return std::vector<std::string>(arguments, arguments + n);
}

std::vector<uint8_t> read_file(const std::string& name) {
    std::vector<uint8_t> data;
    std::FILE* f = std::fopen(name.c_str(), "rb");
    if (!f) return data;
    int c;
    while ((c = std::fgetc(f)) != EOF) data.push_back(static_cast<uint8_t>(c));
    std::fclose(f);
    return data;
}

uint32_t u32_at(const std::vector<uint8_t>& d, size_t at) {
    return d[at] | (d[at + 1] << 8) | (d[at + 2] << 16) | (uint32_t(d[at + 3]) << 24);
}

}  // namespace

TEST(CommandLine, SplitsOnSpacesAndTabs) {
    EXPECT_EQ(split("stivra.exe  -icon\t3   out.bmp "),
              (std::vector<std::string>{"stivra.exe", "-icon", "3", "out.bmp"}));
    EXPECT_TRUE(split("   \t ").empty());
}

TEST(CommandLine, QuotesGroupWithoutEscapes) {
    EXPECT_EQ(split("\"C:\\Program Files\\stivra.exe\" -world 2 \"my floor.bmp\""),
              (std::vector<std::string>{"C:\\Program Files\\stivra.exe", "-world", "2", "my floor.bmp"}));
    // A closing quote ends the argument; the next one starts right after it.
    EXPECT_EQ(split("a \"b c\"d e"), (std::vector<std::string>{"a", "b c", "d", "e"}));
    // A quote inside an unquoted argument is an ordinary character.
    EXPECT_EQ(split("a b\"c d"), (std::vector<std::string>{"a", "b\"c", "d"}));
    // An unterminated quote runs to the end of the line.
    EXPECT_EQ(split("a \"b c"), (std::vector<std::string>{"a", "b c"}));
    EXPECT_EQ(split("a \"\" b"), (std::vector<std::string>{"a", "", "b"}));
}

TEST(CommandLine, LineIsCutAfter511Characters) {
    std::string line = "p " + std::string(505, 'x') + " abcdef ghi";  // "abcdef" starts at 508
    std::vector<std::string> args = split(line.c_str());
    ASSERT_EQ(args.size(), 3u);
    EXPECT_EQ(args[2], "abc");

    // The same cut for arguments that a shell has already split.
    std::string big(505, 'x');
    char* argv[] = {const_cast<char*>("p"), big.data(), const_cast<char*>("abcdef"),
                    const_cast<char*>("ghi")};
    char* out[MAX_ARGUMENTS];
    int n = collect_arguments(4, argv, out, MAX_ARGUMENTS);
    ASSERT_EQ(n, 3);
    EXPECT_STREQ(out[1], big.c_str());
    EXPECT_STREQ(out[2], "abc");

    // An argument that would start exactly at the cut is not seen at all.
    std::string fill(508, 'y');
    char* argv2[] = {const_cast<char*>("p"), fill.data(), const_cast<char*>("z")};
    EXPECT_EQ(collect_arguments(3, argv2, out, MAX_ARGUMENTS), 2);
    char* argv3[] = {const_cast<char*>("p"), const_cast<char*>(""), const_cast<char*>("z")};
    ASSERT_EQ(collect_arguments(3, argv3, out, MAX_ARGUMENTS), 3);
    EXPECT_STREQ(out[1], "");
}

TEST(CommandLine, ParseDecimal) {
    EXPECT_EQ(parse_decimal(nullptr), 0);
    EXPECT_EQ(parse_decimal(""), 0);
    EXPECT_EQ(parse_decimal("12abc"), 12);
    EXPECT_EQ(parse_decimal("-3"), 0);
    EXPECT_EQ(parse_decimal(" 5"), 0);
    EXPECT_EQ(parse_decimal("2147483647"), 2147483647);
    // Beyond 32 bits the value wraps as 32-bit arithmetic would, without overflow traps.
    EXPECT_EQ(parse_decimal("4294967296"), 0);
    EXPECT_EQ(parse_decimal("4294967301"), 5);
    EXPECT_EQ(parse_decimal("2147483648"), static_cast<int32_t>(0x80000000u));
}

// Seeds, the records' numbers, the tools' --max-minutes and --from/--to all
// read a whole bounded number: each bound is taken, one more is not, and
// twenty digits overflow no accumulator.
TEST(WholeNumber, BoundsSignsAndTrailingText) {
    const uint64_t Maxes[] = {1440, 0xFFFFFFFFu, UINT64_MAX};
    for (const uint64_t max : Maxes) {
        const std::string at = std::to_string(max);
        uint64_t n = 77;
        EXPECT_TRUE(whole_number(at.c_str(), max, n)) << at;
        EXPECT_EQ(n, max);
        // max + 1 in decimal, without 64-bit arithmetic overflowing.
        std::string beyond = at;
        int k = static_cast<int>(beyond.size()) - 1;
        while (k >= 0 && beyond[k] == '9') beyond[k--] = '0';
        if (k < 0) beyond.insert(beyond.begin(), '1');
        else beyond[k] = static_cast<char>(beyond[k] + 1);
        n = 77;
        EXPECT_FALSE(whole_number(beyond.c_str(), max, n)) << beyond;
        EXPECT_EQ(n, 77u) << "left alone when refused";
        for (const char* bad : {"", "+1", "-0", " 1", "1 ", "1x", "0x10", "99999999999999999999"})
            EXPECT_FALSE(whole_number(bad, max, n)) << "'" << bad << "' up to " << max;
        EXPECT_FALSE(whole_number(nullptr, max, n));
        EXPECT_TRUE(whole_number("0000000000000000000000000001", max, n));
        EXPECT_EQ(n, 1u);
    }
    // A field of a longer line: only its own length counts.
    uint64_t n = 0;
    EXPECT_TRUE(whole_number("12 34", 2, 99, n));
    EXPECT_EQ(n, 12u);
    EXPECT_FALSE(whole_number("12 34", 3, 99, n));

    // The seed and a record's fields keep to 32 bits.
    uint32_t seed = 5;
    EXPECT_TRUE(parse_seed("4294967295", &seed));
    EXPECT_EQ(seed, 4294967295u);
    EXPECT_FALSE(parse_seed("4294967296", &seed));
    EXPECT_FALSE(parse_seed("18446744073709551621", &seed));  // 2^64 + 5 must not wrap to 5
    EXPECT_EQ(seed, 4294967295u);
    const std::string good = "stivra-replay 1\nseed 4294967295\n4294967295 511 4\n";
    ReplayReader reader;
    ASSERT_TRUE(replay_begin(reader, good.data(), good.size())) << reader.error;
    EXPECT_EQ(reader.seed, 4294967295u);
    ReplayRun run{};
    ASSERT_EQ(replay_next(reader, run), 1) << reader.error;
    EXPECT_EQ(run.count, 4294967295u);
    const std::string beyond = "stivra-replay 1\nseed 1\n4294967296 0\n";
    ASSERT_TRUE(replay_begin(reader, beyond.data(), beyond.size()));
    EXPECT_EQ(replay_next(reader, run), -1);
    EXPECT_NE(std::strstr(reader.error, "bad number '4294967296' for COUNT"), nullptr) << reader.error;
}

TEST(CommandLine, OptionsAndExitCodes) {
    reset_fake_platform();
    Fake.stop_after_pumps = 1;
    auto run = [](std::vector<const char*> args) {
        reset_fake_platform();
        Fake.stop_after_pumps = 1;
        return program_main(static_cast<int>(args.size()), const_cast<char**>(args.data()), 7);
    };
    // No option, an unknown option and a wrongly cased option all start the game.
    EXPECT_EQ(run({"stivra"}), 0);
    EXPECT_EQ(Fake.windows_opened, 1);
    EXPECT_EQ(Fake.audio_opened, 1);
    EXPECT_EQ(run({"stivra", "-SHOT", "1", "x.bmp"}), 0);
    EXPECT_EQ(Fake.windows_opened, 1);
    // Tools never open the window or the sound device.
    EXPECT_EQ(run({"stivra", "-shot"}), 1);
    EXPECT_EQ(Fake.windows_opened, 0);
    EXPECT_EQ(Fake.audio_opened, 0);
    EXPECT_EQ(run({"stivra", "-icon", "2"}), 1);
    EXPECT_EQ(run({"stivra", "-world", "3"}), 1);
    EXPECT_EQ(Fake.windows_opened, 0);
    // -autoplay without a file is an ordinary game.
    EXPECT_EQ(run({"stivra", "-autoplay"}), 0);
    EXPECT_EQ(AutoplayFile, nullptr);
    EXPECT_EQ(Fake.windows_opened, 1);
}

TEST(CommandLine, GameWithoutAWindowExitsWithOne) {
    for (const char* option : {static_cast<const char*>(nullptr), "-autoplay"}) {
        reset_fake_platform();
        Fake.no_display = true;
        const char* args[] = {"stivra", option, "out.bmp"};
        EXPECT_EQ(program_main(option ? 3 : 1, const_cast<char**>(args), 7), 1);
        EXPECT_EQ(Fake.presents, 0);  // the loop never ran
        EXPECT_EQ(Fake.windows_closed, 1);
    }
}

TEST(CommandLine, SeedZeroBecomesOne) {
    reset_fake_platform();
    const char* args[] = {"stivra", "-shot"};
    program_main(2, const_cast<char**>(args), 0);
    EXPECT_EQ(Game.random_state != 0, true);
}

TEST(WindowScale, ChoosesLargestThatFits) {
    EXPECT_EQ(choose_window_scale(1280, 720), 3);
    EXPECT_EQ(choose_window_scale(1024, 640), 2);
    EXPECT_EQ(choose_window_scale(640, 480), 1);
    EXPECT_EQ(choose_window_scale(1000, 680), 3);  // 960 > 960 and 600 > 600 both fail
    EXPECT_EQ(choose_window_scale(0, 0), 1);       // never below 1
}

TEST(Letterbox, Cases) {
    Letterbox b = letterbox_rect(960, 600);
    EXPECT_EQ(b.target.x, 0);
    EXPECT_EQ(b.target.y, 0);
    EXPECT_EQ(b.target.w, 960);
    EXPECT_EQ(b.target.h, 600);
    EXPECT_EQ(b.bar_count, 0);

    b = letterbox_rect(1000, 600);
    EXPECT_EQ(b.target.x, 20);
    EXPECT_EQ(b.target.w, 960);
    EXPECT_EQ(b.target.h, 600);
    ASSERT_EQ(b.bar_count, 2);
    EXPECT_EQ(b.bars[0].x, 0);
    EXPECT_EQ(b.bars[0].w, 20);
    EXPECT_EQ(b.bars[0].h, 600);
    EXPECT_EQ(b.bars[1].x, 980);
    EXPECT_EQ(b.bars[1].w, 20);

    b = letterbox_rect(960, 700);
    EXPECT_EQ(b.target.y, 50);
    EXPECT_EQ(b.target.h, 600);
    ASSERT_EQ(b.bar_count, 2);
    EXPECT_EQ(b.bars[0].h, 50);
    EXPECT_EQ(b.bars[1].y, 650);
    EXPECT_EQ(b.bars[1].h, 50);

    // An odd leftover goes to the right-hand bar.
    b = letterbox_rect(1001, 600);
    EXPECT_EQ(b.target.x, 20);
    EXPECT_EQ(b.bars[1].w, 21);

    b = letterbox_rect(0, 0);
    EXPECT_EQ(b.target.w, 0);
    EXPECT_EQ(b.target.h, 0);
    EXPECT_EQ(b.bar_count, 0);

    // One pixel too wide for 320:200: the picture takes the whole width
    // (961 * 200 / 320 truncates to 600), with no bars of width 0 and 1.
    b = letterbox_rect(961, 600);
    EXPECT_EQ(b.target.x, 0);
    EXPECT_EQ(b.target.y, 0);
    EXPECT_EQ(b.target.w, 961);
    EXPECT_EQ(b.target.h, 600);
    EXPECT_EQ(b.bar_count, 0);

    // One row taller than the picture: centring leaves 0 above, and the row
    // below still gets its bar.
    b = letterbox_rect(960, 601);
    EXPECT_EQ(b.target.y, 0);
    EXPECT_EQ(b.target.h, 600);
    ASSERT_EQ(b.bar_count, 1);
    EXPECT_EQ(b.bars[0].y, 600);
    EXPECT_EQ(b.bars[0].w, 960);
    EXPECT_EQ(b.bars[0].h, 1);
}

// Any window that is not empty: the picture and its bars tile the client
// area exactly, and no bar is empty.
TEST(Letterbox, PictureAndBarsCoverTheWindow) {
    for (int cw = 1; cw <= 1300; cw += 7) {
        for (int ch = 1; ch <= 900; ch += 3) {
            const Letterbox b = letterbox_rect(cw, ch);
            int64_t area = static_cast<int64_t>(b.target.w) * b.target.h;
            ASSERT_LE(b.bar_count, 2) << cw << "x" << ch;
            for (int i = 0; i < b.bar_count; ++i) {
                const PresentRect& r = b.bars[i];
                ASSERT_TRUE(r.w > 0 && r.h > 0) << "empty bar in " << cw << "x" << ch;
                ASSERT_TRUE(r.x >= 0 && r.y >= 0 && r.x + r.w <= cw && r.y + r.h <= ch)
                    << cw << "x" << ch;
                area += static_cast<int64_t>(r.w) * r.h;
            }
            ASSERT_TRUE(b.target.x >= 0 && b.target.y >= 0 && b.target.x + b.target.w <= cw &&
                        b.target.y + b.target.h <= ch)
                << cw << "x" << ch;
            ASSERT_EQ(area, static_cast<int64_t>(cw) * ch) << cw << "x" << ch;
        }
    }
}

TEST(Presentation, RowsBottomUp) {
    static uint8_t src[SCREEN_W * SCREEN_H], dst[SCREEN_W * SCREEN_H];
    for (int y = 0; y < SCREEN_H; ++y) std::memset(src + y * SCREEN_W, y & 15, SCREEN_W);
    src[5] = 9;
    copy_rows_bottom_up(src, dst);
    EXPECT_EQ(dst[0], 199 & 15);
    EXPECT_EQ(dst[199 * SCREEN_W + 5], 9);
    EXPECT_EQ(dst[199 * SCREEN_W + 6], 0);
}

TEST(Bmp, FramebufferAtScale3) {
    static uint8_t image[SCREEN_W * SCREEN_H];
    std::memset(image, 0, sizeof image);
    image[0] = 12;                       // top-left
    image[199 * SCREEN_W + 319] = 15;    // bottom-right
    ASSERT_EQ(write_bmp("bmp_fb.bmp", image, 320, 200, 3), 1);
    std::vector<uint8_t> d = read_file("bmp_fb.bmp");
    ASSERT_EQ(d.size(), 576118u);
    EXPECT_EQ(d[0], 'B');
    EXPECT_EQ(d[1], 'M');
    EXPECT_EQ(u32_at(d, 2), 576118u);
    EXPECT_EQ(u32_at(d, 6), 0u);
    EXPECT_EQ(u32_at(d, 10), 118u);
    EXPECT_EQ(u32_at(d, 14), 40u);
    EXPECT_EQ(u32_at(d, 18), 960u);
    EXPECT_EQ(u32_at(d, 22), 600u);
    EXPECT_EQ(d[26] | d[27] << 8, 1);
    EXPECT_EQ(d[28] | d[29] << 8, 8);
    EXPECT_EQ(u32_at(d, 30), 0u);
    EXPECT_EQ(u32_at(d, 46), 16u);
    EXPECT_EQ(u32_at(d, 50), 0u);
    // Colour table: blue, green, red, 0.
    EXPECT_EQ(d[54 + 4 * 12 + 0], 60);
    EXPECT_EQ(d[54 + 4 * 12 + 1], 60);
    EXPECT_EQ(d[54 + 4 * 12 + 2], 224);
    EXPECT_EQ(d[54 + 4 * 12 + 3], 0);
    EXPECT_EQ(d[54 + 4 * 13 + 0], 140);
    // Bottom row first: the bottom-right pixel is a 3x3 block at the start's row ends.
    const size_t first_row = 118;
    EXPECT_EQ(d[first_row + 959], 15);
    EXPECT_EQ(d[first_row + 2 * 960 + 957], 15);
    EXPECT_EQ(d[first_row + 3 * 960 + 959], 0);
    // The top-left pixel is in the last three rows.
    const size_t last_row = 118 + 599 * 960;
    EXPECT_EQ(d[last_row + 0], 12);
    EXPECT_EQ(d[last_row + 2], 12);
    EXPECT_EQ(d[last_row + 3], 0);
    EXPECT_EQ(d[118 + 597 * 960 + 1], 12);
    EXPECT_EQ(d[118 + 596 * 960 + 1], 0);
}

TEST(Bmp, SizesAndPadding) {
    static uint8_t image[896 * 448];
    std::memset(image, 5, sizeof image);
    ASSERT_EQ(write_bmp("bmp_icon.bmp", image, 32, 32, 1), 1);
    EXPECT_EQ(read_file("bmp_icon.bmp").size(), 1142u);
    ASSERT_EQ(write_bmp("bmp_world.bmp", image, 896, 448, 1), 1);
    EXPECT_EQ(read_file("bmp_world.bmp").size(), 401526u);

    // 30 pixels a row: 2 zero pad bytes at the end of each of the stride-32 rows.
    ASSERT_EQ(write_bmp("bmp_pad.bmp", image, 30, 2, 1), 1);
    std::vector<uint8_t> d = read_file("bmp_pad.bmp");
    ASSERT_EQ(d.size(), 118u + 2 * 32);
    EXPECT_EQ(u32_at(d, 18), 30u);
    EXPECT_EQ(d[118 + 29], 5);
    EXPECT_EQ(d[118 + 30], 0);
    EXPECT_EQ(d[118 + 31], 0);
    EXPECT_EQ(d[118 + 32], 5);
}

TEST(Bmp, Failures) {
    static uint8_t image[4097];
    // Cannot create the file.
    EXPECT_EQ(write_bmp("no_such_directory/x.bmp", image, 4, 4, 1), 0);
    // A scaled row wider than the row buffer is refused, not overrun.
    EXPECT_EQ(write_bmp("bmp_wide.bmp", image, 4097, 1, 1), 0);
    EXPECT_EQ(write_bmp("bmp_wide.bmp", image, 1366, 1, 3), 0);
    EXPECT_EQ(write_bmp("bmp_edge.bmp", image, 4096, 1, 1), 1);
#ifdef __linux__
    // A write that fails after the file was created is a failure too.
    if (std::FILE* full = std::fopen("/dev/full", "wb")) {
        std::fclose(full);
        EXPECT_EQ(write_bmp("/dev/full", image, 32, 32, 1), 0);
    }
#endif
}

TEST(Input, KeyMapAndJoystick) {
    // What the keys do, not which code is which: every button of the game
    // has a key, no key presses two buttons, the letters steer exactly as
    // the arrows do, and the keys the program keeps for itself (and codes
    // no keyboard sends) give the game nothing.
    constexpr uint32_t EveryButton = INPUT_UP | INPUT_DOWN | INPUT_LEFT | INPUT_RIGHT | INPUT_ACTION |
                                     INPUT_RUN | INPUT_CONFIRM | INPUT_BACK | INPUT_PHONE;
    uint32_t reached = 0;
    for (uint32_t code = 0; code < 1024; ++code) {
        const uint32_t bits = map_virtual_key(code);
        EXPECT_EQ(bits & (bits - 1), 0u) << "key code " << code << " presses more than one button";
        if (code >= 256) {
            EXPECT_EQ(bits, 0u) << "key code " << code;
        }
        reached |= bits;
    }
    EXPECT_EQ(reached, EveryButton);
    const struct {
        uint32_t letter, arrow, bits;
    } Steering[] = {{'W', VKEY_UP, INPUT_UP}, {'A', VKEY_LEFT, INPUT_LEFT},
                    {'S', VKEY_DOWN, INPUT_DOWN}, {'D', VKEY_RIGHT, INPUT_RIGHT}};
    for (const auto& s : Steering) {
        EXPECT_EQ(map_virtual_key(s.arrow), s.bits) << s.arrow;
        EXPECT_EQ(map_virtual_key(s.letter), s.bits) << s.letter;
    }
    EXPECT_EQ(map_virtual_key(VKEY_SPACE), INPUT_ACTION);
    EXPECT_EQ(map_virtual_key(VKEY_RETURN), INPUT_CONFIRM);
    EXPECT_EQ(map_virtual_key(VKEY_ESCAPE), INPUT_BACK);
    EXPECT_EQ(map_virtual_key(VKEY_SHIFT), INPUT_RUN);
    const uint32_t OwnKeys[] = {VKEY_P, VKEY_M, VKEY_C, VKEY_F12, VKEY_ALT, 0xFFFFFFFFu};
    for (const uint32_t own : OwnKeys)
        EXPECT_EQ(map_virtual_key(own), 0u) << own;
    // Lower-case codes are the number pad and F1..F11 on Windows, not letters.
    for (uint32_t code = 'a'; code <= 'z'; ++code) EXPECT_EQ(map_virtual_key(code), 0u) << code;
    // The loop's own keys ask for what they do, and press no button.
    reset_fake_platform();
    EXPECT_EQ(key_went_down(VKEY_F12, false), uint32_t(KEY_ASKS_SCREENSHOT));
    EXPECT_EQ(key_went_down(VKEY_C, false), uint32_t(KEY_ASKS_CONTINUE));
    EXPECT_EQ(key_went_down(VKEY_C, true), 0u);
    EXPECT_EQ(key_went_down(VKEY_M, true), uint32_t(KEY_ASKS_MUTE));
    EXPECT_EQ(key_went_down(VKEY_M, true), 0u);  // key repeat
    key_went_up(VKEY_M);
    EXPECT_EQ(HeldInput | PressedInput, 0u);
    reset_fake_platform();

    EXPECT_EQ(map_joystick(32768, 32768, 0), 0u);
    EXPECT_EQ(map_joystick(16000, 49000, 0), 0u);  // strict thresholds
    EXPECT_EQ(map_joystick(15999, 49001, 0), INPUT_LEFT | INPUT_DOWN);
    EXPECT_EQ(map_joystick(49001, 15999, 0), INPUT_RIGHT | INPUT_UP);
    EXPECT_EQ(map_joystick(32768, 32768, 1), INPUT_ACTION);
    EXPECT_EQ(map_joystick(32768, 32768, 2), INPUT_RUN);
    EXPECT_EQ(map_joystick(32768, 32768, 4), INPUT_RUN);
    EXPECT_EQ(map_joystick(32768, 32768, 8), INPUT_PHONE);
    EXPECT_EQ(map_joystick(32768, 32768, 256), INPUT_CONFIRM);
    EXPECT_EQ(map_joystick(32768, 32768, 512), INPUT_CONFIRM);
    EXPECT_EQ(map_joystick(32768, 32768, 16 | 32 | 64 | 128 | 1024), 0u);  // no BACK on the stick
}

TEST(Input, HeldPressedAndFocus) {
    reset_fake_platform();
    window_key_down('W');
    window_key_down(VKEY_SHIFT);
    EXPECT_EQ(HeldInput, INPUT_UP | INPUT_RUN);
    window_key_up('W');
    EXPECT_EQ(HeldInput, INPUT_RUN);
    EXPECT_EQ(PressedInput, INPUT_UP | INPUT_RUN);  // only the loop clears it
    input_focus_lost();
    EXPECT_EQ(HeldInput, 0u);
    EXPECT_EQ(PressedInput, INPUT_UP | INPUT_RUN);
}

TEST(Screenshot, NamesWrapAfter100) {
    char name[14];
    screenshot_name(0, name);
    EXPECT_STREQ(name, "stivra_00.bmp");
    screenshot_name(7, name);
    EXPECT_STREQ(name, "stivra_07.bmp");
    screenshot_name(42, name);
    EXPECT_STREQ(name, "stivra_42.bmp");
    screenshot_name(100, name);
    EXPECT_STREQ(name, "stivra_00.bmp");
    screenshot_name(4294967295u, name);
    EXPECT_STREQ(name, "stivra_95.bmp");

    ScreenshotCounter = 41;
    window_key_down(VKEY_F12);
    EXPECT_EQ(ScreenshotCounter, 42u);
    EXPECT_EQ(read_file("stivra_41.bmp").size(), 576118u);
    std::remove("stivra_41.bmp");
    ScreenshotCounter = 0;
}

TEST(MainLoop, DueTicksInUnsignedArithmetic) {
    EXPECT_EQ(tick_due_ms(0), 0u);
    EXPECT_EQ(tick_due_ms(1), 33u);
    EXPECT_EQ(tick_due_ms(3), 100u);
    EXPECT_EQ(tick_due_ms(150), 5000u);
    // i*1000 wraps modulo 2^32 before the division.
    EXPECT_EQ(tick_due_ms(4294968u), (4294968u * 1000u) / 30u);
    // The clock itself may wrap: due is a signed difference.
    LoopClock clock{0xFFFFFFF0u, 0};
    EXPECT_TRUE(tick_is_due(clock, 0xFFFFFFF0u));
    EXPECT_TRUE(tick_is_due(clock, 5u));
    EXPECT_FALSE(tick_is_due(clock, 0xFFFFFFEFu));
    clock.ticks = 1;  // due at base + 33, which wraps to 17
    EXPECT_FALSE(tick_is_due(clock, 16u));
    EXPECT_TRUE(tick_is_due(clock, 17u));
}

TEST(MainLoop, IdlesUntilATickIsDue) {
    reset_fake_platform();
    LoopClock clock;
    main_loop_start(clock);
    main_loop_pass(clock);  // Tick 0 is due at once
    EXPECT_EQ(clock.ticks, 1u);
    EXPECT_EQ(Fake.presents, 1);
    main_loop_pass(clock);  // Tick 1 is due at 33 ms
    EXPECT_EQ(clock.ticks, 1u);
    EXPECT_EQ(Fake.sleeps, 1);
    EXPECT_GE(Fake.refills, 2);  // refilled while idle and after the frame
    Fake.now_ms = 33;
    main_loop_pass(clock);
    EXPECT_EQ(clock.ticks, 2u);
    EXPECT_EQ(Fake.presents, 2);
}

TEST(MainLoop, PressAndReleaseBetweenPassesReachesOnePass) {
    reset_fake_platform();
    LoopClock clock;
    main_loop_start(clock);
    main_loop_pass(clock);
    Fake.on_pump = [](int pump) {
        if (pump == 2) {
            window_key_down('E');
            window_key_up('E');
        }
    };
    Fake.now_ms = 33;
    main_loop_pass(clock);
    EXPECT_EQ(Game.previous_input, INPUT_ACTION);
    Fake.now_ms = 66;
    main_loop_pass(clock);
    EXPECT_EQ(Game.previous_input, 0u);
}

TEST(MainLoop, PressedInputSurvivesIdlePasses) {
    reset_fake_platform();
    LoopClock clock;
    main_loop_start(clock);
    main_loop_pass(clock);
    window_key_down(VKEY_RETURN);
    window_key_up(VKEY_RETURN);
    main_loop_pass(clock);  // idle: no Tick ran, the press waits
    EXPECT_EQ(PressedInput, INPUT_CONFIRM);
    Fake.now_ms = 40;
    Fake.joystick_bits = INPUT_PHONE;
    main_loop_pass(clock);
    EXPECT_EQ(Game.previous_input, INPUT_CONFIRM | INPUT_PHONE);
    EXPECT_EQ(PressedInput, 0u);
}

TEST(MainLoop, CatchUpIsLimitedAndRebased) {
    reset_fake_platform();
    LoopClock clock;
    main_loop_start(clock);
    const int32_t before = Game.total_ticks;
    Fake.now_ms = 10000;  // a long stall
    main_loop_pass(clock);
    EXPECT_EQ(Game.total_ticks - before, 4);
    EXPECT_EQ(clock.ticks, 4u);
    EXPECT_EQ(clock.base, 10000u - 133u);
    EXPECT_EQ(Fake.presents, 1);
    // Three Ticks behind: they all run in one pass, no re-basing.
    Fake.now_ms = 10000 + 99;
    main_loop_pass(clock);
    EXPECT_EQ(clock.ticks, 7u);
    EXPECT_EQ(clock.base, 10000u - 133u);
}

TEST(MainLoop, AutoplayWritesScreenshotAfter150Ticks) {
    reset_fake_platform();
    std::remove("autoplay_test.bmp");
    AutoplayFile = "autoplay_test.bmp";
    Fake.sleep_advance_ms = 1;
    HeldInput = INPUT_BACK | INPUT_LEFT;  // ignored while the script plays
    LoopClock clock;
    main_loop_start(clock);
    int passes = 0;
    while (RunningFlag && passes < 100000) {
        main_loop_pass(clock);
        ++passes;
    }
    EXPECT_EQ(clock.ticks, 150u);
    EXPECT_EQ(read_file("autoplay_test.bmp").size(), 576118u);
    AutoplayFile = nullptr;
    HeldInput = 0;
}

TEST(MainLoop, AutoplayScript) {
    EXPECT_EQ(autoplay_bits(0), 0u);
    EXPECT_EQ(autoplay_bits(5), INPUT_CONFIRM);
    EXPECT_EQ(autoplay_bits(6), 0u);
    EXPECT_EQ(autoplay_bits(12), INPUT_CONFIRM);
    EXPECT_EQ(autoplay_bits(19), 0u);
    EXPECT_EQ(autoplay_bits(20), INPUT_RIGHT);
    EXPECT_EQ(autoplay_bits(31), INPUT_RIGHT);
    EXPECT_EQ(autoplay_bits(32), INPUT_DOWN);
    EXPECT_EQ(autoplay_bits(99), INPUT_DOWN);
    EXPECT_EQ(autoplay_bits(100), INPUT_RUN | INPUT_RIGHT);
    EXPECT_EQ(autoplay_bits(149), INPUT_RUN | INPUT_RIGHT);
    EXPECT_EQ(autoplay_bits(150), 0u);
}

TEST(MainLoop, RunsUntilTheWindowCloses) {
    reset_fake_platform();
    Fake.stop_after_pumps = 10;
    run_main_loop();
    EXPECT_EQ(Fake.windows_opened, 1);
    EXPECT_EQ(Fake.windows_closed, 1);
    EXPECT_EQ(Fake.pumps, 10);
}
