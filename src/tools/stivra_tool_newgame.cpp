#include "tools/stivra_tool.h"

int tool_newgame(int, char**) { return 2; }
