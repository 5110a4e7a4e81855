// The pre-painted picture of the current floor.
#pragma once
#include <cstdint>

constexpr int WORLD_W = 896;
constexpr int WORLD_H = 448;

extern uint8_t WorldImage[WORLD_W * WORLD_H];

uint32_t texture_hash(uint32_t v);
// Paints every tile of CurrentFloorMap and the overlays.
void build_world_image();
