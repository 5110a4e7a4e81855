// Picking items up, and the collecting tasks they complete.
#pragma once
#include <cstdint>

// The stickers hidden in the building, all floors together.
constexpr int32_t STICKER_TOTAL = 18;

// Takes an ItemSlot: inventory, sound, message, task progress, checkpoint.
void pick_up_item(int32_t slot);
// Finishes the current collecting task once enough of its items are held.
void check_task_done();
