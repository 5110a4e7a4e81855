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

// The stored hashes that pin every picture the tools draw
// (tests/picture_hashes.txt, which "stivra-tool picture-hashes" writes):
// each demo scene's frame and GameState from a freshly started program with
// seed 7, each icon size, and each floor's world picture. A line is
// "shot N FRAME STATE", "icon N HASH" or "world N HASH"; header comments come
// first. Each line draws from a fresh start, so the order does not matter.
constexpr int32_t SHOT_COUNT = 27;  // demo scenes 0..26 (26 and up are the plain start)
constexpr int PICTURE_HASH_LINE_SIZE = 96;
int32_t picture_hash_line_count();
void picture_hash_line(int32_t index, char (&line)[PICTURE_HASH_LINE_SIZE]);
