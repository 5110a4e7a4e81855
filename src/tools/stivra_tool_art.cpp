// stivra-tool sprites / figures / ico: review sheets of the art and the
// program icon as a Windows .ico file.
//
// The sheets are drawn with the game's own primitives into one large
// Palette-index canvas and written as an 8-bit BMP.
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "data/little_endian.h"
#include "data/sprite_rows.h"
#include "gfx/draw.h"
#include "gfx/figures.h"
#include "gfx/font.h"
#include "platform/bmp.h"
#include "data/output_file.h"
#include "tools/png.h"
#include "platform/present.h"
#include "platform/tools.h"
#include "tools/stivra_tool.h"
#include "world/world_image.h"

namespace {

// ---------------------------------------------------------------------------
// The canvas shared by both sheets.

constexpr int32_t CANVAS_W = 1720;
constexpr int32_t CANVAS_H = 3400;
uint8_t Canvas[CANVAS_W * CANVAS_H];

constexpr int32_t SHEET_BACKGROUND = 2;
constexpr int32_t MARGIN = 8;

void canvas_clear(int32_t colour) {
    fill_bytes(Canvas, static_cast<uint8_t>(colour), CANVAS_W * CANVAS_H);
}

void canvas_rect(int32_t x, int32_t y, int32_t w, int32_t h, int32_t colour) {
    fill_rect(Canvas, CANVAS_W, CANVAS_H, x, y, w, h, colour);
}

void canvas_text(int32_t x, int32_t y, const char* text, int32_t colour, int32_t scale) {
    draw_text(Canvas, CANVAS_W, CANVAS_H, x + scale, y + scale, text, 1, scale, 9999);
    draw_text(Canvas, CANVAS_W, CANVAS_H, x, y, text, colour, scale, 9999);
}

// Writes the top `height` rows of the canvas, `width` pixels of each.
int write_canvas(const char* command, const char* file_name, int32_t width, int32_t height) {
    if (width > CANVAS_W) width = CANVAS_W;
    if (height > CANVAS_H) height = CANVAS_H;
    // The canvas rows are CANVAS_W apart; gather the used columns first.
    static uint8_t Packed[CANVAS_W * CANVAS_H];
    for (int32_t y = 0; y < height; ++y)
        std::memcpy(Packed + y * width, Canvas + y * CANVAS_W, static_cast<size_t>(width));
    return write_bmp(file_name, Packed, width, height, 1) ? 0 : tool_write_failed(command, file_name);
}

// The colour the 'x' pixels of a sprite take in the game.
int32_t key_colour_of(int32_t first_row) {
    if (first_row == SPRITE_FACE) return 12;
    if (first_row >= SPRITE_HEAD_PURSUER && first_row < SPRITE_HEAD_PLAYER) return 12;
    if (first_row >= SPRITE_HEAD_HEMMKE && first_row < SPRITE_HEAD_FRIEND) return 6;
    return 1;
}

// ---------------------------------------------------------------------------
// One 16x16 tile: floor texture, something on it, and the darkness levels.

uint8_t Tile[16 * 16];

// The swimming pool is painted by the world builder itself, not as a floor
// code; this stand-in keeps its blue and its diagonal wave lines.
void paint_water_stand_in(int32_t x0, int32_t y0) {
    for (int32_t r = 0; r < 16; ++r)
        for (int32_t c = 0; c < 16; ++c) {
            const int32_t X = x0 + c;
            const int32_t Y = y0 + r;
            const uint32_t l = texture_hash(static_cast<uint32_t>(Y) * 2004795789u +
                                            static_cast<uint32_t>(X) * 374761393u) &
                               0xFFu;
            uint8_t colour = 13;
            if ((Y + 3 * (X / 8)) % 9 == 0)
                colour = 4;
            else if (l < 10)
                colour = 5;
            else if (l < 36)
                colour = 3;
            Tile[r * 16 + c] = colour;
        }
}

// Fills Tile with the floor texture of `code` as the world builder paints it
// at tile column 5, row 3 ('~' is the pool water).
void tile_floor(int code) {
    const int32_t x0 = 5 * 16;
    const int32_t y0 = 3 * 16;
    if (code == '~') {
        paint_water_stand_in(x0, y0);
        return;
    }
    paint_floor_tile(code, x0, y0);
    for (int32_t r = 0; r < 16; ++r)
        std::memcpy(Tile + r * 16, WorldImage + (y0 + r) * WORLD_W + x0, 16);
}

void tile_darken(int32_t steps) {
    for (uint8_t& p : Tile)
        for (int32_t s = 0; s < steps; ++s) p = DarkerColour[p];
}

void tile_to_canvas(int32_t x, int32_t y, int32_t scale) {
    for (int32_t r = 0; r < 16; ++r)
        for (int32_t c = 0; c < 16; ++c)
            canvas_rect(x + c * scale, y + r * scale, scale, scale, Tile[r * 16 + c]);
}

// ---------------------------------------------------------------------------
// The contact sheet.

struct SheetRun {
    int32_t first;
    int32_t count;
    int32_t w;
    int32_t h;
    const char* title;
};

const SheetRun SheetRuns[] = {
    {0, 12, 16, 16, "ROWS 0-191: FURNITURE 16X16"},
    {192, 1, 32, 32, "ROWS 192-223: FACE 32X32"},
    {224, 6, 10, 10, "ROWS 224-283: HEADS 10X10 (PURSUER, PLAYER)"},
    {284, 4, 8, 8, "ROWS 284-315: KEY AND BENCH FITTINGS 8X8"},
    {316, 9, 10, 10, "ROWS 316-405: HEADS 10X10 (HASELBRINK, HEMMKE, BRAZZIK)"},
    {406, 11, 16, 16, "ROWS 406-581: FURNITURE AND DOORS 16X16"},
    {582, 6, 20, 18, "ROWS 582-689: FLOOR EMBLEMS 20X18"},
    {690, 10, 8, 8, "ROWS 690-769: ITEM AND STATUS ICONS 8X8"},
};

constexpr int32_t SHEET_SCALE = 4;

// Every sprite at 4x on black with its first row beside it; returns the next free y.
int32_t draw_sprite_runs(int32_t y) {
    for (const SheetRun& run : SheetRuns) {
        canvas_text(MARGIN, y, run.title, 15, 2);
        y += 22;
        int32_t x = MARGIN;
        int32_t line_h = 0;
        for (int32_t i = 0; i < run.count; ++i) {
            const int32_t first = run.first + i * run.h;
            char label[8];
            std::snprintf(label, sizeof label, "%d", static_cast<int>(first));
            const int32_t box_w = run.w * SHEET_SCALE + 4;
            const int32_t box_h = run.h * SHEET_SCALE + 4;
            const int32_t cell_w = box_w + 6 + text_width(label, 2) + 18;
            if (x + cell_w > CANVAS_W - MARGIN) {
                x = MARGIN;
                y += line_h + 10;
                line_h = 0;
            }
            canvas_rect(x, y, box_w, box_h, 0);
            blit_pattern(Canvas, CANVAS_W, CANVAS_H, x + 2, y + 2, first, run.w, run.h, 0,
                         SHEET_SCALE, key_colour_of(first));
            canvas_text(x + box_w + 6, y + 2, label, 6, 2);
            x += cell_w;
            if (box_h > line_h) line_h = box_h;
        }
        y += line_h + 16;
    }
    return y;
}

struct StripEntry {
    int32_t first;    // sprite drawn on the floor
    int32_t size;     // 16, 10 or 8
    int32_t fitting;  // 8x8 fitting drawn at (4, 0), or -1
    const char* label;
};

// Everything that lies or stands on a floor: the furniture (in tile-code
// order), the bench with each fitting, the swimmer, the items.
const StripEntry StripEntries[] = {
    {0, 16, -1, "LOCKER"},      {16, 16, -1, "LAB BENCH"}, {16, 16, 292, "+ FLASK"},
    {16, 16, 300, "+ TUBES"},   {16, 16, 308, "+ BURNER"}, {32, 16, -1, "SINK"},
    {48, 16, -1, "BOTTLES"},    {64, 16, -1, "TABLE"},     {80, 16, -1, "SHELF"},
    {96, 16, -1, "PLANT"},      {112, 16, -1, "SKELETON"}, {128, 16, -1, "PIANO"},
    {144, 16, -1, "TOILET"},    {160, 16, -1, "VENDING"},  {176, 16, -1, "ENTRANCE"},
    {406, 16, -1, "DRUMS"},     {422, 16, -1, "EASEL"},    {438, 16, -1, "JARS"},
    {454, 16, -1, "BENCH"},     {470, 16, -1, "TREE"},     {486, 16, -1, "COUNTER"},
    {502, 16, -1, "DISPLAY"},   {518, 16, -1, "COMPUTER"}, {534, 16, -1, "GRATING"},
    {550, 16, -1, "POOL DOOR"}, {566, 16, -1, "GATE"},     {396, 10, -1, "SWIMMER"},
    {284, 8, -1, "KEY"},        {762, 8, -1, "KEY 2"},     {690, 8, -1, "PHONE"},
    {698, 8, -1, "TORCH"},      {706, 8, -1, "SNEAKERS"},  {714, 8, -1, "DRINK"},
    {722, 8, -1, "STINK BOMB"}, {730, 8, -1, "STICKER"},   {738, 8, -1, "MUSIC"},
    {746, 8, -1, "FUSE"},       {754, 8, -1, "CODE NOTE"},
};

// Floor codes: wood, corridor, grass, asphalt, stone, gym boards, hall
// chequer, gym mats, white tiles, and the pool water.
const char StripFloors[] = {',', '.', ';', '_', 'c', 'f', 'h', 'm', 't', '~'};
const char* const StripFloorNames[] = {"WOOD", "CORR", "GRASS", "ASPH",  "STONE",
                                       "GYM",  "HALL", "MATS",  "TILES", "WATER"};
constexpr int32_t STRIP_FLOOR_COUNT = 10;
constexpr int32_t STRIP_SCALE = 3;
constexpr int32_t STRIP_LABEL_W = 64;
constexpr int32_t STRIP_CELL = 16 * STRIP_SCALE + 4;
constexpr int32_t STRIP_GROUP_GAP = 14;

void draw_strip_entry(const StripEntry& e, int code, int32_t dark_steps) {
    tile_floor(code);
    // Items lie where the play view puts them; heads float as the swimmer does.
    const int32_t ox = e.size == 16 ? 0 : (e.size == 10 ? 3 : 4);
    const int32_t oy = e.size == 16 ? 0 : (e.size == 10 ? 2 : 5);
    blit_pattern(Tile, 16, 16, ox, oy, e.first, e.size, e.size, 0, 1, key_colour_of(e.first));
    if (e.fitting >= 0) blit_pattern(Tile, 16, 16, 4, 0, e.fitting, 8, 8, 0, 1, 1);
    tile_darken(dark_steps);
}

// Each floor thing over every floor texture, in full light and one and two
// steps darker, as most of the play view is seen; returns the next free y.
int32_t draw_floor_strips(int32_t y) {
    canvas_text(MARGIN, y, "ON EVERY FLOOR: FULL LIGHT / ONE STEP DARKER / TWO STEPS DARKER", 15,
                2);
    y += 24;
    for (int32_t level = 0; level < 3; ++level)
        for (int32_t f = 0; f < STRIP_FLOOR_COUNT; ++f) {
            const int32_t x = MARGIN + STRIP_LABEL_W +
                              level * (STRIP_FLOOR_COUNT * STRIP_CELL + STRIP_GROUP_GAP) +
                              f * STRIP_CELL;
            canvas_text(x, y, StripFloorNames[f], 5, 1);
        }
    y += 12;
    for (const StripEntry& e : StripEntries) {
        canvas_text(MARGIN, y + 18, e.label, 6, 1);
        for (int32_t level = 0; level < 3; ++level)
            for (int32_t f = 0; f < STRIP_FLOOR_COUNT; ++f) {
                const int32_t x = MARGIN + STRIP_LABEL_W +
                                  level * (STRIP_FLOOR_COUNT * STRIP_CELL + STRIP_GROUP_GAP) +
                                  f * STRIP_CELL;
                draw_strip_entry(e, StripFloors[f], level);
                tile_to_canvas(x, y, STRIP_SCALE);
            }
        y += STRIP_CELL;
    }
    return y + 12;
}

// The floor card's emblem as the play view draws it: every '6' a 2x2 white
// block over a one-block black outline, on the floor's card colour.
const int32_t CardColour[6] = {15, 15, 12, 12, 9, 3};

int32_t draw_emblem_cards(int32_t y) {
    canvas_text(MARGIN, y, "EMBLEMS ON THEIR FLOOR CARDS (2X)", 15, 2);
    y += 24;
    constexpr int32_t CARD_W = 84;
    constexpr int32_t CARD_H = 46;
    static uint8_t Card[CARD_W * CARD_H];
    for (int32_t floor = 0; floor < 6; ++floor) {
        fill_bytes(Card, static_cast<uint8_t>(CardColour[floor]), CARD_W * CARD_H);
        fill_rect(Card, CARD_W, CARD_H, 0, 0, CARD_W, 1, 1);
        fill_rect(Card, CARD_W, CARD_H, 0, CARD_H - 1, CARD_W, 1, 1);
        fill_rect(Card, CARD_W, CARD_H, 0, 0, 1, CARD_H, 1);
        fill_rect(Card, CARD_W, CARD_H, CARD_W - 1, 0, 1, CARD_H, 1);
        const int32_t first = SPRITE_EMBLEMS + 18 * floor;
        for (int32_t pass = 0; pass < 2; ++pass)
            for (int32_t row = 0; row < 18; ++row)
                for (int32_t col = 0; col < 20; ++col) {
                    if (SpriteRowTable[first + row][col] != '6') continue;
                    const int32_t px = 4 + 2 * col;
                    const int32_t py = 5 + 2 * row;
                    if (pass == 0) {
                        for (int32_t l = 0; l < 3; ++l)
                            for (int32_t m = 0; m < 3; ++m)
                                fill_rect(Card, CARD_W, CARD_H, px + 2 * m - 2, py + 2 * l - 2, 2,
                                          2, 1);
                    } else {
                        fill_rect(Card, CARD_W, CARD_H, px, py, 2, 2, 6);
                    }
                }
        const char number[2] = {static_cast<char>('1' + floor), 0};
        draw_text(Card, CARD_W, CARD_H, 58, 9, number, 1, 4, 9999);
        const int32_t x0 = MARGIN + floor * (2 * CARD_W + 12);
        for (int32_t r = 0; r < CARD_H; ++r)
            for (int32_t c = 0; c < CARD_W; ++c)
                canvas_rect(x0 + 2 * c, y + 2 * r, 2, 2, Card[r * CARD_W + c]);
    }
    return y + 2 * CARD_H + 12;
}

// ---------------------------------------------------------------------------
// The figures sheet.

enum FigureKind { FIGURE_ADULT, FIGURE_PLAYER, FIGURE_FRIEND };

struct FigureRow {
    FigureKind kind;
    int32_t variant;  // adult variant, or the player's crouch
    int32_t eyes;
    const char* label;
};

const FigureRow FigureRows[] = {
    {FIGURE_ADULT, 0, 12, "MÜRZEL, EYES 12"}, {FIGURE_ADULT, 0, 1, "MÜRZEL, EYES 1"},
    {FIGURE_ADULT, 1, 1, "HASELBRINK"},       {FIGURE_ADULT, 2, 6, "HEMMKE"},
    {FIGURE_PLAYER, 0, 1, "PLAYER"},          {FIGURE_PLAYER, 14, 1, "PLAYER, CROUCH 14"},
    {FIGURE_FRIEND, 0, 1, "BRAZZIK"},
};

const char* const FacingNames[4] = {"FRONT", "BACK", "RIGHT", "LEFT"};

void draw_figure(const FigureRow& row, int32_t x, int32_t y, int32_t facing, int32_t phase,
                 int32_t scale) {
    switch (row.kind) {
        case FIGURE_ADULT:
            draw_adult_figure(Canvas, CANVAS_W, CANVAS_H, x, y, facing, phase, row.eyes, scale,
                              row.variant);
            break;
        case FIGURE_PLAYER:
            draw_player_figure(Canvas, CANVAS_W, CANVAS_H, x, y, facing, phase, row.variant, scale);
            break;
        case FIGURE_FRIEND:
            draw_friend_figure(Canvas, CANVAS_W, CANVAS_H, x, y, facing, phase, scale);
            break;
    }
}

constexpr int32_t FIGURE_LABEL_W = 120;

// All figures in four facings and four phases at one scale; returns the next free y.
int32_t draw_figure_block(int32_t y, int32_t scale) {
    const int32_t cell_w = 26 * scale;
    const int32_t cell_h = 54 * scale;
    const int32_t group_w = 4 * cell_w + 8;
    char title[40];
    std::snprintf(title, sizeof title, "SCALE %d", static_cast<int>(scale));
    canvas_text(MARGIN, y, title, 15, 2);
    y += 22;
    for (int32_t facing = 0; facing < 4; ++facing) {
        const int32_t gx = MARGIN + FIGURE_LABEL_W + facing * group_w;
        canvas_text(gx, y, FacingNames[facing], 6, 1);
        for (int32_t phase = 0; phase < 4; ++phase) {
            const char digit[2] = {static_cast<char>('0' + phase), 0};
            canvas_text(gx + phase * cell_w + cell_w / 2 - 2, y + 10, digit, 5, 1);
        }
    }
    y += 22;
    for (const FigureRow& row : FigureRows) {
        canvas_text(MARGIN, y + cell_h / 2 - 4, row.label, 6, 1);
        for (int32_t facing = 0; facing < 4; ++facing) {
            const int32_t gx = MARGIN + FIGURE_LABEL_W + facing * group_w;
            for (int32_t phase = 0; phase < 4; ++phase) {
                const int32_t cx = gx + phase * cell_w;
                // Alternate two floor greys so the outlines show on both.
                canvas_rect(cx, y, cell_w, cell_h, (phase + facing) % 2 ? 3 : 4);
                draw_figure(row, cx + cell_w / 2, y + cell_h - 3 * scale, facing, phase, scale);
            }
        }
        y += cell_h + 4;
    }
    return y + 10;
}

// ---------------------------------------------------------------------------
// The program icon.

// At 16 pixels the face is drawn by hand: a straight reduction loses the
// eyes and turns the teeth into noise.
const char* const SmallIconRows[16] = {
    ".....111111.....", "...1199669911...", "..199969999aa1..", ".19996999999a71.",
    ".1999999999aa71.", "17999999999aa771", "1977a9999a7a7a71", "19xxx1aa1xxx1771",
    "1991199a9117aa71", ".1a999a1a99aa71.", ".1a716666617a71.", "..1a7111117a71..",
    "...1aa666a7a1...", "....1aaaaa71....", "..1561777716551.", ".15666bbbb666551",
};

constexpr int32_t ICON_IMAGE_COUNT = 6;
const int32_t IconSizes[ICON_IMAGE_COUNT] = {16, 24, 32, 48, 64, 128};

uint8_t IconFace[32 * 32];         // the face sprite at scale 1, Palette indices
uint8_t IconPixels[512 * 512];    // one image of the icon, Palette indices
uint8_t IconBgra[512 * 512 * 4];  // the same image as the file stores it

int32_t small_icon_colour(char ch) {
    if (ch >= '0' && ch <= '9') return ch - '0';
    if (ch >= 'a' && ch <= 'f') return ch - 'a' + 10;
    if (ch == 'x') return 12;
    return 0;
}

// 24 and 48 pixels are no whole scale of the 32-pixel face: they take its
// pixels nearest-neighbour, so every image keeps hard pixels in the 16
// colours. Which rows and columns fall out (24) or come twice (48) was
// chosen by eye: these keep both eyes red and even, and both rows of teeth
// apart.
int32_t face_pixel_for_24(int32_t d) { return d + d / 3 + 1; }  // leaves out 0, 4, 8, ...
int32_t face_row_for_48(int32_t d) { return (2 * d + 1) / 3; }  // odd rows twice
int32_t face_column_for_48(int32_t d) { return 2 * d / 3; }     // even columns twice

// Fills IconPixels with the icon at `size` pixels (one of IconSizes, or
// 192, 256 or 512: 16, 24, 48 and the whole scales of 32).
void draw_icon_image(int32_t size) {
    if (size == 16) {
        for (int32_t y = 0; y < 16; ++y)
            for (int32_t x = 0; x < 16; ++x)
                IconPixels[y * 16 + x] =
                    static_cast<uint8_t>(small_icon_colour(SmallIconRows[y][x]));
        return;
    }
    if (size % 32 == 0) {
        fill_bytes(IconPixels, 0, size * size);
        draw_icon(IconPixels, size, size / 32);
        return;
    }
    fill_bytes(IconFace, 0, 32 * 32);
    draw_icon(IconFace, 32, 1);
    for (int32_t y = 0; y < size; ++y)
        for (int32_t x = 0; x < size; ++x) {
            const int32_t sy = size == 24 ? face_pixel_for_24(y) : face_row_for_48(y);
            const int32_t sx = size == 24 ? face_pixel_for_24(x) : face_column_for_48(x);
            IconPixels[y * size + x] = IconFace[sy * 32 + sx];
        }
}

// Fills IconBgra with the icon at `size` pixels: Palette colours, opaque,
// and colour 0 (where the face leaves the background) fully transparent.
void render_icon_image(int32_t size) {
    draw_icon_image(size);
    for (int32_t i = 0; i < size * size; ++i) {
        const uint8_t c = IconPixels[i];
        uint8_t* out = IconBgra + i * 4;
        out[0] = c == 0 ? 0 : Palette[c][2];
        out[1] = c == 0 ? 0 : Palette[c][1];
        out[2] = c == 0 ? 0 : Palette[c][0];
        out[3] = c == 0 ? 0 : 255;
    }
}

uint32_t mask_row_bytes(int32_t size) { return static_cast<uint32_t>((size + 31) / 32 * 4); }

uint32_t icon_image_bytes(int32_t size) {
    const uint32_t s = static_cast<uint32_t>(size);
    return 40 + s * s * 4 + mask_row_bytes(size) * s;
}

// One image: BITMAPINFOHEADER (height doubled for the mask), the BGRA rows
// bottom-up, then the 1-bit AND mask, also bottom-up, rows padded to 32 bits.
bool write_icon_image(OutputFile& file, int32_t size) {
    render_icon_image(size);
    uint8_t header[40] = {};
    put_u32(header + 0, 40);
    put_u32(header + 4, static_cast<uint32_t>(size));
    put_u32(header + 8, static_cast<uint32_t>(2 * size));
    put_u16(header + 12, 1);
    put_u16(header + 14, 32);
    put_u32(header + 20, icon_image_bytes(size) - 40);
    bool ok = output_write(file, header, sizeof header);
    for (int32_t y = size - 1; ok && y >= 0; --y) {
        const size_t n = static_cast<size_t>(size) * 4;
        ok = output_write(file, IconBgra + static_cast<size_t>(y) * n, n);
    }
    uint8_t mask_row[16];
    const uint32_t row_bytes = mask_row_bytes(size);
    for (int32_t y = size - 1; ok && y >= 0; --y) {
        std::memset(mask_row, 0, sizeof mask_row);
        for (int32_t x = 0; x < size; ++x)
            if (IconBgra[(y * size + x) * 4 + 3] == 0)
                mask_row[x / 8] |= static_cast<uint8_t>(0x80 >> (x % 8));
        ok = output_write(file, mask_row, row_bytes);
    }
    return ok;
}

}  // namespace

