#include "game/interactions.h"

#include "audio/sequencer.h"
#include "data/int_math.h"
#include "data/texts.h"
#include "game/character_table.h"
#include "game/characters.h"
#include "game/current_floor.h"
#include "game/game_state.h"
#include "game/pursuer.h"
#include "game/quest.h"
#include "gfx/text.h"
#include "world/floors.h"
#include "world/rooms.h"
#include "world/tile_geometry.h"
#include "world/world_image.h"

namespace {

void talk_to_quest_teacher() {
    play_sound(SFX_TALK);
    const TaskRow& task = TaskTable[Game.task];
    char second[TEXT_LINE_SIZE] = "";
    int32_t hinted = -1;
    if (task.item_type >= 0) {
        for (int32_t i = 0; i < Game.item_count && hinted < 0; ++i)
            if (Game.items[i].type == task.item_type && !Game.items[i].taken) hinted = i;
    }
    if (hinted >= 0) {
        Game.hinted_item = hinted;
        const ItemSlot& item = Game.items[hinted];
        append_text_limited(second, task.count > 1 ? "EINS HAB ICH GESEHEN - ORT: " : "ORT: ", 46);
        const int32_t room = room_at(item.floor, item.x, item.y);
        append_text(second, room >= 0 ? RoomTable.name[room] : "IRGENDWO HIER");
    } else {
        append_text(second, TaskSecondHints[Game.task]);
    }
    set_message(TaskTeacherHints[Game.task], second, 150);
}

void play_piano() {
    if (Game.task < TASK_PIANO) {
        set_message("EIN KLAVIER. OHNE NOTEN KANNST DU NICHTS SPIELEN.", "", 75);
        return;
    }
    play_sound(SFX_PIANO);
    if (Game.task > TASK_PIANO) {
        set_message("PLING. (DAS GEHEIMFACH IST SCHON LEER.)", "", 60);
        return;
    }
    pursuer_alarm(ALARM_PIANO);
    unlock_floor(1);
    advance_task();
    set_message("DU SPIELST DAS LIED... KLACK! EIN GEHEIMFACH:", "DER HALLENSCHLÜSSEL! DIE 2. ETAGE IST OFFEN.", 150);
}

void use_fuse_box() {
    if (Game.task < TASK_FUSE_BOX) {
        set_message("DER SICHERUNGSKASTEN. ALLES DUNKEL.", "ES FEHLEN 3 SICHERUNGEN.", 90);
        return;
    }
    if (Game.task > TASK_FUSE_BOX) {
        set_message("DER STROM LÄUFT WIEDER.", "", 45);
        return;
    }
    play_sound(SFX_FUSE_BOX);
    Game.power_on = 1;
    Game.floor_open[0] = 1;
    repaint_floor();  // the lamp turns green, the stairs down open
    advance_task();
    set_message("ZZZT... DAS LICHT GEHT AN!", "DAS GITTER ZUR 1. ETAGE IST OFFEN.", 150);
}

void escape() {
    Game.mode = MODE_ESCAPED;
    Game.mode_ticks = 0;
    Game.final_ticks = Game.play_ticks;
    Game.ring_ticks = 0;
    play_sound(SFX_ESCAPE);
}

void open_pool_hall() {
    Game.pool_hall_open = 1;
    save_checkpoint();
    load_floor(0);  // the locked door now loads as an open doorway
    repaint_floor();
    play_sound(SFX_UNLOCK);
    set_message("DU SCHLIESST DIE SCHWIMMHALLE AUF.", "IRGENDWO AM BECKEN LIEGT DER SCHLÜSSEL.", 120);
    Game.bump_cooldown = 30;
}

void locked_message(int32_t code) {
    switch (code) {
    case TILE_STAIRS_UP:
    case TILE_STAIRS_DOWN: {
        char line[TEXT_LINE_SIZE] = "GITTER ZU! DIE ";
        append_number(line, floor_next(Game.current_floor, stairs_way(code)) + 1);
        append_text(line, ". ETAGE IST NOCH GESPERRT.");
        set_message(line, objective_line(), 90);
        break;
    }
    case TILE_ENTRANCE: set_message("ABGESCHLOSSEN!", "DU BRAUCHST DEN HAUSMEISTERSCHLÜSSEL.", 90); break;
    case TILE_POOL_DOOR: set_message("DIE SCHWIMMHALLE IST ABGESCHLOSSEN.", "DEN SCHLÜSSEL HAT DER BADEMEISTER.", 90); break;
    case TILE_GRATING: set_message("7. BIS 9. ETAGE: GESPERRT.", "", 75); break;
    default: set_message("DAS SCHULTOR IST ZU.", "DER HAUPTEINGANG IST IN DER 6. ETAGE.", 90); break;
    }
}

}  // namespace

