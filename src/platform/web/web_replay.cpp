// Recorded runs played in the page. page.js hands over the text of a file
// (?replay=URL, the file picker or a dropped file); the reader checks it
// whole, and the run is then replayed pass by pass from program
// initialisation with its seed, exactly as `stivra-tool replay` does, while
// the canvas shows it: at the recording's own pace, or as fast as the
// machine goes. At the end the page learns the mode, task and GameState
// hash, and the last frame stays until the player takes over.
#include <emscripten.h>

#include "platform/keep.h"
#include "platform/main_loop.h"
#include "platform/pause.h"
#include "platform/platform.h"
#include "platform/replay.h"
#include "platform/web/web_page.h"

// The bytes page.js holds for the replay to load (no more than the size it
// told web_replay_load, which checked that they fit).
EM_JS(void, page_replay_copy, (char* out), { HEAPU8.set(StivraPage.replayBytes(), out); });
// Counts as doubles: JavaScript numbers hold them exactly up to 2^53.
EM_JS(void, page_replay_started, (uint32_t seed, double total_passes), {
    StivraPage.replayStarted(seed >>> 0, total_passes);
});
EM_JS(void, page_replay_progress, (double passes), { StivraPage.replayProgress(passes); });
EM_JS(void, page_replay_ended,
      (double passes, double ticks, int mode, int task, int catches, int quit, const char* hash,
       const char* states, const char* frames), {
          StivraPage.replayEnded({
              passes : passes,
              ticks : ticks,
              mode : mode,
              task : task,
              catches : catches,
              quit : quit !== 0,
              hash : UTF8ToString(hash),
              states : UTF8ToString(states),
              frames : UTF8ToString(frames)
          });
      });
EM_JS(void, page_replay_taken_over, (int finished), { StivraPage.replayTakenOver(finished !== 0); });
EM_JS(void, page_continue_started, (uint32_t seed, double pass), { StivraPage.continueStarted(seed >>> 0, pass); });
EM_JS(void, page_continue_progress, (double passes), { StivraPage.continueProgress(passes); });
EM_JS(void, page_continue_handed_over, (), { StivraPage.continueHandedOver(); });
// A refusal of the reader as the page takes it: its code and arguments,
// which the page says in German, and the English line the tools print.
EM_JS(void, page_refused,
      (int to, const char* code, double line, double n0, double n1, const char* what, const char* field,
       const char* text),
      {
          const refusal = {
              code : UTF8ToString(code),
              line : line,
              numbers : [ n0, n1 ],
              what : UTF8ToString(what),
              field : UTF8ToString(field),
              text : UTF8ToString(text)
          };
          if (to === 0) StivraPage.replayFailed(refusal);
          else if (to === 1) StivraPage.continueFailed(refusal);
          else StivraPage.recordRefused(refusal);
      });

namespace {

enum RefusalTo { TO_REPLAY = 0, TO_CONTINUE = 1, TO_RECORD_CHECK = 2 };

// The reader's last refusal, and its line, to the page.
void tell_refused(RefusalTo to, const char (&error)[REPLAY_ERROR_SIZE]) {
    const ReplayRefusal& r = replay_refusal();
    page_refused(to, ReplayRefusalNames[r.code], static_cast<double>(r.line), static_cast<double>(r.numbers[0]),
                 static_cast<double>(r.numbers[1]), ReplayFieldNames[r.what], r.field, error);
}

// Recorded runs are a few kilobytes a minute of play; two texts fit, so that
// a new file can be checked while another one plays, which a bad file must
// not disturb.
constexpr uint32_t TEXT_CAPACITY = REPLAY_MAX_BYTES;
char Texts[2][TEXT_CAPACITY];
int PlayingText = 0;

enum ReplayPhase { REPLAY_NONE, REPLAY_PLAYING, REPLAY_ENDED, REPLAY_CONTINUING };
ReplayPhase Phase = REPLAY_NONE;
ReplayPlayer Player;
bool Fast = false;
// The recording's pace: Ticks replayed so far against the page's clock, with
// the main loop's due-Tick arithmetic.
LoopClock PaceClock;

// Fast replays run passes for this long per animation frame, then show one
// picture, so that the page keeps answering.
constexpr double FAST_FRAME_MS = 30.0;
// At the recording's pace, as in the main loop: after a stall at most this
// many passes run, and the clock drops the rest.
constexpr uint32_t PACED_PASSES_MAX = 4;

bool play_pass() {
    if (!replay_player_pass(Player)) return false;
    PaceClock.ticks += Player.run.ticks;
    // The page's record follows the replay, so that a run the player takes
    // over is kept whole, from its start.
    record_pass(Player.run.bits, Player.run.ticks, loop_time_ms(), Player.last);
    return true;
}

// A game being continued replays for this long per animation frame.
constexpr double CONTINUE_FRAME_MS = 40.0;

// The next slice of a game being continued; at its hand-over pass the
// player takes over, paused.
void continue_frame() {
    const double start = emscripten_get_now();
    while (continue_step(16) && emscripten_get_now() - start < CONTINUE_FRAME_MS) {
    }
    platform_present();
    if (continue_active()) {
        page_continue_progress(static_cast<double>(continue_done()));
        return;
    }
    Phase = REPLAY_NONE;
    AutoplayFile = nullptr;
    web_live_resume();
    set_paused(true);
    web_tell_page_pause_and_mute();
    page_continue_handed_over();
}

// The bytes page.js holds, copied into the text not in use; false (and
// nothing copied) when they cannot fit.
bool copy_page_text(uint32_t size, char*& text) {
    if (size > TEXT_CAPACITY) return false;
    text = Texts[1 - PlayingText];
    page_replay_copy(text);
    return true;
}

void end_replay() {
    replay_player_end(Player);
    Phase = REPLAY_ENDED;
    const ReplayResult& r = Player.result;
    char hash[17], states[17], frames[17];
    format_hash(r.hash, hash);
    format_hash(r.chains.states, states);
    format_hash(r.chains.frames, frames);
    page_replay_ended(static_cast<double>(r.passes), static_cast<double>(r.ticks), r.mode, r.task,
                      r.catches, r.quit ? 1 : 0, hash, states, frames);
}

}  // namespace

