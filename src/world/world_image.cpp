// Paints the whole current floor once into the WorldImage. Every texture is
// an integer hash of the pixel position or a pattern sprite, so a floor in a
// given state always comes out byte for byte the same.
#include "world/world_image.h"

#include "data/sprite_rows.h"
#include "gfx/draw.h"
#include "gfx/font.h"
#include "world/floors.h"
#include "world/rooms.h"

uint8_t WorldImage[WORLD_W * WORLD_H];

const FloorStyleRow FloorStyle[FLOOR_COUNT] = {
    {15, 15, FILL_PLAIN},     // pool
    {15, 12, FILL_DIAGONAL},  // sports hall
    {12, 15, FILL_CHECKER},   // music and art
    {12, 12, FILL_PLAIN},     // sciences
    {9, 9, FILL_PLAIN},       // schoolyard and canteen
    {3, 3, FILL_PLAIN},       // main entrance
};

uint32_t texture_hash(uint32_t v) {
    uint32_t w = (v ^ (v >> 13)) * 1274126177u;
    return w ^ (w >> 16);
}

namespace {

constexpr int TILE = 16;

// The game's state as the floor being painted shows it.
FloorLook Look;

uint32_t floor_seed(int32_t X, int32_t Y) {
    return static_cast<uint32_t>(Y) * 668265263u + static_cast<uint32_t>(X) * 374761393u;
}

uint32_t water_seed(int32_t X, int32_t Y) {
    return static_cast<uint32_t>(Y) * 2004795789u + static_cast<uint32_t>(X) * 374761393u;
}

int floor_byte(int32_t X, int32_t Y) { return static_cast<int>(texture_hash(floor_seed(X, Y)) & 0xFFu); }

bool tile_in_image(int32_t x, int32_t y) {
    return x >= 0 && y >= 0 && x <= WORLD_W - TILE && y <= WORLD_H - TILE;
}

bool inside_grid(int32_t column, int32_t row) {
    return column >= 0 && column < MAP_W && row >= 0 && row < MAP_H;
}

// A rectangle given relative to the tile's top-left pixel.
void rect(int32_t x, int32_t y, int32_t dx, int32_t dy, int32_t w, int32_t h, int32_t colour) {
    fill_rect(WorldImage, WORLD_W, WORLD_H, x + dx, y + dy, w, h, colour);
}

void pixel(int32_t x, int32_t y, int32_t colour) { rect(x, y, 0, 0, 1, 1, colour); }

int object_sprite(int code) {
    switch (code) {
        case 'L': return SPRITE_LOCKER;
        case 'B': return SPRITE_LAB_BENCH;
        case 'S': return SPRITE_SINK;
        case 'G': return SPRITE_BOTTLE_CABINET;
        case 'T': return SPRITE_TABLE;
        case 'R': return SPRITE_BOOKSHELF;
        case 'O': return SPRITE_PLANT;
        case 'Z': return SPRITE_SKELETON;
        case 'M': return SPRITE_PIANO;
        case 'U': return SPRITE_TOILET;
        case 'V': return SPRITE_VENDING_MACHINE;
        case 'E': return SPRITE_ENTRANCE_DOOR;
        case 'Q': return SPRITE_DRUM_KIT;
        case 'J': return SPRITE_EASEL;
        case 'o': return SPRITE_LOW_CABINET;
        case 'N': return SPRITE_BENCH;
        case 'Y': return SPRITE_TREE;
        case 'k': return SPRITE_SERVING_COUNTER;
        case 'I': return SPRITE_DISPLAY_CABINET;
        case 'W': return SPRITE_COMPUTER_DESK;
        case 'g': return SPRITE_GRATING;
        case 'X': return SPRITE_POOL_DOOR;
        case 'e': return SPRITE_SCHOOL_GATE;
        default: return -1;
    }
}

// Painting counts the fence as wall wherever a neighbour decides an edge.
bool is_wall_or_fence(int code) { return is_wall_tile(code) || code == 'F'; }

// A neighbour inside the grid that is neither wall nor fence: a wall top gets
// an edge towards it, and a doorway opens towards it.
bool open_side(int32_t column, int32_t row) {
    return inside_grid(column, row) && !is_wall_or_fence(tile_at(column, row));
}

void paint_water(int32_t x, int32_t y, int32_t row) {
    for (int r = 0; r < TILE; ++r) {
        const int32_t Y = y + r;
        uint8_t* line = WorldImage + Y * WORLD_W + x;
        for (int c = 0; c < TILE; ++c) {
            const int32_t X = x + c;
            const uint32_t l = texture_hash(water_seed(X, Y)) & 0xFFu;
            uint8_t colour;
            if ((Y + 3 * (X / 8)) % 9 == 0) colour = 4;
            else if (l < 10) colour = 5;
            else if (l < 36) colour = 3;
            else colour = 13;
            line[c] = colour;
        }
    }
    // Lane ropes across the pool.
    if (row == 4 || row == 7) {
        uint8_t* line = WorldImage + (y + 8) * WORLD_W + x;
        for (int c = 0; c < TILE; ++c) line[c] = ((x + c) % 4 < 2) ? 12 : 6;
    }
}

void paint_fence(int32_t x, int32_t y, int32_t column, int32_t row) {
    paint_floor_tile(floor_under(Look.floor, column, row), x, y);
    for (int k = 0; k < 5; ++k) rect(x, y, 1 + 3 * k, 1, 1, 14, 2);
    rect(x, y, 0, 2, 16, 1, 3);
    rect(x, y, 0, 12, 16, 1, 3);
}

void paint_window(int32_t x, int32_t y) {
    rect(x, y, 2, 3, 12, 10, 4);
    if (Look.floor == 4) {
        rect(x, y, 3, 4, 10, 8, 15);
    } else {
        rect(x, y, 3, 4, 10, 8, 1);
        for (int k = 0; k < 6; ++k) pixel(x + 4 + k, y + 10 - k, 3);
    }
    rect(x, y, 7, 4, 2, 8, 4);
    rect(x, y, 3, 7, 10, 1, 4);
}

void paint_blackboard(int32_t x, int32_t y, int32_t column, int32_t row) {
    rect(x, y, 0, 3, 16, 10, 7);
    rect(x, y, 0, 4, 16, 8, 13);
    if (tile_at(column - 1, row) != 'b') rect(x, y, 0, 3, 1, 10, 7);
    if (tile_at(column + 1, row) != 'b') rect(x, y, 15, 3, 1, 10, 7);
    // Chalk dust.
    const uint32_t base = static_cast<uint32_t>(y) * 668265263u +
                          static_cast<uint32_t>(x) * 374761393u + 1808805746u;
    for (uint32_t r = 0; r < 6; ++r) {
        for (uint32_t k = 1; k <= 14; ++k) {
            const uint32_t v = base + r * 2004795789u + (k - 1) * 374761393u;
            if ((texture_hash(v) & 0xFFu) < 6) {
                pixel(x + static_cast<int32_t>(k), y + 5 + static_cast<int32_t>(r), 5);
            }
        }
    }
    rect(x, y, 0, 12, 16, 1, 4);
}

void paint_notice_board(int32_t x, int32_t y) {
    rect(x, y, 1, 4, 14, 8, 7);
    rect(x, y, 2, 5, 12, 6, 8);
    rect(x, y, 3, 6, 3, 4, 6);
    rect(x, y, 7, 5, 4, 3, 6);
    rect(x, y, 11, 7, 2, 3, 15);
    rect(x, y, 4, 6, 1, 1, 12);
    rect(x, y, 9, 5, 1, 1, 12);
}

void paint_chart(int32_t x, int32_t y) {
    static constexpr uint8_t ChartColours[4] = {12, 14, 15, 4};
    rect(x, y, 2, 4, 12, 8, 6);
    for (int r = 0; r < 3; ++r) {
        for (int k = 0; k < 5; ++k) {
            if (r == 0 && k != 0 && k != 4) continue;
            const int l = floor_byte(x + k, y + r);
            pixel(x + 3 + 2 * k, y + 5 + 2 * r, ChartColours[l % 4]);
        }
    }
}

void paint_glass_wall(int32_t x, int32_t y) {
    rect(x, y, 0, 3, 16, 11, 1);
    for (int r = 3; r <= 13; ++r) {
        for (int c = 1; c <= 14; ++c) {
            if ((16 - r + c) % 9 == 0) pixel(x + c, y + r, 3);
        }
    }
    rect(x, y, 3, 5, 1, 1, 5);
    rect(x, y, 0, 3, 1, 11, 4);
    rect(x, y, 15, 3, 1, 11, 4);
}

void paint_fuse_box(int32_t x, int32_t y) {
    rect(x, y, 2, 3, 12, 10, 2);
    rect(x, y, 3, 4, 10, 8, 4);
    rect(x, y, 8, 5, 1, 1, 15);
    rect(x, y, 7, 6, 1, 1, 15);
    rect(x, y, 6, 7, 3, 1, 15);
    rect(x, y, 7, 8, 1, 1, 15);
    rect(x, y, 6, 9, 1, 1, 15);
    rect(x, y, 10, 10, 2, 1, Look.power_on ? 14 : 12);
}

void paint_backboard(int32_t x, int32_t y) {
    rect(x, y, 2, 3, 12, 8, 6);
    rect(x, y, 3, 4, 10, 6, 5);
    rect(x, y, 5, 6, 6, 3, 12);
    rect(x, y, 6, 7, 4, 1, 5);
    rect(x, y, 4, 11, 8, 1, 12);
    for (int k = 0; k < 4; ++k) rect(x, y, 5 + 2 * k, 12, 1, 2, 6);
}

void paint_wall_bars(int32_t x, int32_t y) {
    rect(x, y, 1, 3, 2, 11, 8);
    rect(x, y, 13, 3, 2, 11, 8);
    for (int k = 0; k < 4; ++k) rect(x, y, 1, 4 + 3 * k, 14, 1, 7);
}

void paint_tile(int32_t column, int32_t row) {
    const int t = tile_at(column, row);
    const int32_t x = column * TILE;
    const int32_t y = row * TILE;
    if (is_wall_tile(t)) {
        const int below = tile_at(column, row + 1);
        if (is_wall_tile(below) || below == 'E' || below == 'X') {
            paint_wall_top(x, y, column, row);
        } else {
            paint_wall_face(t, x, y, column, row);
        }
    } else if (is_floor_tile(t)) {
        paint_floor_tile(t, x, y);
    } else if (t == 'D') {
        paint_door(x, y, column, row);
    } else if (t == '^' || t == 'v') {
        paint_stairs(t, x, y, column, row);
    } else if (t == '~') {
        paint_water(x, y, row);
    } else if (t == 'F') {
        paint_fence(x, y, column, row);
    } else {
        paint_object(t, x, y, column, row);
    }
}

void draw_floor_sign(int32_t floor) {
    fill_rect(WorldImage, WORLD_W, WORLD_H, 65, 274, 30, 11, 1);
    const uint8_t a = FloorStyle[floor].base_colour;
    const uint8_t b = FloorStyle[floor].second_colour;
    const bool chequer = FloorStyle[floor].fill_style != FILL_PLAIN;
    for (int32_t Y = 275; Y <= 283; ++Y) {
        for (int32_t X = 66; X <= 93; ++X) {
            WorldImage[Y * WORLD_W + X] = (chequer && (X + Y) % 2 == 1) ? b : a;
        }
    }
    const char number[2] = {static_cast<char>('1' + floor), 0};
    draw_text(WorldImage, WORLD_W, WORLD_H, 77, 276, number, 1, 1, 9999);
}

}  // namespace

