#include "gfx/draw.h"

#include <cassert>
#include <cstring>

#include "data/int_math.h"
#include "data/sprite_rows.h"
#include "gfx/framebuffer.h"

const uint8_t DarkerColour[16] = {0, 0, 1, 2, 3, 4, 5, 1, 7, 10, 7, 1, 11, 2, 13, 8};

uint8_t ShadeTable[4][16];

const uint8_t DitherMatrix[4][4] = {
    {0, 8, 2, 10},
    {12, 4, 14, 6},
    {3, 11, 1, 9},
    {15, 7, 13, 5},
};

void build_shade_table() {
    for (int c = 0; c < 16; ++c) {
        ShadeTable[0][c] = 0;
        ShadeTable[1][c] = DarkerColour[DarkerColour[c]];
        ShadeTable[2][c] = DarkerColour[c];
        ShadeTable[3][c] = static_cast<uint8_t>(c);
    }
}

void fill_bytes(uint8_t* destination, uint8_t value, int32_t count) {
    if (count <= 0) return;
    std::memset(destination, value, static_cast<size_t>(count));
}

namespace {

inline int64_t max64(int64_t a, int64_t b) { return a > b ? a : b; }
inline int64_t min64(int64_t a, int64_t b) { return a < b ? a : b; }

// The rectangle fill with its edges in 64 bits, so that x + w and the scaled
// sprite offsets can never overflow whatever the caller passes.
void fill_block(uint8_t* target, int32_t target_w, int32_t target_h, int64_t x, int64_t y,
                int64_t w, int64_t h, uint8_t colour) {
    int64_t x0 = max64(x, 0);
    int64_t x1 = min64(target_w, x + w);
    int64_t y0 = max64(y, 0);
    int64_t y1 = min64(target_h, y + h);
    if (y0 >= y1 || x0 >= x1) return;
    // Narrow blocks (the font's dots, figures' details) by hand: a call to
    // memset costs more than the few bytes it would set.
    if (x1 - x0 <= 8) {
        for (int64_t row = y0; row < y1; ++row) {
            uint8_t* p = target + row * target_w;
            for (int64_t i = x0; i < x1; ++i) p[i] = colour;
        }
        return;
    }
    for (int64_t row = y0; row < y1; ++row) {
        std::memset(target + row * target_w + x0, colour, static_cast<size_t>(x1 - x0));
    }
}

// Palette index of one sprite character, or -1 for a transparent pixel.
inline int32_t decode_pattern_char(char ch, int32_t key_colour) {
    if (ch >= '0' && ch <= '9') return ch - '0';
    if (ch >= 'a' && ch <= 'f') return ch - 'a' + 10;
    if (ch == 'x') return key_colour >= 0 ? key_colour : -1;
    return -1;
}

// Draws rows table[first + r]; rows outside 0..table_count-1 are skipped
// rather than read.
void blit_table(uint8_t* target, int32_t target_w, int32_t target_h, int32_t x, int32_t y,
                const char* const* table, int64_t first, int64_t table_count, int32_t sprite_w,
                int32_t sprite_h, int32_t flip, int32_t scale, int32_t key_colour) {
    if (sprite_h <= 0) return;
    for (int32_t r = 0; r < sprite_h; ++r) {
        int64_t index = first + r;
        if (index < 0 || index >= table_count) continue;
        const char* row = table[index];
        if (row == nullptr) continue;
        for (int32_t j = 0; j < sprite_w && row[j] != 0; ++j) {
            int32_t colour = decode_pattern_char(row[j], key_colour);
            if (colour < 0) continue;
            int64_t c = flip ? static_cast<int64_t>(sprite_w) - 1 - j : j;
            if (scale == 1) {
                int64_t px = x + c;
                int64_t py = static_cast<int64_t>(y) + r;
                if (px >= 0 && px < target_w && py >= 0 && py < target_h) {
                    target[py * target_w + px] = static_cast<uint8_t>(colour);
                }
            } else {
                fill_block(target, target_w, target_h, x + c * scale,
                           y + static_cast<int64_t>(r) * scale, scale, scale,
                           static_cast<uint8_t>(colour));
            }
        }
    }
}

}  // namespace

void fill_rect(uint8_t* target, int32_t target_w, int32_t target_h, int32_t x, int32_t y,
               int32_t w, int32_t h, int32_t colour) {
    fill_block(target, target_w, target_h, x, y, w, h, static_cast<uint8_t>(colour));
}