int32_t prompt_here() {
    if (Game.current_floor == 2 && tile_near_player(TILE_PIANO)) return TILE_PIANO;
    if (Game.current_floor == 1 && tile_near_player(TILE_FUSE_BOX)) return TILE_FUSE_BOX;
    return 0;
}

ActionKind action_kind_of(bool hidden, bool near_teacher, int32_t prompt_kind) {
    if (hidden) return ACTION_LOCKER;
    if (near_teacher) return ACTION_TALK;
    if (prompt_kind == TILE_PIANO) return ACTION_PIANO;
    if (prompt_kind == TILE_FUSE_BOX) return ACTION_FUSE_BOX;
    return ACTION_LOCKER;
}

ActionKind action_kind(int32_t prompt_kind) {
    return action_kind_of(Game.player_hidden != 0, teacher_in_reach(), prompt_kind);
}

bool teacher_in_reach() { return teacher_distance() < TALK_DISTANCE; }

void on_action() {
    switch (action_kind(Game.prompt_kind)) {
    case ACTION_TALK: talk_to_quest_teacher(); break;
    case ACTION_PIANO: play_piano(); break;
    case ACTION_FUSE_BOX: use_fuse_box(); break;
    case ACTION_LOCKER: locker_toggle(); break;
    }
}

bool locker_beside(int32_t column, int32_t row) {
    return tile_at(column, row - 1) == TILE_LOCKER || tile_at(column, row + 1) == TILE_LOCKER ||
           tile_at(column - 1, row) == TILE_LOCKER || tile_at(column + 1, row) == TILE_LOCKER;
}

void locker_toggle() {
    NpcSlot& pursuer = Game.npcs[NPC_PURSUER];
    if (Game.player_hidden) {
        play_sound(SFX_LOCKER);
        Game.player_hidden = 0;
        set_message("DU FALTEST DICH WIEDER AUSEINANDER.", "", 60);
        if (pursuer.npc_state == PURSUER_LOCKER) pursuer.npc_state = PURSUER_CHASE;
        return;
    }
    if (!locker_beside(Game.player_x >> 12, Game.player_y >> 12)) {
        set_message("HIER IST KEIN SPIND ZUM VERSTECKEN.", "", 45);
        return;
    }
    play_sound(SFX_LOCKER);
    // He must see the player get in, so he looks before the door closes.
    const bool seen = pursuer.npc_state == PURSUER_CHASE && pursuer.npc_stun_ticks == 0 &&
                      sees_player(NPC_PURSUER, CharacterTable[NPC_PURSUER].sight_radius2);
    Game.player_hidden = 1;
    if (seen) {
        pursuer.npc_state = PURSUER_LOCKER;
        set_message("OH NEIN... ER HAT ES GESEHEN!", "", 90);
    } else {
        set_message("DU FALTEST DICH IN DEN SPIND. ALLE 8 METER.", "", 90);
    }
}

void handle_bump() {
    const int32_t code = Game.bump_tile;
    if (code == 0) return;
    Game.bump_tile = 0;
    if (code == TILE_ENTRANCE && Game.task == LAST_TASK) {
        escape();
        return;
    }
    if (code == TILE_POOL_DOOR && Game.task >= 6 && !Game.pool_hall_open) {
        open_pool_hall();
        return;
    }
    if (Game.bump_cooldown != 0) return;
    locked_message(code);
    play_sound(SFX_LOCKED);
    Game.bump_cooldown = 60;
}

void pool_greeting() {
    if (Game.pool_greeting_done || Game.friend_state != FRIEND_ABSENT) return;
    Game.pool_greeting_done = 1;
    set_message("BRAZZIK (IM BECKEN): YO BRO, WAS GEHT?", "ICH SCHWIMM NOCH 'NE RUNDE. RUF MICH AN!", 120);
}

int32_t tile_near_player(int code) {
    const int32_t px = Game.player_x >> 12, py = Game.player_y >> 12;
    for (int32_t y = py - 1; y <= py + 1; ++y)
        for (int32_t x = px - 1; x <= px + 1; ++x)
            if (tile_at(x, y) == code) return 1;
    return 0;
}

int32_t teacher_distance() {
    return teacher_distance_from(player_pixel_x(), player_pixel_y());
}

int32_t teacher_distance_from(int32_t px, int32_t py) {
    if (Game.current_floor != Game.teacher_floor) return 9999;
    const int32_t dx = px - tile_anchor_px(Game.teacher_x);
    const int32_t dy = py - tile_anchor_py(Game.teacher_y);
    return isqrt(dx * dx + dy * dy);
}
