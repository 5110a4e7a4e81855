// ACTION in play, the special tiles, picking items up and the ten tasks.
#include <string>

#include "game/current_floor.h"
#include "game/game_state.h"
#include "play_fixture.h"
#include "game/interactions.h"
#include "game/items.h"
#include "game/new_game.h"
#include "game/quest.h"
#include "platform/input.h"
#include "world/rooms.h"
#include "world/tile_geometry.h"

namespace {

class Quest : public PlayFixture {
protected:
    // An item of the type in slot 47 (free in a new game), on this floor beside the player.
    static int32_t give_slot(int32_t type) {
        Game.item_count = ITEM_SLOT_COUNT;
        scene_set_item(47, Game.current_floor, 21, 14, type);
        return 47;
    }
    static std::string line1() { return Game.message_line1; }
    static std::string line2() { return Game.message_line2; }
};

}  // namespace

TEST_F(Quest, EachTaskIsDoneByItsOwnItemAndNothingElse) {
    for (int32_t task = 0; task < TASK_COUNT; ++task) {
        const TaskRow& row = TaskTable[task];
        if (row.item_type < 0) continue;
        Game.task = task;
        for (int32_t type = 0; type < ITEM_TYPE_COUNT; ++type) Game.inventory[type] = 0;
        // Another task's item only counts.
        const int32_t other = TaskTable[(task + 1) % TASK_COUNT].item_type >= 0
                                  ? TaskTable[(task + 1) % TASK_COUNT].item_type
                                  : ITEM_STICKER;
        pick_up_item(give_slot(other));
        EXPECT_EQ(Game.task, task) << "task " << task;
        Game.inventory[row.item_type] = row.count - 1;
        pick_up_item(give_slot(row.item_type));
        EXPECT_EQ(Game.task, task + 1) << "task " << task;
        EXPECT_EQ(Game.message_ticks, 150) << "the task's message replaces the pickup's";
        EXPECT_EQ(Game.checkpoint.task, task + 1);
        EXPECT_EQ(Game.checkpoint.taken[47], 1);
    }
}

TEST_F(Quest, StairKeyOpensTheNextFloorInTheSameTick) {
    Game.item_count = 1;
    scene_set_item(0, 3, 20, 14, ITEM_STAIR_KEY);
    update_world(0, 0);
    EXPECT_EQ(Game.items[0].taken, 1);
    EXPECT_EQ(Game.task, 1);
    EXPECT_EQ(Game.floor_open[2], 1);
    EXPECT_EQ(line1(), "DER TREPPENSCHLÜSSEL!");
    EXPECT_EQ(line2(), "DAS GITTER ZUR 3. ETAGE IST JETZT OFFEN.");
    EXPECT_EQ(last_sound(), 16);  // the gate's sound follows the key's
}

TEST_F(Quest, PickupMessages) {
    Game.task = 1;
    Game.inventory[ITEM_ENERGY_DRINK] = 1;
    pick_up_item(give_slot(ITEM_ENERGY_DRINK));
    EXPECT_EQ(line1(), "ENERGY-DRINK! (2X)");
    EXPECT_EQ(line2(), "HILFT, WENN DIR DIE PUSTE AUSGEHT.");
    EXPECT_EQ(last_sound(), 14);
    Game.inventory[ITEM_STICKER] = 17;
    pick_up_item(give_slot(ITEM_STICKER));
    EXPECT_EQ(line2(), "ST.-IVRA-STICKER 18/18");
    Game.inventory[ITEM_SHEET_MUSIC] = 1;
    pick_up_item(give_slot(ITEM_SHEET_MUSIC));
    EXPECT_EQ(line1(), "EIN NOTENBLATT!");
    EXPECT_EQ(line2(), "SCHON 2 VON 4");
    EXPECT_EQ(Game.message_ticks, 110);
    pick_up_item(give_slot(ITEM_POOL_KEY));
    EXPECT_EQ(line2(), "");
    EXPECT_EQ(last_sound(), 3);
}

