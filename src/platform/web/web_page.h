// What the web backend's parts share with each other.
#pragma once
#include <cstdint>

// The F12 screenshot: writes the next stivra_NN.bmp and offers it as a download.
void web_take_screenshot();
// Places the canvas in the game box by the letterbox rule when the box changed size.
void web_layout();
// Tells the page (StivraPage.pauseChanged, .muteChanged) what changed since
// it was last told.
void web_tell_page_pause_and_mute();

// Recorded runs (web_replay.cpp): while one plays, and while its last frame
// is shown, it has the animation frames instead of the main loop.
bool web_replay_owns_loop();
void web_replay_frame();
// The main loop runs again if the game had ended (BACK on the title, the end
// of the smoke run), with the window and the sound open again.
void web_loop_ensure_running();
// The main loop goes on from the game as it stands: its clock re-based, no
// key held or pressed from before.
void web_live_resume();

// The page's own record of the run it plays (a file of the in-memory file
// system), begun anew from program start with the seed of each new run.
constexpr const char* WEB_RECORD_FILE = "stivra_run.txt";
void web_record_start(uint32_t seed);
