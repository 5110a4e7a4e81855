// Entry of the browser build. The page's address stands in for the command
// line: ?seed=N acts like STIVRA_SEED, ?autoplay=1 like -autoplay FILE
// (?replay=URL is the page's: page.js loads the file for web_replay.cpp). The
// browser then calls one main-loop pass per animation frame; a hidden tab
// gets no frames, and the loop's catch-up limit drops what it missed.
//
// The page records every run it plays, from program start, as the game's
// STIVRA_RECORD does, into a file of its in-memory file system: what the page
// played can be replayed on any build to the same end.
#include <emscripten.h>

#include <cstdlib>

#include "game/game_flow.h"
#include "game/game_state.h"
#include "platform/input.h"
#include "platform/main_loop.h"
#include "platform/platform.h"
#include "platform/replay.h"
#include "platform/seed.h"
#include "platform/web/web_page.h"

// The value of a query parameter of the page's address. Returns its length
// in bytes (written to out, cut to fit size) or -1 when it is absent.
EM_JS(int, page_query, (const char* name, char* out, int size), {
    const value = new URLSearchParams(location.search).get(UTF8ToString(name));
    if (value === null) return -1;
    stringToUTF8(value, out, size);
    return lengthBytesUTF8(value);
});
// Milliseconds of the wall clock, the seed when none is given: the time
// since the page opened would give nearly the same seed every time.
EM_JS(uint32_t, page_wall_clock_ms, (), { return Date.now() >>> 0; });
EM_JS(void, page_game_started, (), { StivraPage.gameStarted(); });
// The loop has ended (BACK on the title, or the autoplay run is over).
EM_JS(void, page_game_stopped, (const char* autoplay_file), {
    let shot = null;
    if (autoplay_file) {
        try {
            shot = FS.readFile(UTF8ToString(autoplay_file));
        } catch (e) {
            shot = null;
        }
    }
    StivraPage.gameStopped(autoplay_file !== 0, shot);
});
// Hands the page the record so far: the file's bytes and, while the run goes
// on, the closing line it would end with now (empty once it has ended).
EM_JS(void, page_take_record, (const char* file, const char* end_line), {
    let bytes;
    try {
        bytes = FS.readFile(UTF8ToString(file));
    } catch (e) {
        bytes = new Uint8Array(0);
    }
    StivraPage.recordTaken(bytes, UTF8ToString(end_line));
});

namespace {

LoopClock Clock;
char SeedText[64];
char AutoplayFlag[4];
bool LoopRunning = false;

void run_one_pass() {
    if (web_replay_owns_loop()) {
        web_replay_frame();
        return;
    }
    main_loop_pass(Clock);
    if (RunningFlag) return;
    LoopRunning = false;
    emscripten_cancel_main_loop();
    platform_close_window();
    record_close();
    page_game_stopped(AutoplayFile);
}

}  // namespace

void web_record_start(uint32_t seed) {
    record_open(WEB_RECORD_FILE, seed);
}

void web_loop_ensure_running() {
    if (LoopRunning) return;
    RunningFlag = 1;
    audio_open();
    platform_open_window();
    main_loop_start(Clock);
    LoopRunning = true;
    page_game_started();
    emscripten_set_main_loop(run_one_pass, 0, 0);
}

void web_live_resume() {
    input_clear();
    main_loop_start(Clock);
}

// Called by the page's buttons, its resize handler and the browser test.
extern "C" {
EMSCRIPTEN_KEEPALIVE void web_screenshot() { web_take_screenshot(); }
EMSCRIPTEN_KEEPALIVE void web_relayout() { web_layout(); }
EMSCRIPTEN_KEEPALIVE int32_t web_game_mode() { return Game.mode; }
EMSCRIPTEN_KEEPALIVE int32_t web_total_ticks() { return Game.total_ticks; }
EMSCRIPTEN_KEEPALIVE int32_t web_player_x() { return Game.player_x; }
EMSCRIPTEN_KEEPALIVE int32_t web_player_y() { return Game.player_y; }
// Screenshots go on counting from where the page's last visit stopped.
EMSCRIPTEN_KEEPALIVE void web_set_screenshot_counter(uint32_t counter) {
    ScreenshotCounter = counter % 100;
}
EMSCRIPTEN_KEEPALIVE void web_record_take() {
    char end_line[RECORD_END_LINE_SIZE] = "";
    if (record_flush()) record_end_line(end_line);
    page_take_record(WEB_RECORD_FILE, end_line);
}
}

int main() {
    // A seed that does not fit the buffer is no decimal 32-bit seed the
    // page would want; it is left out like any other unusable STIVRA_SEED.
    const int seed_length = page_query("seed", SeedText, sizeof SeedText);
    if (seed_length >= 0 && seed_length < static_cast<int>(sizeof SeedText))
        setenv("STIVRA_SEED", SeedText, 1);
    const int autoplay_length = page_query("autoplay", AutoplayFlag, sizeof AutoplayFlag);

    const uint32_t seed = startup_seed(page_wall_clock_ms());
    program_init(seed);
    web_record_start(seed);
    if (autoplay_length == 1 && AutoplayFlag[0] == '1') AutoplayFile = "autoplay.bmp";

    web_loop_ensure_running();
    return 0;
}
