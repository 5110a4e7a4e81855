// The one main loop: fixed 30 Ticks a second against the wall clock, at most
// REPLAY_MAX_TICKS Ticks before a frame is drawn, the F12 screenshot and the scripted
// smoke run; and what the window's keys and focus do. The loop calls the
// keyboard state (input) and the pause; neither calls back.
#pragma once
#include <cstdint>

// The loop runs while this is non-zero.
extern uint32_t RunningFlag;
// Set by -autoplay FILE; the script replaces the keyboard and the screenshot ends the run.
extern const char* AutoplayFile;
// Set when the smoke run's screenshot was written whole.
extern uint32_t AutoplayWritten;
// Counts F12 screenshots.
extern uint32_t ScreenshotCounter;

struct LoopClock {
    uint32_t base;   // clock value at which Tick 0 was due
    uint32_t ticks;  // Ticks run since the loop started
};

// Milliseconds after the base at which Tick i is due (unsigned 32-bit, truncating).
uint32_t tick_due_ms(uint32_t i);
// Whether Tick clock.ticks is due at time now.
bool tick_is_due(const LoopClock& clock, uint32_t now);
// InputBits of the autoplay script for Tick i.
uint32_t autoplay_bits(uint32_t i);

void main_loop_start(LoopClock& clock);
// One pass: pump, then either idle 1 ms or run up to REPLAY_MAX_TICKS Ticks and draw one frame.
void main_loop_pass(LoopClock& clock);
// Opens the window, runs passes until RunningFlag is 0, closes down.
void run_main_loop();

// "stivra_00.bmp" with the two digits of the counter.
void screenshot_name(uint32_t counter, char out[14]);
// Writes the Framebuffer at scale 3 to the next screenshot name; failures are ignored.
void take_screenshot();

// What the window procedure does with keyboard and focus messages: a key's
// buttons go to the game (input.h), and what a key asks besides is done
// here: F12 takes a screenshot, P and M switch pause and mute, C on the
// title continues the last game where the desktop game offers it.
void window_key_down(uint32_t vk);
void window_key_up(uint32_t vk);
// The window lost the keyboard focus: no key stays held, and the game pauses.
void window_focus_lost();

// The player's pause (P, the loss of focus, the page's button, continuing a
// game). Pausing is refused during the smoke run (-autoplay), which must
// play its script to the end whatever happens to the window. Each change
// clears the held and pressed keys: nothing pressed or released around a
// pause reaches the game afterwards.
void set_paused(bool paused);
void toggle_pause();
