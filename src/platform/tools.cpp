#include "platform/tools.h"

uint8_t IconImage[256 * 256];

bool render_shot(int32_t n) {
    (void)n;
    return false;
}

bool render_icon(int32_t n) {
    (void)n;
    return false;
}

const uint8_t* render_world(int32_t floor) {
    (void)floor;
    return nullptr;
}
