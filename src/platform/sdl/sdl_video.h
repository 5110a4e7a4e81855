// The SDL backend's video start, shared by its window and its sound stream.
#pragma once
#include <cstdint>

struct SDL_Window;

// Starts SDL's video once and tells whether the game has a display to show
// its window on. The first time it is not, it says so in one line on
// standard error; later calls only repeat the answer.
bool sdl_video_ready();

// Queues sound until `ms` milliseconds are waiting, before a call that may
// block the loop for longer than the queue usually lasts (SDL's full-screen
// switch waits up to 100 ms for a window manager's answer).
void sdl_audio_fill_ahead(int32_t ms);

// Whether a window manager runs that can make the window full screen. In a
// bare X server nothing answers SDL's request: the game then sizes the
// window to the display itself.
bool sdl_window_manager_runs(SDL_Window* window);
