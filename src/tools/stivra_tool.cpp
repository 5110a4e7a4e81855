// stivra-tool: renders sounds, songs, sprite sheets and new-game set-ups so
// that they can be reviewed without playing.
#include "tools/stivra_tool.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "data/output_file.h"

namespace {

struct ToolCommand {
    const char* name;
    const char* usage;
    int (*run)(int argc, char** argv);
};

const ToolCommand ToolCommands[] = {
    {"sound", "sound N FILE.wav          effect N (1..19) as a mono 16-bit WAV", tool_sound},
    {"note", "note VOICE NOTE FILE.wav  one note of voice 0..3 as a WAV", tool_note},
    {"song", "song S SECONDS FILE.wav   song S (0..5) as the game plays it", tool_song},
    {"sound-hashes", "sound-hashes              the stored hashes of every sound (tests/sound_hashes.txt)",
     tool_sound_hashes},
    {"picture-hashes", "picture-hashes            the stored hashes of every demo scene, icon and world picture\n"
                       "                            (tests/picture_hashes.txt)",
     tool_picture_hashes},
    {"sprites", "sprites FILE.bmp          every sprite at 4x with its first row", tool_sprites},
    {"figures", "figures FILE.bmp          every figure, facing, phase, scale 1 and 2", tool_figures},
    {"newgame", "newgame [--seed N]        what a new game sets up, as JSON", tool_newgame},
    {"ico", "ico FILE.ico              the program icon as a Windows .ico", tool_ico},
    {"png", "png SIZE FILE.png         the program icon at SIZE (16 24 32 48 64 128 192 256 512) pixels", tool_png},
    {"replay", "replay FILE [--frames DIR] [--trace] [--from N] [--to M] [--check] [--pass-hashes OUT]\n"
               "                            a recorded run replayed, its end as JSON", tool_replay},
    {"autoplay", "autoplay [--seed N] [--record FILE] [--max-minutes M] [--trace] [--curious]\n"
                 "                            the auto-player plays one game; JSON result", tool_autoplay},
    {"page-constants", "page-constants FILE.js    what the browser page shares with the game, as an ES module",
     tool_page_constants},
};

int usage() {
    std::fprintf(stderr, "usage: stivra-tool COMMAND ARGS | --version\n");
    for (const ToolCommand& c : ToolCommands) std::fprintf(stderr, "  %s\n", c.usage);
    return 2;
}

}  // namespace

int tool_write_failed(const char* command, const char* file_name) {
    const int error = OutputError ? OutputError : EIO;
    std::fprintf(stderr, "stivra-tool %s: cannot write %s: %s\n", command, file_name, std::strerror(error));
    return 1;
}

int tool_stdout_written(const char* command) {
    errno = 0;
    if (std::fflush(stdout) == 0 && !std::ferror(stdout)) return 0;
    const int error = errno ? errno : EIO;
    std::fprintf(stderr, "stivra-tool %s: cannot write standard output: %s\n", command, std::strerror(error));
    return 1;
}

int tool_usage(const char* line) {
    std::fprintf(stderr, "usage: stivra-tool %s\n", line);
    return 2;
}

int main(int argc, char** argv) {
    if (argc < 2) return usage();
    // STIVRA_VERSION comes from the build (the project version in CMake).
    if (std::strcmp(argv[1], "--version") == 0 && argc == 2) {
        std::printf("stivra-tool %s\n", STIVRA_VERSION);
        return 0;
    }
    for (const ToolCommand& c : ToolCommands)
        if (std::strcmp(argv[1], c.name) == 0) return c.run(argc - 2, argv + 2);
    return usage();
}
