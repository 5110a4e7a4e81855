// The pre-painted picture of the current floor.
#pragma once
#include <cstdint>

constexpr int WORLD_W = 896;
constexpr int WORLD_H = 448;

extern uint8_t WorldImage[WORLD_W * WORLD_H];

uint32_t texture_hash(uint32_t v);
// Paints every tile of CurrentFloorMap and the overlays.
void build_world_image();

// The tile painters, each covering exactly the 16x16 tile at pixel (x, y).
void paint_floor_tile(int code, int32_t x, int32_t y);
void paint_wall_face(int code, int32_t x, int32_t y, int32_t column, int32_t row);
void paint_wall_top(int32_t x, int32_t y, int32_t column, int32_t row);
void paint_door(int32_t x, int32_t y, int32_t column, int32_t row);
void paint_stairs(int code, int32_t x, int32_t y, int32_t column, int32_t row);
void paint_object(int code, int32_t x, int32_t y, int32_t column, int32_t row);
// Court and yard lines, the desk lamp, the floor sign, stair hints and labels.
void draw_world_overlays();
