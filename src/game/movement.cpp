#include "game/movement.h"

#include "audio/sequencer.h"
#include "data/int_math.h"
#include "game/character_table.h"
#include "game/characters.h"
#include "game/current_floor.h"
#include "game/friend.h"
#include "game/game_state.h"
#include "game/input_bits.h"
#include "game/interactions.h"
#include "game/items.h"
#include "game/phone.h"
#include "game/phone_teacher.h"
#include "game/pursuer.h"
#include "game/stairwell.h"
#include "gfx/framebuffer.h"
#include "world/floors.h"
#include "world/rooms.h"
#include "world/tile_geometry.h"
#include "world/visibility.h"
#include "world/world_image.h"

namespace {

constexpr int32_t SLIDE_STEP = 200;

// The camera keeps the player mid-screen across and a little below the
// middle down (screen pixels); while Herr Mürzel sleeps on the floor it
// shows both, the point midway between them a little higher.
constexpr int32_t CAMERA_PLAYER_X = SCREEN_W / 2;
constexpr int32_t CAMERA_PLAYER_Y = 112;
constexpr int32_t CAMERA_SLEEPER_Y = 104;
// It may show a little more above the floor's picture and below it, as much
// as the HUD covers there.
constexpr int32_t CAMERA_ABOVE_WORLD = 26;
constexpr int32_t CAMERA_BELOW_WORLD = 30;

void count_down(int32_t& timer) {
    if (timer > 0) timer -= 1;
}

// Returns true when the player changed floors.
bool take_stairs() {
    const int code = tile_at(Game.player_x >> 12, Game.player_y >> 12);
    bool armed = false;
    if (is_stairs_tile(code))
        armed = Game.stairs_armed == 1;
    else
        Game.stairs_armed = 1;
    if (Game.stairs_cooldown != 0 || Game.confiscate_ticks != 0 || !armed) return false;
    if (!stairs_open(code)) return false;
    const int32_t way = stairs_way(code);
    change_floor(floor_next(Game.current_floor, way), way > 0 ? 1 : 0);
    return true;
}

void pick_up_items_in_reach() {
    const int32_t px = player_pixel_x(), py = player_pixel_y();
    for (int32_t i = 0; i < Game.item_count; ++i) {
        const ItemSlot& item = Game.items[i];
        if (item.taken || item.floor != Game.current_floor) continue;
        const int32_t dx = px - tile_anchor_px(item.x), dy = py - tile_anchor_py(item.y);
        if (dx >= -10 && dx <= 10 && dy >= -10 && dy <= 10) pick_up_item(i);
    }
}

void enter_room() {
    const int32_t room = room_at(Game.current_floor, Game.player_x >> 12, Game.player_y >> 12);
    if (room < 0 || room == Game.current_room) return;
    Game.current_room = room;
    Game.room_label_ticks = 60;
    if (room == 0) pool_greeting();
}

void update_camera() {
    Game.camera_x += (camera_target_x() - Game.camera_x) / 4;
    Game.camera_y += (camera_target_y() - Game.camera_y) / 4;
}

void update_light_radius() {
    Game.light_radius = random_below(3) + 66;
    if (Game.inventory[ITEM_FLASHLIGHT] > 0) Game.light_radius = random_below(3) + 92;
    if (Game.current_floor == 4) Game.light_radius += 20;
    if (!npc_on_current_floor(NPC_PURSUER)) return;
    const int32_t d = npc_distance(NPC_PURSUER);
    if (Game.npcs[NPC_PURSUER].npc_state == PURSUER_ASLEEP) {
        Game.light_radius = 150 - (random_step() & 3);
    } else if (d < 110) {
        Game.light_radius = random_below(30) + 66;
        random_step();
        // One Tick in sixteen the light nearly goes out.
        if ((Game.random_state & 0x000F0000u) == 0) Game.light_radius = 24;
    }
    heartbeat_step();
}

}  // namespace

