#include "screens/play_view.h"

#include <cstring>

#include "data/sprite_rows.h"
#include "data/int_math.h"
#include "game/characters.h"
#include "game/game_state.h"
#include "game/movement.h"
#include "gfx/draw.h"
#include "gfx/figures.h"
#include "gfx/font.h"
#include "gfx/framebuffer.h"
#include "gfx/text.h"
#include "screens/hud.h"
#include "world/rooms.h"
#include "world/tile_geometry.h"
#include "world/visibility.h"
#include "world/world_image.h"

const FloorLightRow FloorLight[FLOOR_COUNT] = {
    {448, 96, 150},
    {344, 96, 80},  // off until the power is back
    {0, 0, 0},
    {154, 52, 62},
    {328, 214, 96},
    {256, 22, 74},
};

const ItemIconRow ItemIconTable[ITEM_TYPE_COUNT] = {
    {SPRITE_FLASHLIGHT, 1},   {SPRITE_SNEAKERS, 1},    {SPRITE_ENERGY_DRINK, 1},
    {SPRITE_STINK_BOMB, 1},   {SPRITE_STICKER, 0},     {SPRITE_KEY, 1},
    {SPRITE_SHEET_MUSIC, 1},  {SPRITE_FUSE, 1},        {SPRITE_SMALL_KEY, 1},
    {SPRITE_SMALL_KEY, 1},    {SPRITE_CODE_NOTE, 1},   {SPRITE_KEY, 1},
};

