#include "game/items.h"

#include "data/texts.h"
#include "game/game_state.h"
#include "game/new_game.h"
#include "gfx/font.h"

// Picking items up comes with the items and quests; until then they lie where they are.
void pick_up_item(int32_t) {}

void check_task_done() {}

const char* objective_line() {
    static char line[TEXT_LINE_SIZE];
    line[0] = 0;
    const TaskRow& task = TaskTable[Game.task];
    // The objective text keeps at most 46 characters, leaving room for the count.
    char text[TEXT_LINE_SIZE];
    int n = 0;
    for (const char* p = TaskObjectives[Game.task]; *p && n < 46; ++p) text[n++] = *p;
    text[n] = 0;
    append_text(line, text);
    if (task.count > 1) {
        append_number(line, Game.inventory[task.item_type]);
        append_text(line, "/");
        append_number(line, task.count);
    }
    return line;
}
