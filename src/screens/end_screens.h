// The screens that end a run of play: the pursuer's face zooming in, the
// detention screen, and the way out into the night.
#pragma once

// Draws two numbers from the shared generator every frame (the face shakes).
void draw_caught_animation();
void draw_caught_screen();
void draw_escaped_screen();