int32_t probe_tile_box(int32_t x, int32_t y) {
    const int32_t px = x >> 8, py = y >> 8;
    const int32_t corners[4][2] = {{px - 6, py - 5}, {px + 5, py - 5}, {px - 6, py}, {px + 5, py}};
    int32_t r = 0;
    for (const auto& corner : corners) {
        const int code = tile_at(corner[0] >> 4, corner[1] >> 4);
        if (is_floor_tile(code) || code == TILE_DOOR) continue;
        if (is_stairs_tile(code)) {
            if (!stairs_open(code)) r = code;
            continue;
        }
        if (is_barrier_tile(code)) {
            r = code;
            continue;
        }
        if (r == 0) r = 1;
    }
    return r;
}

namespace {

// Blocked by a wall while walking along one axis only: a step of SLIDE_STEP
// across, towards the nearer of the free lines within 12 pixels, lets the
// player round a corner. Returns whether it slid; moves along x when
// across_x, else along y.
bool slide_round_corner(int32_t& x, int32_t& y, int32_t blocked_x, int32_t blocked_y,
                        bool across_x) {
    for (int32_t i = 1; i <= 12; ++i) {
        for (int32_t side = 1; side >= -1; side -= 2) {
            const int32_t reach = side * 256 * i;
            const int32_t slide = side * SLIDE_STEP;
            const bool clear = across_x ? probe_tile_box(blocked_x + reach, blocked_y) == 0 &&
                                              probe_tile_box(x + slide, y) == 0
                                        : probe_tile_box(blocked_x, blocked_y + reach) == 0 &&
                                              probe_tile_box(x, y + slide) == 0;
            if (clear) {
                (across_x ? x : y) += slide;
                return true;
            }
        }
    }
    return false;
}

// Running costs breath unless an energy drink still works; out of breath,
// the next drink is drunk at once, or the player is exhausted.
void spend_breath() {
    if (Game.drink_ticks > 0) return;
    Game.stamina -= PlayerBreath.run_cost;
    if (Game.stamina > 0) return;
    Game.stamina = 0;
    if (Game.inventory[ITEM_ENERGY_DRINK] > 0) {
        Game.inventory[ITEM_ENERGY_DRINK] -= 1;
        Game.stamina = PlayerBreath.most;
        Game.drink_ticks = PlayerBreath.drink_ticks;
        play_sound(SFX_ENERGY_DRINK);
        set_message("ENERGY-DRINK! 8 SEKUNDEN VOLLE PUSTE.", "", 60);
    } else {
        Game.exhausted = 1;
        set_message("KEINE PUSTE MEHR!", "", 45);
    }
}

// Not running, breath comes back, faster in a locker.
void catch_breath() {
    Game.stamina += Game.player_hidden ? PlayerBreath.hidden_gain : PlayerBreath.rest_gain;
    if (Game.stamina > PlayerBreath.most) Game.stamina = PlayerBreath.most;
    if (Game.exhausted && Game.stamina > PlayerBreath.recovered) Game.exhausted = 0;
}

}  // namespace

int32_t player_speed(const GameState& state, uint32_t held) {
    const PlayerPace& pace = PlayerTable[state.inventory[ITEM_SNEAKERS] > 0 ? 1 : 0];
    if (player_can_run(state, held)) return pace.run_speed;
    return pace.walk_speed;
}

bool player_can_run(const GameState& state, uint32_t held) {
    return (held & INPUT_RUN) && state.stamina > 0 && !state.exhausted;
}

PlayerStep player_step(const GameState& state, uint32_t held) {
    PlayerStep step{};
    step.x = state.player_x;
    step.y = state.player_y;
    step.facing = state.player_facing;
    const int32_t a = ((held & INPUT_RIGHT) ? 1 : 0) - ((held & INPUT_LEFT) ? 1 : 0);
    const int32_t b = ((held & INPUT_DOWN) ? 1 : 0) - ((held & INPUT_UP) ? 1 : 0);
    step.moving = (a != 0 || b != 0) ? 1 : 0;

    step.door_slow = state.door_slow;
    if (tile_at(step.x >> 12, step.y >> 12) == TILE_DOOR) {
        if (step.door_slow < 12) step.door_slow += 3;
    } else if (step.door_slow > 0) {
        step.door_slow -= 2;
        if (step.door_slow < 0) step.door_slow = 0;
    }
    if (!step.moving) return step;

    step.running = player_can_run(state, held) ? 1 : 0;
    int32_t speed = player_speed(state, held);
    if (step.door_slow > 0) speed = speed * 55 / 100;
    if (a != 0 && b != 0) speed = speed * 181 / 256;  // diagonals are no faster
    step.speed = speed;

    if (a != 0) {
        const int32_t new_x = step.x + a * speed;
        const int32_t r = probe_tile_box(new_x, step.y);
        if (r == 0)
            step.x = new_x;
        else if (r > 1)
            step.bump_tile = r;
        else if (b == 0)
            slide_round_corner(step.x, step.y, new_x, step.y, false);
    }
    if (b != 0) {
        const int32_t new_y = step.y + b * speed;
        const int32_t r = probe_tile_box(step.x, new_y);
        if (r == 0)
            step.y = new_y;
        else if (r > 1)
            step.bump_tile = r;
        else if (a == 0)
            slide_round_corner(step.x, step.y, step.x, new_y, true);
    }

    if (a > 0)
        step.facing = FACING_RIGHT;
    else if (a < 0)
        step.facing = FACING_LEFT;
    else if (b < 0)
        step.facing = FACING_UP;
    else
        step.facing = FACING_DOWN;
    return step;
}

