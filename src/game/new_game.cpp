#include "game/new_game.h"

#include <cstring>

#include "game/character_table.h"
#include "game/characters.h"
#include "game/current_floor.h"
#include "game/flow_field.h"
#include "game/game_state.h"
#include "data/int_math.h"
#include "game/movement.h"
#include "game/quest.h"
#include "world/floors.h"
#include "world/tile_geometry.h"
#include "world/visibility.h"
#include "world/world_image.h"

const ItemPlacementRow ItemPlacementTable[21] = {
    {3, ITEM_FLASHLIGHT, 1, 3},     {3, ITEM_STAIR_KEY, 1, 4},  {3, ITEM_ENERGY_DRINK, 1, 0},
    {3, ITEM_STICKER, 3, 0},        {2, ITEM_SHEET_MUSIC, 4, 1}, {2, ITEM_STINK_BOMB, 1, 0},
    {2, ITEM_STICKER, 3, 0},        {1, ITEM_FUSE, 3, 1},        {1, ITEM_SNEAKERS, 1, 1},
    {1, ITEM_ENERGY_DRINK, 1, 0},   {1, ITEM_STICKER, 3, 0},     {0, ITEM_POOL_KEY, 1, 1},
    {0, ITEM_SCHOOLYARD_KEY, 1, 2}, {0, ITEM_STINK_BOMB, 1, 0},  {0, ITEM_STICKER, 3, 0},
    {4, ITEM_CODE_NOTE, 3, 0},      {4, ITEM_ENERGY_DRINK, 1, 0}, {4, ITEM_STICKER, 3, 0},
    {5, ITEM_JANITOR_KEY, 1, 1},    {5, ITEM_ENERGY_DRINK, 1, 0}, {5, ITEM_STICKER, 3, 0},
};

namespace {

// Where an item lands when no spot passes the rules: beside the landing.
constexpr int32_t FALLBACK_SPOT = tile_index(3, 18);

void place_player_at_tile(int32_t x, int32_t y) {
    Game.player_x = tile_anchor_x(x);
    Game.player_y = tile_anchor_y(y);
}

// What a new game and a restart from the checkpoint both give the player:
// standing still on a tile, out of any locker, with full breath.
void reset_player(int32_t x, int32_t y, Facing facing) {
    place_player_at_tile(x, y);
    Game.player_facing = facing;
    Game.player_moving = 0;
    Game.door_slow = 0;
    Game.player_hidden = 0;
    Game.exhausted = 0;
    Game.running = 0;
    Game.drink_ticks = 0;
    Game.bump_tile = 0;
    Game.stamina = PlayerBreath.most;
    Game.current_room = -1;
    Game.stairs_armed = 1;
}

}  // namespace

int32_t place_random_spot(int32_t floor, int32_t rule) {
    for (int attempt = 0; attempt < 600; ++attempt) {
        const int32_t x = random_below(54) + 1;
        const int32_t y = random_below(26) + 1;
        const int code = tile_at(x, y);
        if (!is_floor_tile(code)) continue;
        if (rule == 2) {
            if (code != TILE_TILED_FLOOR || y > 11) continue;
        } else if (Game.flow_fields[0][tile_index(x, y)] < 0) {
            continue;
        }
        if (x <= 7 && y >= 16) continue;  // the stairwell corner
        if ((rule == 1 || rule == 4) && y >= 13 && y <= 16 && floor != 4) continue;
        if (rule == 4 && x <= 17 && y <= 11) continue;
        if (abs32(x - Game.teacher_spot_x[floor]) <= 1 && abs32(y - Game.teacher_spot_y[floor]) <= 1)
            continue;
        bool crowded = false;
        for (int32_t i = 0; i < Game.item_count && !crowded; ++i) {
            const ItemSlot& item = Game.items[i];
            crowded = item.floor == floor && abs32(x - item.x) <= 1 && abs32(y - item.y) <= 1;
        }
        if (crowded) continue;
        return tile_index(x, y);
    }
    return FALLBACK_SPOT;
}