int tool_sprites(int argc, char** argv) {
    if (argc != 1) return tool_usage("sprites FILE.bmp");
    build_glyph_lookup();
    canvas_clear(SHEET_BACKGROUND);
    int32_t y = MARGIN;
    y = draw_sprite_runs(y);
    y = draw_floor_strips(y);
    y = draw_emblem_cards(y);
    return write_canvas("sprites", argv[0], CANVAS_W, y);
}

int tool_figures(int argc, char** argv) {
    if (argc != 1) return tool_usage("figures FILE.bmp");
    build_glyph_lookup();
    canvas_clear(SHEET_BACKGROUND);
    int32_t y = MARGIN;
    y = draw_figure_block(y, 1);
    y = draw_figure_block(y, 2);
    const int32_t width = MARGIN + FIGURE_LABEL_W + 4 * (4 * 26 * 2 + 8) + MARGIN;
    return write_canvas("figures", argv[0], width, y);
}

int tool_ico(int argc, char** argv) {
    if (argc != 1) return tool_usage("ico FILE.ico");
    uint8_t directory[6 + 16 * ICON_IMAGE_COUNT] = {};
    put_u16(directory + 2, 1);  // type: icon
    put_u16(directory + 4, ICON_IMAGE_COUNT);
    uint32_t offset = sizeof directory;
    for (int32_t i = 0; i < ICON_IMAGE_COUNT; ++i) {
        uint8_t* entry = directory + 6 + 16 * i;
        entry[0] = static_cast<uint8_t>(IconSizes[i]);  // all below 256, so no 0 entries
        entry[1] = static_cast<uint8_t>(IconSizes[i]);
        put_u16(entry + 4, 1);   // planes
        put_u16(entry + 6, 32);  // bits per pixel
        put_u32(entry + 8, icon_image_bytes(IconSizes[i]));
        put_u32(entry + 12, offset);
        offset += icon_image_bytes(IconSizes[i]);
    }
    OutputFile file;
    if (!output_open(file, argv[0])) return tool_write_failed("ico", argv[0]);
    bool ok = output_write(file, directory, sizeof directory);
    for (int32_t i = 0; ok && i < ICON_IMAGE_COUNT; ++i) ok = write_icon_image(file, IconSizes[i]);
    if (!output_close(file)) ok = false;
    return ok ? 0 : tool_write_failed("ico", argv[0]);
}

