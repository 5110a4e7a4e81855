// The desktop game keeps its last KEPT_RUNS program runs as records in the
// user's own folder (lauf_0.txt the newest), and C on the title continues
// the last game when it was not won: this run's own last game, or else the
// last one kept from an earlier run. `stivra -resume FILE` continues the last
// game of any record file. Continuing itself is keep.h's.
#pragma once
#include <cstdint>

#include "platform/game_watch.h"

constexpr int KEPT_RUNS = 10;
constexpr int KEEP_PATH_SIZE = 1024;

// Set by the desktop game: C on the title continues, and the title says so.
// The page keeps its games itself.
extern uint32_t ContinueKeyEnabled;

// Looks through the kept runs in `folder` (a path that ends with its
// separator), remembers the last game kept, and makes room for this run:
// its record goes to lauf_0.txt, older runs move one place on and the
// oldest is dropped (a lauf_0.txt that holds no game is simply reused).
// Returns the file this run is kept in, or null when the folder cannot take
// it. Problems are named in one line on standard error each.
const char* kept_runs_open(const char* folder);
// Forgets the kept game found (the tests start several runs in one process).
void kept_runs_reset();

// The game C would continue now: this run's last game, or the last kept
// one. False when there is none, or when it was won.
bool continue_offer(GameMark& mark);
// The line the title shows for it ("C = WEITERSPIELEN: 4. ETAGE, AUFGABE
// 3/10, 12:34"), at most 62 bytes; false when there is nothing to continue.
bool continue_offer_line(char (&out)[64]);

// C pressed on the title: the next pass begins continuing the offered game.
void continue_ask();
// -resume FILE: the next pass begins continuing the last game in FILE.
// False, with one line on standard error, when FILE cannot be read or holds
// no game; the game (started with `seed`) then plays as it is.
bool continue_file(const char* name, uint32_t seed);
// Begins what was asked for, if anything; true when a game is now being
// continued. A kept file that turns out unreadable is named and skipped.
bool continue_take_request();
