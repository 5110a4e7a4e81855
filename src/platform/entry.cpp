// The program's entry: start-up, then either a tool or the game.
#include <cstdio>
#include <cstdlib>

#include "game/game_flow.h"
#include "platform/bmp.h"
#include "platform/cmdline.h"
#include "platform/main_loop.h"
#include "platform/platform.h"
#include "platform/present.h"
#include "platform/replay.h"
#include "platform/tools.h"

uint32_t WindowFailed = 0;

namespace {

int run_game(uint32_t seed) {
    // STIVRA_RECORD=FILE writes the run as a replay; the game runs without it
    // when the file cannot be written.
    const char* record = std::getenv("STIVRA_RECORD");
    if (record && *record && !record_open(record, seed))
        std::fprintf(stderr, "stivra: cannot write the record %s\n", record);
    audio_open();
    run_main_loop();
    if (recording() && !record_close())
        std::fprintf(stderr, "stivra: the record %s is incomplete: a write failed\n", record);
    if (WindowFailed) return 1;  // a game that never started is no success
    // The smoke run succeeds by its screenshot.
    return AutoplayFile && !AutoplayWritten ? 1 : 0;
}

}  // namespace

int program_main(int count, char** arguments, uint32_t seed) {
    program_init(seed);

    const ProgramOptions options = parse_options(count, arguments);
    // A cut line may name another file than the one meant (a shorter path,
    // even in a parent folder), or lose the tool's option itself behind a
    // long program path: a tool writes nothing then. The game itself takes
    // no arguments it could misread.
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
        return run_game(seed);
    default:
        return run_game(seed);
    }
}
