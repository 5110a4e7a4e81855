// HERR HASELBRINK, the teacher who takes phones away, on the player's floor.
#pragma once

void teacher_update();