void paint_floor_tile(int code, int32_t x, int32_t y) {
    if (!tile_in_image(x, y)) return;
    const bool even_tile = ((x / TILE + y / TILE) % 2) == 0;
    for (int r = 0; r < TILE; ++r) {
        const int32_t Y = y + r;
        uint8_t* line = WorldImage + Y * WORLD_W + x;
        for (int c = 0; c < TILE; ++c) {
            const int32_t X = x + c;
            const bool edge = r == 0 || c == 0;
            uint8_t colour = 0;
            switch (code) {
                case '.': {
                    const int l = floor_byte(X, Y);
                    colour = (edge || l < 24) ? 2 : (l > 245 ? 4 : 3);
                    break;
                }
                case ',': {
                    // Staggered boards four pixels high.
                    const bool seam = r % 4 == 3 || (X + 5 * (Y / 4)) % 16 == 0;
                    colour = (seam || floor_byte(X, Y) < 18) ? 7 : 8;
                    break;
                }
                case 'f': {
                    if (X % 8 == 0 || (11 * (X / 8) + Y) % 32 == 0) colour = 7;
                    else colour = floor_byte(X, Y) < 14 ? 10 : 8;
                    break;
                }
                case 't':
                    colour = (c % 4 == 0 || r % 4 == 0) ? 4 : 5;
                    break;
                case 'c':
                    if (c % 8 == 0 || r % 8 == 0) colour = 3;
                    else colour = floor_byte(X, Y) < 10 ? 5 : 4;
                    break;
                case 'h':
                    colour = edge ? 2 : (even_tile ? 4 : 3);
                    break;
                case 'm':
                    if (edge) colour = 2;
                    else colour = floor_byte(X, Y) < 20 ? 3 : 13;
                    break;
                case '_': {
                    const int l = floor_byte(X, Y);
                    colour = l < 30 ? 3 : (l > 240 ? 1 : 2);
                    break;
                }
                case ';': {
                    const int l = floor_byte(X, Y);
                    colour = l < 40 ? 13 : (l > 252 ? 15 : 14);
                    break;
                }
                default:
                    break;
            }
            line[c] = colour;
        }
    }
}