namespace {



bool on_screen(int32_t x, int32_t y) { return x >= 0 && x < SCREEN_W && y >= 0 && y < SCREEN_H; }


void text(int32_t x, int32_t y, const char* s, int32_t colour, int32_t scale) {
    draw_text(Framebuffer, SCREEN_W, SCREEN_H, x, y, s, colour, scale, 9999);
}

int32_t npc_walk_phase(const NpcSlot& n) {
    return n.npc_moving ? floor_mod(n.npc_walk_distance / 1300, 4) : 0;
}

// His light is centred a little above his feet.
int32_t player_light_y() { return player_pixel_y() - 8; }

enum FigureKind : uint8_t { FIG_PLAYER, FIG_PURSUER, FIG_PHONE_TEACHER, FIG_FRIEND, FIG_QUEST_TEACHER };

struct FigureEntry {
    int32_t key;
    FigureKind kind;
};

void draw_npc_adult(int slot, uint8_t* target, int32_t target_h, int32_t vx, int32_t vy) {
    const NpcSlot& n = Game.npcs[slot];
    // The brawl cloud stands for a character held by the friend.
    if (Game.friend_state == FRIEND_BRAWL && Game.friend_target == slot && n.npc_stun_ticks >= 1) {
        return;
    }
    const bool hunting = slot == NPC_PURSUER && pursuer_hunting(n);
    draw_adult_figure(target, SCREEN_W, target_h, (n.npc_x >> 8) - vx, (n.npc_y >> 8) - vy,
                      n.npc_facing, npc_walk_phase(n), hunting ? 12 : 1, 1,
                      slot == NPC_PURSUER ? 0 : 1);
}

// The player's figure into the top target_h rows of a screen-sized target.
void draw_player(uint8_t* target, int32_t target_h, int32_t vx, int32_t vy) {
    const int32_t phase = Game.player_moving ? floor_mod(Game.walk_distance / 1700, 4) : 0;
    draw_player_figure(target, SCREEN_W, target_h, player_pixel_x() - vx, player_pixel_y() - vy,
                       Game.player_facing, phase, Game.door_slow, 1);
}

// One figure into the top target_h rows of a screen-sized target.
void draw_figure(FigureKind kind, uint8_t* target, int32_t target_h, int32_t vx, int32_t vy) {
    switch (kind) {
        case FIG_PLAYER:
            if (!Game.player_hidden) draw_player(target, target_h, vx, vy);
            return;
        case FIG_QUEST_TEACHER: {
            // He turns to face the player.
            const int32_t facing = tile_anchor_x(Game.teacher_x) >= Game.player_x ? FACING_LEFT : FACING_RIGHT;
            draw_adult_figure(target, SCREEN_W, target_h, tile_anchor_px(Game.teacher_x) - vx,
                              tile_anchor_py(Game.teacher_y) - vy, facing, 0, 6, 1, 2);
            return;
        }
        case FIG_FRIEND: {
            if (Game.friend_state == FRIEND_BRAWL) return;
            const NpcSlot& n = Game.npcs[NPC_FRIEND];
            draw_friend_figure(target, SCREEN_W, target_h, (n.npc_x >> 8) - vx,
                               (n.npc_y >> 8) - vy, n.npc_facing, npc_walk_phase(n), 1);
            return;
        }
        case FIG_PURSUER:
            draw_npc_adult(NPC_PURSUER, target, target_h, vx, vy);
            return;
        case FIG_PHONE_TEACHER:
            draw_npc_adult(NPC_PHONE_TEACHER, target, target_h, vx, vy);
            return;
    }
}

// The figures of the last frame in the order they were drawn.
FigureEntry FigureOrder[5];
int FigureCount = 0;

void draw_figures(int32_t vx, int32_t vy) {
    FigureEntry* list = FigureOrder;
    int n = 0;
    list[n++] = {player_pixel_y(), FIG_PLAYER};
    if (npc_on_current_floor(NPC_PURSUER)) list[n++] = {Game.npcs[NPC_PURSUER].npc_y >> 8, FIG_PURSUER};
    if (npc_on_current_floor(NPC_PHONE_TEACHER)) {
        list[n++] = {Game.npcs[NPC_PHONE_TEACHER].npc_y >> 8, FIG_PHONE_TEACHER};
    }
    if (Game.friend_state != FRIEND_ABSENT && Game.friend_state != FRIEND_ON_THE_WAY) {
        list[n++] = {Game.npcs[NPC_FRIEND].npc_y >> 8, FIG_FRIEND};
    }
    if (Game.teacher_floor == Game.current_floor) {
        list[n++] = {tile_anchor_py(Game.teacher_y), FIG_QUEST_TEACHER};
    }
    // Insertion sort that moves an entry only past strictly larger keys, so
    // equal keys keep the list order.
    for (int i = 1; i < n; ++i) {
        for (int j = i; j > 0 && list[j].key < list[j - 1].key; --j) {
            const FigureEntry swap = list[j];
            list[j] = list[j - 1];
            list[j - 1] = swap;
        }
    }
    FigureCount = n;
    for (int i = 0; i < n; ++i) draw_figure(list[i].kind, Framebuffer, SCREEN_H, vx, vy);
}

void draw_stink_cloud(int32_t x, int32_t y) {
    for (int32_t k = 0; k < 6; ++k) {
        const int32_t r1 = random_step();
        const int32_t r2 = random_step();
        const int32_t r3 = random_step();
        fill_circle(x + r3 % 29 - 14, y + r2 % 21 - 26, 4 + (r1 & 3), 13 + (k & 1));
    }
    text(x - 14, y - 43, "HUST!", 1, 1);
    text(x - 15, y - 44, "HUST!", 14, 1);
}

void draw_teacher_glint(int32_t x, int32_t y) {
    // The glint only shows where he stands in the dark.
    if (on_screen(x - 2, y - 22) && Framebuffer[(y - 22) * SCREEN_W + x - 2] != 0) return;
    if (floor_mod(Game.total_ticks, 20) > 14) return;
    put_pixel(x - 3, y - 22, 6);
    put_pixel(x + 2, y - 22, 6);
    put_pixel(x - 4, y - 23, 5);
    put_pixel(x + 3, y - 23, 5);
}

// The player's figure above his own tile, drawn first into this scratch
// target, and the figures in front of him into the second; NOT_DRAWN marks
// the pixels a figure leaves alone.
constexpr uint8_t NOT_DRAWN = 0xFF;
uint8_t PlayerAboveTile[SCREEN_W * SCREEN_H];
uint8_t InFrontOfPlayer[SCREEN_W * SCREEN_H];
// The part of the scratch targets that holds his figure: only it is
// cleared and looked at (the rest may hold anything).
struct ScreenBox {
    int32_t x0, x1, y0, y1;  // columns x0..x1-1, rows y0..y1-1
};
ScreenBox PlayerBox = {0, 0, 0, 0};

// The darkness pass blacks out the tiles the player cannot see, and his head
// and shoulders reach up into the tile above his own: a door he walks north
// through, a wall he stands under. There they are drawn once more after the
// pass (draw_player_above_own_tile), but only where no figure drawn after him
// in depth order covers him: who stands in front of him stays in front.
void keep_player_above_own_tile(int32_t vx, int32_t vy) {
    const int32_t tile_top = (Game.player_y >> 12) * 16 - vy;
    const int32_t rows = tile_top < 0 ? 0 : tile_top > SCREEN_H ? SCREEN_H : tile_top;
    const int64_t px = static_cast<int64_t>(player_pixel_x()) - vx;
    const int64_t py = static_cast<int64_t>(player_pixel_y()) - vy;
    const auto clamp = [](int64_t v, int64_t low, int64_t high) { return v < low ? low : v > high ? high : v; };
    ScreenBox& b = PlayerBox;
    b.x0 = static_cast<int32_t>(clamp(px + PLAYER_FIGURE_LEFT, 0, SCREEN_W));
    b.x1 = static_cast<int32_t>(clamp(px + PLAYER_FIGURE_RIGHT + 1, 0, SCREEN_W));
    b.y0 = static_cast<int32_t>(clamp(py + PLAYER_FIGURE_TOP, 0, rows));
    b.y1 = static_cast<int32_t>(clamp(py + PLAYER_FIGURE_BOTTOM + 1, 0, rows));
    if (b.x0 >= b.x1 || b.y0 >= b.y1) {
        b = ScreenBox{0, 0, 0, 0};
        return;
    }
    const auto clear = [&](uint8_t* target) {
        for (int32_t y = b.y0; y < b.y1; ++y)
            std::memset(target + y * SCREEN_W + b.x0, NOT_DRAWN, static_cast<size_t>(b.x1 - b.x0));
    };
    clear(PlayerAboveTile);
    draw_player(PlayerAboveTile, rows, vx, vy);
    int player_at = FigureCount;
    for (int i = 0; i < FigureCount; ++i)
        if (FigureOrder[i].kind == FIG_PLAYER) player_at = i;
    if (player_at >= FigureCount - 1) return;  // nobody in front of him
    clear(InFrontOfPlayer);
    for (int i = player_at + 1; i < FigureCount; ++i)
        draw_figure(FigureOrder[i].kind, InFrontOfPlayer, rows, vx, vy);
    for (int32_t y = b.y0; y < b.y1; ++y)
        for (int32_t x = b.x0; x < b.x1; ++x)
            if (InFrontOfPlayer[y * SCREEN_W + x] != NOT_DRAWN) PlayerAboveTile[y * SCREEN_W + x] = NOT_DRAWN;
}

// The kept pixels, shaded as his light shades a tile he can see. Pixels on
// visible tiles stay as the pass left them, so nothing changes where he was
// never cut off. vx is the clamped view origin, so every column lies inside
// the world.
void draw_player_above_own_tile(int32_t vx, int32_t vy, const FloorLightRow& light, int32_t lit) {
    const ScreenBox& b = PlayerBox;
    for (int32_t sy = b.y0; sy < b.y1; ++sy) {
        const int32_t wy = vy + sy;
        if (wy < 0 || wy >= WORLD_H) continue;
        const uint8_t* from = PlayerAboveTile + sy * SCREEN_W;
        uint8_t* to = Framebuffer + sy * SCREEN_W;
        for (int32_t sx = b.x0; sx < b.x1; ++sx) {
            const int32_t wx = vx + sx;
            if (from[sx] == NOT_DRAWN || VisibleGrid[tile_index(wx >> 4, wy >> 4)]) continue;
            const int32_t level =
                light_level_at(vx, vy, sx, sy, player_pixel_x(), player_light_y(),
                               Game.light_radius, light.x, light.y, light.radius, lit);
            to[sx] = level == 3 ? from[sx] : ShadeTable[level][from[sx] & 15];
        }
    }
}

// The locker door from inside: five slits to look through.
void draw_locker_view() {
    for (int32_t y = 0; y < SCREEN_H; ++y) {
        uint8_t* row = Framebuffer + y * SCREEN_W;
        const int32_t s = y - 50;
        const bool slit_row = s >= 0 && s <= 89 && s % 18 >= 4 && s % 18 <= 10;
        for (int32_t x = 0; x < SCREEN_W; ++x) {
            if (slit_row && x >= 70 && x <= 249) continue;
            if (x < 8 || x > 311 || x == 40 || x == 280) {
                row[x] = 1;
            } else {
                row[x] = (13 * y + 7 * x) % 97 == 0 ? 3 : 2;
            }
        }
    }
    for (int32_t t = 62; t <= 134; t += 18) {
        fill_screen_rect(70, t - 9, 180, 1, 1);
        fill_screen_rect(70, t - 1, 180, 1, 3);
    }
    fill_screen_rect(290, 96, 6, 18, 4);
    fill_screen_rect(291, 97, 4, 16, 5);
}

}  // namespace

