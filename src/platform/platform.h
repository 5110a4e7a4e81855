// What a backend (Win32, SDL2 or the browser) provides to the portable main loop. Each
// backend implements these free functions; the tests link a fake with a
// clock they drive by hand.
#pragma once
#include <cstdint>

// Create the window at the largest integer scale that fits, set up the
// presentation, probe the joystick and raise the timer resolution. When there
// is no window to play in (no display), it says so in one line on standard
// error, sets WindowFailed and clears RunningFlag.
void platform_open_window();
// Set when the game could not open its window; the process then exits with 1.
extern uint32_t WindowFailed;
// Restore the timer resolution and close the sound stream.
void platform_close_window();
// Drain the window messages (keys reach window_key_down/up, a close clears RunningFlag).
void platform_pump_messages();
// Milliseconds of a free-running 32-bit clock.
uint32_t platform_time_ms();
void platform_sleep_ms(uint32_t ms);
// Show the Framebuffer letterboxed in the window.
void platform_present();
// InputBits of joystick 0, or 0 when there is none.
uint32_t platform_joystick_bits();

// The folder the game keeps its runs in, made when it is missing, as a path
// that ends with its separator: $XDG_STATE_HOME/st-ivra-schule/ (by default
// ~/.local/state/st-ivra-schule/) on Linux, "%LOCALAPPDATA%\St. Ivra Schule\"
// on Windows. False when there is none or it cannot be made; out then holds
// the path tried, or is empty.
bool platform_keep_folder(char* out, int size);

// The sample stream: STREAM_SAMPLE_RATE (22050 Hz) signed 16-bit mono, blocks of 768 samples, four queued.
constexpr int32_t STREAM_SAMPLE_RATE = 22050;
void audio_open();
void audio_refill();
void audio_close();
