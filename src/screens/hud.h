// Everything over the play view: objectives, floor label, inventory,
// stamina, phone, prompts and messages. Reads the GameState only.
#pragma once
#include <cstdint>

void draw_hud();
// An item's 8x8 icon at (x, 190) and its count beside it.
void draw_item_count(int32_t x, int32_t item_type);
