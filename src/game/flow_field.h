// FlowFields: breadth-first step counts over the current floor, one per
// character, used for walking and for placing items.
#pragma once
#include <cstdint>

// Fills the slot's FlowField with step counts from source_tile (-1 where it
// cannot be reached) and records the source in the slot.
void compute_flow_field(int32_t slot, int32_t source_tile);
// The same search into any grid of MAP_TILES counts, all -1 for a source
// outside the grid.
void route_steps(int32_t source_tile, int16_t* steps);