namespace {

// The quest state of a fresh game: the door code, floor 4 open, nothing held.
void reset_progress() {
    for (int i = 0; i < 3; ++i) Game.code_digits[i] = random_below(9) + 1;

    for (int f = 0; f < FLOOR_COUNT; ++f) Game.floor_open[f] = f == 3 ? 1 : 0;
    Game.task = 0;
    Game.power_on = 0;
    Game.pool_hall_open = 0;
    std::memset(Game.inventory, 0, sizeof Game.inventory);
    Game.hinted_item = -1;
    Game.catch_count = 0;
    Game.stink_ticks = 0;
    Game.pool_greeting_done = 0;
    Game.item_count = 0;
}

// Floor by floor, Herr Hemmke's spot and then the items of the placement
// table, each by its rule.
void place_items() {
    for (int32_t f = 0; f < FLOOR_COUNT; ++f) {
        load_floor(f);
        compute_flow_field(0, LANDING_TILE);
        Game.teacher_spot_x[f] = -9;
        Game.teacher_spot_y[f] = -9;
        const int32_t spot = place_random_spot(f, 4);
        Game.teacher_spot_x[f] = tile_column(spot);
        Game.teacher_spot_y[f] = tile_row(spot);
        for (const ItemPlacementRow& row : ItemPlacementTable) {
            if (row.floor != f) continue;
            for (int32_t k = 0; k < row.count && Game.item_count < ITEM_SLOT_COUNT; ++k) {
                int32_t x, y;
                if (row.rule == 3) {
                    x = Game.player_start_x + 2;
                    y = Game.player_start_y - 1;
                } else {
                    const int32_t tile = place_random_spot(f, row.rule);
                    x = tile_column(tile);
                    y = tile_row(tile);
                }
                ItemSlot& item = Game.items[Game.item_count++];
                item.floor = f;
                item.x = x;
                item.y = y;
                item.type = row.item_type;
                item.taken = 0;
            }
        }
    }
}

// The player's timers and prompts of a fresh game.
void reset_player_timers() {
    Game.play_ticks = 0;
    Game.walk_distance = 0;
    Game.bump_cooldown = 0;
    Game.stairs_cooldown = 0;
    Game.room_label_ticks = 0;
    Game.floor_banner_ticks = 0;
    Game.prompt_kind = 0;
    Game.near_teacher = 0;
    Game.heartbeat_ticks = 0;
    Game.heartbeat_flash = 0;
    Game.alert_ticks = 0;
    Game.shake_ticks = 0;
    Game.heard_cooldown = 0;
}

// Herr Mürzel asleep at his start marker on floor 4, Herr Haselbrink about
// on floor 3. The slots are cleared, keeping the route sources of the slots
// that own a FlowField.
void place_characters() {
    for (int s = 0; s < NPC_SLOT_COUNT; ++s) {
        const int32_t flow_source = Game.npcs[s].npc_flow_source;
        std::memset(&Game.npcs[s], 0, sizeof(NpcSlot));
        Game.npcs[s].npc_flow_source = s < FLOW_FIELD_COUNT ? flow_source : -1;
    }
    NpcSlot& pursuer = Game.npcs[NPC_PURSUER];
    pursuer.npc_x = tile_anchor_x(Game.pursuer_start_x);
    pursuer.npc_y = tile_anchor_y(Game.pursuer_start_y);
    pursuer.npc_floor = 3;
    pursuer.npc_present = 1;
    pursuer.npc_state = PURSUER_ASLEEP;
    pursuer.npc_state_ticks = 90;
    pursuer.npc_floor_ticks = 1500;
    pursuer.npc_last_seen = npc_tile(NPC_PURSUER);
    pursuer.npc_target = patrol_target(NPC_PURSUER);

    NpcSlot& teacher = Game.npcs[NPC_PHONE_TEACHER];
    teacher.npc_floor = 2;
    teacher.npc_present = 0;
    teacher.npc_state = PHONE_TEACHER_PATROL;
    teacher.npc_floor_ticks = 1200 + random_below(900);
}

// The phone in the pocket, the first call on its way, the friend at home.
void reset_phone_and_friend() {
    Game.call_countdown = 1800 + random_below(600);
    Game.has_phone = 1;
    Game.ring_ticks = 0;
    Game.confiscate_ticks = 0;
    Game.friend_state = FRIEND_ABSENT;
    Game.ring_count = 0;
    Game.call_cooldown = 0;
    Game.friend_ticks = 0;
    Game.friend_target = -1;
    Game.teacher_following = 0;
}

}  // namespace

// The order of the steps is the order of the draws from the generator.
void new_game() {
    reset_progress();
    place_items();

    Game.npcs[NPC_PURSUER].npc_flow_source = -1;
    load_floor(3);
    repaint_floor();

    save_checkpoint();
    update_teacher_place();

    reset_player(Game.player_start_x, Game.player_start_y, FACING_UP);
    reset_player_timers();
    place_characters();
    reset_phone_and_friend();

    Game.light_radius = 150;
    set_message("SCHNAPP DIR DIE TASCHENLAMPE!", "DANN FINDE DEN TREPPENSCHLÜSSEL.", 120);

    update_visibility(Game.player_x >> 12, Game.player_y >> 12);
    snap_camera();
}

