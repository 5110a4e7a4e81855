#include "game/stairwell.h"

#include "game/game_state.h"
#include "game/phone_teacher.h"
#include "game/pursuer.h"

void offfloor_update(int32_t slot) {
    if (slot == NPC_PURSUER)
        pursuer_offfloor_update();
    else if (slot == NPC_PHONE_TEACHER)
        phone_teacher_offfloor_update();
}
