// The maths of showing the Framebuffer letterboxed in a window of any size.
#pragma once
#include <cstdint>

#include "gfx/framebuffer.h"


struct PresentRect {
    int x, y, w, h;
};

// Where the 320x200 picture goes in a client area of cw x ch, and the black
// bars around it: none, or left and right, or above and below, where a
// single leftover pixel makes only the right or the lower bar. Bars are
// never empty.
struct Letterbox {
    PresentRect target;
    int bar_count;
    PresentRect bars[2];
};

Letterbox letterbox_rect(int cw, int ch);

// The Framebuffer with its rows in reverse order, as a bottom-up 8-bit DIB wants them.
void copy_rows_bottom_up(const uint8_t* src, uint8_t* dst);

// Largest integer scale (3, 2 or 1) whose window fits a screen of w x h,
// keeping 40 pixels of width and 80 of height free for borders and taskbar.
int choose_window_scale(int screen_w, int screen_h);