// The icon as a PNG for the desktop's icon theme: the same pixels as the
// .ico's image of that size, and 256 besides; 192 and 512 for the page's
// web app manifest.
int tool_png(int argc, char** argv) {
    const char* usage = "png SIZE FILE.png (SIZE 16 24 32 48 64 128 192 256 512)";
    if (argc != 2) return tool_usage(usage);
    // Exactly one of the sizes, as written here: "016" or "16px" is refused.
    const int32_t Sizes[] = {16, 24, 32, 48, 64, 128, 192, 256, 512};
    int32_t size = 0;
    for (const int32_t s : Sizes) {
        char text[8];
        std::snprintf(text, sizeof text, "%d", static_cast<int>(s));
        if (std::strcmp(argv[0], text) == 0) size = s;
    }
    if (size == 0) return tool_usage(usage);
    render_icon_image(size);
    static uint8_t Rgba[512 * 512 * 4];
    for (int32_t i = 0; i < size * size; ++i) {
        Rgba[i * 4 + 0] = IconBgra[i * 4 + 2];
        Rgba[i * 4 + 1] = IconBgra[i * 4 + 1];
        Rgba[i * 4 + 2] = IconBgra[i * 4 + 0];
        Rgba[i * 4 + 3] = IconBgra[i * 4 + 3];
    }
    return write_png(argv[1], Rgba, size, size) ? 0 : tool_write_failed("png", argv[1]);
}

int tool_picture_hashes(int argc, char**) {
    if (argc != 0) return tool_usage("picture-hashes   (no arguments; the text goes to standard output)");
    char line[PICTURE_HASH_LINE_SIZE];
    for (int32_t i = 0; i < picture_hash_line_count(); ++i) {
        picture_hash_line(i, line);
        if (std::printf("%s\n", line) < 0) break;
    }
    return tool_stdout_written("picture-hashes");
}
