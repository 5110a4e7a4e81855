#include "game/items.h"

#include "audio/sequencer.h"
#include "data/texts.h"
#include "game/game_state.h"
#include "game/pursuer.h"
#include "game/quest.h"
#include "gfx/text.h"

namespace {

bool is_key(int32_t type) {
    return type == ITEM_STAIR_KEY || type == ITEM_POOL_KEY || type == ITEM_SCHOOLYARD_KEY ||
           type == ITEM_JANITOR_KEY;
}

}  // namespace

void pick_up_item(int32_t slot) {
    ItemSlot& item = Game.items[slot];
    const int32_t type = item.type;
    item.taken = 1;
    Game.inventory[type] += 1;
    const int32_t count = Game.inventory[type];
    play_sound(is_key(type) ? SFX_KEY : SFX_ITEM);

    char first[TEXT_LINE_SIZE] = "";
    char second[TEXT_LINE_SIZE] = "";
    append_text_limited(first, ItemNames[type], 46);
    append_text_limited(second, ItemDescriptions[type], 46);
    switch (type) {
    case ITEM_ENERGY_DRINK:
    case ITEM_STINK_BOMB:
        append_text(first, " (");
        append_number(first, count);
        append_text(first, "X)");
        break;
    case ITEM_STICKER:
        append_text(second, "ST.-IVRA-STICKER ");
        append_number(second, count);
        append_text(second, "/");
        append_number(second, STICKER_TOTAL);
        break;
    case ITEM_SHEET_MUSIC:
    case ITEM_FUSE:
        append_text(second, "SCHON ");
        append_number(second, count);
        append_text(second, " VON ");
        append_number(second, TaskTable[Game.task].count);
        break;
    case ITEM_CODE_NOTE: {
        // The notes give the digits in order, whichever is found first.
        const int32_t n = count < 3 ? count : 3;
        append_text(second, "DARAUF STEHT: ");
        append_number(second, n);
        append_text(second, ". ZIFFER = ");
        append_number(second, Game.code_digits[n - 1]);
        break;
    }
    default:
        break;
    }
    set_message(first, second, 110);
    if (slot == Game.hinted_item) Game.hinted_item = -1;
    check_task_done();
    save_checkpoint();
}

void check_task_done() {
    const TaskRow& task = TaskTable[Game.task];
    if (task.item_type < 0 || Game.inventory[task.item_type] < task.count) return;
    switch (Game.task) {
    case 0:
        unlock_floor(2);
        set_message("DER TREPPENSCHLÜSSEL!", "DAS GITTER ZUR 3. ETAGE IST JETZT OFFEN.", 150);
        break;
    case 1: set_message("ALLE 4 NOTENBLÄTTER!", "JETZT DAS LIED AN EINEM KLAVIER SPIELEN.", 150); break;
    case 3: set_message("ALLE 3 SICHERUNGEN!", "AB ZUM SICHERUNGSKASTEN IM FLUR.", 150); break;
    case 5: set_message("DER BADEMEISTER-SCHLÜSSEL!", "JETZT KOMMST DU IN DIE SCHWIMMHALLE.", 150); break;
    case 6:
        unlock_floor(4);
        set_message("DER SCHULHOF-SCHLÜSSEL!", "DER WEG ZUR 5. ETAGE (SCHULHOF) IST FREI.", 150);
        break;
    case 7: {
        unlock_floor(5);
        char line[TEXT_LINE_SIZE] = "DER CODE IST ";
        for (int i = 0; i < 3; ++i) append_number(line, Game.code_digits[i]);
        append_text(line, "! KLICK.");
        set_message(line, "DAS TREPPENHAUS ZUR 6. ETAGE IST OFFEN.", 150);
        break;
    }
    case 8:
        pursuer_alarm(ALARM_JANITOR_KEY);
        set_message("DER HAUSMEISTERSCHLÜSSEL!", "JETZT RAUS DURCH DEN HAUPTEINGANG!", 150);
        break;
    default:
        break;
    }
    advance_task();
}