void blit_pattern(uint8_t* target, int32_t target_w, int32_t target_h, int32_t x, int32_t y,
                  int32_t first_row, int32_t sprite_w, int32_t sprite_h, int32_t flip,
                  int32_t scale, int32_t key_colour) {
    blit_table(target, target_w, target_h, x, y, SpriteRowTable, first_row, SPRITE_ROW_COUNT,
               sprite_w, sprite_h, flip, scale, key_colour);
}

void blit_rows(uint8_t* target, int32_t target_w, int32_t target_h, int32_t x, int32_t y,
               const char* const* rows, int32_t row_count, int32_t sprite_w, int32_t sprite_h,
               int32_t flip, int32_t scale, int32_t key_colour) {
    blit_table(target, target_w, target_h, x, y, rows, 0, row_count, sprite_w, sprite_h, flip,
               scale, key_colour);
}

void fill_circle(int32_t cx, int32_t cy, int32_t r, int32_t colour) {
    if (r < 0) return;
    int64_t limit = static_cast<int64_t>(r) * (static_cast<int64_t>(r) + 1);
    // Only the offsets that land on the screen can set a pixel.
    int64_t j0 = max64(-static_cast<int64_t>(r), -static_cast<int64_t>(cy));
    int64_t j1 = min64(r, static_cast<int64_t>(SCREEN_H) - 1 - cy);
    int64_t i0 = max64(-static_cast<int64_t>(r), -static_cast<int64_t>(cx));
    int64_t i1 = min64(r, static_cast<int64_t>(SCREEN_W) - 1 - cx);
    for (int64_t j = j0; j <= j1; ++j) {
        for (int64_t i = i0; i <= i1; ++i) {
            if (i * i + j * j <= limit) {
                Framebuffer[(cy + j) * SCREEN_W + (cx + i)] = static_cast<uint8_t>(colour);
            }
        }
    }
}

void fill_screen_rect(int32_t x, int32_t y, int32_t w, int32_t h, int32_t colour) {
    fill_rect(Framebuffer, SCREEN_W, SCREEN_H, x, y, w, h, colour);
}

void put_pixel(int32_t x, int32_t y, int32_t colour) {
    if (x < 0 || x >= SCREEN_W || y < 0 || y >= SCREEN_H) return;
    Framebuffer[y * SCREEN_W + x] = static_cast<uint8_t>(colour);
}

