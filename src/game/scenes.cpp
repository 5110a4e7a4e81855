#include "game/scenes.h"

#include "data/texts.h"
#include "game/game_flow.h"
#include "game/game_state.h"
#include "game/input_bits.h"
#include "game/movement.h"
#include "game/new_game.h"
#include "game/pursuer.h"
#include "game/quest.h"

namespace {

void run_ticks(int32_t n, uint32_t bits) {
    for (int32_t i = 0; i < n; ++i) game_tick(bits);
}

void place_player(int32_t x, int32_t y, int32_t facing) {
    Game.player_x = x;
    Game.player_y = y;
    Game.player_facing = facing;
}

void show_mode(int32_t mode, int32_t ticks) {
    Game.mode = mode;
    Game.mode_ticks = ticks;
}

// A floor of its own, the pursuer far off so that nothing disturbs the picture.
void quiet_floor(int32_t floor) {
    scene_set_floor(floor);
    scene_send_pursuer_away();
}

void set_pursuer_state(int32_t state) { Game.npcs[NPC_PURSUER].npc_state = state; }

// The caught screen a second into it, after a game of final_ticks.
void show_caught(int32_t final_ticks) {
    show_mode(MODE_CAUGHT, 30);
    Game.caught_text = CaughtInTheOpen;
    Game.final_ticks = final_ticks;
}

}  // namespace

