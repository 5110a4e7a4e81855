// stivra-tool newgame: what program start-up sets up for a seed, as JSON,
// so that item placement can be inspected and any run reproduced.
#include <cstdio>
#include <cstring>

#include "game/game_flow.h"
#include "game/game_state.h"
#include "platform/cmdline.h"
#include "platform/seed.h"
#include "tools/stivra_tool.h"

int tool_newgame(int argc, char** argv) {
    uint32_t seed;
    if (argc == 0) {
        seed = startup_seed(monotonic_tick_count());
    } else if (argc == 2 && std::strcmp(argv[0], "--seed") == 0 && argv[1][0] >= '0' &&
               argv[1][0] <= '9') {
        seed = static_cast<uint32_t>(parse_decimal(argv[1]));
    } else {
        std::fprintf(stderr, "usage: stivra-tool newgame [--seed N]\n");
        return 2;
    }
    program_init(seed);

    std::printf("{\"code_digits\": [%d, %d, %d], \"teacher_spot\": [", Game.code_digits[0], Game.code_digits[1], Game.code_digits[2]);
    for (int f = 0; f < FLOOR_COUNT; ++f)
        std::printf("%s[%d, %d]", f ? ", " : "", Game.teacher_spot_x[f], Game.teacher_spot_y[f]);
    std::printf("], \"items\": [");
    for (int i = 0; i < Game.item_count; ++i) {
        const ItemSlot& item = Game.items[i];
        std::printf("%s{\"floor\": %d, \"x\": %d, \"y\": %d, \"type\": %d}", i ? ", " : "",
                    item.floor, item.x, item.y, item.type);
    }
    std::printf("]}\n");
    return 0;
}
