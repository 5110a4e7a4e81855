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

// What the window procedure does with keyboard and focus messages.
// F12 also takes a screenshot; P and M switch pause and mute once per press
// (key repeat does not toggle again); while paused the game's keys are not
// taken.
void input_key_down(uint32_t vk);
void input_key_up(uint32_t vk);
void input_focus_lost();
