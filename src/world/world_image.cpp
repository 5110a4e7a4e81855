#include "world/world_image.h"

uint8_t WorldImage[WORLD_W * WORLD_H];

uint32_t texture_hash(uint32_t v) {
    uint32_t w = (v ^ (v >> 13)) * 1274126177u;
    return w ^ (w >> 16);
}

void build_world_image() {}
