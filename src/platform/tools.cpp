#include "platform/tools.h"

#include <cstring>

#include "game/current_floor.h"
#include "game/game_flow.h"
#include "game/scenes.h"
#include "gfx/figures.h"
#include "screens/draw_screen.h"
#include "world/floors.h"
#include "world/world_image.h"

uint8_t IconImage[256 * 256];

void render_shot(int32_t n) {
    demo_scene_setup(n);
    draw_screen();
}

void render_icon(int32_t n) {
    const int32_t size = 32 * n;
    std::memset(IconImage, 0, static_cast<size_t>(size) * size);
    draw_icon(IconImage, size, n);
}

const uint8_t* render_world(int32_t floor) {
    load_floor(floor);
    repaint_floor();
    return WorldImage;
}
