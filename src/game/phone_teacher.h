// HERR HASELBRINK, the teacher who takes phones away: his rounds, the chase
// for a ringing phone, the confiscation, and his wanderings between floors.
#pragma once

// His Tick while he walks about on the player's floor.
void phone_teacher_update();
// His Tick while he is elsewhere, and his arrival on the player's floor.
void phone_teacher_offfloor_update();
void phone_teacher_arrive();
