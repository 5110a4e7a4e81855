// The grown-ups coming and going by the stairwell while they are not on the
// player's floor: the pursuer (slot 0) and the phone teacher (slot 1).
#pragma once
#include <cstdint>

// A Tick of slot 0 or 1 while it is not walking about on the player's floor.
void offfloor_update(int32_t slot);