void restore_checkpoint() {
    const CheckpointSnapshot& c = Game.checkpoint;
    Game.task = c.task;
    Game.power_on = c.power_on;
    Game.pool_hall_open = c.pool_hall_open;
    std::memcpy(Game.floor_open, c.floor_open, sizeof c.floor_open);
    std::memcpy(Game.inventory, c.inventory, sizeof c.inventory);
    for (int i = 0; i < ITEM_SLOT_COUNT; ++i) Game.items[i].taken = c.taken[i];

    const int32_t f = TaskTable[Game.task].floor;
    load_floor(f);
    repaint_floor();

    reset_player(LANDING_X, LANDING_Y, FACING_DOWN);
    Game.stairs_cooldown = 20;
    Game.floor_banner_ticks = 80;
    Game.hinted_item = -1;
    update_teacher_place();

    Game.stink_ticks = 0;
    Game.confiscate_ticks = 0;
    Game.ring_ticks = 0;
    Game.alert_ticks = 0;
    Game.shake_ticks = 0;
    Game.heartbeat_flash = 0;
    Game.call_countdown = 900 + random_below(900);

    NpcSlot& pursuer = Game.npcs[NPC_PURSUER];
    pursuer.npc_present = 0;
    pursuer.npc_floor = floor_beside(f, 1);
    pursuer.npc_follow_ticks = 0;
    pursuer.npc_state = PURSUER_PATROL;
    pursuer.npc_floor_ticks = 600;
    pursuer.npc_stun_ticks = 0;
    pursuer.npc_slow_ticks = 0;

    NpcSlot& teacher = Game.npcs[NPC_PHONE_TEACHER];
    // Present means walking about on the player's floor. Caught on another
    // floor than the task's, the player may leave him walking there: he must
    // not stay present, or meeting him again later skips placing him anew.
    teacher.npc_present = 0;
    if (teacher.npc_floor == f) teacher.npc_floor = floor_beside(f, -1);
    teacher.npc_state = PHONE_TEACHER_PATROL;
    teacher.npc_follow_ticks = 0;
    teacher.npc_floor_ticks = 900;
    Game.teacher_following = 0;
    Game.friend_state = FRIEND_ABSENT;

    Game.light_radius = 92;
    set_message("WEITER AB DEM LETZTEN CHECKPOINT.", objective_line(), 120);

    update_visibility(Game.player_x >> 12, Game.player_y >> 12);
    snap_camera();
    Game.mode = MODE_PLAYING;
    Game.mode_ticks = 0;
}

void scene_set_floor(int32_t floor) {
    for (int f = 0; f < FLOOR_COUNT; ++f) Game.floor_open[f] = f == floor ? 1 : 0;
    for (int t = 0; t <= Game.task && t < 10; ++t) Game.floor_open[TaskTable[t].floor] = 1;
    load_floor(floor);
    repaint_floor();
    Game.npcs[NPC_PURSUER].npc_floor = floor;
    Game.npcs[NPC_PURSUER].npc_present = 0;
    // Two floors away, wrapping within the building.
    Game.npcs[NPC_PHONE_TEACHER].npc_floor = (floor + 2) % FLOOR_COUNT;
    Game.npcs[NPC_PHONE_TEACHER].npc_present = 0;
}

void scene_send_pursuer_away() {
    NpcSlot& pursuer = Game.npcs[NPC_PURSUER];
    pursuer.npc_present = 0;
    pursuer.npc_floor = (Game.current_floor + 3) % 6;
    pursuer.npc_follow_ticks = 0;
    pursuer.npc_floor_ticks = 99999;
}

void scene_place_player_and_pursuer(int32_t px, int32_t py, int32_t hx, int32_t hy) {
    place_player_at_tile(px, py);
    NpcSlot& pursuer = Game.npcs[NPC_PURSUER];
    pursuer.npc_x = tile_anchor_x(hx);
    pursuer.npc_y = tile_anchor_y(hy);
    pursuer.npc_floor = Game.current_floor;
    pursuer.npc_present = 1;
    pursuer.npc_target = tile_index(hx, hy);
    pursuer.npc_flow_source = -1;
    snap_camera();
}

void scene_place_npc(int32_t slot, int32_t x, int32_t y) {
    NpcSlot& npc = Game.npcs[slot];
    npc.npc_x = tile_anchor_x(x);
    npc.npc_y = tile_anchor_y(y);
    npc.npc_target = tile_index(x, y);
}

void scene_place_teacher(int32_t x, int32_t y, int32_t state) {
    NpcSlot& teacher = Game.npcs[NPC_PHONE_TEACHER];
    scene_place_npc(NPC_PHONE_TEACHER, x, y);
    teacher.npc_floor = Game.current_floor;
    teacher.npc_present = 1;
    teacher.npc_state = state;
    teacher.npc_flow_source = -1;
}

void scene_set_item(int32_t slot, int32_t floor, int32_t x, int32_t y, int32_t type) {
    ItemSlot& item = Game.items[slot];
    item.floor = floor;
    item.x = x;
    item.y = y;
    item.type = type;
    item.taken = 0;
}