void draw_swimmer(int32_t vx, int32_t vy) {
    const int32_t c = floor_mod(Game.total_ticks, 600);
    const int32_t world_x = c < 300 ? 80 + 2 * c : 1280 - 2 * c;
    const int32_t x = world_x - vx;
    const int32_t y = 120 - vy;
    blit_pattern(Framebuffer, SCREEN_W, SCREEN_H, x - 5, y - 6, SPRITE_SWIMMER, 10, 10,
                 c >= 300 ? 1 : 0, 1, 1);
    if ((c / 8) % 2 == 1) {
        fill_screen_rect(x + 4, y + 2, 4, 2, 9);
        put_pixel(x + 9, y, 6);
        put_pixel(x - 7, y + 1, 6);
    } else {
        fill_screen_rect(x - 8, y + 2, 4, 2, 9);
        put_pixel(x - 9, y, 6);
        put_pixel(x + 7, y + 1, 6);
    }
    fill_screen_rect(x - 6, y + 4, 12, 1, 6);
}

void draw_floor_items(int32_t vx, int32_t vy, int32_t lit) {
    const int32_t px = player_pixel_x();
    const int32_t py = player_pixel_y();
    const int64_t reach = static_cast<int64_t>(Game.light_radius) * Game.light_radius;
    const int32_t count = Game.item_count < ITEM_SLOT_COUNT ? Game.item_count : ITEM_SLOT_COUNT;
    const int32_t total = Game.total_ticks;
    for (int32_t i = 0; i < count; ++i) {
        const ItemSlot& item = Game.items[i];
        if (item.taken || item.floor != Game.current_floor) continue;
        if (item.x < 0 || item.x >= MAP_W || item.y < 0 || item.y >= MAP_H) continue;
        if (item.type < 0 || item.type >= ITEM_TYPE_COUNT) continue;
        if (!VisibleGrid[item.y * MAP_W + item.x]) continue;

        const ItemIconRow& icon = ItemIconTable[item.type];
        const int32_t sx = item.x * 16 + 4 - vx;
        const int32_t base_y = item.y * 16 + 5;
        const int64_t dx = px - tile_anchor_px(item.x);
        const int64_t dy = py - (item.y * 16 + 17);
        if (lit == 1 || dx * dx + dy * dy <= reach) {
            int32_t y = base_y;
            if (icon.bobs && floor_mod(total / 10 + i, 2) == 0) y -= 1;
            blit_pattern(Framebuffer, SCREEN_W, SCREEN_H, sx, y - vy, icon.first_row, 8, 8, 0, 1, 1);
            if (floor_mod(total + 5 * i, 24) < 4) put_pixel(sx + 2, y - vy + 1, 6);
        } else if (icon.bobs && floor_mod(total + 7 * i, 24) < 3) {
            // A glint in the dark gives the item away.
            put_pixel(sx + 3, base_y - vy + 2, 15);
        }
    }
}

