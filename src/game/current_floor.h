// The game's side of the current floor: loading and repainting it with the
// game's progress, where its stairs lead, and the tile the player stands on.
#pragma once
#include <cstdint>

// Makes the floor current: its map (the swimming hall's door open once the
// hall is), Game.current_floor, and new route searches for every character.
// Floors outside 0..5 change nothing.
void load_floor(int32_t floor);
// Paints the current floor into the WorldImage as the game stands now.
void repaint_floor();
// Whether the stairs '^' (up) or 'v' (down) of the current floor lead to an open floor.
bool stairs_open(int code);
// Tile index under the player.
int32_t player_tile();
// Records the 'P' and 'H' markers' tiles in the GameState.
void find_start_markers();
