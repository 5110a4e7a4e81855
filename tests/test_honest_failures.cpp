// Failures that must be reported as failures: files that could not be
// written whole, command lines that did not fit, seeds that are no seeds.
#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "audio/wav.h"
#include "fake_platform.h"
#include "game/game_flow.h"
#include "game/game_state.h"
#include "platform/bmp.h"
#include "platform/cmdline.h"
#include "platform/input.h"
#include "platform/main_loop.h"
#include "data/output_file.h"
#include "platform/seed.h"

#ifdef __linux__
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

long file_size(const std::string& name) {
    std::FILE* f = std::fopen(name.c_str(), "rb");
    if (!f) return -1;
    std::fseek(f, 0, SEEK_END);
    const long size = std::ftell(f);
    std::fclose(f);
    return size;
}

bool exists(const std::string& name) { return file_size(name) >= 0; }

int run_program(std::vector<const char*> args) {
    reset_fake_platform();
    return program_main(static_cast<int>(args.size()), const_cast<char**>(args.data()), 7);
}

}  // namespace

TEST(OutputFile, AppearsWholeOrNotAtAll) {
    static uint8_t image[64 * 64];
    std::remove("out_whole.bmp");
    ASSERT_EQ(write_bmp("out_whole.bmp", image, 64, 64, 1), 1);
    EXPECT_EQ(file_size("out_whole.bmp"), 118 + 64 * 64);
    EXPECT_FALSE(exists("out_whole.bmp.part~"));

    // Written again over an older file: the new one replaces it.
    ASSERT_EQ(write_bmp("out_whole.bmp", image, 32, 32, 1), 1);
    EXPECT_EQ(file_size("out_whole.bmp"), 118 + 32 * 32);

    // A folder in the way, a missing folder: failures that name their cause.
    std::remove("out_folder.bmp.part~");
    EXPECT_EQ(write_bmp(".", image, 8, 8, 1), 0);
    EXPECT_NE(OutputError, 0);
    EXPECT_EQ(write_bmp("no_such_folder/x.bmp", image, 8, 8, 1), 0);
    EXPECT_EQ(OutputError, ENOENT);
    EXPECT_FALSE(exists("..part~"));
    // A name no system takes as a path is refused before anything is made.
    const std::string huge(OUTPUT_NAME_MAX + 1, 'n');
    EXPECT_EQ(write_bmp(huge.c_str(), image, 8, 8, 1), 0);
    EXPECT_EQ(OutputError, ENAMETOOLONG);
}

#ifdef __linux__
TEST(OutputFile, DevicesAreWrittenInPlaceAndStayDevices) {
    static uint8_t image[32 * 32];
    struct stat before {};
    if (stat("/dev/full", &before) != 0) GTEST_SKIP() << "no /dev/full";
    EXPECT_EQ(write_bmp("/dev/full", image, 32, 32, 1), 0);
    EXPECT_EQ(OutputError, ENOSPC);
    struct stat after {};
    ASSERT_EQ(stat("/dev/full", &after), 0);
    EXPECT_TRUE(S_ISCHR(after.st_mode));
    EXPECT_FALSE(exists("/dev/full.part~"));
    // A device that takes everything is a success, and stays a device.
    EXPECT_EQ(write_bmp("/dev/null", image, 32, 32, 1), 1);
    ASSERT_EQ(stat("/dev/null", &after), 0);
    EXPECT_TRUE(S_ISCHR(after.st_mode));

    WavFile wav;
    ASSERT_TRUE(wav_open(wav, "/dev/full", 22050));
    const int16_t samples[256] = {};
    for (int i = 0; i < 64; ++i) wav_write(wav, samples, 256);
    EXPECT_FALSE(wav_close(wav));
}
#endif