void paint_wall_face(int code, int32_t x, int32_t y, int32_t column, int32_t row) {
    if (!tile_in_image(x, y)) return;
    const bool bricks = Look.floor == 4;
    for (int i = 0; i < TILE; ++i) {
        uint8_t* line = WorldImage + (y + i) * WORLD_W + x;
        for (int j = 0; j < TILE; ++j) {
            uint8_t colour;
            if (i == 0) colour = 1;
            else if (i <= 2) colour = 2;
            else if (i == 3) colour = 4;
            else if (i == 14) colour = 8;
            else if (i == 15) colour = 7;
            else if (i == 13 && !bricks) colour = 4;
            else if (bricks) colour = (i % 4 == 3 || (j + 4 * ((i / 4) % 2)) % 8 == 0) ? 7 : 10;
            else colour = floor_byte(x + j, y + i) < 20 ? 4 : 5;
            line[j] = colour;
        }
    }
    switch (code) {
        case 'w': paint_window(x, y); break;
        case 'b': paint_blackboard(x, y, column, row); break;
        case 'n': paint_notice_board(x, y); break;
        case 'p': paint_chart(x, y); break;
        case 'q': paint_glass_wall(x, y); break;
        case 'u': paint_fuse_box(x, y); break;
        case 'j': paint_backboard(x, y); break;
        case 'y': paint_wall_bars(x, y); break;
        default: break;
    }
}