TEST_F(Quest, CodeNotesGiveTheDigitsInOrderWhicheverIsFound) {
    Game.task = 7;
    Game.code_digits[0] = 3;
    Game.code_digits[1] = 7;
    Game.code_digits[2] = 2;
    const char* expected[] = {"DARAUF STEHT: 1. ZIFFER = 3", "DARAUF STEHT: 2. ZIFFER = 7"};
    for (int i = 0; i < 2; ++i) {
        pick_up_item(give_slot(ITEM_CODE_NOTE));
        EXPECT_EQ(line2(), expected[i]);
    }
    pick_up_item(give_slot(ITEM_CODE_NOTE));
    EXPECT_EQ(Game.task, 8);
    EXPECT_EQ(line1(), "DER CODE IST 372! KLICK.");
    EXPECT_EQ(Game.floor_open[5], 1);
}

TEST_F(Quest, ActionPrecedenceTalkPianoFuseLockerHide) {
    // Hidden beside the teacher: ACTION leaves the locker.
    Game.teacher_floor = 3;
    Game.teacher_x = 21;
    Game.teacher_y = 14;
    Game.player_hidden = 1;
    on_action();
    EXPECT_EQ(Game.player_hidden, 0);
    EXPECT_EQ(line1(), "DU FALTEST DICH WIEDER AUSEINANDER.");
    EXPECT_EQ(last_sound(), 6);
    // Not hidden: he names the first untaken stair key and its room.
    on_action();
    EXPECT_EQ(last_sound(), 11);
    EXPECT_EQ(line1(), "HERR HEMMKE: DEN TREPPENSCHLÜSSEL HAB ICH GESEHEN.");
    int32_t key = -1;
    for (int32_t i = 0; i < Game.item_count && key < 0; ++i)
        if (Game.items[i].type == ITEM_STAIR_KEY) key = i;
    ASSERT_GE(key, 0);
    EXPECT_EQ(Game.hinted_item, key);
    const ItemSlot& k = Game.items[key];
    const int32_t room = room_at(k.floor, k.x, k.y);
    EXPECT_EQ(line2(), std::string("ORT: ") + (room >= 0 ? RoomTable.name[room] : "IRGENDWO HIER"));
    // Collecting several: "one of them"; nothing left to find: the second hint.
    Game.task = 1;
    on_action();
    EXPECT_EQ(line2().rfind("EINS HAB ICH GESEHEN - ORT: ", 0), 0u);
    Game.task = 2;
    Game.teacher_floor = 3;
    on_action();
    EXPECT_EQ(line2(), "DANN GEHT DAS GEHEIMFACH AUF.");
    // Away from the teacher, a piano prompt wins over the locker.
    Game.teacher_floor = 0;
    Game.prompt_kind = 'M';
    Game.task = 0;
    on_action();
    EXPECT_EQ(line1(), "EIN KLAVIER. OHNE NOTEN KANNST DU NICHTS SPIELEN.");
    Game.prompt_kind = 'u';
    on_action();
    EXPECT_EQ(line2(), "ES FEHLEN 3 SICHERUNGEN.");
    Game.prompt_kind = 0;
    on_action();  // the corridor at (20, 14) has no locker beside it
    EXPECT_EQ(line1(), "HIER IST KEIN SPIND ZUM VERSTECKEN.");
}

TEST_F(Quest, HerrHemmkeTalksWithinFortyPixelsOfHisTile) {
    Game.teacher_floor = Game.current_floor;
    Game.teacher_x = 21;
    Game.teacher_y = 14;
    // Player positions in pixels, against the teacher's anchor on his tile.
    struct Case { int32_t dx, dy; bool talks; };
    const Case cases[] = {{39, 0, true}, {40, 0, false}, {0, -39, true}, {0, 40, false},
                          {24, 31, true}, {24, 32, false}};  // isqrt(1537) = 39, isqrt(1600) = 40
    for (const Case& c : cases) {
        Game.player_x = (tile_anchor_px(21) + c.dx) << 8;
        Game.player_y = (tile_anchor_py(14) + c.dy) << 8;
        EXPECT_EQ(action_kind(0) == ACTION_TALK, c.talks) << c.dx << ", " << c.dy;
    }
    Game.teacher_floor = Game.current_floor + 1;  // on another floor: never
    Game.player_x = tile_anchor_px(21) << 8;
    Game.player_y = tile_anchor_py(14) << 8;
    EXPECT_NE(action_kind(0), ACTION_TALK);
}

