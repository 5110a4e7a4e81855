#include "platform/pause.h"

#include <cstring>

#include "audio/synth.h"
#include "game/game_state.h"
#include "gfx/draw.h"
#include "gfx/font.h"
#include "platform/keep.h"
#include "platform/kept_runs.h"
#include "platform/platform.h"
#include "platform/present.h"
#include "platform/replay.h"

uint32_t Paused = 0;
uint32_t Muted = 0;
uint32_t PausedTotalMs = 0;
uint32_t PausedSinceMs = 0;

namespace {

uint8_t PausedFrame[SCREEN_W * SCREEN_H];

// The pause sign: a large word with the key that ends it below, the two
// lines centred as one block on the screen, each with a black shadow.
constexpr int PAUSE_SCALE = 4;
constexpr int HINT_SCALE = 2;
constexpr int LINE_GAP = 12;
constexpr int SIGN_H = 7 * PAUSE_SCALE + LINE_GAP + 7 * HINT_SCALE;
constexpr int SIGN_Y = (SCREEN_H - SIGN_H) / 2;

void draw_sign_line(int y, const char* text, int colour, int scale) {
    const int x = (SCREEN_W - text_width(text, scale)) / 2;
    draw_text(PausedFrame, SCREEN_W, SCREEN_H, x + scale, y + scale, text, 0, scale, 9999);
    draw_text(PausedFrame, SCREEN_W, SCREEN_H, x, y, text, colour, scale, 9999);
}

}  // namespace

bool change_paused(bool paused) {
    // A game being continued goes on only once it is handed over.
    if (!paused && continue_active()) return false;
    if ((Paused != 0) == paused) return false;
    const uint32_t now = platform_time_ms();
    if (paused) {
        PausedSinceMs = now;
        // A game killed while paused leaves a record of everything it played.
        record_flush();
    } else {
        PausedTotalMs += now - PausedSinceMs;
    }
    Paused = paused ? 1 : 0;
    return true;
}

void set_muted(bool muted) {
    Muted = muted ? 1 : 0;
}

void toggle_mute() {
    set_muted(!Muted);
}

uint32_t loop_time_ms() {
    const uint32_t now = Paused ? PausedSinceMs : platform_time_ms();
    return now - PausedTotalMs;
}

namespace {

// While a game is continued: how far the replay is, as a bar.
void draw_continue_sign() {
    for (int i = 0; i < SCREEN_W * SCREEN_H; ++i) PausedFrame[i] = ShadeTable[1][Framebuffer[i] & 15];
    constexpr int BAR_W = 200, BAR_H = 8;
    constexpr int BAR_X = (SCREEN_W - BAR_W) / 2, BAR_Y = SIGN_Y + 7 * HINT_SCALE + LINE_GAP;
    draw_sign_line(SIGN_Y, "SPIEL WIRD FORTGESETZT", 15, HINT_SCALE);
    const uint64_t target = continue_target();
    const int done = target ? static_cast<int>(continue_done() * (BAR_W - 2) / target) : BAR_W - 2;
    fill_rect(PausedFrame, SCREEN_W, SCREEN_H, BAR_X, BAR_Y, BAR_W, BAR_H, 6);
    fill_rect(PausedFrame, SCREEN_W, SCREEN_H, BAR_X + 1, BAR_Y + 1, BAR_W - 2, BAR_H - 2, 1);
    fill_rect(PausedFrame, SCREEN_W, SCREEN_H, BAR_X + 1, BAR_Y + 1, done, BAR_H - 2, 15);
}

}  // namespace

const uint8_t* compose_presented_frame() {
    if (continue_active()) {
        draw_continue_sign();
        return PausedFrame;
    }
    if (!Paused) {
        // On the title, the game that C continues, over the game's own frame.
        char line[64];
        if (!ContinueKeyEnabled || Game.mode != MODE_TITLE || !continue_offer_line(line)) return Framebuffer;
        std::memcpy(PausedFrame, Framebuffer, sizeof PausedFrame);
        constexpr int LINE_Y = SCREEN_H - 12;
        fill_rect(PausedFrame, SCREEN_W, SCREEN_H, 0, LINE_Y - 3, SCREEN_W, 13, 1);
        draw_sign_line(LINE_Y, line, 15, 1);
        return PausedFrame;
    }
    for (int i = 0; i < SCREEN_W * SCREEN_H; ++i) PausedFrame[i] = ShadeTable[1][Framebuffer[i] & 15];
    draw_sign_line(SIGN_Y, "PAUSE", 15, PAUSE_SCALE);
    draw_sign_line(SIGN_Y + 7 * PAUSE_SCALE + LINE_GAP, "P = WEITER", 6, HINT_SCALE);
    return PausedFrame;
}

void render_stream_block(int16_t* block, int32_t count) {
    if (!block || count <= 0) return;
    if (!Paused) render_samples(block, count);
    if (Paused || Muted) std::memset(block, 0, sizeof(int16_t) * static_cast<size_t>(count));
}
