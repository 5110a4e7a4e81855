// One frame: the screen of the current GameMode.
#pragma once

// Renders the current GameMode into the Framebuffer.
void draw_screen();