namespace {

namespace fs = std::filesystem;

// A fresh, empty folder for one test.
std::string fresh_folder(const char* name) {
    std::error_code error;
    fs::remove_all(name, error);
    fs::create_directories(name);
    return std::string(name) + "/";
}

std::vector<std::string> folder_names(const std::string& folder) {
    std::vector<std::string> names;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

std::string file_text(const std::string& name) {
    std::FILE* f = std::fopen(name.c_str(), "rb");
    if (!f) return "(none)";
    std::string text;
    char chunk[256];
    size_t n;
    while ((n = std::fread(chunk, 1, sizeof chunk, f)) > 0) text.append(chunk, n);
    std::fclose(f);
    return text;
}

bool write_text(const std::string& name, const std::string& text) {
    OutputFile out;
    if (!output_open(out, name.c_str())) return false;
    output_write(out, text.data(), text.size());
    return output_close(out);
}

}  // namespace

TEST(OutputFile, ATemporaryNameThatAlwaysFits) {
    // 251 characters leave no room for a suffix in a name of at most 255,
    // yet the file is still written through a temporary one, and replaced.
    const std::string folder = fresh_folder("out_long");
    const std::string name = folder + std::string(251, 'n');
    ASSERT_TRUE(write_text(name, "first"));
    ASSERT_TRUE(write_text(name, "second"));
    EXPECT_EQ(file_text(name), "second");
    EXPECT_EQ(folder_names(folder), std::vector<std::string>{std::string(251, 'n')});

    char free_name[64];
    ASSERT_TRUE(output_free_name("some/folder/", free_name, sizeof free_name));
    const std::string first = free_name;
    EXPECT_EQ(first.size(), 12u + OUTPUT_TEMPORARY_NAME) << first;
    EXPECT_EQ(first.compare(0, 19, "some/folder/stivra-"), 0) << first;
    EXPECT_EQ(first.substr(first.size() - 6), ".part~") << first;
    ASSERT_TRUE(output_free_name("some/folder/", free_name, sizeof free_name));
    EXPECT_NE(first, free_name);
    EXPECT_FALSE(output_free_name("some/folder/", free_name, 12 + OUTPUT_TEMPORARY_NAME));
}

TEST(OutputFile, TwoWritersOfOneFileNeverMix) {
    const std::string folder = fresh_folder("out_two");
    const std::string name = folder + "x.txt";
    OutputFile a;
    OutputFile b;
    ASSERT_TRUE(output_open(a, name.c_str()));
    ASSERT_TRUE(output_open(b, name.c_str()));
    const std::string long_text(100000, 'a');
    output_write(a, long_text.data(), long_text.size());
    output_write(b, "bbb", 3);
    EXPECT_TRUE(output_close(b));
    EXPECT_EQ(file_text(name), "bbb");
    EXPECT_TRUE(output_close(a));
    EXPECT_EQ(file_text(name), long_text);
    EXPECT_EQ(folder_names(folder), std::vector<std::string>{"x.txt"});

    // A write given up leaves the older file as it was, and nothing else.
    OutputFile c;
    ASSERT_TRUE(output_open(c, name.c_str()));
    output_write(c, "ccc", 3);
    output_discard(c);
    EXPECT_EQ(file_text(name), long_text);
    EXPECT_EQ(folder_names(folder), std::vector<std::string>{"x.txt"});
}

#ifdef __linux__
TEST(OutputFile, ALinkIsFollowedAndKept) {
    const std::string folder = fresh_folder("out_links");
    ASSERT_TRUE(write_text(folder + "real.txt", "old"));
    fs::create_symlink("real.txt", folder + "link.txt");
    ASSERT_TRUE(write_text(folder + "link.txt", "new"));
    EXPECT_TRUE(fs::is_symlink(folder + "link.txt"));
    EXPECT_EQ(file_text(folder + "real.txt"), "new");
    // A link to a file not there yet makes the file.
    fs::create_symlink("made.txt", folder + "dangling.txt");
    ASSERT_TRUE(write_text(folder + "dangling.txt", "made"));
    EXPECT_TRUE(fs::is_symlink(folder + "dangling.txt"));
    EXPECT_EQ(file_text(folder + "made.txt"), "made");
    // A loop of links is refused, and nothing is made.
    fs::create_symlink("loop_b", folder + "loop_a");
    fs::create_symlink("loop_a", folder + "loop_b");
    EXPECT_FALSE(write_text(folder + "loop_a", "never"));
    EXPECT_EQ(OutputError, ELOOP);
    EXPECT_EQ(folder_names(folder), (std::vector<std::string>{"dangling.txt", "link.txt", "loop_a", "loop_b",
                                                               "made.txt", "real.txt"}));
}

TEST(OutputFile, AReplacedFileKeepsWhoMayReadIt) {
    const std::string folder = fresh_folder("out_mode");
    const std::string name = folder + "private.txt";
    ASSERT_TRUE(write_text(name, "old"));
    ASSERT_EQ(chmod(name.c_str(), 0600), 0);
    ASSERT_TRUE(write_text(name, "new"));
    struct stat info {};
    ASSERT_EQ(stat(name.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
    EXPECT_EQ(file_text(name), "new");
}

TEST(OutputFile, AFolderThatTakesNoFileIsNotWrittenIntoInPlace) {
    if (geteuid() == 0) GTEST_SKIP() << "root writes into any folder (tools.full_disk tries it without)";
    const std::string folder = fresh_folder("out_locked");
    const std::string name = folder + "old.txt";
    ASSERT_TRUE(write_text(name, "old"));
    ASSERT_EQ(chmod(folder.c_str(), 0555), 0);
    EXPECT_FALSE(write_text(name, "new"));
    EXPECT_EQ(OutputError, EACCES);
    chmod(folder.c_str(), 0755);
    EXPECT_EQ(file_text(name), "old");
    EXPECT_EQ(folder_names(folder), std::vector<std::string>{"old.txt"});
}
#endif

TEST(Seed, OnlyPlainDecimalsFrom0To4294967295) {
    uint32_t seed = 99;
    EXPECT_TRUE(parse_seed("0", &seed));
    EXPECT_EQ(seed, 0u);
    EXPECT_TRUE(parse_seed("144", &seed));
    EXPECT_EQ(seed, 144u);
    EXPECT_TRUE(parse_seed("4294967295", &seed));
    EXPECT_EQ(seed, 4294967295u);
    EXPECT_TRUE(parse_seed("007", &seed));
    EXPECT_EQ(seed, 7u);
    seed = 5;
    for (const char* bad : {"", " 12", "12 ", "0xC", "+12", "-1", "12abc", "4294967296",
                            "4294967297", "9223372036854775808", "99999999999999999999999"}) {
        EXPECT_FALSE(parse_seed(bad, &seed)) << bad;
        EXPECT_EQ(seed, 5u) << bad;
    }
    EXPECT_FALSE(parse_seed(nullptr, &seed));
}

TEST(Seed, EnvironmentValueThatIsNoSeedIsIgnored) {
    unsetenv("STIVRA_SEED");
    EXPECT_EQ(startup_seed(1234), 1234u);
    setenv("STIVRA_SEED", "4711", 1);
    EXPECT_EQ(startup_seed(1234), 4711u);
    for (const char* bad : {"", " 12", "12abc", "4294967297"}) {
        setenv("STIVRA_SEED", bad, 1);
        testing::internal::CaptureStderr();
        EXPECT_EQ(startup_seed(1234), 1234u) << bad;
        const std::string said = testing::internal::GetCapturedStderr();
        EXPECT_NE(said.find(std::string("STIVRA_SEED='") + bad + "'"), std::string::npos) << said;
        EXPECT_EQ(said.find('\n'), said.size() - 1) << "one line: " << said;
    }
    unsetenv("STIVRA_SEED");
}

TEST(NewGame, TheTitlesConfirmMakesTheGameThatIsPlayed) {
    // The game made at start-up is replaced when the player starts: two
    // different games from one seed, and the tool describes the second.
    program_init(144);
    const GameState at_start = Game;
    game_tick(INPUT_CONFIRM);
    EXPECT_EQ(Game.mode, MODE_INTRO);
    EXPECT_EQ(Game.code_digits[0] * 100 + Game.code_digits[1] * 10 + Game.code_digits[2], 892);
    EXPECT_NE(at_start.code_digits[0] * 100 + at_start.code_digits[1] * 10 + at_start.code_digits[2],
              892);
}

TEST(CommandLine, ToolOnACutLineWritesNothing) {
    // A screenshot name behind a long scene number: the cut leaves "scree".
    const std::string digits = "0001" + std::string(472, '9');
    std::remove("scree");
    std::remove("screenshot_of_scene_one.bmp");
    const std::string line = "build/stivra -shot " + digits + " screenshot_of_scene_one.bmp";
    copy_command_line(line.c_str());
    EXPECT_EQ(CommandLineCut, 1u);
    char* arguments[MAX_ARGUMENTS];
    int count = split_command_line(arguments, MAX_ARGUMENTS);
    reset_fake_platform();
    EXPECT_EQ(program_main(count, arguments, 7), 1);
    EXPECT_FALSE(exists("scree"));
    EXPECT_FALSE(exists("screenshot_of_scene_one.bmp"));

    // The same through an argument vector, for every tool.
    for (const char* option : {"-shot", "-icon", "-world", "-autoplay"}) {
        std::string path = std::string(600, 'p');
        char* argv[] = {const_cast<char*>("stivra"), const_cast<char*>(option),
                        const_cast<char*>("1"), path.data()};
        const bool file_first = std::string(option) == "-autoplay";
        if (file_first) argv[2] = path.data();
        count = collect_arguments(file_first ? 3 : 4, argv, arguments, MAX_ARGUMENTS);
        EXPECT_EQ(CommandLineCut, 1u) << option;
        reset_fake_platform();
        EXPECT_EQ(program_main(count, arguments, 7), 1) << option;
        EXPECT_EQ(Fake.windows_opened, 0) << option;
    }

    // A program path so long that the cut removes the option itself: the
    // tool still writes nothing, and no window opens instead.
    const std::string long_path = "/" + std::string(520, 'd') + "/stivra";
    std::remove("x.bmp");
    copy_command_line(("\"" + long_path + "\" -shot 1 x.bmp").c_str());
    EXPECT_EQ(CommandLineCut, 1u);
    count = split_command_line(arguments, MAX_ARGUMENTS);
    EXPECT_EQ(count, 1);
    reset_fake_platform();
    Fake.stop_after_pumps = 1;  // were the game started, it would end at once
    EXPECT_EQ(program_main(count, arguments, 7), 1);
    EXPECT_EQ(Fake.windows_opened, 0);
    char* long_argv[] = {const_cast<char*>(long_path.c_str()), const_cast<char*>("-world"),
                         const_cast<char*>("2"), const_cast<char*>("x.bmp")};
    count = collect_arguments(4, long_argv, arguments, MAX_ARGUMENTS);
    reset_fake_platform();
    Fake.stop_after_pumps = 1;
    EXPECT_EQ(program_main(count, arguments, 7), 1);
    EXPECT_EQ(Fake.windows_opened, 0);
    EXPECT_FALSE(exists("x.bmp"));

    // A line that fits is not cut, up to exactly 511 characters.
    copy_command_line(std::string(511, 'a').c_str());
    EXPECT_EQ(CommandLineCut, 0u);
    copy_command_line(std::string(512, 'a').c_str());
    EXPECT_EQ(CommandLineCut, 1u);
    // The game itself takes no arguments and still starts from a cut line.
    const std::string long_game = "stivra " + std::string(600, 'g');
    copy_command_line(long_game.c_str());
    count = split_command_line(arguments, MAX_ARGUMENTS);
    reset_fake_platform();
    Fake.stop_after_pumps = 1;
    EXPECT_EQ(program_main(count, arguments, 7), 0);
    EXPECT_EQ(Fake.windows_opened, 1);
    // So does a long path with an option that is no tool's.
    copy_command_line((long_path + " -fullscreen").c_str());
    count = split_command_line(arguments, MAX_ARGUMENTS);
    reset_fake_platform();
    Fake.stop_after_pumps = 1;
    EXPECT_EQ(program_main(count, arguments, 7), 0);
    EXPECT_EQ(Fake.windows_opened, 1);
    copy_command_line("");
}

TEST(MainLoop, AutoplayExitCodeTellsWhetherTheScreenshotWasWritten) {
    CommandLineCut = 0;
    std::remove("autoplay_ok.bmp");
    EXPECT_EQ(run_program({"stivra", "-autoplay", "autoplay_ok.bmp"}), 0);
    EXPECT_EQ(file_size("autoplay_ok.bmp"), 576118);
    EXPECT_EQ(run_program({"stivra", "-autoplay", "no_such_folder/x.bmp"}), 1);
    EXPECT_EQ(run_program({"stivra", "-autoplay", "."}), 1);
#ifdef __linux__
    EXPECT_EQ(run_program({"stivra", "-autoplay", "/dev/full"}), 1);
#endif
    AutoplayFile = nullptr;
}
