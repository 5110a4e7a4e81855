// The GameState: the one global record of the running game, and the game's
// one random generator. Every gameplay rule reads and writes it directly.
#pragma once
#include <cstdint>

#include "data/facing.h"
#include "world/tile_geometry.h"

constexpr int ITEM_SLOT_COUNT = 48;
constexpr int ITEM_TYPE_COUNT = 12;
constexpr int NPC_SLOT_COUNT = 4;
constexpr int FLOW_FIELD_COUNT = 3;
constexpr int TEXT_LINE_SIZE = 64;

enum GameModeValue : int32_t {
    MODE_TITLE = 0,
    MODE_INTRO = 1,
    MODE_PLAYING = 2,
    MODE_CAUGHT_ANIMATION = 3,
    MODE_CAUGHT = 4,
    MODE_ESCAPED = 5,
};

enum ItemType : int32_t {
    ITEM_FLASHLIGHT = 0,
    ITEM_SNEAKERS = 1,
    ITEM_ENERGY_DRINK = 2,
    ITEM_STINK_BOMB = 3,
    ITEM_STICKER = 4,
    ITEM_STAIR_KEY = 5,
    ITEM_SHEET_MUSIC = 6,
    ITEM_FUSE = 7,
    ITEM_POOL_KEY = 8,
    ITEM_SCHOOLYARD_KEY = 9,
    ITEM_CODE_NOTE = 10,
    ITEM_JANITOR_KEY = 11,
};

enum NpcSlotIndex : int {
    NPC_PURSUER = 0,
    NPC_PHONE_TEACHER = 1,  // the phone-confiscating teacher
    NPC_FRIEND = 2,
};

enum PursuerState : int32_t {
    PURSUER_ASLEEP = 0,
    PURSUER_CHASE = 1,
    PURSUER_SEARCH = 2,
    PURSUER_PATROL = 3,
    PURSUER_LOCKER = 4,
};

enum PhoneTeacherState : int32_t {
    PHONE_TEACHER_PATROL = 10,
    PHONE_TEACHER_FOR_PHONE = 11,
    PHONE_TEACHER_SEARCH = 12,
    PHONE_TEACHER_CONFISCATE = 13,
};

enum FriendState : int32_t {
    FRIEND_ABSENT = 0,
    FRIEND_ON_THE_WAY = 1,
    FRIEND_RUNNING = 2,
    FRIEND_BRAWL = 3,
    FRIEND_LEAVING = 4,
    FRIEND_GUARDING = 5,
};

struct NpcSlot {
    int32_t npc_x, npc_y;  // Fixed
    int32_t npc_floor;
    int32_t npc_present;
    int32_t npc_state;
    int32_t npc_state_ticks;
    int32_t npc_floor_ticks;
    int32_t npc_follow_floor;
    int32_t npc_follow_ticks;
    int32_t npc_slow_ticks;
    int32_t npc_stun_ticks;
    int32_t npc_lost_ticks;
    int32_t npc_last_seen;    // tile index
    int32_t npc_flow_source;  // tile index, -1 forces a new FlowField
    int32_t npc_target;       // tile index
    int32_t npc_moving;
    int32_t npc_walk_distance;
    int32_t npc_facing;  // Facing
};

// Herr Mürzel is after the player: chasing, or coming for the locker he saw
// the player get into.
inline bool pursuer_hunting(const NpcSlot& pursuer) {
    return pursuer.npc_state == PURSUER_CHASE || pursuer.npc_state == PURSUER_LOCKER;
}

struct ItemSlot {
    int32_t floor;
    int32_t x, y;  // tile
    int32_t type;
    int32_t taken;
};

struct CheckpointSnapshot {
    int32_t task;
    int32_t power_on;
    int32_t pool_hall_open;
    int32_t floor_open[FLOOR_COUNT];
    int32_t inventory[ITEM_TYPE_COUNT];
    int32_t taken[ITEM_SLOT_COUNT];
};

struct GameState {
    // Game flow
    int32_t mode;          // GameModeValue
    int32_t mode_ticks;    // Ticks since the mode was entered
    int32_t total_ticks;   // every Tick, never reset
    uint32_t previous_input;
    uint32_t random_state;

    // Play time
    int32_t play_ticks;
    int32_t final_ticks;
    int32_t catch_count;
    const char* caught_text;

    // Player
    int32_t player_x, player_y;  // Fixed
    int32_t player_facing;       // Facing
    int32_t walk_distance;
    int32_t player_moving;
    int32_t door_slow;
    int32_t player_hidden;
    int32_t stamina;
    int32_t exhausted;
    int32_t running;
    int32_t drink_ticks;
    int32_t bump_tile;
    int32_t bump_cooldown;
    int32_t stairs_cooldown;
    int32_t stairs_armed;
    int32_t current_room;
    int32_t room_label_ticks;
    int32_t floor_banner_ticks;
    int32_t prompt_kind;
    int32_t near_teacher;

    // World and quest
    int32_t current_floor;
    int32_t floor_open[FLOOR_COUNT];
    int32_t task;
    int32_t power_on;
    int32_t pool_hall_open;
    int32_t code_digits[3];
    int32_t inventory[ITEM_TYPE_COUNT];
    int32_t item_count;
    ItemSlot items[ITEM_SLOT_COUNT];
    int32_t teacher_spot_x[FLOOR_COUNT], teacher_spot_y[FLOOR_COUNT];
    int32_t teacher_floor, teacher_x, teacher_y;
    int32_t hinted_item;
    int32_t player_start_x, player_start_y;
    int32_t pursuer_start_x, pursuer_start_y;

    // Messages and view
    char message_line1[TEXT_LINE_SIZE];
    char message_line2[TEXT_LINE_SIZE];
    int32_t message_ticks;
    int32_t camera_x, camera_y;
    int32_t light_radius;
    int32_t heartbeat_ticks;
    int32_t heartbeat_flash;
    int32_t stink_ticks;
    int32_t alert_ticks;
    int32_t shake_ticks;
    int32_t heard_cooldown;

    // Characters
    NpcSlot npcs[NPC_SLOT_COUNT];
    int16_t flow_fields[FLOW_FIELD_COUNT][MAP_TILES];

    // Phone and friend
    int32_t has_phone;
    int32_t call_countdown;
    int32_t ring_ticks;
    int32_t confiscate_ticks;
    int32_t friend_state;
    int32_t pool_greeting_done;
    int32_t ring_count;
    int32_t call_cooldown;
    int32_t friend_ticks;
    int32_t friend_target;
    int32_t teacher_following;

    CheckpointSnapshot checkpoint;
};

extern GameState Game;

// The shared random generator: state = state*1103515245 + 12345, drawn value
// bits 16..30 of the new state.
int32_t random_step();
int32_t random_below(int32_t n);

// Shows two message lines for a number of Ticks (each cut at 62 bytes).
void set_message(const char* line1, const char* line2, int32_t ticks);
