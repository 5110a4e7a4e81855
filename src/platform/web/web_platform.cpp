// The game's "window" in a browser tab: a 320x200 canvas on the page
// (web/page.js draws it), keys through KeyboardEvent.code, the Gamepad API,
// and the page's clock. Nothing here may block: the browser calls one
// main-loop pass per animation frame (web_main.cpp).
#include <emscripten.h>
#include <emscripten/html5.h>

#include <cstring>

#include "platform/input.h"
#include "platform/main_loop.h"
#include "platform/pause.h"
#include "platform/platform.h"
#include "platform/present.h"
#include "platform/web/web_keys.h"
#include "platform/web/web_page.h"

// The page side of the picture, the game box and the gamepad (StivraPage in page.js).
EM_JS(void, page_show_frame, (const uint8_t* rgba, int size), {
    StivraPage.showFrame(HEAPU8.subarray(rgba, rgba + size));
});
EM_JS(void, page_box_size, (int* size), {
    const s = StivraPage.boxSize();
    HEAP32[size >> 2] = s[0];
    HEAP32[(size >> 2) + 1] = s[1];
});
EM_JS(void, page_place_canvas, (int x, int y, int w, int h), {
    StivraPage.placeCanvas(x, y, w, h);
});
EM_JS(void, page_toggle_full_screen, (), { StivraPage.toggleFullScreen(); });
EM_JS(int, page_read_gamepad, (uint32_t* out), {
    const pad = StivraPage.readGamepad();
    if (!pad) return 0;
    HEAPU32[out >> 2] = pad[0];
    HEAPU32[(out >> 2) + 1] = pad[1];
    HEAPU32[(out >> 2) + 2] = pad[2];
    return 1;
});
// Hands a file of the in-memory file system to the page as a download and
// removes it; a missing file (a failed write) offers nothing.
EM_JS(void, page_offer_file, (const char* name), {
    const fileName = UTF8ToString(name);
    let data;
    try {
        data = FS.readFile(fileName);
        FS.unlink(fileName);
    } catch (e) {
        return;
    }
    StivraPage.offerFile(fileName, data);
});

// The page shows its own pause sign over the canvas and its own sound
// switch; it learns of every change, whoever made it (true or false). A page
// without these handlers is simply not told.
EM_JS(void, page_pause_changed, (int paused), {
    if (typeof StivraPage !== 'undefined' && StivraPage.pauseChanged) StivraPage.pauseChanged(paused !== 0);
});
EM_JS(void, page_mute_changed, (int muted), {
    if (typeof StivraPage !== 'undefined' && StivraPage.muteChanged) StivraPage.muteChanged(muted !== 0);
});

namespace {

// What the page was last told.
uint32_t ToldPaused = 0;
uint32_t ToldMuted = 0;

// Palette entries as the canvas's RGBA bytes, read as one little-endian word.
uint32_t PaletteRgba[16];
uint32_t FrameRgba[SCREEN_W * SCREEN_H];

// The game box size the canvas was last placed for; -1 forces a placement.
int PlacedBoxW = -1, PlacedBoxH = -1;

// The InputBits the fingers hold on the page's on-screen pad.
uint32_t TouchBits = 0;

bool is_full_screen_chord(uint32_t vk, const EmscriptenKeyboardEvent* e) {
    return vk == VKEY_RETURN && e->altKey;
}

// Keys the game uses do not also scroll the page or open the browser's own
// tools; with Ctrl or Meta held the browser keeps its shortcuts.
EM_BOOL keep_from_browser(uint32_t vk, const EmscriptenKeyboardEvent* e) {
    if (e->ctrlKey || e->metaKey) return EM_FALSE;
    const bool game_key = map_virtual_key(vk) != 0 || vk == VKEY_F12 || vk == VKEY_P || vk == VKEY_M;
    return game_key ? EM_TRUE : EM_FALSE;
}

EM_BOOL on_key_down(int, const EmscriptenKeyboardEvent* e, void*) {
    const uint32_t vk = web_virtual_key(e->code);
    // Alt+Enter switches full screen and is not also a CONFIRM.
    if (is_full_screen_chord(vk, e)) {
        if (!e->repeat) page_toggle_full_screen();
        return EM_TRUE;
    }
    if (vk == VKEY_F12) {
        // A held F12 would start one download per key repeat.
        if (!e->repeat) web_take_screenshot();
        return keep_from_browser(vk, e);
    }
    window_key_down(vk);  // P and M switch pause and mute
    web_tell_page_pause_and_mute();
    return keep_from_browser(vk, e);
}

EM_BOOL on_key_up(int, const EmscriptenKeyboardEvent* e, void*) {
    const uint32_t vk = web_virtual_key(e->code);
    window_key_up(vk);
    return keep_from_browser(vk, e);
}

EM_BOOL on_blur(int, const EmscriptenFocusEvent*, void*) {
    input_focus_lost();
    return EM_FALSE;
}

EM_BOOL on_visibility(int, const EmscriptenVisibilityChangeEvent* e, void*) {
    // A hidden tab sees no key-up either.
    if (e->hidden) input_focus_lost();
    return EM_FALSE;
}

}  // namespace

