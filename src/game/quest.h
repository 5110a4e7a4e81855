// The ten tasks: their table, the checkpoint of quest progress, the stair
// gates they open, and the objective lines the HUD and messages show.
#pragma once
#include <cstdint>

struct TaskRow {
    int32_t floor;      // where the task is solved, where the quest teacher stands
    int32_t item_type;  // ItemType to collect, -1 none
    int32_t count;
};
constexpr int TASK_COUNT = 10;
constexpr int LAST_TASK = 9;
// The tasks solved by ACTION: playing the song on the piano, putting the
// fuses into the fuse box.
constexpr int TASK_PIANO = 2;
constexpr int TASK_FUSE_BOX = 4;
extern const TaskRow TaskTable[TASK_COUNT];

// Copies the quest progress (task, power, pool hall, gates, inventory, taken
// flags) into the checkpoint.
void save_checkpoint();
// The next task (never past the last), the teacher's new place, a checkpoint.
void advance_task();
// The quest teacher stands on the current task's floor at that floor's spot.
void update_teacher_place();
// Opens the stair gate to a floor; repaints when its stairs are on this floor.
void unlock_floor(int32_t floor);
// The objective for the current task, with counts for collecting tasks.
const char* objective_line();
// The HUD's second line: where to go, where the hinted item lies, or whom to ask.
const char* objective_hint_line();