void move_player(uint32_t held) {
    const PlayerStep step = player_step(Game, held);
    Game.player_moving = step.moving;
    Game.door_slow = step.door_slow;
    Game.running = step.running;
    Game.player_x = step.x;
    Game.player_y = step.y;
    Game.player_facing = step.facing;
    if (step.bump_tile != 0) Game.bump_tile = step.bump_tile;
    if (step.moving) {
        // Only its phase matters to the walk animation, so after hours of
        // walking it wraps around instead of overflowing.
        Game.walk_distance = static_cast<int32_t>(static_cast<uint32_t>(Game.walk_distance) +
                                                  static_cast<uint32_t>(step.speed));
    }
    if (step.running)
        spend_breath();
    else
        catch_breath();
}

void change_floor(int32_t floor, int32_t going_up) {
    for (int32_t slot = NPC_PURSUER; slot <= NPC_PHONE_TEACHER; ++slot) {
        NpcSlot& npc = Game.npcs[slot];
        if (!npc_on_current_floor(slot)) continue;
        bool follows;
        if (slot == NPC_PURSUER) {
            const bool searching_long = npc.npc_state == PURSUER_SEARCH && npc.npc_state_ticks > 150;
            follows = npc.npc_stun_ticks == 0 && (pursuer_hunting(npc) || searching_long);
        } else {
            follows = npc.npc_state == PHONE_TEACHER_FOR_PHONE && npc.npc_stun_ticks == 0;
            if (follows) Game.teacher_following = 1;
        }
        if (follows) {
            const int32_t tx = npc.npc_x >> 12, ty = npc.npc_y >> 12;
            const int32_t dx = tx > 3 ? tx - 3 : 3 - tx;
            const int32_t dy = ty > 19 ? ty - 19 : 19 - ty;
            npc.npc_follow_floor = floor;
            npc.npc_follow_ticks = (dx + dy + 5) * 3;
        }
        npc.npc_present = 0;
        if (npc.npc_state == PHONE_TEACHER_CONFISCATE) npc.npc_state = PHONE_TEACHER_PATROL;
    }

    load_floor(floor);
    repaint_floor();

    Game.player_y = ARRIVAL_Y;
    Game.player_x = going_up ? ARRIVAL_UP_X : ARRIVAL_DOWN_X;
    Game.player_facing = going_up ? FACING_LEFT : FACING_RIGHT;
    Game.stairs_armed = 0;

    for (int32_t slot = NPC_PURSUER; slot <= NPC_PHONE_TEACHER; ++slot) {
        NpcSlot& npc = Game.npcs[slot];
        if (npc.npc_floor != floor || npc.npc_follow_ticks != 0 || npc.npc_present) continue;
        npc_place_far(slot);
        npc.npc_present = 1;
        npc.npc_flow_source = -1;
        npc_reset(slot);
    }

    if (Game.friend_state != FRIEND_ABSENT && Game.friend_state != FRIEND_ON_THE_WAY) {
        NpcSlot& friend_slot = Game.npcs[NPC_FRIEND];
        friend_slot.npc_x = FRIEND_ARRIVAL_X;
        friend_slot.npc_y = FRIEND_ARRIVAL_Y;
        friend_slot.npc_target = tile_index(4, 19);
        friend_slot.npc_moving = 0;
        friend_slot.npc_flow_source = -1;
        if (Game.friend_state == FRIEND_RUNNING || Game.friend_state == FRIEND_BRAWL) {
            Game.friend_state = FRIEND_GUARDING;
            Game.friend_ticks = 240;
        }
    }

    play_sound(SFX_FLOOR_CHANGE);
    Game.stairs_cooldown = 20;
    Game.floor_banner_ticks = 80;
    Game.current_room = -1;
    Game.player_hidden = 0;
    update_visibility(Game.player_x >> 12, Game.player_y >> 12);
    snap_camera();
}

