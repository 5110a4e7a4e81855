// What the page's phone parts (web/phone.js) read of the game: it vibrates
// briefly when Herr Mürzel catches the player and when an item is taken.
// Read only: nothing here changes the game.
#include <emscripten.h>

#include <cstdint>

#include "game/game_state.h"

extern "C" {
EMSCRIPTEN_KEEPALIVE int32_t web_catch_count() { return Game.catch_count; }

// Items lying in the world that the player has taken; it falls back when a
// new game starts or the game goes on from the checkpoint.
EMSCRIPTEN_KEEPALIVE int32_t web_items_taken() {
    const int32_t count = Game.item_count < 0 ? 0 : Game.item_count > ITEM_SLOT_COUNT ? ITEM_SLOT_COUNT : Game.item_count;
    int32_t taken = 0;
    for (int32_t i = 0; i < count; ++i) taken += Game.items[i].taken ? 1 : 0;
    return taken;
}
}
