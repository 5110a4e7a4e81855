#include "game/scenes.h"

#include "game/game_state.h"
#include "game/movement.h"
#include "game/new_game.h"

void demo_scene_setup(int32_t n) {
    new_game();
    Game.mode = MODE_PLAYING;
    Game.mode_ticks = 0;
    Game.message_ticks = 0;
    Game.call_countdown = 99999;  // no call during a scene

    switch (n) {
    case 0:
        Game.mode = MODE_TITLE;
        Game.mode_ticks = 40;
        break;
    case 3:
        Game.mode = MODE_CAUGHT_ANIMATION;
        Game.mode_ticks = 12;
        break;
    case 4:
        Game.mode = MODE_CAUGHT;
        Game.mode_ticks = 30;
        Game.caught_text = "UND ZWAR FÜR IMMER.";
        Game.final_ticks = 4110;
        break;
    case 5:
        Game.mode = MODE_ESCAPED;
        Game.mode_ticks = 120;
        Game.final_ticks = 5550;
        break;
    case 8:
        Game.mode = MODE_INTRO;
        Game.mode_ticks = 290;
        break;
    case 23:
        Game.mode = MODE_CAUGHT;
        Game.mode_ticks = 30;
        Game.caught_text = "UND ZWAR FÜR IMMER.";
        Game.final_ticks = 17430;
        break;
    case 24:
        Game.mode = MODE_ESCAPED;
        Game.mode_ticks = 120;
        Game.inventory[ITEM_STICKER] = 14;
        Game.catch_count = 2;
        Game.final_ticks = 30960;
        break;
    default:
        break;
    }

    snap_camera();
}