namespace {

// The three ring limits of one light in squared pixels: full colour below
// inner, one step darker below outer, two steps darker below r2, black beyond.
struct LightRings {
    int64_t r2;
    int64_t outer;
    int64_t inner;
    int64_t step;
};

// r2 * percent / 100 truncated, without forming the (possibly 69-bit) product.
inline int64_t percent_of(int64_t r2, int64_t percent) {
    return (r2 / 100) * percent + (r2 % 100) * percent / 100;
}

LightRings light_rings(int32_t radius) {
    LightRings l;
    l.r2 = static_cast<int64_t>(radius) * radius;
    l.outer = percent_of(l.r2, 64);
    l.inner = percent_of(l.r2, 36);
    l.step = (l.outer - l.inner) / 16;
    return l;
}

// Lights are shaded in 32-bit lanes: with every term clamped to a squared
// radius below this the sums stay below 3 * 2^28.
constexpr int64_t LIGHT_R2_LIMIT = int64_t{1} << 28;
static_assert(LIGHT_R2_LIMIT == int64_t{16384} * 16384, "radii below 16384 pixels");


// One run of screen columns that lie on the same world tile column, or
// outside the world (tile -1).
struct ColumnSpan {
    int32_t start;
    int32_t end;
    int32_t tile;
};

int32_t column_spans(int32_t camera_x, int32_t image_w, ColumnSpan* spans) {
    int32_t count = 0;
    int32_t sx = 0;
    while (sx < SCREEN_W) {
        int64_t wx = static_cast<int64_t>(camera_x) + sx;
        int32_t end;
        int32_t tile;
        if (wx < 0) {
            end = static_cast<int32_t>(min64(SCREEN_W, sx - wx));
            tile = -1;
        } else if (wx >= image_w) {
            end = SCREEN_W;
            tile = -1;
        } else {
            end = static_cast<int32_t>(min64(SCREEN_W, sx + (16 - (wx & 15))));
            tile = static_cast<int32_t>(wx >> 4);
        }
        spans[count++] = ColumnSpan{sx, end, tile};
        sx = end;
    }
    return count;
}

// Level of one pixel from one light, from the full 64-bit distance (one
// pixel at a time, for light_level_at); the unsigned sum cannot wrap since
// each square stays below 2^62.1 and the dither term below 2^61.
inline int32_t wide_level(const LightRings& l, int64_t t, int64_t dx, int64_t dy) {
    uint64_t d = static_cast<uint64_t>(t * l.step) + static_cast<uint64_t>(dx * dx) +
                 static_cast<uint64_t>(dy * dy);
    return (d < static_cast<uint64_t>(l.r2)) + (d < static_cast<uint64_t>(l.outer)) +
           (d < static_cast<uint64_t>(l.inner));
}

// Level of the screen pixel (sx, sy) showing world pixel (wx, wy) on a tile
// the player can see: the brighter of the two lights, at least the minimum.
inline int32_t pixel_level(int32_t sx, int32_t sy, int64_t wx, int64_t wy, const LightRings& l1,
                           int32_t l1x, int32_t l1y, bool second, const LightRings& l2,
                           int32_t l2x, int32_t l2y, int32_t minimum_level) {
    int64_t t = DitherMatrix[sy & 3][sx & 3];
    int32_t level = wide_level(l1, t, wx - l1x, wy - l1y);
    if (second) {
        int32_t level2 = wide_level(l2, t, wx - l2x, wy - l2y);
        if (level2 > level) level = level2;
    }
    return level < minimum_level ? minimum_level : level;
}

// Per-column part of a light's distance for each dither row: the clamped
// squared column distance plus the dither term.
void column_terms(int32_t camera_x, const LightRings& l, int32_t light_x,
                  int32_t (*terms)[SCREEN_W]) {
    for (int32_t sx = 0; sx < SCREEN_W; ++sx) {
        int64_t dx = static_cast<int64_t>(camera_x) + sx - light_x;
        // Far columns (up to 2^32 away) are beyond any light of this path;
        // their square is not formed, as it could exceed 64 bits.
        int64_t square = dx > 32768 || dx < -32768 ? l.r2 : min64(dx * dx, l.r2);
        for (int k = 0; k < 4; ++k) {
            terms[k][sx] = static_cast<int32_t>(square + DitherMatrix[k][sx & 3] * l.step);
        }
    }
}


// Half-open run of screen columns; empty when from >= to.
struct ColumnRange {
    int32_t from;
    int32_t to;
};

inline int32_t screen_column(int64_t sx) {
    return static_cast<int32_t>(min64(max64(sx, 0), SCREEN_W));
}

// Screen columns whose squared distance dx*dx from light_x is below limit.
// Both ends are clamped to the screen: a light far off to one side (its
// centre column beyond 32 bits) gives an empty run, not a wrapped one.
ColumnRange columns_within(int32_t camera_x, int32_t light_x, int32_t limit) {
    if (limit <= 0) return ColumnRange{0, 0};
    int64_t q = isqrt(limit - 1);
    int64_t centre = static_cast<int64_t>(light_x) - camera_x;
    return ColumnRange{screen_column(centre - q), screen_column(centre + q + 1)};
}

// Darkens a run of one row to a single level.
inline void shade_flat(uint8_t* row, int32_t from, int32_t to, int32_t level,
                       const uint8_t (*lut)[256]) {
    if (from >= to || level == 3) return;
    if (level == 0) {
        std::memset(row + from, 0, static_cast<size_t>(to - from));
        return;
    }
    const uint8_t* shade = lut[level];
    for (int32_t i = from; i < to; ++i) row[i] = shade[row[i]];
}

// Level x byte: levels below 3 through ShadeTable, level 3 unchanged.
void build_level_lut(uint8_t (*lut)[256]) {
    for (int level = 0; level < 3; ++level) {
        for (int c = 0; c < 256; ++c) lut[level][c] = ShadeTable[level][c & 15];
    }
    for (int c = 0; c < 256; ++c) lut[3][c] = static_cast<uint8_t>(c);
}

// One light's limits on one screen row, the squared row distance folded in:
// d < limit  <=>  column term < limit - row term. A column term below reach
// is lit at all, below outer one step brighter, below inner at full level;
// core is where the pixel is at full level whatever its dither term. A light
// that is off gets limits no column term can be below.
struct RowLimits {
    int32_t reach, outer, inner, core;
};

RowLimits row_limits(const LightRings& l, bool on, int64_t dy) {
    if (!on) return RowLimits{0, 0, 0, 0};
    const int32_t row = static_cast<int32_t>(min64(dy * dy, l.r2));
    const int32_t inner = static_cast<int32_t>(l.inner) - row;
    return RowLimits{static_cast<int32_t>(l.r2) - row, static_cast<int32_t>(l.outer) - row, inner,
                     inner - static_cast<int32_t>(15 * l.step)};
}

// The smallest run holding both; an empty hull lies beyond the screen's end.
ColumnRange hull_of(ColumnRange a, ColumnRange b) {
    ColumnRange hull = a;
    if (b.from < b.to) {
        if (hull.from < hull.to) {
            hull.from = hull.from < b.from ? hull.from : b.from;
            hull.to = hull.to > b.to ? hull.to : b.to;
        } else {
            hull = b;
        }
    }
    if (hull.from >= hull.to) hull = ColumnRange{SCREEN_W, SCREEN_W};
    return hull;
}

// The hull minus the two cores: at most three pieces, as each core splits at
// most one piece in two. Returns the number of pieces.
int32_t cut_out_cores(ColumnRange hull, const ColumnRange (&cores)[2], ColumnRange (&pieces)[4]) {
    pieces[0] = hull;
    int32_t piece_count = hull.from < hull.to ? 1 : 0;
    for (const ColumnRange& core : cores) {
        if (core.from >= core.to) continue;
        ColumnRange kept[4];
        int32_t kept_count = 0;
        for (int32_t i = 0; i < piece_count; ++i) {
            const ColumnRange& p = pieces[i];
            ColumnRange left{p.from, p.to < core.from ? p.to : core.from};
            ColumnRange right{p.from > core.to ? p.from : core.to, p.to};
            if (left.from < left.to) kept[kept_count++] = left;
            if (right.from < right.to) kept[kept_count++] = right;
        }
        for (int32_t i = 0; i < kept_count; ++i) pieces[i] = kept[i];
        piece_count = kept_count;
    }
    return piece_count;
}

// The brighter of the two lights' levels, at least the minimum, for each
// pixel of the piece: levels first, then the bytes through the table.
inline void shade_piece(uint8_t* row, ColumnRange piece, const int32_t* t1, const RowLimits& k1,
                        const int32_t* t2, const RowLimits& k2, int32_t minimum_level,
                        const uint8_t (*lut)[256]) {
    alignas(16) uint8_t levels[SCREEN_W];
    const int32_t a1 = k1.reach, b1 = k1.outer, c1 = k1.inner;
    const int32_t a2 = k2.reach, b2 = k2.outer, c2 = k2.inner;
    for (int32_t sx = piece.from; sx < piece.to; ++sx) {
        int32_t v1 = t1[sx];
        int32_t v2 = t2[sx];
        int32_t level1 = (v1 < a1) + (v1 < b1) + (v1 < c1);
        int32_t level2 = (v2 < a2) + (v2 < b2) + (v2 < c2);
        int32_t level = level1 > level2 ? level1 : level2;
        level = level > minimum_level ? level : minimum_level;
        levels[sx] = static_cast<uint8_t>(level);
    }
    for (int32_t sx = piece.from; sx < piece.to; ++sx) row[sx] = lut[levels[sx]][row[sx]];
}

// Tiles out of sight, and columns beyond the picture, are black.
inline void black_out_unseen(uint8_t* row, const uint8_t* grid_row, const ColumnSpan* spans,
                             int32_t span_count) {
    for (int32_t s = 0; s < span_count; ++s) {
        const ColumnSpan& span = spans[s];
        if (span.tile < 0 || grid_row[span.tile] == 0) {
            std::memset(row + span.start, 0, static_cast<size_t>(span.end - span.start));
        }
    }
}

}  // namespace

