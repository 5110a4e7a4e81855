#include "platform/present.h"

#include <cstring>

Letterbox letterbox_rect(int cw, int ch) {
    Letterbox box{};
    if (cw < 0) cw = 0;
    if (ch < 0) ch = 0;
    // 64-bit products: a client area can be wider than 2^31 / 200 only in
    // theory, but the sum must never overflow.
    int h = static_cast<int>(static_cast<int64_t>(cw) * 200 / 320);
    int tw, th;
    if (h > ch) {
        tw = static_cast<int>(static_cast<int64_t>(ch) * 320 / 200);
        th = ch;
    } else {
        tw = cw;
        th = h;
    }
    int x0 = (cw - tw) / 2;
    int y0 = (ch - th) / 2;
    box.target = {x0, y0, tw, th};
    // A bar on each side the picture leaves free; the right or lower one
    // takes the odd pixel. A leftover of one pixel (a window one row taller
    // than the picture) is that one bar alone: nothing else would ever clear
    // it, since the window's background is never erased.
    const int right = cw - x0 - tw;
    const int below = ch - y0 - th;
    if (x0 > 0) box.bars[box.bar_count++] = {0, 0, x0, ch};
    if (right > 0) box.bars[box.bar_count++] = {x0 + tw, 0, right, ch};
    if (y0 > 0) box.bars[box.bar_count++] = {0, 0, cw, y0};
    if (below > 0) box.bars[box.bar_count++] = {0, y0 + th, cw, below};
    return box;
}

void copy_rows_bottom_up(const uint8_t* src, uint8_t* dst) {
    for (int k = 0; k < SCREEN_H; ++k)
        std::memcpy(dst + k * SCREEN_W, src + (SCREEN_H - 1 - k) * SCREEN_W, SCREEN_W);
}

int choose_window_scale(int screen_w, int screen_h) {
    int scale = 3, w = 960, h = 600;
    while (w > screen_w - 40 || h > screen_h - 80) {
        w -= 320;
        h -= 200;
        scale -= 1;
        if (w <= 320) break;
    }
    return scale;
}
