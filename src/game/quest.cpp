#include "game/quest.h"

#include <cstring>

#include "audio/sequencer.h"
#include "data/texts.h"
#include "game/current_floor.h"
#include "game/game_state.h"
#include "gfx/text.h"
#include "world/floors.h"
#include "world/rooms.h"
#include "world/world_image.h"

const TaskRow TaskTable[TASK_COUNT] = {
    {3, ITEM_STAIR_KEY, 1},      {2, ITEM_SHEET_MUSIC, 4},   {2, -1, 0},
    {1, ITEM_FUSE, 3},           {1, -1, 0},                 {0, ITEM_POOL_KEY, 1},
    {0, ITEM_SCHOOLYARD_KEY, 1}, {4, ITEM_CODE_NOTE, 3},     {5, ITEM_JANITOR_KEY, 1},
    {5, -1, 0},
};

void save_checkpoint() {
    CheckpointSnapshot& c = Game.checkpoint;
    c.task = Game.task;
    c.power_on = Game.power_on;
    c.pool_hall_open = Game.pool_hall_open;
    std::memcpy(c.floor_open, Game.floor_open, sizeof c.floor_open);
    std::memcpy(c.inventory, Game.inventory, sizeof c.inventory);
    for (int i = 0; i < ITEM_SLOT_COUNT; ++i) c.taken[i] = Game.items[i].taken;
}

void advance_task() {
    if (Game.task < LAST_TASK) Game.task += 1;
    update_teacher_place();
    save_checkpoint();
    Game.hinted_item = -1;
}

void update_teacher_place() {
    Game.teacher_floor = TaskTable[Game.task].floor;
    Game.teacher_x = Game.teacher_spot_x[Game.teacher_floor];
    Game.teacher_y = Game.teacher_spot_y[Game.teacher_floor];
}

void unlock_floor(int32_t floor) {
    play_sound(SFX_UNLOCK);
    Game.floor_open[floor] = 1;
    if (floor == floor_next(Game.current_floor, 1) || floor == floor_next(Game.current_floor, -1))
        repaint_floor();
}

const char* objective_line() {
    static char line[TEXT_LINE_SIZE];
    line[0] = 0;
    const TaskRow& task = TaskTable[Game.task];
    append_text_limited(line, TaskObjectives[Game.task], 46);
    if (task.count > 1) {
        append_number(line, Game.inventory[task.item_type]);
        append_text(line, "/");
        append_number(line, task.count);
    }
    return line;
}

const char* objective_hint_line() {
    static char line[TEXT_LINE_SIZE];
    line[0] = 0;
    const int32_t task_floor = TaskTable[Game.task].floor;
    if (Game.current_floor != task_floor) {
        append_text(line, "> ZUR ");
        append_number(line, task_floor + 1);
        append_text(line, ". ETAGE");
        return line;
    }
    if (Game.hinted_item >= 0 && Game.hinted_item < Game.item_count) {
        const ItemSlot& item = Game.items[Game.hinted_item];
        const int32_t room = item.taken ? -1 : room_at(item.floor, item.x, item.y);
        if (room >= 0) {
            append_text(line, "> ");
            append_text(line, RoomTable.name[room]);
            return line;
        }
    }
    if (TaskLocationHints[Game.task][0]) return TaskLocationHints[Game.task];
    if (Game.teacher_floor == Game.current_floor) return "> FRAG HERRN HEMMKE (AUF DIESER ETAGE)";
    return "";
}
