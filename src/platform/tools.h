// The image tools of the command line: each renders into an image buffer
// that the entry point then writes as a BMP file.
#pragma once
#include <cstdint>

// The icon image buffer: used as an S x S image, S = 32*N, S bytes a row.
extern uint8_t IconImage[256 * 256];

// Demo scene n, then one frame into the Framebuffer.
void render_shot(int32_t n);
// The icon at 32*n pixels into IconImage (n already in 1..8).
void render_icon(int32_t n);
// Floor 0..5 loaded and painted; the WorldImage, or nullptr if nothing was drawn.
const uint8_t* render_world(int32_t floor);