void web_tell_page_pause_and_mute() {
    if (Paused != ToldPaused) {
        ToldPaused = Paused;
        page_pause_changed(static_cast<int>(Paused));
    }
    if (Muted != ToldMuted) {
        ToldMuted = Muted;
        page_mute_changed(static_cast<int>(Muted));
    }
}

// Pause and mute for the page: its pause sign, its sound switch, and its
// handlers of blur and of the hidden tab. Pausing is refused during the
// smoke run (?autoplay=1), like the P key.
extern "C" {
EMSCRIPTEN_KEEPALIVE void web_set_paused(int paused) {
    set_paused(paused != 0);
    web_tell_page_pause_and_mute();
}
EMSCRIPTEN_KEEPALIVE int web_paused() { return Paused ? 1 : 0; }
EMSCRIPTEN_KEEPALIVE void web_set_muted(int muted) {
    set_muted(muted != 0);
    web_tell_page_pause_and_mute();
}
EMSCRIPTEN_KEEPALIVE int web_muted() { return Muted ? 1 : 0; }
}

void web_take_screenshot() {
    window_key_down(VKEY_F12);  // writes the next stivra_NN.bmp
    char name[14];
    screenshot_name(ScreenshotCounter - 1, name);
    page_offer_file(name);
}

void web_layout() {
    int size[2] = {0, 0};
    page_box_size(size);
    if (size[0] == PlacedBoxW && size[1] == PlacedBoxH) return;
    PlacedBoxW = size[0];
    PlacedBoxH = size[1];
    const Letterbox box = letterbox_rect(size[0], size[1]);
    page_place_canvas(box.target.x, box.target.y, box.target.w, box.target.h);
}

void platform_open_window() {
    for (int i = 0; i < 16; ++i)
        PaletteRgba[i] = 0xFF000000u | (uint32_t(Palette[i][2]) << 16) |
                         (uint32_t(Palette[i][1]) << 8) | uint32_t(Palette[i][0]);
    emscripten_set_keydown_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, nullptr, EM_TRUE, on_key_down);
    emscripten_set_keyup_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, nullptr, EM_TRUE, on_key_up);
    emscripten_set_blur_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, nullptr, EM_TRUE, on_blur);
    emscripten_set_visibilitychange_callback(nullptr, EM_TRUE, on_visibility);
    PlacedBoxW = PlacedBoxH = -1;
    web_layout();
}

void platform_close_window() {
    audio_close();
    emscripten_set_keydown_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, nullptr, EM_TRUE, nullptr);
    emscripten_set_keyup_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, nullptr, EM_TRUE, nullptr);
    emscripten_set_blur_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, nullptr, EM_TRUE, nullptr);
    emscripten_set_visibilitychange_callback(nullptr, EM_TRUE, nullptr);
}

// Key events reach the callbacks above between animation frames, so there
// is nothing left to drain here but news for the page.
void platform_pump_messages() {
    web_tell_page_pause_and_mute();
}

uint32_t platform_time_ms() {
    // performance.now() in milliseconds since the page was opened; the
    // loop's arithmetic wraps in 32 bits like the system tick count.
    return static_cast<uint32_t>(static_cast<uint64_t>(emscripten_get_now()));
}

// The browser must never be blocked: an idle pass simply ends, and the next
// animation frame brings the next pass.
void platform_sleep_ms(uint32_t) {}

void platform_present() {
    for (int i = 0; i < SCREEN_W * SCREEN_H; ++i) FrameRgba[i] = PaletteRgba[Framebuffer[i] & 15];
    page_show_frame(reinterpret_cast<const uint8_t*>(FrameRgba), static_cast<int>(sizeof FrameRgba));
    web_layout();
}

uint32_t platform_joystick_bits() {
    uint32_t pad[3] = {32768, 32768, 0};
    if (!page_read_gamepad(pad)) return TouchBits;
    return map_joystick(pad[0], pad[1], pad[2]) | TouchBits;
}

// The page's on-screen pad: the bits held now. A bit that comes on counts as
// pressed, like a key, so that a tap shorter than a frame still reaches the
// game.
extern "C" EMSCRIPTEN_KEEPALIVE void web_touch_bits(uint32_t bits) {
    bits &= 511;  // UP..PHONE
    PressedInput |= bits & ~TouchBits;
    TouchBits = bits;
}
