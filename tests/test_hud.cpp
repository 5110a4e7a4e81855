// The HUD at the edges of its layout, drawn over a black screen.
#include <cstring>

#include "game/game_state.h"
#include "play_fixture.h"
#include "gfx/draw.h"
#include "gfx/font.h"
#include "platform/present.h"
#include "screens/hud.h"

namespace {

class Hud : public PlayFixture {
protected:
    void draw() {
        std::memset(Framebuffer, 0, sizeof Framebuffer);
        draw_hud();
    }
    // The first and last column holding the colour within the rows y0..y1 and columns x0..x1; -1 none.
    static int leftmost(int colour, int x0, int x1, int y0, int y1) {
        for (int x = x0; x <= x1; ++x)
            for (int y = y0; y <= y1; ++y)
                if (Framebuffer[y * SCREEN_W + x] == colour) return x;
        return -1;
    }
    static int rightmost(int colour, int x0, int x1, int y0, int y1) {
        for (int x = x1; x >= x0; --x)
            for (int y = y0; y <= y1; ++y)
                if (Framebuffer[y * SCREEN_W + x] == colour) return x;
        return -1;
    }
    static int count(int colour, int y0, int y1) {
        int n = 0;
        for (int i = y0 * SCREEN_W; i < (y1 + 1) * SCREEN_W; ++i) n += Framebuffer[i] == colour;
        return n;
    }
};

}  // namespace

TEST_F(Hud, StickerEntryStandsAtNinetyEightWithAnEmptyInventory) {
    draw();
    EXPECT_EQ(leftmost(15, 106, 160, 191, 197), 108);  // "0/18" in colour 15, right of the icon
    Game.inventory[ITEM_FLASHLIGHT] = 1;
    Game.inventory[ITEM_ENERGY_DRINK] = 2;
    draw();
    EXPECT_EQ(leftmost(15, 136, 180, 191, 197), 98 + 11 + 19 + 10);
    EXPECT_EQ(leftmost(6, 117, 127, 191, 197), 98 + 11 + 10);  // the drink count in colour 6
}

TEST_F(Hud, StaminaBar) {
    struct Case { int32_t stamina, exhausted, colour, last; };
    const Case cases[] = {{1000, 0, 14, 54}, {500, 0, 14, 29}, {0, 0, 14, -1}, {500, 1, 11, 29}};
    for (const Case& c : cases) {
        Game.stamina = c.stamina;
        Game.exhausted = c.exhausted;
        draw();
        EXPECT_EQ(rightmost(c.colour, 0, 59, 193, 195), c.last) << c.stamina;
        if (c.last > 0) {
            EXPECT_EQ(leftmost(c.colour, 0, 59, 193, 195), 5);
        }
        EXPECT_EQ(Framebuffer[192 * SCREEN_W + 55], 1);  // the box
    }
}

TEST_F(Hud, FloorLabelAndHeightRightAligned) {
    go_to_floor(5);
    draw();
    EXPECT_EQ(leftmost(3, 200, 319, 4, 10), 269);
    EXPECT_EQ(rightmost(3, 200, 319, 4, 10), 315);
    EXPECT_EQ(leftmost(3, 200, 319, 13, 19), 281);  // "8,00 M"
    go_to_floor(0);
    draw();
    EXPECT_EQ(rightmost(15, 200, 319, 4, 10), 315);
}

TEST_F(Hud, MessageBoxOneAndTwoLines) {
    set_message("HALLO", "", 10);
    draw();
    const int w = text_width("HALLO", 1);
    EXPECT_EQ(leftmost(1, 0, 319, 177, 177), (320 - w) / 2 - 3);
    EXPECT_EQ(count(1, 164, 164), 0);
    set_message("HI", "EINE VIEL LAENGERE ZEILE", 10);
    draw();
    const int w2 = text_width("EINE VIEL LAENGERE ZEILE", 1);
    EXPECT_EQ(leftmost(1, 0, 319, 164, 164), (320 - w2) / 2 - 3);
    EXPECT_EQ(rightmost(1, 0, 319, 164, 164), (320 - w2) / 2 - 3 + w2 + 5);
}

TEST_F(Hud, PromptsGiveWayToMessagesAndTheNameTaking) {
    Game.near_teacher = 1;
    draw();
    EXPECT_GT(count(5, 156, 162), 0);  // "E = MIT HERRN HEMMKE REDEN"
    set_message("X", "", 10);
    draw();
    EXPECT_EQ(count(5, 156, 162), 0);
    Game.message_ticks = 0;
    Game.near_teacher = 0;
    Game.prompt_kind = 'M';
    Game.task = 2;
    draw();
    EXPECT_GT(count(15, 156, 162), 0);
    Game.task = 3;  // the piano prompt only while the song is the task
    draw();
    EXPECT_EQ(count(15, 156, 162), 0);
    // Name-taking: its line, no prompt, but the message still shows.
    Game.task = 2;
    Game.confiscate_ticks = 31;
    set_message("HANDY HER", "", 10);
    draw();
    EXPECT_GT(count(15, 140, 146), 0);
    EXPECT_EQ(count(15, 156, 162), 0);
    EXPECT_GT(count(6, 179, 185), 0);
}

// In the locker ACTION only gets the player out: no prompt for what he could
// do outside it may cover "VERSTECKT - E = RAUS".
TEST_F(Hud, HiddenTheHintComesAboveThePromptOfThePlace) {
    struct Case { int32_t near_teacher, prompt_kind, task; };
    const Case cases[] = {{1, 0, 0}, {0, 'M', 2}, {0, 'u', 4}};
    for (const Case& c : cases) {
        Game.near_teacher = c.near_teacher;
        Game.prompt_kind = c.prompt_kind;
        Game.task = c.task;
        Game.player_hidden = 0;
        draw();
        uint8_t outside[SCREEN_W * SCREEN_H];
        std::memcpy(outside, Framebuffer, sizeof outside);
        EXPECT_EQ(count(5, 150, 154), 0) << "no hiding hint outside a locker";
        Game.player_hidden = 1;
        draw();
        EXPECT_GT(count(5, 150, 154), 0) << "the hiding hint";
        // Below the hint's rows the prompt of the place is as it is outside.
        EXPECT_EQ(std::memcmp(outside + 161 * SCREEN_W, Framebuffer + 161 * SCREEN_W, 3 * SCREEN_W), 0)
            << c.near_teacher << " " << c.prompt_kind;
    }
}

TEST_F(Hud, PhoneStatus) {
    struct Case { int32_t has_phone, ring, friend_state, cooldown, colour; };
    const Case cases[] = {{1, 0, 0, 0, 14}, {1, 0, 0, 1200, 4}, {1, 0, FRIEND_GUARDING, 1200, 14},
                          {0, 0, 0, 0, 3}};
    for (const Case& c : cases) {
        Game.has_phone = c.has_phone;
        Game.ring_ticks = c.ring;
        Game.friend_state = c.friend_state;
        Game.call_cooldown = c.cooldown;
        draw();
        EXPECT_GT(leftmost(c.colour, 250, 319, 191, 197), 0) << c.has_phone << " " << c.cooldown;
    }
    Game.has_phone = 1;
    Game.ring_ticks = 50;
    Game.total_ticks = 0;
    draw();
    EXPECT_GT(leftmost(12, 261, 319, 191, 197), 0);  // "KLINGELT!" blinks on
    Game.total_ticks = 4;
    draw();
    EXPECT_EQ(leftmost(12, 261, 319, 191, 197), -1);
}