void paint_wall_top(int32_t x, int32_t y, int32_t column, int32_t row) {
    if (!tile_in_image(x, y)) return;
    rect(x, y, 0, 0, 16, 16, 1);
    // An edge only towards open ground inside the grid.
    if (open_side(column - 1, row)) rect(x, y, 0, 0, 1, 16, 3);
    if (open_side(column + 1, row)) rect(x, y, 15, 0, 1, 16, 3);
    if (open_side(column, row - 1)) rect(x, y, 0, 0, 16, 1, 3);
}

void paint_door(int32_t x, int32_t y, int32_t column, int32_t row) {
    if (!tile_in_image(x, y)) return;
    paint_floor_tile(floor_under(Look.floor, column, row), x, y);
    if (open_side(column, row - 1) || open_side(column, row + 1)) {
        // A doorway in a horizontal wall: lintel on top, jambs at the sides;
        // neighbouring door tiles form one wide opening.
        rect(x, y, 2, 3, 12, 3, 1);
        rect(x, y, 0, 0, 16, 3, 7);
        rect(x, y, 0, 0, 16, 1, 1);
        if (tile_at(column - 1, row) != 'D') {
            rect(x, y, 0, 0, 2, 16, 7);
            rect(x, y, 1, 0, 1, 16, 8);
        }
        if (tile_at(column + 1, row) != 'D') rect(x, y, 14, 0, 2, 16, 7);
    } else {
        // A doorway in a vertical wall.
        rect(x, y, 0, 0, 16, 2, 7);
        rect(x, y, 0, 14, 16, 2, 7);
    }
}

void paint_stairs(int code, int32_t x, int32_t y, int32_t column, int32_t row) {
    if (!tile_in_image(x, y)) return;
    for (int k = 0; k < TILE; ++k) rect(x, y, k, 0, 1, 16, k % 4 == 3 ? 1 : 5 - k / 4);
    const bool same_above = tile_at(column, row - 1) == code;
    const bool same_below = tile_at(column, row + 1) == code;
    if (!same_above) rect(x, y, 0, 0, 16, 2, 7);
    if (!same_below) rect(x, y, 0, 14, 16, 2, 7);
    const bool middle = same_above && same_below;
    if (code == '^' ? Look.stairs_up_open : Look.stairs_down_open) {
        if (middle) {
            // The arrow points the way the stairs lead: up to the left, down to the right.
            for (int k = 0; k < 4; ++k) {
                const int32_t column_offset = code == '^' ? 4 + k : 11 - k;
                rect(x, y, column_offset, 7 - k, 1, 2 + 2 * k, 6);
            }
        }
        return;
    }
    // Closed: a barred gate, padlocked on the middle step.
    for (int k = 0; k < 5; ++k) rect(x, y, 1 + 3 * k, 0, 1, 16, 4);
    rect(x, y, 0, 3, 16, 1, 5);
    rect(x, y, 0, 12, 16, 1, 5);
    if (middle) {
        rect(x, y, 6, 3, 4, 1, 4);
        rect(x, y, 5, 4, 1, 3, 4);
        rect(x, y, 10, 4, 1, 3, 4);
        rect(x, y, 4, 7, 8, 6, 15);
        rect(x, y, 4, 12, 8, 1, 8);
        rect(x, y, 7, 9, 2, 2, 1);
    }
}