extern "C" {

EMSCRIPTEN_KEEPALIVE uint32_t web_replay_capacity() {
    return TEXT_CAPACITY;
}

// Plays the size bytes that page.js holds. A bad text is reported in the
// reader's one line and changes nothing: the game, or the replay that is
// playing, goes on as it was.
EMSCRIPTEN_KEEPALIVE int web_replay_load(uint32_t size, int fast) {
    if (size > TEXT_CAPACITY) {
        char error[REPLAY_ERROR_SIZE];
        replay_size_error(error);
        tell_refused(TO_REPLAY, error);
        return 0;
    }
    char* text = Texts[1 - PlayingText];
    page_replay_copy(text);
    char error[REPLAY_ERROR_SIZE];
    ReplayPlayer next;
    if (!replay_player_start(next, text, size, error)) {
        tell_refused(TO_REPLAY, error);
        return 0;
    }
    Player = next;
    PlayingText = 1 - PlayingText;
    web_record_start(Player.result.seed);
    Phase = REPLAY_PLAYING;
    Fast = fast != 0;
    main_loop_start(PaceClock);
    // The smoke run's script would take over the input once the player does.
    AutoplayFile = nullptr;
    web_loop_ensure_running();
    page_replay_started(Player.result.seed, static_cast<double>(Player.total_passes));
    return 1;
}

EMSCRIPTEN_KEEPALIVE void web_replay_fast(int fast) {
    if (Fast && !fast) PaceClock.base = loop_time_ms() - tick_due_ms(PaceClock.ticks);
    Fast = fast != 0;
}

// Continues the game of the record page.js holds (its whole program run) up
// to its hand-over pass `pass`. A bad text, or one shorter than `pass`,
// changes nothing.
EMSCRIPTEN_KEEPALIVE int web_continue_load(uint32_t size, double pass) {
    char error[REPLAY_ERROR_SIZE];
    char* text = nullptr;
    if (!copy_page_text(size, text)) {
        replay_size_error(error);
        tell_refused(TO_CONTINUE, error);
        return 0;
    }
    // A pass number beyond any record's (a day of play) stays beyond it.
    const uint64_t target = pass >= 0 && pass < 1e15 ? static_cast<uint64_t>(pass) : UINT64_MAX;
    if (!continue_begin(text, size, target, error)) {
        tell_refused(TO_CONTINUE, error);
        return 0;
    }
    PlayingText = 1 - PlayingText;
    Phase = REPLAY_CONTINUING;
    AutoplayFile = nullptr;
    web_loop_ensure_running();
    page_continue_started(record_seed(), static_cast<double>(target));
    return 1;
}

// Checks the record page.js holds with the reader, replaying nothing.
EMSCRIPTEN_KEEPALIVE int web_record_check(uint32_t size) {
    char error[REPLAY_ERROR_SIZE];
    char* text = nullptr;
    ReplayTotals totals;
    if (!copy_page_text(size, text)) {
        replay_size_error(error);
        tell_refused(TO_RECORD_CHECK, error);
        return 0;
    }
    if (!replay_check(text, size, totals, error)) {
        tell_refused(TO_RECORD_CHECK, error);
        return 0;
    }
    return 1;
}

// The player takes over, during the replay or after it: the game goes on
// from where it stands, with the keyboard.
EMSCRIPTEN_KEEPALIVE void web_replay_take_over() {
    if (Phase == REPLAY_NONE || Phase == REPLAY_CONTINUING) return;
    const bool finished = Phase == REPLAY_ENDED;
    Phase = REPLAY_NONE;
    web_live_resume();
    page_replay_taken_over(finished ? 1 : 0);
}

}  // extern "C"

bool web_replay_owns_loop() {
    return Phase != REPLAY_NONE;
}

void web_replay_frame() {
    if (Phase == REPLAY_CONTINUING) {
        continue_frame();
        return;
    }
    if (Phase != REPLAY_PLAYING) return;  // an ended replay keeps its last frame
    // Paused, the replay stands still with its pace clock, like the game.
    if (Paused) {
        audio_refill();
        return;
    }
    bool ran = false;
    bool more = true;
    if (Fast) {
        // Sound would be a jumble of songs: the page's ring runs dry instead.
        const double start = emscripten_get_now();
        while ((more = play_pass())) {
            ran = true;
            if (emscripten_get_now() - start >= FAST_FRAME_MS) break;
        }
    } else {
        const uint32_t now = loop_time_ms();
        uint32_t n = 0;
        while (n < PACED_PASSES_MAX && tick_is_due(PaceClock, now) && (more = play_pass())) n += 1;
        if (n == PACED_PASSES_MAX) PaceClock.base = now - tick_due_ms(PaceClock.ticks);
        audio_refill();
        ran = n > 0;
    }
    // Every pass drew its frame (drawing is part of the run); the canvas
    // shows the last one.
    if (ran) platform_present();
    if (!more) end_replay();
    else if (ran) page_replay_progress(static_cast<double>(Player.result.passes));
}
