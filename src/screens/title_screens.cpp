#include "screens/title_screens.h"

#include "game/game_state.h"
#include "gfx/draw.h"
#include "gfx/font.h"
#include "gfx/framebuffer.h"
#include "world/world_image.h"

const char* const IntroLines[INTRO_LINE_COUNT] = {
    "ST. IVRA SCHULE",
    "DONNERSTAG, 16:47 UHR",
    "",
    "DU BIST IM CHEMIERAUM EINGESCHLAFEN. 4. ETAGE.",
    "ALLE SIND L\xC3\x84NGST NACH HAUSE GEGANGEN.",
    "FAST ALLE.",
    "DER HAUSMEISTER HAT DIE TREPPENGITTER ZUGESPERRT.",
    "DU BIST 8 METER GROSS.",
    "DAS WIRD DIR HEUTE NICHT HELFEN.",
};

const uint8_t IntroLineColours[INTRO_LINE_COUNT] = {15, 5, 5, 5, 5, 12, 5, 5, 12};

const char* const TitleStartPrompt = "ENTER DR\xC3\x9C" "CKEN";
const char* const TitleControlsPrompt = "WASD LAUFEN - SHIFT RENNEN - E AKTION - Q HANDY";
const char* const IntroContinuePrompt = "ENTER = WEITER";

namespace {

const char* const SchoolName = "ST. IVRA SCHULE";

// Inclusive corners, as the school picture is laid out.
void span(int32_t x0, int32_t y0, int32_t x1, int32_t y1, int32_t colour) {
    fill_screen_rect(x0, y0, x1 - x0 + 1, y1 - y0 + 1, colour);
}

// The window flicker hash: the tick count spread over 32 bits first.
uint32_t flicker_hash(uint32_t n) { return byte_hash(n * 374761393u + 668265263u); }

// The tick counters never go below zero; read them as unsigned so that the
// divisions and remainders below stay the plain non-negative ones.
uint32_t ticks_of(int32_t t) { return t < 0 ? 0u : static_cast<uint32_t>(t); }

void draw_window(int32_t x, int32_t top) {
    span(x, top, x + 19, top + 19, 5);
    span(x + 1, top + 1, x + 18, top + 18, 1);
    span(x + 9, top + 1, x + 10, top + 18, 4);
    span(x + 1, top + 7, x + 18, top + 7, 4);
}

}  // namespace

uint32_t byte_hash(uint32_t v) {
    // The same integer hash that textures the floors, low byte only.
    return texture_hash(v) & 0xFFu;
}

void draw_night_sky(int32_t flash) {
    fill_bytes(Framebuffer, flash ? 3 : 1, SCREEN_W * SCREEN_H);
    const uint32_t twinkle = ticks_of(Game.total_ticks) / 6;
    for (uint32_t i = 0; i < 60; ++i) {
        const uint32_t c = 1719420071u + 374761393u * i;
        const uint32_t x = (byte_hash(c - 1336530526u) + 2 * byte_hash(c)) % 320;
        const uint32_t y = byte_hash(c + 285375718u) / 4;
        uint8_t colour = i % 4 == 0 ? 5 : 4;
        if (i % 7 == 0 && (twinkle + i) % 9 == 0) colour = 6;
        Framebuffer[y * SCREEN_W + x] = colour;
    }
    fill_circle(272, 28, 11, 6);
    fill_circle(268, 25, 2, 5);
    fill_circle(276, 32, 2, 5);
}

