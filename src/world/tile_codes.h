// The TileCodes the rules look for by name: single characters of the floor
// maps (their sets, such as the floor and the wall codes, are in floors.h).
#pragma once

enum TileCode : char {
    TILE_WALL = '#',
    TILE_DOOR = 'D',
    TILE_STAIRS_UP = '^',
    TILE_STAIRS_DOWN = 'v',
    TILE_ENTRANCE = 'E',     // the main entrance, locked until the last task
    TILE_POOL_DOOR = 'X',    // the swimming hall's locked door
    TILE_GRATING = 'g',      // the closed stairs to the floors above the school's
    TILE_SCHOOL_GATE = 'e',
    TILE_FENCE = 'F',
    TILE_GLASS_WALL = 'q',
    TILE_LOCKER = 'L',
    TILE_PIANO = 'M',
    TILE_FUSE_BOX = 'u',
    TILE_TILED_FLOOR = 't',  // the pool's surround, showers and toilets
    TILE_PLAYER_START = 'P',
    TILE_PURSUER_START = 'H',
};
