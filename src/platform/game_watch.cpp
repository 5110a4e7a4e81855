#include "platform/game_watch.h"

#include <cstring>

#include "data/text_reader.h"
#include "data/text_writer.h"

#include "game/game_state.h"

namespace {

// The game as it stands after a pass.
GameMark mark_now(uint32_t game, uint64_t pass) {
    GameMark m{};
    m.game = game;
    m.state = GAME_ALIVE;
    m.pass = pass;
    m.floor = Game.current_floor + 1;
    m.task = Game.task + 1;
    m.stickers = Game.inventory[ITEM_STICKER];
    m.catches = Game.catch_count;
    m.play_ticks = Game.play_ticks;
    return m;
}

// Play time worth a new note even when nothing else changed: a record cut
// off by a crash then still tells the play time to the minute.
constexpr int32_t NOTE_PLAY_TICKS = 30 * 60;

bool worth_noting(const GameMark& now, const GameMark& noted) {
    return now.game != noted.game || now.state != noted.state || now.floor != noted.floor ||
           now.task != noted.task || now.stickers != noted.stickers || now.catches != noted.catches ||
           static_cast<uint32_t>(now.play_ticks) - static_cast<uint32_t>(noted.play_ticks) >=
               static_cast<uint32_t>(NOTE_PLAY_TICKS);
}

const char* const StateWords[] = {"none", "alive", "given up", "won"};

struct Cursor : TextCursor {
    bool field(const char* name, int32_t& v, int32_t low, int32_t high) {
        uint64_t n = 0;
        if (!word(name) || !word(" ") || !number(n, static_cast<uint64_t>(high)) ||
            n < static_cast<uint64_t>(low))
            return false;
        v = static_cast<int32_t>(n);
        return true;
    }
};

}  // namespace

void game_watch_reset(GameWatch& watch) {
    watch = GameWatch{};
    watch.mode = Game.mode;
}

bool game_watch_pass(GameWatch& watch, uint64_t pass) {
    const int32_t before = watch.mode;
    const int32_t now = Game.mode;
    watch.mode = now;
    GameMark& last = watch.last;
    if (before == MODE_TITLE && now != MODE_TITLE) {
        last = mark_now(last.game + 1, pass);
    } else if (last.state == GAME_ALIVE) {
        if (now == MODE_TITLE) {
            // The BACK pass itself is no part of the game: last still holds
            // the pass before it.
            last.state = GAME_GIVEN_UP;
        } else if (now == MODE_ESCAPED) {
            last.state = GAME_WON;
            last.play_ticks = Game.final_ticks;
        } else {
            last = mark_now(last.game, pass);
        }
    } else {
        return false;
    }
    if (!worth_noting(last, watch.noted)) return false;
    watch.noted = last;
    return true;
}

int game_mark_format(const GameMark& mark, char (&out)[GAME_MARK_LINE_SIZE]) {
    TextWriter w(out, sizeof out);
    w.text("# game ");
    w.number(mark.game);
    w.text(" ");
    w.text(StateWords[mark.state >= 0 && mark.state <= GAME_WON ? mark.state : 0]);
    w.text(": pass ");
    w.number(mark.pass);
    w.text(", floor ");
    w.number(static_cast<uint32_t>(mark.floor));
    w.text(", task ");
    w.number(static_cast<uint32_t>(mark.task));
    w.text(", stickers ");
    w.number(static_cast<uint32_t>(mark.stickers));
    w.text(", catches ");
    w.number(static_cast<uint32_t>(mark.catches));
    w.text(", play ");
    w.number(static_cast<uint32_t>(mark.play_ticks));
    w.text("\n");
    return static_cast<int>(w.used);
}

bool game_mark_parse(const char* line, size_t size, GameMark& mark) {
    Cursor c{{line, line + size}};
    GameMark m{};
    uint64_t n = 0;
    if (!c.word("# game ") || !c.number(n, 0xFFFFFFFFu) || n == 0 || !c.word(" ")) return false;
    m.game = static_cast<uint32_t>(n);
    m.state = GAME_NONE;
    for (int32_t s = GAME_ALIVE; s <= GAME_WON; ++s) {
        Cursor at = c;
        if (at.word(StateWords[s]) && at.word(": ")) {
            m.state = s;
            c = at;
            break;
        }
    }
    if (m.state == GAME_NONE) return false;
    constexpr int32_t MAX = 0x7FFFFFFF;
    if (!c.word("pass ") || !c.number(m.pass, UINT64_MAX / 10) || m.pass == 0) return false;
    if (!c.word(", ") || !c.field("floor", m.floor, 1, 6)) return false;
    if (!c.word(", ") || !c.field("task", m.task, 1, 10)) return false;
    if (!c.word(", ") || !c.field("stickers", m.stickers, 0, MAX)) return false;
    if (!c.word(", ") || !c.field("catches", m.catches, 0, MAX)) return false;
    if (!c.word(", ") || !c.field("play", m.play_ticks, 0, MAX)) return false;
    // A line may end in a carriage return, as a record edited on Windows does.
    if (c.p != c.end && !(c.end - c.p == 1 && *c.p == '\r')) return false;
    mark = m;
    return true;
}