void draw_school(int32_t flash, int32_t window_mode) {
    // Ground with a lighter edge, and the path widening towards the viewer.
    span(0, 168, 319, 199, 2);
    span(0, 168, 319, 169, 14);
    for (int32_t k = 0; k < 30; ++k) fill_screen_rect(148 - k, 170 + k, 24 + 2 * k, 1, 3);

    // Trees left and right of the building.
    fill_circle(18, 142, 16, 13);
    fill_circle(16, 139, 14, 14);
    fill_circle(30, 154, 13, 14);
    span(20, 150, 23, 169, 7);
    fill_circle(300, 140, 17, 13);
    fill_circle(302, 137, 15, 14);
    fill_circle(290, 153, 12, 14);
    span(298, 150, 301, 169, 7);

    // Brick facade: every fifth row is a mortar course, and the joints move
    // by half a brick from one course to the next.
    const uint8_t brick = flash ? 9 : 10;
    for (int32_t y = 70; y <= 169; ++y) {
        uint8_t* row = Framebuffer + y * SCREEN_W;
        const int32_t offset = 5 * ((y / 5) % 2);
        for (int32_t x = 40; x <= 279; ++x) {
            const bool mortar = y % 5 == 4 || (x + offset) % 10 == 0;
            row[x] = mortar ? 7 : brick;
        }
    }

    span(36, 64, 283, 70, 2);
    span(36, 64, 283, 64, 4);

    for (int32_t j = 0; j < 9; ++j) {
        const int32_t x = 47 + 26 * j;
        draw_window(x, 79);
        if (j == 1) {
            draw_lit_window(74, 120, window_mode);
        } else if (j != 4) {
            draw_window(x, 119);
        }
    }

    // The entrance under the middle column.
    span(146, 136, 173, 169, 2);
    span(148, 138, 158, 169, 7);
    span(161, 138, 171, 169, 7);
    span(150, 141, 156, 152, 1);
    span(163, 141, 169, 152, 1);
    span(156, 156, 157, 158, 15);
    span(162, 156, 163, 158, 15);
    span(140, 168, 179, 169, 4);

    // The name sign over the entrance.
    span(111, 103, 208, 116, 4);
    span(112, 104, 207, 115, 1);
    draw_text(Framebuffer, SCREEN_W, SCREEN_H, 116, 107, SchoolName, 6, 1, 9999);
}

void draw_lit_window(int32_t x, int32_t y, int32_t mode) {
    fill_screen_rect(x - 1, y - 1, 20, 20, 5);
    fill_screen_rect(x, y, 18, 18, mode == 1 ? 15 : mode == 2 ? 8 : 1);
    if (mode != 0) {
        // Someone stands at the window and watches.
        fill_circle(x + 6, y + 12, 4, 1);
        fill_screen_rect(x + 1, y + 15, 11, 3, 1);
        put_pixel(x + 4, y + 9, 6);
        put_pixel(x + 5, y + 9, 6);
    }
    fill_screen_rect(x + 8, y, 2, 18, 4);
    fill_screen_rect(x, y + 6, 18, 1, 4);
}

void draw_title_screen() {
    const uint32_t t = ticks_of(Game.mode_ticks);
    const uint32_t phase = t % 170;
    // A double lightning flash every 170 Ticks.
    const int32_t flash = (phase <= 2 || phase == 7 || phase == 8) ? 1 : 0;
    draw_night_sky(flash);

    // The watcher's window flickers dimmer about one time in five.
    const int32_t window_mode = flicker_hash(t / 3) < 50 ? 2 : 1;
    draw_school(flash, window_mode);

    const int32_t n = text_length(SchoolName);
    const int32_t x = (SCREEN_W - 2 * (6 * n - 1)) / 2;
    draw_text(Framebuffer, SCREEN_W, SCREEN_H, x + 2, 8, SchoolName, 11, 2, 9999);
    draw_text(Framebuffer, SCREEN_W, SCREEN_H, x, 6, SchoolName, 12, 2, 9999);

    draw_text_centred(26, "HERR M\xC3\x9CRZEL IST NOCH IM HAUS", 6, 1);
    draw_text_centred(37, "6 ETAGEN - 10 AUFGABEN - 18 STICKER", 4, 1);

    if ((t / 15) % 2 == 0) draw_text_centred(176, TitleStartPrompt, 15, 1);
    draw_text_centred(188, TitleControlsPrompt, 4, 1);
}

void draw_intro_screen() {
    fill_bytes(Framebuffer, 0, SCREEN_W * SCREEN_H);
    // Each line types one character a Tick, starting 8 Ticks after the line
    // before it is complete.
    int64_t u = Game.mode_ticks;
    for (int32_t i = 0; i < INTRO_LINE_COUNT; ++i) {
        const int32_t n = text_length(IntroLines[i]);
        if (u > 0) {
            const int32_t x = n > 0 ? (SCREEN_W - (6 * n - 1)) / 2 : 160;
            const int32_t shown = u > 9999 ? 9999 : static_cast<int32_t>(u);
            draw_text(Framebuffer, SCREEN_W, SCREEN_H, x, 34 + 14 * i, IntroLines[i],
                      IntroLineColours[i], 1, shown);
        }
        u -= n + 8;
    }
    draw_text_centred(186, IntroContinuePrompt, 3, 1);
}