void shade_by_light(const TileMask& visible, int32_t camera_x, int32_t camera_y,
                    int32_t light1_x, int32_t light1_y, int32_t light1_r, int32_t light2_x,
                    int32_t light2_y, int32_t light2_r, int32_t minimum_level) {
    // A minimum beyond full light would index past the shade table.
    if (minimum_level > 3) minimum_level = 3;
    if (minimum_level < 0) minimum_level = 0;
    uint8_t lut[4][256];
    build_level_lut(lut);

    const LightRings l1 = light_rings(light1_r);
    const bool second = light2_r > 0;
    const LightRings l2 = light_rings(second ? light2_r : 0);
    // Every light term fits 32 bits: squares are clamped to r2 (a clamped
    // square already means "beyond this light"), the dither term stays below
    // r2, so sums stay below 3 * 2^28.
    assert(l1.r2 < LIGHT_R2_LIMIT && l2.r2 < LIGHT_R2_LIMIT);

    ColumnSpan spans[SCREEN_W / 16 + 4];
    const int32_t span_count = column_spans(camera_x, 16 * visible.columns, spans);
    alignas(16) int32_t terms1[4][SCREEN_W];
    alignas(16) int32_t terms2[4][SCREEN_W];
    column_terms(camera_x, l1, light1_x, terms1);
    column_terms(camera_x, l2, light2_x, terms2);

    for (int32_t sy = 0; sy < SCREEN_H; ++sy) {
        uint8_t* row = Framebuffer + sy * SCREEN_W;
        const int64_t wy = static_cast<int64_t>(camera_y) + sy;
        if (wy < 0 || wy >= 16 * visible.rows) {
            std::memset(row, 0, SCREEN_W);
            continue;
        }
        const RowLimits k1 = row_limits(l1, true, wy - light1_y);
        const RowLimits k2 = row_limits(l2, second, wy - light2_y);

        // Where each light reaches on this row (dx*dx below reach, as the
        // dither term is never negative), and where it is certainly at full
        // level. Full-level pixels stay as they are; pixels that no light
        // reaches take the minimum level.
        const ColumnRange hull = hull_of(columns_within(camera_x, light1_x, k1.reach),
                                         columns_within(camera_x, light2_x, k2.reach));
        shade_flat(row, 0, hull.from, minimum_level, lut);
        shade_flat(row, hull.to, SCREEN_W, minimum_level, lut);
        const ColumnRange cores[2] = {columns_within(camera_x, light1_x, k1.core),
                                      columns_within(camera_x, light2_x, k2.core)};
        ColumnRange pieces[4];
        const int32_t piece_count = cut_out_cores(hull, cores, pieces);
        for (int32_t i = 0; i < piece_count; ++i) {
            shade_piece(row, pieces[i], terms1[sy & 3], k1, terms2[sy & 3], k2, minimum_level, lut);
        }

        black_out_unseen(row, visible.flags + (wy >> 4) * visible.columns, spans, span_count);
    }
}