TEST_F(Quest, PianoOpensTheGymOnceAndThenOnlyPlings) {
    go_to_floor(2);
    Game.task = 2;
    Game.prompt_kind = 'M';
    on_action();
    EXPECT_EQ(Game.task, 3);
    EXPECT_EQ(Game.floor_open[1], 1);
    EXPECT_EQ(line2(), "DER HALLENSCHLÜSSEL! DIE 2. ETAGE IST OFFEN.");
    Game.floor_open[1] = 0;  // had it opened again, this would show
    on_action();
    EXPECT_EQ(Game.task, 3);
    EXPECT_EQ(Game.floor_open[1], 0);
    EXPECT_EQ(line1(), "PLING. (DAS GEHEIMFACH IST SCHON LEER.)");
    EXPECT_EQ(last_sound(), 15);
}

TEST_F(Quest, FuseBoxWorksOnlyAtTaskFour) {
    go_to_floor(1);
    Game.prompt_kind = 'u';
    Game.task = 4;
    on_action();
    EXPECT_EQ(Game.power_on, 1);
    EXPECT_EQ(Game.floor_open[0], 1);
    EXPECT_EQ(Game.task, 5);
    EXPECT_EQ(last_sound(), 17);
    on_action();
    EXPECT_EQ(line1(), "DER STROM LÄUFT WIEDER.");
    EXPECT_EQ(Game.task, 5);
}

TEST_F(Quest, HidingIsSeenOnlyByAChasingPursuerWhoSeesIt) {
    stand_on(6, 14);  // below the lockers of the corridor
    struct Case { int32_t state, stun; bool comes; };
    const Case cases[] = {{PURSUER_CHASE, 0, true}, {PURSUER_CHASE, 5, false},
                          {PURSUER_SEARCH, 0, false}, {PURSUER_PATROL, 0, false}};
    for (const Case& c : cases) {
        Game.player_hidden = 0;
        NpcSlot& p = put_npc(NPC_PURSUER, 12, 14, c.state);
        p.npc_stun_ticks = c.stun;
        on_action();
        EXPECT_EQ(Game.player_hidden, 1);
        EXPECT_EQ(p.npc_state == PURSUER_LOCKER, c.comes) << "state " << c.state;
        EXPECT_EQ(line1(), c.comes ? "OH NEIN... ER HAT ES GESEHEN!" : "DU FALTEST DICH IN DEN SPIND. ALLE 8 METER.");
    }
    // Climbing out sends him back to the chase.
    Game.npcs[NPC_PURSUER].npc_state = PURSUER_LOCKER;
    on_action();
    EXPECT_EQ(Game.npcs[NPC_PURSUER].npc_state, PURSUER_CHASE);
}

TEST_F(Quest, TheMainExitOnlyAtTheLastTaskAndGateMessagesOncePerSixtyTicks) {
    Game.bump_tile = 'E';
    handle_bump();
    EXPECT_EQ(line1(), "ABGESCHLOSSEN!");
    EXPECT_EQ(last_sound(), 7);
    EXPECT_EQ(Game.bump_cooldown, 60);
    Game.message_ticks = 0;
    Game.bump_tile = 'E';
    handle_bump();
    EXPECT_EQ(Game.message_ticks, 0);
    EXPECT_EQ(Game.bump_tile, 0);
    Game.bump_cooldown = 0;
    Game.bump_tile = '^';
    handle_bump();
    EXPECT_EQ(line1(), "GITTER ZU! DIE 5. ETAGE IST NOCH GESPERRT.");
    EXPECT_EQ(line2(), objective_line());

    Game.task = LAST_TASK;
    Game.play_ticks = 12345;
    Game.ring_ticks = 9;
    Game.bump_tile = 'E';
    handle_bump();
    EXPECT_EQ(Game.mode, MODE_ESCAPED);
    EXPECT_EQ(Game.final_ticks, 12345);
    EXPECT_EQ(Game.ring_ticks, 0);
    EXPECT_EQ(last_sound(), 5);
}

