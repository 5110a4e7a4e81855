#include "game/phone.h"

#include "audio/sequencer.h"
#include "game/character_table.h"
#include "game/characters.h"
#include "game/current_floor.h"
#include "game/game_state.h"
#include "gfx/text.h"
#include "world/floors.h"

namespace {

constexpr int32_t RING_TICKS = 210;
constexpr int32_t CALL_COOLDOWN = 1200;

void next_call_later() { Game.call_countdown = 1500 + random_below(1500); }

void send_friend() {
    Game.friend_state = FRIEND_ON_THE_WAY;
    Game.friend_ticks = 30;
    Game.call_cooldown = CALL_COOLDOWN;
}

bool teacher_can_come_for_it() {
    const NpcSlot& teacher = Game.npcs[NPC_PHONE_TEACHER];
    return npc_on_current_floor(NPC_PHONE_TEACHER) && teacher.npc_state != PHONE_TEACHER_CONFISCATE;
}

void teacher_goes_for_phone() {
    NpcSlot& teacher = Game.npcs[NPC_PHONE_TEACHER];
    teacher.npc_state = PHONE_TEACHER_FOR_PHONE;
    teacher.npc_target = player_tile();
    teacher.npc_last_seen = teacher.npc_target;
}

// HERR HASELBRINK hears the ring on his floor, or sets out for it from up to
// two floors away.
void teacher_hears_ring() {
    NpcSlot& teacher = Game.npcs[NPC_PHONE_TEACHER];
    if (teacher_can_come_for_it()) {
        teacher_goes_for_phone();
        return;
    }
    const int32_t floors_away = teacher.npc_floor - Game.current_floor;
    if (floors_away >= -2 && floors_away <= 2 && teacher.npc_follow_ticks == 0) {
        teacher.npc_follow_ticks = 45;
        teacher.npc_follow_floor = Game.current_floor;
        Game.teacher_following = 1;
        teacher.npc_last_seen = player_tile();
    }
}

}  // namespace

void phone_ring_step() {
    if (Game.has_phone == 1 && Game.confiscate_ticks == 0 && Game.ring_ticks == 0) {
        Game.call_countdown -= 1;
        if (Game.call_countdown <= 0) {
            set_message("DEIN HANDY KLINGELT! (BRAZZIK)", "Q = RANGEHEN", 90);
            teacher_hears_ring();
            Game.ring_ticks = RING_TICKS;
            Game.ring_count = 0;
        }
    }
    if (Game.ring_ticks > 0) {
        Game.ring_ticks -= 1;
        Game.ring_count += 1;
        if (Game.ring_ticks == 0 && Game.has_phone == 1) {
            set_message("VERPASSTER ANRUF: BRAZZIK", "", 60);
            next_call_later();
        }
    }
}

void phone_button() {
    if (Game.has_phone == 0) {
        set_message("DEIN HANDY HAT JETZT HERR HASELBRINK.", "", 60);
        return;
    }
    if (Game.confiscate_ticks > 0) return;
    if (Game.ring_ticks > 0) {
        Game.ring_ticks = 0;
        next_call_later();
        if (Game.friend_state == FRIEND_ABSENT) {
            send_friend();
            set_message("BRAZZIK: YO BRO, BRAUCHST DU HILFE?", "ICH KOMM SOFORT!", 90);
        } else {
            set_message("BRAZZIK: ICH BIN DOCH SCHON DA, BRO!", "", 60);
        }
        return;
    }
    if (Game.friend_state != FRIEND_ABSENT) {
        set_message("BRAZZIK IST SCHON UNTERWEGS.", "", 45);
        return;
    }
    if (Game.call_cooldown > 0) {
        char line[TEXT_LINE_SIZE] = "BRAZZIK GEHT NICHT RAN. (NOCH ";
        append_number(line, Game.call_cooldown / 30 + 1);
        append_text(line, " S)");
        set_message(line, "", 60);
        return;
    }
    play_sound(SFX_CALL);
    set_message("DU RUFST BRAZZIK AN...", "BRAZZIK: BIN UNTERWEGS, BRO!", 90);
    send_friend();
    const int32_t notice_radius2 = CharacterTable[NPC_PHONE_TEACHER].notice_radius2;
    if (teacher_can_come_for_it() && sees_player(NPC_PHONE_TEACHER, notice_radius2)) {
        teacher_goes_for_phone();
        set_message("HERR HASELBRINK: EIN HANDY?!", "DAS GIBST DU MIR SOFORT!", 90);
    }
}

void end_confiscation_scene() {
    NpcSlot& teacher = Game.npcs[NPC_PHONE_TEACHER];
    if (teacher.npc_state == PHONE_TEACHER_CONFISCATE) teacher.npc_state = PHONE_TEACHER_PATROL;
    set_message("HERR HASELBRINK: SO. UND JETZT AB MIT DIR.", "", 75);
}
