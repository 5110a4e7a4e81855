// What the page keeps of each game: the game's watch as the record notes it
// (game_watch.h), handed to the page on request. The page keeps its games in
// the browser's storage itself, so the desktop game's folder is none here.
#include <emscripten.h>

#include "platform/platform.h"
#include "platform/replay.h"

EM_JS(void, page_keep_mark,
      (double game, const char* state, double pass, int floor, int task, int stickers, int catches,
       int play_ticks, int won_ticks, uint32_t seed),
      {
          StivraPage.keepMark({
              games : game,
              state : UTF8ToString(state),
              pass : pass,
              floor : floor,
              task : task,
              stickers : stickers,
              catches : catches,
              playTicks : play_ticks,
              wonTicks : won_ticks,
              seed : seed >>> 0
          });
      });

bool platform_keep_folder(char* out, int) {
    out[0] = 0;
    return false;
}

extern "C" EMSCRIPTEN_KEEPALIVE void web_keep_poll() {
    static const char* const States[] = {"none", "alive", "given-up", "won"};
    const GameMark& m = record_last_game();
    const bool won = m.state == GAME_WON;
    page_keep_mark(static_cast<double>(m.game), States[m.state >= 0 && m.state <= GAME_WON ? m.state : 0],
                   static_cast<double>(m.pass), m.floor, m.task, m.stickers, m.catches, m.play_ticks,
                   won ? m.play_ticks : 0, record_seed());
}
