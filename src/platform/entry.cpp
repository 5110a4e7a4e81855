// The program's entry: start-up, then either a tool or the game.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "game/game_flow.h"
#include "platform/bmp.h"
#include "platform/cmdline.h"
#include "platform/kept_runs.h"
#include "platform/main_loop.h"
#include "platform/platform.h"
#include "platform/present.h"
#include "platform/replay.h"
#include "platform/tools.h"

uint32_t WindowFailed = 0;

namespace {

// Keeps the run in the user's folder (unless STIVRA_KEEP=0) and records it to
// STIVRA_RECORD when that is set; the game plays on whatever fails.
void start_records(uint32_t seed) {
    static char folder[KEEP_PATH_SIZE];
    static const char* names[RECORD_FILES_MAX];
    const char* keep = std::getenv("STIVRA_KEEP");
    const char* kept = nullptr;
    if (!AutoplayFile && !(keep && std::strcmp(keep, "0") == 0)) {
        if (platform_keep_folder(folder, sizeof folder))
            kept = kept_runs_open(folder);
        else
            std::fprintf(stderr, "stivra: cannot make the folder for kept games%s%s; games are not kept\n",
                         folder[0] ? " " : "", folder);
        ContinueKeyEnabled = 1;
    }
    const char* record = std::getenv("STIVRA_RECORD");
    names[0] = kept;
    names[1] = record && *record ? record : nullptr;
    const uint32_t made = record_open_files(names, RECORD_FILES_MAX, seed);
    if (names[0] && !(made & 1))
        std::fprintf(stderr, "stivra: cannot write the kept game %s; this run is not kept\n", names[0]);
    if (names[1] && !(made & 2)) std::fprintf(stderr, "stivra: cannot write the record %s\n", names[1]);
    // A file that takes not even the first lines (a full disk, /dev/full) is
    // named now, not when the game ends.
    record_say_failures();
}

int run_game(uint32_t seed, const ProgramOptions& options) {
    start_records(seed);
    if (options.action == PROGRAM_RESUME || options.action == PROGRAM_DROPPED) {
        // A plain argument that names no file is ignored, as it always was.
        std::FILE* f = options.action == PROGRAM_DROPPED ? std::fopen(options.file, "rb") : nullptr;
        if (f) std::fclose(f);
        if (options.action == PROGRAM_RESUME || f) continue_file(options.file, seed);
    }
    audio_open();
    run_main_loop();
    record_close();
    record_say_failures();
    kept_runs_reset();
    ContinueKeyEnabled = 0;
    if (WindowFailed) return 1;  // a game that never started is no success
    // The smoke run succeeds by its screenshot.
    return AutoplayFile && !AutoplayWritten ? 1 : 0;
}

}  // namespace

int program_main(int count, char** arguments, uint32_t seed) {
    program_init(seed);

    ProgramOptions options = parse_options(count, arguments);
    // A record's name cut off may name another file: the game starts new.
    if (CommandLineCut && !CommandLineAsksForTool &&
        (options.action == PROGRAM_RESUME || options.action == PROGRAM_DROPPED)) {
        if (options.action == PROGRAM_RESUME)
            std::fprintf(stderr, "stivra: the command line is too long to name a record to continue; a new game starts\n");
        options = ProgramOptions{PROGRAM_GAME, 0, nullptr};
    }
    // A cut line may name another file than the one meant (a shorter path,
    // even in a parent folder), or lose the tool's option itself behind a
    // long program path: a tool writes nothing then.
    if (CommandLineCut && (options.action != PROGRAM_GAME || CommandLineAsksForTool)) return 1;
    switch (options.action) {
    case PROGRAM_SHOT: {
        render_shot(options.number);
        return options.file && write_bmp(options.file, Framebuffer, SCREEN_W, SCREEN_H, 3) ? 0 : 1;
    }
    case PROGRAM_ICON: {
        const int32_t size = 32 * options.number;
        render_icon(options.number);
        return options.file && write_bmp(options.file, IconImage, size, size, 1) ? 0 : 1;
    }
    case PROGRAM_WORLD: {
        const uint8_t* image = render_world(options.number - 1);
        return options.file && image && write_bmp(options.file, image, 896, 448, 1) ? 0 : 1;
    }
    case PROGRAM_AUTOPLAY:
        AutoplayFile = options.file;
        return run_game(seed, options);
    default:
        return run_game(seed, options);
    }
}
