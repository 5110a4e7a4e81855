// Named rooms as tile rectangles, floor titles, and the texts painted onto the floors.
#pragma once
#include <cstdint>

constexpr int ROOM_COUNT = 49;
constexpr int LABEL_COUNT = 44;

extern const char* const FloorNames[6];

struct RoomTableData {
    int8_t floor[ROOM_COUNT];
    int8_t x0[ROOM_COUNT], y0[ROOM_COUNT], x1[ROOM_COUNT], y1[ROOM_COUNT];
    const char* name[ROOM_COUNT];
};
extern const RoomTableData RoomTable;

struct Label {
    int8_t floor;
    int16_t x, y;
    const char* text;
    int8_t text_colour;
    int8_t plate_colour;  // -1 none
};
extern const Label LabelTable[LABEL_COUNT];

// First room in table order containing the tile, or -1.
int32_t room_at(int32_t floor, int32_t column, int32_t row);
