// Pause and mute: the player's, not the game's. Neither touches the
// GameState: while paused no Tick runs and no pass is recorded, so a paused
// game is the same game and its record the same record; muting only silences
// what goes to the sound device, while the synthesiser renders on as before.
// The main loop maps P, M and the loss of focus here; the backends show
// what compose_presented_frame gives them.
#pragma once
#include <cstdint>

// Non-zero while the game stands still.
extern uint32_t Paused;
// Non-zero while the sound stream carries zeros.
extern uint32_t Muted;
// The loop's clock stands still while paused: milliseconds spent paused
// before the current pause, and the clock value at which it began.
extern uint32_t PausedTotalMs;
extern uint32_t PausedSinceMs;

// The pause itself: the clock stands still or goes on, and a record is
// flushed as the pause begins. A game being continued goes on only once it
// is handed over. True when the pause changed. The player's pause (keys,
// focus, the page) goes through set_paused of the main loop, which adds
// its own rules.
bool change_paused(bool paused);
void set_muted(bool muted);
void toggle_mute();

// The main loop's clock: the platform's milliseconds without the time spent
// paused, so that a pause is never caught up with a burst of Ticks. Frozen
// while paused.
uint32_t loop_time_ms();

// The picture to show: the Framebuffer itself, or while paused a darkened
// copy of it with "PAUSE" and "P = WEITER" on top. The Framebuffer is never
// drawn into, so F12 still saves the game's own frame. Needs the shade
// table (built at program start).
const uint8_t* compose_presented_frame();

// One block for the sound device. While paused the synthesiser stands still
// with the game and the block is silence; muted, it renders as always and
// the block is then cleared.
void render_stream_block(int16_t* block, int32_t count);
