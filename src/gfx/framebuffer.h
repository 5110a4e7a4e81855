// The Framebuffer every screen draws into, and the fixed Palette its bytes index.
#pragma once
#include <cstdint>

constexpr int SCREEN_W = 320;
constexpr int SCREEN_H = 200;

// 320x200 Palette indices, row-major, top row first.
extern uint8_t Framebuffer[SCREEN_W * SCREEN_H];

// 16 fixed colours, red, green, blue.
extern const uint8_t Palette[16][3];
