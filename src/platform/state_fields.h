// Every GameState field by name, in one fixed order, for the state hash of a
// replay and the tool's per-pass trace. A field added to the GameState is
// added here too (a test flips every byte of the record and fails on one
// that the hash does not see).
//
// The visitor provides:
//   value(name, number)               int32_t, uint32_t
//   values(name, const int32_t*, n)
//   text(name, const char* buffer, size)   a fixed text buffer, all its bytes
//   text_pointer(name, const char*)        a referenced text, or null
//   flags(name, const int32_t*, n)         0/1 flags
//   items(name, const ItemSlot*, n)
//   flow_fields(name, const int16_t*, n)
//   begin_list(name), end_list(), begin_object(), end_object()
#pragma once
#include "game/game_state.h"

template <class V>
void visit_npc_slot(V& v, const NpcSlot& n) {
    v.value("npc_x", n.npc_x);
    v.value("npc_y", n.npc_y);
    v.value("npc_floor", n.npc_floor);
    v.value("npc_present", n.npc_present);
    v.value("npc_state", n.npc_state);
    v.value("npc_state_ticks", n.npc_state_ticks);
    v.value("npc_floor_ticks", n.npc_floor_ticks);
    v.value("npc_follow_floor", n.npc_follow_floor);
    v.value("npc_follow_ticks", n.npc_follow_ticks);
    v.value("npc_slow_ticks", n.npc_slow_ticks);
    v.value("npc_stun_ticks", n.npc_stun_ticks);
    v.value("npc_lost_ticks", n.npc_lost_ticks);
    v.value("npc_last_seen", n.npc_last_seen);
    v.value("npc_flow_source", n.npc_flow_source);
    v.value("npc_target", n.npc_target);
    v.value("npc_moving", n.npc_moving);
    v.value("npc_walk_distance", n.npc_walk_distance);
    v.value("npc_facing", n.npc_facing);
}

template <class V>
void visit_game_state(V& v, const GameState& g) {
    // Game flow
    v.value("mode", g.mode);
    v.value("mode_ticks", g.mode_ticks);
    v.value("total_ticks", g.total_ticks);
    v.value("previous_input", g.previous_input);
    v.value("random_state", g.random_state);

    // Play time
    v.value("play_ticks", g.play_ticks);
    v.value("final_ticks", g.final_ticks);
    v.value("catch_count", g.catch_count);
    v.text_pointer("caught_text", g.caught_text);

    // Player
    v.value("player_x", g.player_x);
    v.value("player_y", g.player_y);
    v.value("player_facing", g.player_facing);
    v.value("walk_distance", g.walk_distance);
    v.value("player_moving", g.player_moving);
    v.value("door_slow", g.door_slow);
    v.value("player_hidden", g.player_hidden);
    v.value("stamina", g.stamina);
    v.value("exhausted", g.exhausted);
    v.value("running", g.running);
    v.value("drink_ticks", g.drink_ticks);
    v.value("bump_tile", g.bump_tile);
    v.value("bump_cooldown", g.bump_cooldown);
    v.value("stairs_cooldown", g.stairs_cooldown);
    v.value("stairs_armed", g.stairs_armed);
    v.value("current_room", g.current_room);
    v.value("room_label_ticks", g.room_label_ticks);
    v.value("floor_banner_ticks", g.floor_banner_ticks);
    v.value("prompt_kind", g.prompt_kind);
    v.value("near_teacher", g.near_teacher);

    // World and quest
    v.value("current_floor", g.current_floor);
    v.values("floor_open", g.floor_open, FLOOR_COUNT);
    v.value("task", g.task);
    v.value("power_on", g.power_on);
    v.value("pool_hall_open", g.pool_hall_open);
    v.values("code_digits", g.code_digits, 3);
    v.values("inventory", g.inventory, ITEM_TYPE_COUNT);
    v.value("item_count", g.item_count);
    v.items("taken", g.items, ITEM_SLOT_COUNT);
    v.values("teacher_spot_x", g.teacher_spot_x, FLOOR_COUNT);
    v.values("teacher_spot_y", g.teacher_spot_y, FLOOR_COUNT);
    v.value("teacher_floor", g.teacher_floor);
    v.value("teacher_x", g.teacher_x);
    v.value("teacher_y", g.teacher_y);
    v.value("hinted_item", g.hinted_item);
    v.value("player_start_x", g.player_start_x);
    v.value("player_start_y", g.player_start_y);
    v.value("pursuer_start_x", g.pursuer_start_x);
    v.value("pursuer_start_y", g.pursuer_start_y);

    // Messages and view
    v.text("message_line1", g.message_line1, TEXT_LINE_SIZE);
    v.text("message_line2", g.message_line2, TEXT_LINE_SIZE);
    v.value("message_ticks", g.message_ticks);
    v.value("camera_x", g.camera_x);
    v.value("camera_y", g.camera_y);
    v.value("light_radius", g.light_radius);
    v.value("heartbeat_ticks", g.heartbeat_ticks);
    v.value("heartbeat_flash", g.heartbeat_flash);
    v.value("stink_ticks", g.stink_ticks);
    v.value("alert_ticks", g.alert_ticks);
    v.value("shake_ticks", g.shake_ticks);
    v.value("heard_cooldown", g.heard_cooldown);

    // Characters
    v.begin_list("npcs");
    for (const NpcSlot& n : g.npcs) {
        v.begin_object();
        visit_npc_slot(v, n);
        v.end_object();
    }
    v.end_list();
    v.flow_fields("flow_fields", &g.flow_fields[0][0], FLOW_FIELD_COUNT * MAP_TILES);

    // Phone and friend
    v.value("has_phone", g.has_phone);
    v.value("call_countdown", g.call_countdown);
    v.value("ring_ticks", g.ring_ticks);
    v.value("confiscate_ticks", g.confiscate_ticks);
    v.value("friend_state", g.friend_state);
    v.value("pool_greeting_done", g.pool_greeting_done);
    v.value("ring_count", g.ring_count);
    v.value("call_cooldown", g.call_cooldown);
    v.value("friend_ticks", g.friend_ticks);
    v.value("friend_target", g.friend_target);
    v.value("teacher_following", g.teacher_following);

    // Checkpoint
    v.value("checkpoint_task", g.checkpoint.task);
    v.value("checkpoint_power_on", g.checkpoint.power_on);
    v.value("checkpoint_pool_hall_open", g.checkpoint.pool_hall_open);
    v.values("checkpoint_floor_open", g.checkpoint.floor_open, FLOOR_COUNT);
    v.values("checkpoint_inventory", g.checkpoint.inventory, ITEM_TYPE_COUNT);
    v.flags("checkpoint_taken", g.checkpoint.taken, ITEM_SLOT_COUNT);
}
