#include "platform/keep.h"

#include <cstring>

#include "data/text_reader.h"
#include "game/game_state.h"

namespace {

struct Continuing {
    bool active = false;
    ReplayPlayer player{};
    uint64_t target = 0;
};
Continuing Now;

// The last note of a game in the text, if any.
bool last_note(const char* data, size_t size, GameMark& mark) {
    bool found = false;
    for_each_line(data, size, [&](const char* line, size_t length) {
        GameMark m;
        if (length > 0 && line[0] == '#' && game_mark_parse(line, length, m)) {
            mark = m;
            found = true;
        }
    });
    return found;
}

}  // namespace

bool record_find_last_game(const char* data, size_t size, bool may_replay, RecordGame& game,
                           char (&error)[REPLAY_ERROR_SIZE]) {
    game = RecordGame{};
    ReplayTotals totals;
    if (!replay_check(data, size, totals, error)) return false;
    game.seed = totals.seed;
    game.passes = totals.passes;
    GameMark mark{};
    if (last_note(data, size, mark)) {
        if (mark.pass > totals.passes) {
            replay_shorter_error(totals.passes, mark.pass, error);
            return false;
        }
    } else if (may_replay) {
        ReplayPlayer player;
        replay_player_start(player, data, size, error);
        GameWatch watch;
        game_watch_reset(watch);
        while (replay_player_pass(player)) game_watch_pass(watch, player.result.passes);
        mark = watch.last;
    }
    // Alive at the last note: the passes after it are the game's too.
    if (mark.state == GAME_ALIVE) mark.pass = totals.passes;
    game.mark = mark;
    return true;
}

bool continue_begin(const char* data, size_t size, uint64_t pass, char (&error)[REPLAY_ERROR_SIZE]) {
    ReplayTotals totals;
    if (!replay_check(data, size, totals, error)) return false;
    if (pass > totals.passes) {
        replay_shorter_error(totals.passes, pass, error);
        return false;
    }
    Now = Continuing{};
    replay_player_start(Now.player, data, size, error);
    Now.target = pass;
    Now.active = true;
    record_restart(totals.seed);
    continue_step(0);
    return true;
}

bool continue_step(uint32_t max_passes) {
    if (!Now.active) return false;
    for (uint32_t n = 0; n < max_passes && Now.player.result.passes < Now.target; ++n) {
        replay_player_pass(Now.player);
        // The clock stands still while replaying: the record is flushed
        // once, at the hand-over.
        record_pass(Now.player.run.bits, Now.player.run.ticks, 0, Now.player.last);
    }
    if (Now.player.result.passes < Now.target) return true;
    Now.active = false;
    record_flush();
    return false;
}

bool continue_active() {
    return Now.active;
}

uint64_t continue_done() {
    return Now.player.result.passes;
}

uint64_t continue_target() {
    return Now.target;
}
