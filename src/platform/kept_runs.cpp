#include "platform/kept_runs.h"

#include <cstdio>
#include <cstring>

#include "data/text_writer.h"
#include "game/game_state.h"
#include "platform/keep.h"
#include "platform/replay.h"

uint32_t ContinueKeyEnabled = 0;

namespace {

char KeptNames[KEPT_RUNS][KEEP_PATH_SIZE];
// The last game kept by an earlier run, and the slot it is in (-1: none).
int KeptSlot = -1;
GameMark KeptGame{};

// The text a game is continued from, copied or read here: continuing needs
// it until the hand-over.
char ContinueText[REPLAY_MAX_BYTES];
size_t ContinueSize = 0;

enum Request { ASK_NONE, ASK_OFFER, ASK_TEXT };
Request Asked = ASK_NONE;
uint64_t AskedPass = 0;
const char* AskedName = nullptr;

enum ReadResult { READ_GOOD, READ_MISSING, READ_FAILED, READ_TOO_LARGE };

// The whole file into ContinueText, never more than a record may hold.
ReadResult read_record(const char* name) {
    ContinueSize = 0;
    std::FILE* f = std::fopen(name, "rb");
    if (!f) return READ_MISSING;
    size_t n;
    while ((n = std::fread(ContinueText + ContinueSize, 1, sizeof ContinueText - ContinueSize, f)) > 0) {
        ContinueSize += n;
        if (ContinueSize == sizeof ContinueText) break;
    }
    // One byte more would make it larger than any record.
    char extra;
    const bool too_large = ContinueSize == sizeof ContinueText && std::fread(&extra, 1, 1, f) == 1;
    const bool failed = std::ferror(f) != 0;
    std::fclose(f);
    if (too_large) return READ_TOO_LARGE;
    if (failed) return READ_FAILED;
    // A run cut off by a crash may end in the middle of a line: the whole
    // lines before it are the game as far as it was kept.
    while (ContinueSize > 0 && ContinueText[ContinueSize - 1] != '\n') ContinueSize -= 1;
    return READ_GOOD;
}

// Reads a record and finds its last game; false (with the reason in error)
// when it cannot be read or is no record.
bool read_game(const char* name, bool may_replay, RecordGame& game, ReadResult& result,
               char (&error)[REPLAY_ERROR_SIZE]) {
    result = read_record(name);
    if (result == READ_TOO_LARGE) replay_size_error(error);
    if (result == READ_FAILED) std::strcpy(error, "it cannot be read");
    if (result != READ_GOOD) return false;
    return record_find_last_game(ContinueText, ContinueSize, may_replay, game, error);
}

void slot_name(char (&out)[KEEP_PATH_SIZE], const char* folder, int slot) {
    std::snprintf(out, sizeof out, "%slauf_%d.txt", folder, slot);
}

}  // namespace

const char* kept_runs_open(const char* folder) {
    kept_runs_reset();
    if (std::strlen(folder) + 16 > KEEP_PATH_SIZE) {
        std::fprintf(stderr, "stivra: the folder for kept games is too long a path; games are not kept\n");
        return nullptr;
    }
    for (int i = 0; i < KEPT_RUNS; ++i) slot_name(KeptNames[i], folder, i);

    // The newest kept game, looking from the newest run back.
    bool newest_reusable = false;
    for (int i = 0; i < KEPT_RUNS && KeptSlot < 0; ++i) {
        RecordGame game;
        ReadResult result;
        char error[REPLAY_ERROR_SIZE] = "";
        if (!read_game(KeptNames[i], false, game, result, error)) {
            if (result != READ_MISSING)
                std::fprintf(stderr, "stivra: the kept game %s is damaged (%s); it is left as it is\n",
                             KeptNames[i], error);
            continue;
        }
        if (game.mark.state == GAME_NONE) {
            if (i == 0) newest_reusable = true;
            continue;
        }
        KeptSlot = i;
        KeptGame = game.mark;
    }

    // Room for this run in lauf_0.txt; a newest run without a game is no loss.
    std::FILE* probe = std::fopen(KeptNames[0], "rb");
    if (probe) {
        std::fclose(probe);
        if (!newest_reusable) {
            std::remove(KeptNames[KEPT_RUNS - 1]);
            for (int i = KEPT_RUNS - 2; i >= 0; --i) std::rename(KeptNames[i], KeptNames[i + 1]);
            if (KeptSlot >= 0) KeptSlot += 1;
            if (KeptSlot >= KEPT_RUNS) KeptSlot = -1;
        }
    }
    return KeptNames[0];
}

