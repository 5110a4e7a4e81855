#include "screens/hud.h"

void draw_hud() {}