void demo_scene_setup(int32_t n) {
    new_game();
    Game.mode = MODE_PLAYING;
    Game.mode_ticks = 0;
    Game.message_ticks = 0;
    Game.call_countdown = 99999;  // no call during a scene

    switch (n) {
    case 0: show_mode(MODE_TITLE, 40); break;
    case 1:
        set_message("SCHNAPP DIR DIE TASCHENLAMPE!", "DANN FINDE DEN TREPPENSCHLÜSSEL.", 120);
        run_ticks(20, 0);
        break;
    case 2:  // the chase in the corridor
        scene_place_player_and_pursuer(24, 15, 18, 15);
        set_pursuer_state(PURSUER_CHASE);
        Game.play_ticks = 900;
        Game.player_facing = FACING_RIGHT;
        run_ticks(6, INPUT_RIGHT);
        pursuer_alert();
        Game.alert_ticks = 20;
        break;
    case 3: show_mode(MODE_CAUGHT_ANIMATION, 12); break;
    case 4: show_caught(4110); break;
    case 5:
        show_mode(MODE_ESCAPED, 120);
        Game.final_ticks = 5550;
        break;
    case 6:  // hidden in a locker while he walks past
        scene_place_player_and_pursuer(6, 14, 40, 15);
        set_pursuer_state(PURSUER_PATROL);
        run_ticks(1, 0);
        run_ticks(1, INPUT_ACTION);
        scene_place_player_and_pursuer(6, 14, 8, 15);
        set_pursuer_state(PURSUER_PATROL);
        Game.npcs[NPC_PURSUER].npc_target = 842;
        run_ticks(1, 0);
        break;
    case 7:  // the last dash to the main entrance
        scene_set_floor(5);
        scene_place_player_and_pursuer(15, 3, 20, 14);
        Game.task = LAST_TASK;
        set_pursuer_state(PURSUER_CHASE);
        Game.play_ticks = 3000;
        run_ticks(4, INPUT_UP);
        break;
    case 8: show_mode(MODE_INTRO, 290); break;
    case 9:  // the art room with Herr Haselbrink
        quiet_floor(2);
        place_player(43008, 39424, FACING_RIGHT);
        scene_place_teacher(14, 7, PHONE_TEACHER_PATROL);
        run_ticks(3, INPUT_RIGHT);
        break;
    case 10:
        quiet_floor(1);
        place_player(83968, 31232, FACING_DOWN);
        run_ticks(1, INPUT_DOWN);
        break;
    case 11:
        quiet_floor(0);
        place_player(92160, 56320, FACING_UP);
        Game.total_ticks = 130;
        run_ticks(1, INPUT_UP);
        break;
    case 12:
        quiet_floor(4);
        place_player(55296, 27136, FACING_DOWN);
        run_ticks(1, INPUT_DOWN);
        break;
    case 13:  // asking Herr Hemmke
        Game.task = 1;
        update_teacher_place();
        quiet_floor(Game.teacher_floor);
        Game.player_facing = FACING_RIGHT;
        Game.player_x = tile_anchor_x(Game.teacher_x) - 20 * FIXED_PIXEL;  // twenty pixels left of him
        Game.player_y = tile_anchor_y(Game.teacher_y);
        run_ticks(1, 0);
        run_ticks(1, INPUT_ACTION);
        break;
    case 14:  // Brazzik holds Herr Mürzel
        scene_place_player_and_pursuer(20, 15, 26, 15);
        set_pursuer_state(PURSUER_CHASE);
        Game.friend_state = FRIEND_BRAWL;
        Game.friend_target = NPC_PURSUER;
        Game.friend_ticks = 60;
        Game.npcs[NPC_PURSUER].npc_stun_ticks = 60;
        scene_place_npc(NPC_FRIEND, 25, 15);
        set_message("RAUFEREI!", "BRAZZIK HÄLT HERRN MÜRZEL AUF!", 90);
        run_ticks(1, 0);
        break;
    case 15:  // the phone rings
        quiet_floor(2);
        place_player(83968, 59904, Game.player_facing);
        scene_place_teacher(30, 15, PHONE_TEACHER_PATROL);
        Game.call_countdown = 1;
        run_ticks(7, 0);
        break;
    case 16:  // the phone is taken
        quiet_floor(2);
        place_player(83968, 59904, Game.player_facing);
        scene_place_teacher(22, 14, PHONE_TEACHER_CONFISCATE);
        Game.has_phone = 0;
        Game.confiscate_ticks = 120;
        set_message("HERR HASELBRINK: HANDY HER!", "UND SCHREIB DEINEN NAMEN AUF.", 120);
        run_ticks(1, 0);
        break;
    case 17:  // down the stairs into the pool floor
        quiet_floor(0);
        change_floor(0, 0);
        Game.total_ticks = 200;
        run_ticks(1, 0);
        break;
    case 18:  // the equipment room with items on the floor
        quiet_floor(1);
        Game.task = 3;
        Game.inventory[ITEM_FLASHLIGHT] = 1;
        scene_set_item(0, 1, 46, 7, ITEM_FUSE);
        scene_set_item(1, 1, 49, 8, ITEM_SNEAKERS);
        scene_set_item(2, 1, 50, 6, ITEM_STICKER);
        scene_set_item(3, 1, 45, 9, ITEM_ENERGY_DRINK);
        place_player(194560, 39424, FACING_UP);
        run_ticks(1, INPUT_UP);
        break;
    case 19:
        scene_send_pursuer_away();
        Game.inventory[ITEM_FLASHLIGHT] = 1;
        place_player(14336, 76800, FACING_DOWN);
        run_ticks(1, INPUT_DOWN);
        run_ticks(1, INPUT_RIGHT);
        break;
    case 20:  // at the piano with all the sheets
        Game.task = 2;
        Game.inventory[ITEM_SHEET_MUSIC] = 4;
        Game.inventory[ITEM_FLASHLIGHT] = 1;
        update_teacher_place();
        quiet_floor(2);
        place_player(10240, 15360, FACING_UP);
        run_ticks(1, INPUT_UP);
        break;
    case 21:  // at the fuse box with all the fuses
        Game.task = 4;
        Game.inventory[ITEM_FUSE] = 3;
        Game.inventory[ITEM_FLASHLIGHT] = 1;
        Game.inventory[ITEM_SNEAKERS] = 1;
        update_teacher_place();
        quiet_floor(1);
        place_player(152576, 56320, FACING_UP);
        run_ticks(1, INPUT_UP);
        break;
    case 22:  // the swimming hall with the schoolyard key at the edge
        Game.task = 6;
        Game.power_on = 1;
        Game.pool_hall_open = 1;
        Game.inventory[ITEM_FLASHLIGHT] = 1;
        Game.inventory[ITEM_STICKER] = 9;
        Game.inventory[ITEM_STINK_BOMB] = 1;
        update_teacher_place();
        quiet_floor(0);
        scene_set_item(0, 0, 30, 10, ITEM_SCHOOLYARD_KEY);
        place_player(112640, 47616, FACING_RIGHT);
        Game.total_ticks = 300;
        run_ticks(1, INPUT_RIGHT);
        break;
    case 23: show_caught(17430); break;
    case 24:
        show_mode(MODE_ESCAPED, 120);
        Game.inventory[ITEM_STICKER] = 14;
        Game.catch_count = 2;
        Game.final_ticks = 30960;
        break;
    case 25:  // the schoolyard with the last code note in reach
        Game.task = 7;
        Game.inventory[ITEM_CODE_NOTE] = 2;
        Game.inventory[ITEM_FLASHLIGHT] = 1;
        Game.inventory[ITEM_SNEAKERS] = 1;
        Game.inventory[ITEM_ENERGY_DRINK] = 2;
        Game.inventory[ITEM_STINK_BOMB] = 1;
        Game.inventory[ITEM_STICKER] = 11;
        update_teacher_place();
        quiet_floor(4);
        scene_set_item(0, 4, 22, 14, ITEM_CODE_NOTE);
        place_player(75776, 59904, FACING_RIGHT);
        run_ticks(1, INPUT_RIGHT);
        break;
    default:
        break;
    }

    snap_camera();
}
