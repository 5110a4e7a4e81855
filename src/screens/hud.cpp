#include "screens/hud.h"

#include "data/sprite_rows.h"
#include "game/character_table.h"
#include "game/game_state.h"
#include "game/interactions.h"
#include "game/quest.h"
#include "gfx/draw.h"
#include "gfx/font.h"
#include "gfx/framebuffer.h"
#include "gfx/text.h"
#include "screens/play_view.h"
#include "world/rooms.h"

const char* const PromptHidden = "VERSTECKT  -  E = RAUS";
const char* const PromptTeacher = "E = MIT HERRN HEMMKE REDEN";
const char* const PromptPiano = "E = DAS LIED SPIELEN";
const char* const PromptFuseBox = "E = SICHERUNGEN EINSETZEN";

namespace {

constexpr int32_t RIGHT_EDGE = 317;  // a right-aligned text ends on column 315

void icon(int32_t x, int32_t y, int32_t first_row) {
    blit_pattern(Framebuffer, SCREEN_W, SCREEN_H, x, y, first_row, 8, 8, 0, 1, 1);
}

void shadowed(int32_t x, int32_t y, const char* text, int32_t colour) {
    draw_text_shadowed(x, y, text, colour, 1, 1);
}

void right_aligned(int32_t y, const char* text, int32_t colour) {
    const int32_t n = text_length(text);
    shadowed(n == 0 ? RIGHT_EDGE - 1 : RIGHT_EDGE - 6 * n, y, text, colour);
}

bool blink_on() { return ((Game.total_ticks / 4) & 1) == 0; }

void draw_objectives() {
    const TaskRow& task = TaskTable[Game.task];
    int32_t x = 4;
    if (task.item_type >= 0) {
        icon(4, 3, ItemIconTable[task.item_type].first_row);
        x = 14;
    }
    shadowed(x, 4, objective_line(), 15);
    const char* hint = objective_hint_line();
    if (hint[0]) shadowed(x, 13, hint, 5);
}

void draw_floor_label() {
    char label[TEXT_LINE_SIZE] = "";
    append_number(label, Game.current_floor + 1);
    append_text(label, ". ETAGE");
    right_aligned(4, label, FloorStyle[Game.current_floor].base_colour);
    right_aligned(13, "8,00 M", 3);
}

void draw_inventory() {
    int32_t x = 98;
    if (Game.inventory[ITEM_FLASHLIGHT] >= 1) {
        icon(x, 190, ItemIconTable[ITEM_FLASHLIGHT].first_row);
        x += 11;
    }
    if (Game.inventory[ITEM_SNEAKERS] >= 1) {
        icon(x, 190, ItemIconTable[ITEM_SNEAKERS].first_row);
        x += 11;
    }
    if (Game.inventory[ITEM_ENERGY_DRINK] > 0) {
        draw_item_count(x, ITEM_ENERGY_DRINK);
        x += 19;
    }
    if (Game.inventory[ITEM_STINK_BOMB] > 0) {
        draw_item_count(x, ITEM_STINK_BOMB);
        x += 19;
    }
    icon(x, 190, ItemIconTable[ITEM_STICKER].first_row);
    char count[TEXT_LINE_SIZE] = "";
    append_number(count, Game.inventory[ITEM_STICKER]);
    append_text(count, "/18");
    shadowed(x + 10, 191, count, 15);
}

void draw_stamina() {
    if (Game.drink_ticks > 0 && blink_on()) shadowed(60, 182, "BOOST!", 14);
    fill_screen_rect(4, 192, 52, 5, 1);
    int32_t w = Game.stamina * 50 / PlayerBreath.most + 5;
    if (w > 320) w = 320;
    if (w > 5) fill_screen_rect(5, 193, w - 5, 3, Game.exhausted ? 11 : 14);
    shadowed(60, 191, "PUSTE", 4);
}

void draw_phone_status() {
    if (!Game.has_phone) {
        shadowed(250, 191, "KEIN HANDY", 3);
        return;
    }
    icon(250, 189, SPRITE_PHONE);
    if (Game.ring_ticks > 0) {
        if (blink_on()) shadowed(261, 191, "KLINGELT!", 12);
    } else if (Game.friend_state != FRIEND_ABSENT) {
        shadowed(261, 191, "BRAZZIK", 14);
    } else if (Game.call_cooldown <= 0) {
        shadowed(261, 191, "BEREIT", 14);
    } else {
        char seconds[TEXT_LINE_SIZE] = "";
        append_number(seconds, Game.call_cooldown / 30 + 1);
        append_text(seconds, " S");
        shadowed(261, 191, seconds, 4);
    }
}

// At most one prompt; the teacher, piano and fuse-box prompts give way to a
// message and end the HUD.
bool draw_prompt() {
    if (Game.confiscate_ticks > 0) {
        char line[TEXT_LINE_SIZE] = "NAME AUFSCHREIBEN... ";
        append_number(line, Game.confiscate_ticks / 30 + 1);
        draw_text_centred(140, line, 15, 1);
        return true;
    }
    if (Game.message_ticks != 0) return true;
    // The prompt names what ACTION does out in the open, as the Tick saw it
    // before the move; the piano and the fuse box only while they are the
    // task. In a locker the hiding hint above says what E does there, and
    // the prompt of the place is drawn as it would be outside.
    switch (action_kind_of(false, Game.near_teacher != 0, Game.prompt_kind)) {
    case ACTION_TALK: draw_text_centred(156, PromptTeacher, 5, 1); return false;
    case ACTION_PIANO:
        if (Game.task != TASK_PIANO) return true;
        draw_text_centred(156, PromptPiano, 15, 1);
        return false;
    case ACTION_FUSE_BOX:
        if (Game.task != TASK_FUSE_BOX) return true;
        draw_text_centred(156, PromptFuseBox, 15, 1);
        return false;
    case ACTION_LOCKER: return true;
    }
    return true;
}

void draw_message_box() {
    if (Game.message_ticks <= 0) return;
    const char* first = Game.message_line1;
    const char* second = Game.message_line2;
    if (second[0]) {
        const int32_t w1 = text_width(first, 1), w2 = text_width(second, 1);
        const int32_t w = w1 > w2 ? w1 : w2;
        fill_screen_rect((320 - w) / 2 - 3, 164, w + 6, 22, 1);
        draw_text_centred(177, second, 6, 1);
        draw_text_centred(166, first, 6, 1);
    } else {
        const int32_t w = text_width(first, 1);
        fill_screen_rect((320 - w) / 2 - 3, 177, w + 6, 11, 1);
        draw_text_centred(179, first, 6, 1);
    }
}

}  // namespace

void draw_item_count(int32_t x, int32_t item_type) {
    icon(x, 190, ItemIconTable[item_type].first_row);
    char count[TEXT_LINE_SIZE] = "";
    append_number(count, Game.inventory[item_type]);
    shadowed(x + 10, 191, count, 6);
}

void draw_hud() {
    draw_objectives();
    draw_floor_label();
    if (Game.room_label_ticks > 0 && Game.current_room >= 0 && Game.current_room < ROOM_COUNT &&
        Game.floor_banner_ticks == 0)
        draw_text_centred(26, RoomTable.name[Game.current_room], 6, 1);
    draw_inventory();
    draw_stamina();
    draw_phone_status();
    if (Game.player_hidden) draw_text_centred(152, PromptHidden, 5, 1);
    if (draw_prompt()) draw_message_box();
}
