// The program's entry: start-up, then either a tool or the game.
#include <cstring>

#include "game/game_flow.h"
#include "platform/bmp.h"
#include "platform/cmdline.h"
#include "platform/main_loop.h"
#include "platform/platform.h"
#include "platform/present.h"
#include "platform/tools.h"

uint32_t WindowFailed = 0;

namespace {

bool same_text(const char* a, const char* b) {
    return std::strcmp(a, b) == 0;
}

int run_game() {
    audio_open();
    run_main_loop();
    return WindowFailed ? 1 : 0;  // a game that never started is no success
}

}  // namespace

int program_main(int count, char** arguments, uint32_t seed) {
    int next = 1;  // arguments[0] is the program's own name
    auto take = [&]() -> const char* { return next < count ? arguments[next++] : nullptr; };

    program_init(seed);

    const char* option = take();
    if (!option) return run_game();

    if (same_text(option, "-shot")) {
        int32_t n = parse_decimal(take());
        const char* file = take();
        bool drawn = render_shot(n);
        return drawn && file && write_bmp(file, Framebuffer, SCREEN_W, SCREEN_H, 3) ? 0 : 1;
    }
    if (same_text(option, "-icon")) {
        int32_t n = parse_decimal(take());
        const char* file = take();
        if (n < 1 || n > 8) n = 1;
        const int32_t size = 32 * n;
        bool drawn = render_icon(n);
        return drawn && file && write_bmp(file, IconImage, size, size, 1) ? 0 : 1;
    }
    if (same_text(option, "-world")) {
        int32_t f = parse_decimal(take());
        const char* file = take();
        if (f < 1 || f > 6) f = 4;
        const uint8_t* image = render_world(f - 1);
        return file && image && write_bmp(file, image, 896, 448, 1) ? 0 : 1;
    }
    if (same_text(option, "-autoplay")) {
        AutoplayFile = take();
        return run_game();
    }
    return run_game();
}
