// Continuing a game: a game is never saved, it is its record. Continuing
// replays the record of its program run from start-up, as fast as the
// machine goes, up to the game's hand-over pass (the last pass before its
// end), recording it anew as it goes; the player then takes over from
// exactly the GameState the game had. The record the continued game leaves
// is the kept passes, then what is played after.
#pragma once
#include <cstddef>
#include <cstdint>

#include "platform/game_watch.h"
#include "platform/replay.h"

// The last game of a record.
struct RecordGame {
    uint32_t seed;
    uint64_t passes;  // all the record's passes
    GameMark mark;    // state GAME_NONE when the record holds no game
};

// The last game the record's notes name (see game_watch.h). A game still
// alive at the last note is handed over at the record's last pass: a run
// cut off by a crash or a closed window goes on where it stopped. False with
// the reader's line when the text is no record, or when a note names a pass
// beyond the record's end. A record without notes (written by an older
// build, or by hand) is replayed to find its games when may_replay is set;
// that leaves the game as the record ends it.
bool record_find_last_game(const char* data, size_t size, bool may_replay, RecordGame& game,
                           char (&error)[REPLAY_ERROR_SIZE]);

// Begins continuing: checks the whole text, starts the game from start-up
// with its seed, and begins the record anew (record_restart). False with the
// reader's line (or one saying the record is shorter than `pass`), and
// nothing changed. The text must stay in place until continuing ends.
bool continue_begin(const char* data, size_t size, uint64_t pass, char (&error)[REPLAY_ERROR_SIZE]);
// Replays at most max_passes more passes; false once the hand-over pass is
// reached (the record is then flushed) or nothing is being continued.
bool continue_step(uint32_t max_passes);
bool continue_active();
// Passes replayed so far, and the pass the game is handed over at.
uint64_t continue_done();
uint64_t continue_target();
