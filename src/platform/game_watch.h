// Where each game of a program run begins and ends, seen from outside the
// game: a game begins when the title is left, is alive through the intro,
// play and the caught screens, and ends when it returns to the title (given
// up: BACK in play or on the caught screen) or reaches the escaped screen
// (won). The recorder notes every game in its record as comment lines, so
// that a record tells without being replayed which game it holds, where
// that game can be continued, and what the player had reached. The watch
// only reads the GameState.
#pragma once
#include <cstddef>
#include <cstdint>

enum GameMarkState : int32_t {
    GAME_NONE = 0,      // no game begun yet
    GAME_ALIVE = 1,     // still going at the end of what was seen
    GAME_GIVEN_UP = 2,  // back on the title (or the program ended there)
    GAME_WON = 3,       // escaped
};

// A game as it stood at its hand-over pass: the last pass before its end
// (before the BACK pass, before the escape), or while it is alive the last
// pass seen. Continuing the game replays its record up to that pass.
struct GameMark {
    uint32_t game;       // 1 for the first game of the program run
    int32_t state;       // GameMarkState
    uint64_t pass;       // the hand-over pass, counted from 1 at start-up
    int32_t floor;       // 1..6, as the player counts floors
    int32_t task;        // 1..10
    int32_t stickers;
    int32_t catches;
    int32_t play_ticks;  // play time at the hand-over pass; when won, the winning time
};

struct GameWatch {
    int32_t mode;      // the GameMode after the last pass seen
    GameMark last;     // the run's last game
    GameMark noted;    // the last game as the record last noted it
};

// Starts watching from the game as it stands (a program run's start).
void game_watch_reset(GameWatch& watch);
// After pass number `pass` has run: follows the game and returns true when
// the record should note watch.last now (a game began or ended, or the
// floor, the task, the stickers, the catches or a minute of play changed).
bool game_watch_pass(GameWatch& watch, uint64_t pass);

// The comment line that notes a game, with its newline, e.g.
//   # game 2 alive: pass 5230, floor 4, task 3, stickers 5, catches 1, play 12345
// Returns its length; GAME_MARK_LINE_SIZE is always enough.
constexpr int GAME_MARK_LINE_SIZE = 160;
int game_mark_format(const GameMark& mark, char (&out)[GAME_MARK_LINE_SIZE]);
// Reads one such line (without its newline; size bytes). False for any
// other line, or one whose numbers are out of range.
bool game_mark_parse(const char* line, size_t size, GameMark& mark);
