#include "tools/stivra_tool.h"

int tool_sound(int, char**) { return 2; }
int tool_note(int, char**) { return 2; }
int tool_song(int, char**) { return 2; }
