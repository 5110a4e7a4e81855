// stivra-tool newgame: the game a player gets for a seed, as JSON, so that
// item placement can be inspected and any run reproduced.
#include <cstdio>
#include <cstring>

#include "game/game_flow.h"
#include "game/game_state.h"
#include "platform/input.h"
#include "platform/seed.h"
#include "tools/stivra_tool.h"

int tool_newgame(int argc, char** argv) {
    uint32_t seed = 0;
    if (argc == 0) {
        seed = startup_seed(monotonic_tick_count());
    } else if (argc == 2 && std::strcmp(argv[0], "--seed") == 0) {
        if (!parse_seed(argv[1], &seed)) {
            std::fprintf(stderr, "stivra-tool newgame: bad value for --seed: %s (0..4294967295)\n", argv[1]);
            return tool_usage("newgame [--seed N]");
        }
    } else {
        return tool_usage("newgame [--seed N]");
    }
    // Start-up makes a game that the title's CONFIRM replaces with a new one,
    // drawn further from the same generator: that second game is played.
    program_init(seed);
    game_tick(INPUT_CONFIRM);

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
