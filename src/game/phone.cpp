#include "game/phone.h"

#include "game/game_state.h"

// Calls and the ring come with the phone; until then it stays silent.
void phone_button() {}
void phone_ring_step() {}

void end_confiscation_scene() {
    NpcSlot& teacher = Game.npcs[NPC_TEACHER];
    if (teacher.npc_state == TEACHER_CONFISCATE) teacher.npc_state = TEACHER_PATROL;
    set_message("HERR HASELBRINK: SO. UND JETZT AB MIT DIR.", "", 75);
}