TEST_F(Quest, ThePoolHallOpensOnceFromTaskSix) {
    go_to_floor(0);
    Game.task = 5;
    Game.bump_tile = 'X';
    handle_bump();
    EXPECT_EQ(line1(), "DIE SCHWIMMHALLE IST ABGESCHLOSSEN.");
    EXPECT_EQ(Game.pool_hall_open, 0);
    Game.task = 6;
    Game.bump_tile = 'X';
    handle_bump();
    EXPECT_EQ(Game.pool_hall_open, 1);
    EXPECT_EQ(Game.checkpoint.pool_hall_open, 1);
    EXPECT_EQ(tile_at(27, 12), 'D');
    EXPECT_EQ(tile_at(28, 12), 'D');
    EXPECT_EQ(Game.bump_cooldown, 30);
    EXPECT_EQ(line2(), "IRGENDWO AM BECKEN LIEGT DER SCHLÜSSEL.");
}

TEST_F(Quest, PoolGreetingOnceAndOnlyWhileBrazzikSwims) {
    Game.friend_state = FRIEND_GUARDING;
    pool_greeting();
    EXPECT_EQ(Game.pool_greeting_done, 0);
    Game.friend_state = FRIEND_ABSENT;
    pool_greeting();
    EXPECT_EQ(line1(), "BRAZZIK (IM BECKEN): YO BRO, WAS GEHT?");
    Game.message_ticks = 0;
    pool_greeting();
    EXPECT_EQ(Game.message_ticks, 0);
}

TEST_F(Quest, ObjectiveLines) {
    Game.task = 1;
    Game.inventory[ITEM_SHEET_MUSIC] = 2;
    EXPECT_STREQ(objective_line(), "ZIEL: NOTENBLÄTTER 2/4");
    // Another floor first, then the hinted item's room, the task's own line, the teacher.
    EXPECT_STREQ(objective_hint_line(), "> ZUR 3. ETAGE");
    go_to_floor(2);
    Game.teacher_floor = 2;
    EXPECT_STREQ(objective_hint_line(), "> FRAG HERRN HEMMKE (AUF DIESER ETAGE)");
    Game.item_count = ITEM_SLOT_COUNT;
    scene_set_item(47, 2, 3, 5, ITEM_SHEET_MUSIC);  // in the first music room
    Game.hinted_item = 47;
    EXPECT_EQ(std::string(objective_hint_line()), std::string("> ") + RoomTable.name[room_at(2, 3, 5)]);
    Game.items[47].taken = 1;
    EXPECT_STREQ(objective_hint_line(), "> FRAG HERRN HEMMKE (AUF DIESER ETAGE)");
    Game.task = 2;
    EXPECT_STREQ(objective_hint_line(), "> EIN KLAVIER (MUSIKRÄUME)");
    Game.teacher_floor = 4;
    Game.task = 1;
    EXPECT_STREQ(objective_hint_line(), "");
}

TEST_F(Quest, TheCheckpointKeepsEveryTakenItemAcrossACapture) {
    Game.item_count = 2;
    scene_set_item(0, 3, 20, 14, ITEM_STAIR_KEY);
    scene_set_item(1, 3, 20, 14, ITEM_STICKER);
    update_world(0, 0);
    ASSERT_EQ(Game.task, 1);
    // Caught on floor 2 with the sticker still in the pocket.
    go_to_floor(2);
    Game.mode = MODE_CAUGHT;
    Game.mode_ticks = 21;
    game_tick(INPUT_CONFIRM);
    EXPECT_EQ(Game.mode, MODE_PLAYING);
    EXPECT_EQ(Game.current_floor, 2);
    EXPECT_EQ(player_tile(), tile_index(3, 19));
    EXPECT_EQ(Game.items[0].taken, 1);
    EXPECT_EQ(Game.items[1].taken, 1);
    EXPECT_EQ(Game.inventory[ITEM_STICKER], 1);
    EXPECT_EQ(Game.floor_open[2], 1);
}
