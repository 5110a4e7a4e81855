// Items, the ten tasks and the objective lines.
#pragma once
#include <cstdint>

void pick_up_item(int32_t slot);
void check_task_done();
// The objective for the current task, with counts for collecting tasks.
const char* objective_line();
