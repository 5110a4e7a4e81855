// KeyboardEvent.code (the key's place on the keyboard, whatever the layout
// prints on it) to the virtual-key codes the key map is written in.
#pragma once
#include <cstdint>

// 0 for every key the game does not know (and for a null code).
uint32_t web_virtual_key(const char* code);