int32_t camera_target_x() {
    int32_t x = player_pixel_x() - CAMERA_PLAYER_X;
    const NpcSlot& pursuer = Game.npcs[NPC_PURSUER];
    if (npc_on_current_floor(NPC_PURSUER) && pursuer.npc_state == PURSUER_ASLEEP)
        x = (player_pixel_x() + (pursuer.npc_x >> 8)) / 2 - CAMERA_PLAYER_X;
    return clamp_camera_x(x);
}

int32_t camera_target_y() {
    int32_t y = player_pixel_y() - CAMERA_PLAYER_Y;
    const NpcSlot& pursuer = Game.npcs[NPC_PURSUER];
    if (npc_on_current_floor(NPC_PURSUER) && pursuer.npc_state == PURSUER_ASLEEP)
        y = (player_pixel_y() + (pursuer.npc_y >> 8)) / 2 - CAMERA_SLEEPER_Y;
    return clamp_camera_y(y);
}

int32_t clamp_camera_x(int64_t x) { return clamp32(x, 0, WORLD_W - SCREEN_W); }

int32_t clamp_camera_y(int64_t y) {
    return clamp32(y, -CAMERA_ABOVE_WORLD, WORLD_H - SCREEN_H + CAMERA_BELOW_WORLD);
}

void snap_camera() {
    Game.camera_x = camera_target_x();
    Game.camera_y = camera_target_y();
}

void update_world(uint32_t held, uint32_t pressed) {
    Game.play_ticks = static_cast<int32_t>(static_cast<uint32_t>(Game.play_ticks) + 1u);  // wraps, never overflows
    count_down(Game.message_ticks);
    count_down(Game.alert_ticks);
    count_down(Game.heartbeat_flash);
    count_down(Game.shake_ticks);
    count_down(Game.room_label_ticks);
    count_down(Game.bump_cooldown);
    count_down(Game.stairs_cooldown);
    count_down(Game.floor_banner_ticks);
    count_down(Game.call_cooldown);
    count_down(Game.drink_ticks);
    count_down(Game.stink_ticks);

    if (pressed & INPUT_BACK) {
        Game.mode = MODE_TITLE;
        Game.mode_ticks = 0;
        Game.ring_ticks = 0;
        return;
    }

    if (Game.confiscate_ticks > 0) {
        Game.confiscate_ticks -= 1;
        if (Game.confiscate_ticks == 0) end_confiscation_scene();
    }

    Game.near_teacher = teacher_in_reach() ? 1 : 0;
    Game.prompt_kind = prompt_here();

    if (pressed & INPUT_PHONE) phone_button();
    if ((pressed & INPUT_ACTION) && Game.confiscate_ticks == 0) on_action();
    if (Game.mode != MODE_PLAYING) return;

    move_player(Game.player_hidden || Game.confiscate_ticks > 0 ? 0 : held);
    if (take_stairs()) return;
    handle_bump();
    if (Game.mode != MODE_PLAYING) return;
    pick_up_items_in_reach();
    enter_room();
    phone_ring_step();
    update_visibility(Game.player_x >> 12, Game.player_y >> 12);

    for (int32_t slot = NPC_PURSUER; slot <= NPC_PHONE_TEACHER; ++slot) {
        if (!npc_on_current_floor(slot)) offfloor_update(slot);
    }
    if (npc_on_current_floor(NPC_PURSUER)) pursuer_update();

    if (Game.mode != MODE_PLAYING) return;
    if (npc_on_current_floor(NPC_PHONE_TEACHER)) phone_teacher_update();
    friend_update();
    update_camera();
    update_light_radius();
}
