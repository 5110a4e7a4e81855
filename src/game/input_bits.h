// InputBits: the buttons of one Tick, in the game's own words. The platform
// maps keys and the joystick onto them; the game reads nothing else.
#pragma once
#include <cstdint>

enum : uint32_t {
    INPUT_UP = 1,
    INPUT_DOWN = 2,
    INPUT_LEFT = 4,
    INPUT_RIGHT = 8,
    INPUT_ACTION = 16,
    INPUT_RUN = 32,
    INPUT_CONFIRM = 64,
    INPUT_BACK = 128,
    INPUT_PHONE = 256,
};
