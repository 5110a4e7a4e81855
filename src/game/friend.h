// BRAZZIK, the friend who holds the grown-ups off.
#pragma once
#include <cstdint>

// His Tick, once per Tick of play.
void friend_update();
// The adult he goes for: slot 0 or 1, or -1 when none is about. Hunting
// adults count at a quarter of their distance; the pursuer wins a tie.
int32_t nearest_threat();
