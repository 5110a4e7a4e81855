#include "game/stairwell.h"

#include "game/game_state.h"
#include "game/pursuer.h"
#include "game/teacher.h"

void offfloor_update(int32_t slot) {
    if (slot == NPC_PURSUER)
        pursuer_offfloor_update();
    else if (slot == NPC_TEACHER)
        teacher_offfloor_update();
}

void npc_arrive(int32_t slot) {
    if (slot == NPC_PURSUER)
        pursuer_arrive();
    else if (slot == NPC_TEACHER)
        teacher_arrive();
}