int32_t light_level_at(int32_t camera_x, int32_t camera_y, int32_t sx, int32_t sy,
                       int32_t light1_x, int32_t light1_y, int32_t light1_r, int32_t light2_x,
                       int32_t light2_y, int32_t light2_r, int32_t minimum_level) {
    if (minimum_level > 3) minimum_level = 3;
    if (minimum_level < 0) minimum_level = 0;
    const bool second = light2_r > 0;
    return pixel_level(sx, sy, static_cast<int64_t>(camera_x) + sx,
                       static_cast<int64_t>(camera_y) + sy, light_rings(light1_r), light1_x,
                       light1_y, second, light_rings(second ? light2_r : 0), light2_x, light2_y,
                       minimum_level);
}

void edge_vignette(int32_t strength, int32_t colour) {
    int64_t band = static_cast<int64_t>(strength) * 3;
    if (band <= 0) return;
    const uint8_t k = static_cast<uint8_t>(colour);
    // Rows inside the band are visited whole; the others only at their left
    // and right ends, the only places where e < band can hold there.
    const int32_t side = static_cast<int32_t>(min64(band, SCREEN_W / 2));
    for (int32_t y = 0; y < SCREEN_H; ++y) {
        uint8_t* row = Framebuffer + y * SCREEN_W;
        int32_t ey = y < SCREEN_H - 1 - y ? y : SCREEN_H - 1 - y;
        bool whole = ey < band;
        for (int32_t x = 0; x < SCREEN_W; ++x) {
            if (!whole && x == side) x = SCREEN_W - side;
            if (x >= SCREEN_W) break;
            int32_t ex = x < SCREEN_W - 1 - x ? x : SCREEN_W - 1 - x;
            int64_t e = ex < ey ? ex : ey;
            if (e < band && DitherMatrix[y & 3][x & 3] * band >= 16 * e) row[x] = k;
        }
    }
}
