// The SDL backend's video start, shared by its window and its sound stream.
#pragma once

// Starts SDL's video once and tells whether the game has a display to show
// its window on. The first time it is not, it says so in one line on
// standard error; later calls only repeat the answer.
bool sdl_video_ready();