void draw_pursuer_eyes(int32_t x, int32_t y) {
    const NpcSlot& p = Game.npcs[NPC_PURSUER];
    const int64_t dx = (static_cast<int64_t>(p.npc_x) - Game.player_x) / 256;
    const int64_t dy = (static_cast<int64_t>(p.npc_y) - Game.player_y) / 256;
    const int64_t squared = dx * dx + dy * dy;
    const int32_t d = isqrt(squared > INT32_MAX ? INT32_MAX : static_cast<int32_t>(squared));
    if (d > 210) return;

    // Two pale points where his eyes are, blinking, when he is in the dark.
    const bool dark = !on_screen(x - 1, y - 26) || Framebuffer[(y - 26) * SCREEN_W + x - 1] == 0;
    if (dark && floor_mod(Game.total_ticks, 40) < 32) {
        const int32_t colour = d < 120 ? 5 : 4;
        put_pixel(x - 1, y - 26, colour);
        put_pixel(x, y - 26, colour);
        put_pixel(x - 1, y - 25, 3);
    }

    if (pursuer_hunting(p) && p.npc_stun_ticks == 0) {
        const int32_t row = y - 22;
        switch (p.npc_facing) {
            case FACING_DOWN:
                put_pixel(x - 3, row, 12);
                put_pixel(x - 2, row, 12);
                put_pixel(x + 1, row, 12);
                put_pixel(x + 2, row, 12);
                break;
            case FACING_RIGHT:
                put_pixel(x + 2, row, 12);
                break;
            case FACING_LEFT:
                put_pixel(x - 3, row, 12);
                break;
            default:
                break;
        }
    }
}

