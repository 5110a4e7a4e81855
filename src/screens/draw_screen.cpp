#include "screens/draw_screen.h"

#include "game/game_state.h"
#include "screens/end_screens.h"
#include "screens/play_view.h"
#include "screens/title_screens.h"

void draw_screen() {
    switch (Game.mode) {
    case MODE_TITLE: draw_title_screen(); break;
    case MODE_INTRO: draw_intro_screen(); break;
    case MODE_PLAYING: draw_play_view(); break;
    case MODE_CAUGHT_ANIMATION: draw_caught_animation(); break;
    case MODE_CAUGHT: draw_caught_screen(); break;
    case MODE_ESCAPED: draw_escaped_screen(); break;
    default: break;
    }
}