void kept_runs_reset() {
    KeptSlot = -1;
    KeptGame = GameMark{};
    Asked = ASK_NONE;
}

bool continue_offer(GameMark& mark) {
    const GameMark& own = record_last_game();
    if (recording() && own.state != GAME_NONE) mark = own;
    else if (KeptSlot >= 0) mark = KeptGame;
    else return false;
    return mark.state != GAME_WON;
}

bool continue_offer_line(char (&out)[64]) {
    GameMark mark;
    if (!continue_offer(mark)) return false;
    const uint32_t seconds = static_cast<uint32_t>(mark.play_ticks) / 30;
    TextWriter w(out, sizeof out);
    w.text("C = WEITERSPIELEN: ");
    w.number(static_cast<uint32_t>(mark.floor));
    w.text(". ETAGE, AUFGABE ");
    w.number(static_cast<uint32_t>(mark.task));
    w.text("/10, ");
    w.number(seconds / 60);
    w.text(":");
    w.number(seconds % 60, 2);
    return true;
}

void continue_ask() {
    Asked = ASK_OFFER;
}

bool continue_file(const char* name, uint32_t seed) {
    RecordGame game;
    ReadResult result;
    char error[REPLAY_ERROR_SIZE] = "";
    const bool read = read_game(name, true, game, result, error);
    // Finding the game may have replayed the record: the run starts afresh.
    replay_start(seed);
    if (!read) {
        std::fprintf(stderr, "stivra: cannot continue %s: %s\n", name,
                     result == READ_MISSING ? "it cannot be opened" : error);
        return false;
    }
    if (game.mark.state == GAME_NONE) {
        std::fprintf(stderr, "stivra: %s holds no game to continue; a new one starts\n", name);
        return false;
    }
    Asked = ASK_TEXT;
    AskedPass = game.mark.pass;
    AskedName = name;
    return true;
}

bool continue_take_request() {
    const Request asked = Asked;
    Asked = ASK_NONE;
    char error[REPLAY_ERROR_SIZE] = "";
    const char* name = AskedName;
    uint64_t pass = AskedPass;
    if (asked == ASK_NONE) return false;
    if (asked == ASK_OFFER) {
        GameMark mark;
        if (!continue_offer(mark)) return false;
        const GameMark& own = record_last_game();
        if (recording() && own.state != GAME_NONE) {
            size_t size = 0;
            const char* text = record_text(size);
            if (!text) {
                std::fprintf(stderr, "stivra: cannot continue: this run's record outgrew %u bytes\n",
                             static_cast<unsigned>(REPLAY_MAX_BYTES));
                return false;
            }
            std::memcpy(ContinueText, text, size);
            ContinueSize = size;
            pass = own.pass;
            name = "this run's game";
        } else {
            name = KeptNames[KeptSlot];
            RecordGame game;
            ReadResult result;
            if (!read_game(name, false, game, result, error) || game.mark.state == GAME_NONE) {
                std::fprintf(stderr, "stivra: cannot continue the kept game %s: %s\n", name,
                             error[0] ? error : "it holds no game any more");
                KeptSlot = -1;
                return false;
            }
            pass = game.mark.pass;
        }
    }
    if (!continue_begin(ContinueText, ContinueSize, pass, error)) {
        std::fprintf(stderr, "stivra: cannot continue %s: %s\n", name, error);
        return false;
    }
    return true;
}