void draw_brawl_cloud(int32_t x, int32_t y) {
    for (int32_t i = 0; i < 8; ++i) {
        const int32_t r1 = random_step();
        const int32_t r2 = random_step();
        const int32_t r3 = random_step();
        fill_circle(x + r3 % 25 - 12, y + r2 % 17 - 22, 5 + (r1 & 3), 4 + (i & 1));
    }
    for (int32_t i = 0; i < 3; ++i) {
        const int32_t r1 = random_step();
        const int32_t r2 = random_step();
        fill_screen_rect(x + r2 % 30 - 15, y + r1 % 20 - 24, 2, 6, 9);
    }
    for (int32_t i = 0; i < 4; ++i) {
        const int32_t r1 = random_step();
        const int32_t r2 = random_step();
        put_pixel(x - 18 + r2 % 36, y - 30 + r1 % 12, 15);
    }
    text(x - 25, y - 45, "RAUFEREI!", 1, 1);
    text(x - 26, y - 46, "RAUFEREI!", 12, 1);
}

void draw_floor_card(int32_t x, int32_t y, int32_t floor) {
    if (floor < 0 || floor >= FLOOR_COUNT) return;
    const FloorStyleRow& style = FloorStyle[floor];
    for (int32_t r = 0; r < 46; ++r) {
        const int32_t h = r < 5 ? 5 - r : r > 40 ? r - 40 : 0;
        for (int32_t c = 0; c < 84; ++c) {
            const int32_t g = c < 5 ? 5 - c : c > 78 ? c - 78 : 0;
            const int32_t corner = g * g + h * h;
            if (corner > 25) continue;  // outside the rounded corner
            int32_t colour = style.base_colour;
            if ((style.fill_style == FILL_CHECKER && (c + r) % 2 == 0) ||
                (style.fill_style == FILL_DIAGONAL && (2 * r + c) % 4 == 0)) {
                colour = style.second_colour;
            }
            if (corner > 16 || c == 0 || c == 83 || r == 0 || r == 45) colour = 1;
            put_pixel(x + c, y + r, colour);
        }
    }

    // The floor's emblem at double size: a dark outline first, then the
    // emblem over it.
    const int32_t first = SPRITE_EMBLEMS + 18 * floor;
    for (int pass = 0; pass < 2; ++pass) {
        for (int32_t row = 0; row < 18; ++row) {
            const char* line = SpriteRowTable[first + row];
            for (int32_t col = 0; col < 20 && line[col] != 0; ++col) {
                if (line[col] != '6') continue;
                const int32_t px = x + 4 + 2 * col;
                const int32_t py = y + 5 + 2 * row;
                if (pass == 0) {
                    for (int32_t l = 0; l < 3; ++l) {
                        for (int32_t m = 0; m < 3; ++m) fill_screen_rect(px + 2 * m - 2, py + 2 * l - 2, 2, 2, 1);
                    }
                } else {
                    fill_screen_rect(px, py, 2, 2, 6);
                }
            }
        }
    }

    char number[TEXT_LINE_SIZE] = {0};
    append_number(number, floor + 1);
    text(x + 58, y + 9, number, 1, 4);
}

