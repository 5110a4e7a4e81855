// The SpriteRowTable: every picture of the game as text rows, one character a
// pixel ('0'..'9', 'a'..'f' Palette indices, 'x' key colour, anything else
// transparent). A sprite is addressed by the index of its first row.
#pragma once

constexpr int SPRITE_ROW_COUNT = 770;
extern const char* const SpriteRowTable[SPRITE_ROW_COUNT];

// First rows of the runs and of the named sprites.
enum SpriteRow : int {
    // 16x16 furniture, one per TileCode
    SPRITE_LOCKER = 0,
    SPRITE_LAB_BENCH = 16,
    SPRITE_SINK = 32,
    SPRITE_BOTTLE_CABINET = 48,
    SPRITE_TABLE = 64,
    SPRITE_BOOKSHELF = 80,
    SPRITE_PLANT = 96,
    SPRITE_SKELETON = 112,
    SPRITE_PIANO = 128,
    SPRITE_TOILET = 144,
    SPRITE_VENDING_MACHINE = 160,
    SPRITE_ENTRANCE_DOOR = 176,
    // 32x32
    SPRITE_FACE = 192,
    // 10x10 heads: front, back, side (facing right)
    SPRITE_HEAD_PURSUER = 224,
    SPRITE_HEAD_PLAYER = 254,
    // 8x8
    SPRITE_KEY = 284,
    SPRITE_FLASK = 292,
    SPRITE_TEST_TUBES = 300,
    SPRITE_BURNER = 308,
    // 10x10 heads
    SPRITE_HEAD_HASELBRINK = 316,
    SPRITE_HEAD_HEMMKE = 346,
    SPRITE_HEAD_FRIEND = 376,
    SPRITE_SWIMMER = 396,
    // 16x16 furniture and doors
    SPRITE_DRUM_KIT = 406,
    SPRITE_EASEL = 422,
    SPRITE_LOW_CABINET = 438,
    SPRITE_BENCH = 454,
    SPRITE_TREE = 470,
    SPRITE_SERVING_COUNTER = 486,
    SPRITE_DISPLAY_CABINET = 502,
    SPRITE_COMPUTER_DESK = 518,
    SPRITE_GRATING = 534,
    SPRITE_POOL_DOOR = 550,
    SPRITE_SCHOOL_GATE = 566,
    // 20x18 floor emblems, '6' only: 582 + 18*floor
    SPRITE_EMBLEMS = 582,
    // 8x8 item and status icons
    SPRITE_PHONE = 690,
    SPRITE_FLASHLIGHT = 698,
    SPRITE_SNEAKERS = 706,
    SPRITE_ENERGY_DRINK = 714,
    SPRITE_STINK_BOMB = 722,
    SPRITE_STICKER = 730,
    SPRITE_SHEET_MUSIC = 738,
    SPRITE_FUSE = 746,
    SPRITE_CODE_NOTE = 754,
    SPRITE_SMALL_KEY = 762,
};
