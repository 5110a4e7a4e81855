#include "platform/tools.h"

#include <cstring>

#include "game/current_floor.h"
#include "game/game_flow.h"
#include "game/scenes.h"
#include "data/text_writer.h"
#include "game/game_state.h"
#include "platform/replay.h"
#include "gfx/figures.h"
#include "gfx/framebuffer.h"
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

namespace {

const char* const PictureHeader[] = {
    "# stivra picture hashes 1: demo scenes (frame, GameState; seed 7), icons, world pictures",
    "# scripts/rebless_replays.sh rewrites this file (stivra-tool picture-hashes)",
};
constexpr int32_t PICTURE_HEADER_LINES = 2;
constexpr int32_t ICON_SIZES = 8;
constexpr int32_t WORLD_PICTURES = 6;

}  // namespace

int32_t picture_hash_line_count() {
    return PICTURE_HEADER_LINES + SHOT_COUNT + ICON_SIZES + WORLD_PICTURES;
}

void picture_hash_line(int32_t index, char (&line)[PICTURE_HASH_LINE_SIZE]) {
    TextWriter w(line, sizeof line);
    if (index < PICTURE_HEADER_LINES) {
        w.text(PictureHeader[index]);
        return;
    }
    index -= PICTURE_HEADER_LINES;
    // Every picture as a freshly started program with seed 7 draws it.
    replay_start(7);
    char hex[17];
    if (index < SHOT_COUNT) {
        render_shot(index);
        w.text("shot ");
        w.number(static_cast<uint64_t>(index));
        format_hash(pixels_hash(Framebuffer, sizeof Framebuffer), hex);
        w.text(" ");
        w.text(hex);
        format_hash(game_state_hash(Game), hex);
        w.text(" ");
        w.text(hex);
        return;
    }
    index -= SHOT_COUNT;
    if (index < ICON_SIZES) {
        const int32_t n = index + 1;
        render_icon(n);
        w.text("icon ");
        w.number(static_cast<uint64_t>(n));
        format_hash(pixels_hash(IconImage, static_cast<size_t>(32 * n) * static_cast<size_t>(32 * n)), hex);
        w.text(" ");
        w.text(hex);
        return;
    }
    index -= ICON_SIZES;
    const uint8_t* world = render_world(index);
    w.text("world ");
    w.number(static_cast<uint64_t>(index + 1));
    format_hash(world ? pixels_hash(world, sizeof WorldImage) : 0, hex);
    w.text(" ");
    w.text(hex);
}