void draw_play_view() {
    // The view origin, shaken while the screen shake lasts.
    int64_t vx = Game.camera_x;
    int64_t vy = Game.camera_y;
    if (Game.shake_ticks > 0) {
        const int32_t r1 = random_step();
        const int32_t r2 = random_step();
        vx += r1 % 5 - 2;
        vy += r2 % 5 - 2;
    }
    const int32_t view_x = clamp_camera_x(vx);
    const int32_t view_y = clamp_camera_y(vy);

    // The world, black above and below it.
    for (int32_t sy = 0; sy < SCREEN_H; ++sy) {
        uint8_t* row = Framebuffer + sy * SCREEN_W;
        const int32_t wy = view_y + sy;
        if (wy < 0 || wy >= WORLD_H) {
            std::memset(row, 0, SCREEN_W);
        } else {
            std::memcpy(row, WorldImage + wy * WORLD_W + view_x, SCREEN_W);
        }
    }

    // The friend swims his lengths until he is called.
    if (Game.current_floor == 0 && Game.friend_state == FRIEND_ABSENT) draw_swimmer(view_x, view_y);

    // The people, back to front.
    draw_figures(view_x, view_y);
    if (!Game.player_hidden) keep_player_above_own_tile(view_x, view_y);

    // Darkness: the player's light, the floor's own light, and a minimum
    // level where the floor is lit anyway.
    const int32_t floor = Game.current_floor;
    FloorLightRow light = {0, 0, 0};
    if (floor >= 0 && floor < FLOOR_COUNT) light = FloorLight[floor];
    int32_t lit = 0;
    if (floor == 4) lit = 1;
    if (floor == 1) {
        if (Game.power_on) {
            lit = 1;
        } else {
            light.radius = 0;
        }
    }
    shade_by_light(TileMask{VisibleGrid, MAP_W, MAP_H}, view_x, view_y, player_pixel_x(),
                   player_light_y(), Game.light_radius, light.x, light.y, light.radius, lit);
    if (!Game.player_hidden) draw_player_above_own_tile(view_x, view_y, light, lit);

    const bool pursuer_here = npc_on_current_floor(NPC_PURSUER);
    const NpcSlot& pursuer = Game.npcs[NPC_PURSUER];
    const int32_t pursuer_sx = (pursuer.npc_x >> 8) - view_x;
    const int32_t pursuer_sy = (pursuer.npc_y >> 8) - view_y;

    // His eyes show in the dark.
    if (pursuer_here) draw_pursuer_eyes(pursuer_sx, pursuer_sy);

    draw_floor_items(view_x, view_y, lit);

    if (Game.stink_ticks > 0 && pursuer_here) draw_stink_cloud(pursuer_sx, pursuer_sy);

    if (Game.friend_state == FRIEND_BRAWL && Game.friend_target >= 0 &&
        Game.friend_target < NPC_SLOT_COUNT && npc_on_current_floor(Game.friend_target)) {
        const NpcSlot& target = Game.npcs[Game.friend_target];
        draw_brawl_cloud((target.npc_x >> 8) - view_x, (target.npc_y >> 8) - view_y);
    }

    // The phone teacher's glasses glint while he comes for the phone.
    const NpcSlot& teacher = Game.npcs[NPC_PHONE_TEACHER];
    if (npc_on_current_floor(NPC_PHONE_TEACHER) && teacher.npc_state == PHONE_TEACHER_FOR_PHONE &&
        teacher.npc_stun_ticks == 0) {
        draw_teacher_glint((teacher.npc_x >> 8) - view_x, (teacher.npc_y >> 8) - view_y);
    }

    // Alert mark over the pursuer.
    if (Game.alert_ticks > 0 && pursuer_here) {
        text(pursuer_sx - 2, pursuer_sy - 44, "!", 1, 2);
        text(pursuer_sx - 4, pursuer_sy - 46, "!", 12, 2);
    }

    if (Game.player_hidden) draw_locker_view();

    // Heartbeat and ringing phone at the screen edges.
    if (Game.heartbeat_flash > 0) edge_vignette(Game.heartbeat_flash, 11);
    if (Game.ring_ticks > 0 && floor_mod(Game.total_ticks / 4, 2) == 0) edge_vignette(2, 3);

    // The floor banner after arriving on a floor.
    if (Game.floor_banner_ticks > 0 && floor >= 0 && floor < FLOOR_COUNT) {
        draw_floor_card(118, 26, floor);
        char line[TEXT_LINE_SIZE] = {0};
        append_number(line, floor + 1);
        append_text(line, ". ETAGE");
        draw_text_centred(76, line, 6, 2);
        draw_text_centred(94, FloorNames[floor], 5, 1);
    }

    draw_hud();
}
