// The pre-painted picture of the current floor.
#pragma once
#include <cstdint>

#include "world/tile_geometry.h"

constexpr int WORLD_W = 896;
constexpr int WORLD_H = 448;

extern uint8_t WorldImage[WORLD_W * WORLD_H];

// Per floor: the colours and fill of its sign, painted by the stairs (any
// fill but plain is a chequer there), of the banner card on arrival and of
// the HUD's floor label.
enum FloorFill : uint8_t { FILL_PLAIN = 0, FILL_CHECKER = 1, FILL_DIAGONAL = 3 };
struct FloorStyleRow {
    uint8_t base_colour;
    uint8_t second_colour;
    uint8_t fill_style;
};
extern const FloorStyleRow FloorStyle[FLOOR_COUNT];

uint32_t texture_hash(uint32_t v);
// What of the game's progress shows on the floor: which floor, the fuse
// box's lamp, the swimming hall's door and sign, and gates or open stairs.
struct FloorLook {
    int32_t floor;
    bool power_on;
    bool pool_hall_open;
    bool stairs_up_open;
    bool stairs_down_open;
};

// Paints every tile of CurrentFloorMap and the overlays, as the look says.
void build_world_image(const FloorLook& look);

// The tile painters, each covering exactly the 16x16 tile at pixel (x, y),
// with the look of the last build_world_image.
void paint_floor_tile(int code, int32_t x, int32_t y);
void paint_wall_face(int code, int32_t x, int32_t y, int32_t column, int32_t row);
void paint_wall_top(int32_t x, int32_t y, int32_t column, int32_t row);
void paint_door(int32_t x, int32_t y, int32_t column, int32_t row);
void paint_stairs(int code, int32_t x, int32_t y, int32_t column, int32_t row);
void paint_object(int code, int32_t x, int32_t y, int32_t column, int32_t row);
// Court and yard lines, the desk lamp, the floor sign, stair hints and labels.
void draw_world_overlays();
