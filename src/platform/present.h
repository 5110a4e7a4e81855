// The Framebuffer, the fixed Palette, and the maths of showing the picture
// letterboxed in a window of any size.
#pragma once
#include <cstdint>

constexpr int SCREEN_W = 320;
constexpr int SCREEN_H = 200;

// 320x200 Palette indices, row-major, top row first.
extern uint8_t Framebuffer[SCREEN_W * SCREEN_H];

// 16 fixed colours, red, green, blue.
extern const uint8_t Palette[16][3];

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
