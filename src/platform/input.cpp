#include "platform/input.h"

uint32_t HeldInput = 0;
uint32_t PressedInput = 0;

namespace {

// P and M while they are down, so that a held key toggles only once.
bool PauseKeyDown = false;
bool MuteKeyDown = false;

}  // namespace

uint32_t map_virtual_key(uint32_t vk) {
    switch (vk) {
    case VKEY_RETURN: return INPUT_CONFIRM;
    case VKEY_SHIFT: return INPUT_RUN;
    case VKEY_ESCAPE: return INPUT_BACK;
    case VKEY_SPACE: return INPUT_ACTION;
    case 'E': return INPUT_ACTION;
    case VKEY_LEFT: return INPUT_LEFT;
    case 'A': return INPUT_LEFT;
    case VKEY_UP: return INPUT_UP;
    case 'W': return INPUT_UP;
    case VKEY_RIGHT: return INPUT_RIGHT;
    case 'D': return INPUT_RIGHT;
    case VKEY_DOWN: return INPUT_DOWN;
    case 'S': return INPUT_DOWN;
    case 'F': return INPUT_PHONE;
    case 'Q': return INPUT_PHONE;
    default: return 0;
    }
}

uint32_t map_joystick(uint32_t x, uint32_t y, uint32_t buttons) {
    uint32_t bits = 0;
    if (x < 16000) bits |= INPUT_LEFT;
    if (x > 49000) bits |= INPUT_RIGHT;
    if (y < 16000) bits |= INPUT_UP;
    if (y > 49000) bits |= INPUT_DOWN;
    if (buttons & 1) bits |= INPUT_ACTION;
    if (buttons & (2 | 4)) bits |= INPUT_RUN;
    if (buttons & 8) bits |= INPUT_PHONE;
    if (buttons & (256 | 512)) bits |= INPUT_CONFIRM;
    return bits;
}

uint32_t key_went_down(uint32_t vk, bool paused) {
    uint32_t asks = vk == VKEY_F12 ? uint32_t(KEY_ASKS_SCREENSHOT) : 0u;
    if (vk == VKEY_P) {
        if (!PauseKeyDown) asks |= KEY_ASKS_PAUSE;
        PauseKeyDown = true;
        return asks;
    }
    if (vk == VKEY_M) {
        if (!MuteKeyDown) asks |= KEY_ASKS_MUTE;
        MuteKeyDown = true;
        return asks;
    }
    if (paused) return asks;
    // C gives the game no button: it is the desktop game's key for
    // continuing the last game.
    if (vk == VKEY_C) asks |= KEY_ASKS_CONTINUE;
    const uint32_t bits = map_virtual_key(vk);
    HeldInput |= bits;
    PressedInput |= bits;
    return asks;
}

void key_went_up(uint32_t vk) {
    if (vk == VKEY_P) PauseKeyDown = false;
    if (vk == VKEY_M) MuteKeyDown = false;
    HeldInput &= ~map_virtual_key(vk);
}

void input_focus_lost() {
    HeldInput = 0;
    PauseKeyDown = false;
    MuteKeyDown = false;
}

void input_clear() {
    HeldInput = 0;
    PressedInput = 0;
}
