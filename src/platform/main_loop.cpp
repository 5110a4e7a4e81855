#include "platform/main_loop.h"

#include <cstring>

#include "game/game_flow.h"
#include "game/game_state.h"
#include "platform/bmp.h"
#include "platform/input.h"
#include "platform/keep.h"
#include "platform/kept_runs.h"
#include "platform/pause.h"
#include "platform/platform.h"
#include "platform/present.h"
#include "platform/replay.h"
#include "screens/draw_screen.h"

uint32_t RunningFlag = 1;
const char* AutoplayFile = nullptr;
uint32_t AutoplayWritten = 0;
uint32_t ScreenshotCounter = 0;

namespace {

// Whether the pause sign is on the screen. While paused the loop wakes up
// every few milliseconds only: often enough to keep the sound stream fed and
// to answer a key at once.
bool PauseShown = false;
constexpr uint32_t PAUSED_SLEEP_MS = 10;

// Continuing a game replays its record for this long at a time, then shows
// how far it is and keeps the window answering.
constexpr uint32_t CONTINUE_SLICE_MS = 30;
constexpr uint32_t CONTINUE_STEP_PASSES = 16;

// Replays the next slice of a game being continued. It begins paused (no
// sound, the clock stands still, the keys rest) and stays paused at the
// hand-over, so that the player picks up calmly.
void continue_slice(LoopClock& clock) {
    const uint32_t start = platform_time_ms();
    while (continue_step(CONTINUE_STEP_PASSES) && platform_time_ms() - start < CONTINUE_SLICE_MS) {
    }
    if (!continue_active()) {
        main_loop_start(clock);
        set_paused(true);
    }
    audio_refill();
    platform_present();
}

}  // namespace

uint32_t tick_due_ms(uint32_t i) {
    return i * 1000u / 30u;
}

bool tick_is_due(const LoopClock& clock, uint32_t now) {
    // "Not yet due" is a negative signed difference; test its sign bit.
    return ((now - tick_due_ms(clock.ticks) - clock.base) & 0x80000000u) == 0;
}

uint32_t autoplay_bits(uint32_t i) {
    if (i == 5 || i == 12) return INPUT_CONFIRM;
    if (i < 20) return 0;
    if (i < 32) return INPUT_RIGHT;
    if (i < 100) return INPUT_DOWN;
    if (i < 150) return INPUT_RUN | INPUT_RIGHT;
    return 0;
}

void main_loop_start(LoopClock& clock) {
    clock.base = loop_time_ms();
    clock.ticks = 0;
    PauseShown = false;
    AutoplayWritten = 0;
}

void main_loop_pass(LoopClock& clock) {
    platform_pump_messages();
    if (!RunningFlag) return;

    if (continue_take_request()) set_paused(true);
    if (continue_active()) {
        continue_slice(clock);
        return;
    }

    // Paused: the game and its clock stand still; the sound stream runs on
    // with silence, and the pause sign is shown once when the pause begins
    // (the backends show it again whenever the window needs repainting).
    if (Paused) {
        if (!PauseShown) platform_present();
        PauseShown = true;
        audio_refill();
        platform_sleep_ms(PAUSED_SLEEP_MS);
        return;
    }
    if (PauseShown) {
        PauseShown = false;
        platform_present();
    }

    uint32_t now = loop_time_ms();
    if (!tick_is_due(clock, now)) {
        audio_refill();
        platform_sleep_ms(1);
        return;
    }

    uint32_t bits = HeldInput | PressedInput;
    PressedInput = 0;
    bits |= platform_joystick_bits();

    // The smoke run's script decides the input; a pass ends where the script
    // changes, so that every pass hands all its Ticks the same bits (a
    // recorded pass is one InputBits value and a Tick count).
    if (AutoplayFile) bits = autoplay_bits(clock.ticks);
    uint32_t n = 0;
    do {
        if (game_tick(bits) == 0) RunningFlag = 0;
        clock.ticks += 1;
        n += 1;
        // A smoke-run pass ends where the script changes (a recorded pass is one
        // InputBits value), and the screenshot is the frame after exactly 150
        // Ticks, also when this pass is catching up.
    } while (n < REPLAY_MAX_TICKS && tick_is_due(clock, now) &&
             !(AutoplayFile && (clock.ticks >= 150 || autoplay_bits(clock.ticks) != bits)));

    // Behind by more than the limit: drop the backlog instead of spiralling.
    if (n == REPLAY_MAX_TICKS) clock.base = now - tick_due_ms(clock.ticks);

    draw_screen();
    // The record takes the pass whole, its frame too.
    record_pass(bits, n, now);
    record_say_failures();
    audio_refill();
    platform_present();

    if (AutoplayFile && clock.ticks >= 150) {
        AutoplayWritten = write_bmp(AutoplayFile, Framebuffer, SCREEN_W, SCREEN_H, 3) ? 1 : 0;
        RunningFlag = 0;
    }
}

void run_main_loop() {
    platform_open_window();
    LoopClock clock;
    main_loop_start(clock);
    while (RunningFlag) main_loop_pass(clock);
    platform_close_window();
}

void screenshot_name(uint32_t counter, char out[14]) {
    std::memcpy(out, "stivra_00.bmp", 14);
    out[7] = static_cast<char>('0' + (counter / 10) % 10);
    out[8] = static_cast<char>('0' + counter % 10);
}

void take_screenshot() {
    char name[14];
    screenshot_name(ScreenshotCounter, name);
    ScreenshotCounter += 1;
    write_bmp(name, Framebuffer, SCREEN_W, SCREEN_H, 3);
}

void window_key_down(uint32_t vk) {
    const uint32_t asks = key_went_down(vk, Paused != 0);
    if (asks & KEY_ASKS_SCREENSHOT) take_screenshot();
    if (asks & KEY_ASKS_PAUSE) toggle_pause();
    if (asks & KEY_ASKS_MUTE) toggle_mute();
    if ((asks & KEY_ASKS_CONTINUE) && ContinueKeyEnabled && Game.mode == MODE_TITLE) continue_ask();
}

void window_key_up(uint32_t vk) {
    key_went_up(vk);
}

void window_focus_lost() {
    input_focus_lost();
    set_paused(true);
}

void set_paused(bool paused) {
    if (paused && AutoplayFile) return;
    if (change_paused(paused)) input_clear();
}

void toggle_pause() {
    set_paused(!Paused);
}
