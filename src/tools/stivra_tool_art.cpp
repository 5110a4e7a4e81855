#include "tools/stivra_tool.h"

int tool_sprites(int, char**) { return 2; }
int tool_figures(int, char**) { return 2; }
int tool_ico(int, char**) { return 2; }