void paint_object(int code, int32_t x, int32_t y, int32_t column, int32_t row) {
    if (!tile_in_image(x, y)) return;
    paint_floor_tile(floor_under(Look.floor, column, row), x, y);
    const int sprite = object_sprite(code);
    if (sprite >= 0) blit_pattern(WorldImage, WORLD_W, WORLD_H, x, y, sprite, 16, 16, 0, 1, 1);
    const uint32_t h = texture_hash(static_cast<uint32_t>(row) * 97513827u -
                                    static_cast<uint32_t>(column) * 1671637545u);
    if (code == 'B') {
        // Flask, test-tube rack or burner on the bench, or nothing.
        static constexpr int Fittings[3] = {SPRITE_FLASK, SPRITE_TEST_TUBES, SPRITE_BURNER};
        if (h % 4 < 3) {
            blit_pattern(WorldImage, WORLD_W, WORLD_H, x + 4, y, Fittings[h % 4], 8, 8, 0, 1, 1);
        }
    } else if (code == 'T') {
        // A sheet of paper, a red or green book, or a bare table.
        const uint32_t l = h % 256;
        const int32_t offset = static_cast<int32_t>(h % 8);
        if (l < 110) {
            rect(x, y, 3 + offset, 5, 4, 3, 6);
        } else if (l < 160) {
            rect(x, y, 2 + offset, 5, 5, 3, 12 + 2 * static_cast<int32_t>(h % 2));
        }
    }
}

void draw_world_overlays() {
    const int32_t floor = Look.floor;
    auto fill = [](int32_t x, int32_t y, int32_t w, int32_t h, int32_t colour) {
        fill_rect(WorldImage, WORLD_W, WORLD_H, x, y, w, h, colour);
    };
    if (floor == 1) {
        // Gym court.
        fill(40, 24, 640, 1, 6);
        fill(40, 175, 640, 1, 6);
        fill(40, 24, 1, 152, 6);
        fill(359, 24, 1, 152, 6);
        fill(679, 24, 1, 152, 6);
        for (int32_t dy = -22; dy <= 22; ++dy) {
            for (int32_t dx = -22; dx <= 22; ++dx) {
                const int32_t d = dx * dx + dy * dy;
                if (d >= 441 && d <= 484) fill(359 + dx, 100 + dy, 1, 1, 6);
            }
        }
    } else if (floor == 4) {
        // Sports ground lines and the basketball post.
        fill(176, 290, 560, 1, 6);
        fill(176, 420, 560, 1, 6);
        fill(176, 290, 1, 131, 6);
        fill(455, 290, 1, 131, 6);
        fill(735, 290, 1, 131, 6);
        fill(326, 196, 3, 26, 2);
        fill(322, 192, 11, 4, 3);
        fill(324, 196, 7, 1, 15);
    } else if (floor == 3) {
        // The desk lamp by the chemistry room's light.
        fill(149, 46, 10, 3, 14);
        fill(150, 45, 8, 1, 13);
        fill(150, 49, 8, 1, 15);
        fill(154, 49, 1, 4, 4);
        fill(151, 53, 7, 1, 2);
    }
    if (floor < 0 || floor >= FLOOR_COUNT) return;
    draw_floor_sign(floor);
    if (floor != 5) draw_text(WorldImage, WORLD_W, WORLD_H, 19, 291, "< HOCH", 5, 1, 9999);
    if (floor != 0) draw_text(WorldImage, WORLD_W, WORLD_H, 62, 339, "RUNTER >", 5, 1, 9999);
    for (int i = 0; i < LABEL_COUNT; ++i) {
        const Label& label = LabelTable[i];
        if (label.floor != floor) continue;
        if (i == 0 && Look.pool_hall_open) continue;  // the swimming hall is no longer locked
        draw_label_box(WorldImage, WORLD_W, WORLD_H, label.x, label.y, label.text, label.text_colour, label.plate_colour);
    }
}

void build_world_image(const FloorLook& look) {
    Look = look;
    for (int32_t row = 0; row < MAP_H; ++row) {
        for (int32_t column = 0; column < MAP_W; ++column) paint_tile(column, row);
    }
    draw_world_overlays();
}
