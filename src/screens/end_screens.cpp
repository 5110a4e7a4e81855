#include "screens/end_screens.h"

#include "data/sprite_rows.h"
#include "game/game_state.h"
#include "game/items.h"
#include "gfx/draw.h"
#include "gfx/figures.h"
#include "gfx/font.h"
#include "gfx/framebuffer.h"
#include "gfx/text.h"
#include "screens/title_screens.h"

namespace {

constexpr int32_t FACE_SIZE = 32;
constexpr int32_t FACE_KEY_COLOUR = 12;

// The mode tick never goes below zero.
int32_t mode_tick() { return Game.mode_ticks < 0 ? 0 : Game.mode_ticks; }

void draw_face(int32_t x, int32_t y, int32_t scale) {
    blit_pattern(Framebuffer, SCREEN_W, SCREEN_H, x, y, SPRITE_FACE, FACE_SIZE, FACE_SIZE, 0,
                 scale, FACE_KEY_COLOUR);
}

}  // namespace

void draw_caught_animation() {
    const int32_t t = mode_tick();
    fill_bytes(Framebuffer, (t / 2) % 2 == 0 ? 11 : 0, SCREEN_W * SCREEN_H);

    int32_t scale = t / 3 + 3;
    if (scale > 6) scale = 6;
    const int32_t r1 = random_step();
    const int32_t r2 = random_step();
    const int32_t x = (SCREEN_W - FACE_SIZE * scale) / 2 + r1 % 9 - 4;
    const int32_t y = (SCREEN_H - FACE_SIZE * scale) / 2 + r2 % 9 - 4;
    draw_face(x, y, scale);
}

void draw_caught_screen() {
    const int32_t t = mode_tick();
    fill_bytes(Framebuffer, 0, SCREEN_W * SCREEN_H);
    draw_face(112, 6, 3);

    draw_text_centred(110, "NACHSITZEN!", 12, 3);
    draw_text_centred(140, "HERR M\xC3\x9CRZEL HAT DICH ERWISCHT.", 6, 1);
    draw_text_centred(152, Game.caught_text ? Game.caught_text : "", 4, 1);
    draw_text_centred(164, format_time("ZEIT BISHER: ", Game.final_ticks), 5, 1);

    if ((t / 15) % 2 == 0) draw_text_centred(178, "ENTER = WEITER AB CHECKPOINT", 15, 1);
    draw_text_centred(189, "ESC = AUFGEBEN (MEN\xC3\x9C)", 3, 1);
}

void draw_escaped_screen() {
    const int32_t t = mode_tick();
    draw_night_sky(0);
    draw_school(0, 0);

    // The pursuer in the doorway, the friend cheering, and the player
    // straightening up to full height over 48 Ticks.
    draw_adult_figure(Framebuffer, SCREEN_W, SCREEN_H, 160, 169, FACING_DOWN, 0, 12, 1, 0);
    draw_friend_figure(Framebuffer, SCREEN_W, SCREEN_H, 252, 194, FACING_DOWN, 1 + 2 * ((t / 8) % 2), 1);
    int32_t crouch = 12 - t / 4;
    if (crouch < 0) crouch = 0;
    draw_player_figure(Framebuffer, SCREEN_W, SCREEN_H, 66, 194, FACING_DOWN, 0, crouch, 2);

    if (crouch == 0) {
        // The measuring staff beside the player, a mark every metre.
        fill_rect(Framebuffer, SCREEN_W, SCREEN_H, 96, 100, 1, 94, 15);
        for (int32_t k = 0; k <= 8; ++k) {
            fill_rect(Framebuffer, SCREEN_W, SCREEN_H, 96, 194 - (94 * k) / 8, 4, 1, 15);
        }
        draw_text(Framebuffer, SCREEN_W, SCREEN_H, 103, 98, "8 M", 1, 1, 9999);
        draw_text(Framebuffer, SCREEN_W, SCREEN_H, 102, 97, "8 M", 15, 1, 9999);
    }

    const char* title = "DU BIST ENTKOMMEN!";
    const int32_t x = (SCREEN_W - 2 * (6 * text_length(title) - 1)) / 2;
    draw_text(Framebuffer, SCREEN_W, SCREEN_H, x + 2, 8, title, 7, 2, 9999);
    draw_text(Framebuffer, SCREEN_W, SCREEN_H, x, 6, title, 15, 2, 9999);

    draw_text_centred(26, format_time("ZEIT: ", Game.final_ticks), 6, 1);
    if (t > 50) draw_text_centred(38, "DU RICHTEST DICH AUF: 8,00 METER.", 5, 1);
    if (t > 30) {
        char line[TEXT_LINE_SIZE] = {0};
        append_text(line, "STICKER: ");
        append_number(line, Game.inventory[ITEM_STICKER]);
        append_text(line, "/");
        append_number(line, STICKER_TOTAL);
        append_text(line, "   ERWISCHT: ");
        append_number(line, Game.catch_count);
        append_text(line, "X");
        draw_text_centred(50, line, 15, 1);
    }
    if (t > 60) {
        draw_text(Framebuffer, SCREEN_W, SCREEN_H, 227, 147, "GG, BRO!", 1, 1, 9999);
        draw_text(Framebuffer, SCREEN_W, SCREEN_H, 226, 146, "GG, BRO!", 14, 1, 9999);
    }
    if (t > 70 && (t / 15) % 2 == 0) draw_text_centred(186, "ENTER = MEN\xC3\x9C", 15, 1);
}
