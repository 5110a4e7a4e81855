#include "game/teacher.h"

// HERR HASELBRINK's rounds come with his own behaviour; until then he waits off the floor.
void teacher_update() {}
