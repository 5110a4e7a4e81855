// Keyboard and joystick state turned into the game's button mask.
#pragma once
#include <cstdint>

#include "game/input_bits.h"

// Virtual-key codes as the Windows keyboard messages carry them; the SDL
// backend translates its keys into the same codes so one map serves both.
enum : uint32_t {
    VKEY_RETURN = 13,
    VKEY_SHIFT = 16,
    VKEY_ALT = 18,
    VKEY_ESCAPE = 27,
    VKEY_SPACE = 32,
    VKEY_LEFT = 37,
    VKEY_UP = 38,
    VKEY_RIGHT = 39,
    VKEY_DOWN = 40,
    VKEY_C = 'C',
    VKEY_M = 'M',
    VKEY_P = 'P',
    VKEY_F12 = 123,
};

// Keys that are down now; key-up clears, focus loss clears all.
extern uint32_t HeldInput;
// Keys that went down since the last main-loop pass that ran Ticks.
extern uint32_t PressedInput;

uint32_t map_virtual_key(uint32_t vk);

// Joystick 0: axes 0..65535 (strict thresholds), button mask bit n-1 = button n.
uint32_t map_joystick(uint32_t x, uint32_t y, uint32_t buttons);

// What a key asks of the program beside the game's buttons. The keyboard
// state only says so; the main loop does it (see window_key_down).
enum KeyAsks : uint32_t {
    KEY_ASKS_SCREENSHOT = 1,  // F12
    KEY_ASKS_PAUSE = 2,       // P: switch the pause
    KEY_ASKS_MUTE = 4,        // M: switch the sound off or on
    KEY_ASKS_CONTINUE = 8,    // C: continue the last game (where the title offers it)
};

// A key went down: returns what it asks (KeyAsks bits). F12 asks every
// time; P and M ask once per press (key repeat does not ask again) and give
// the game nothing; while paused no other key is taken, otherwise the key's
// buttons become held and pressed and C asks to continue.
uint32_t key_went_down(uint32_t vk, bool paused);
void key_went_up(uint32_t vk);
// No key stays held; P and M count as up again (their key-up goes to
// whichever window has the focus now). Pressed keys stay for the loop.
void input_focus_lost();
// Forgets the held and the pressed keys.
void input_clear();
