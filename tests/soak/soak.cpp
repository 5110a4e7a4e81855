// stivra_soak [--ticks N] [--long] [--seed S]: hundreds of thousands of Ticks
// of random input through every GameMode, passes of 1..4 Ticks and a frame
// each as the main loop runs them, with the game's invariants checked after
// every Tick. Built with the sanitizers, it is the long run that finds what
// short tests miss. STIVRA_SOAK_TICKS sets the length too.
//
// Besides input it sets up two situations the game reaches in long play but
// random keys rarely do: the pursuer chasing right beside the player, and the
// last task with the player in the entrance hall below the main door.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "game/game_state.h"
#include "game/game_flow.h"
#include "game/movement.h"
#include "game/new_game.h"
#include "game/quest.h"
#include "screens/draw_screen.h"
#include "world/tile_geometry.h"
#include "platform/input.h"
#include "platform/replay.h"
#include "world/floors.h"

namespace {

// The soak's own generator, apart from the game's.
struct Dice {
    uint64_t state;
    uint32_t next() {
        state = state * 6364136223846793005ull + 1442695040888963407ull;
        return static_cast<uint32_t>(state >> 33);
    }
    uint32_t below(uint32_t n) { return next() % n; }
    bool one_in(uint32_t n) { return below(n) == 0; }
};

struct Watch {
    uint64_t tick = 0;
    int32_t task = 0;
    int32_t taken[ITEM_SLOT_COUNT] = {};
    uint64_t mode_ticks[6] = {};
    uint64_t games = 0, captures = 0, escapes = 0, chases = 0, endings = 0;
    int32_t floors_seen = 0;  // bit per floor
};

[[noreturn]] void fail(const Watch& w, const char* what, long long value) {
    std::fprintf(stderr, "soak: Tick %llu: %s (%lld)\n", static_cast<unsigned long long>(w.tick), what, value);
    std::exit(1);
}

bool in_grid(int32_t x, int32_t y) {
    return x >= 0 && x < MAP_W * FIXED_TILE && y >= 0 && y < MAP_H * FIXED_TILE;
}

void check(Watch& w, int32_t mode_before) {
    const GameState& g = Game;
    if (g.mode < 0 || g.mode > 5) fail(w, "mode outside 0..5", g.mode);
    w.mode_ticks[g.mode] += 1;
    // Leaving the title starts a new game: progress begins again from nothing.
    if (mode_before == MODE_TITLE && g.mode == MODE_INTRO) {
        w.games += 1;
        w.task = g.task;
        std::memset(w.taken, 0, sizeof w.taken);
    }
    if (mode_before != MODE_CAUGHT_ANIMATION && g.mode == MODE_CAUGHT_ANIMATION) w.captures += 1;
    if (mode_before != MODE_ESCAPED && g.mode == MODE_ESCAPED) w.escapes += 1;

    if (!in_grid(g.player_x, g.player_y)) fail(w, "player outside the grid", g.player_x);
    for (int s = 0; s < NPC_SLOT_COUNT; ++s) {
        const NpcSlot& n = g.npcs[s];
        if (!in_grid(n.npc_x, n.npc_y)) fail(w, "character outside the grid (slot)", s);
        if (n.npc_floor < 0 || n.npc_floor >= FLOOR_COUNT) fail(w, "character floor outside 0..5 (slot)", s);
    }
    if (g.stamina < 0 || g.stamina > 1000) fail(w, "stamina outside 0..1000", g.stamina);
    if (g.current_floor < 0 || g.current_floor >= FLOOR_COUNT) fail(w, "current floor outside 0..5", g.current_floor);
    if (g.teacher_floor < 0 || g.teacher_floor >= FLOOR_COUNT) fail(w, "teacher floor outside 0..5", g.teacher_floor);
    w.floors_seen |= 1 << g.current_floor;
    for (int i = 0; i < ITEM_TYPE_COUNT; ++i)
        if (g.inventory[i] < 0) fail(w, "negative inventory count of item type", i);
    if (g.item_count < 0 || g.item_count > ITEM_SLOT_COUNT) fail(w, "item count outside 0..48", g.item_count);
    for (int i = 0; i < g.item_count; ++i) {
        const ItemSlot& item = g.items[i];
        if (item.floor < 0 || item.floor >= FLOOR_COUNT || item.x < 0 || item.x >= MAP_W || item.y < 0 ||
            item.y >= MAP_H)
            fail(w, "item outside the building (slot)", i);
        if (w.taken[i] && !item.taken) fail(w, "a taken item came back (slot)", i);
        w.taken[i] = item.taken;
    }
    if (g.task < 0 || g.task > 9) fail(w, "task outside 0..9", g.task);
    if (g.task < w.task) fail(w, "the task went back to", g.task);
    w.task = g.task;
    if (!std::memchr(g.message_line1, 0, TEXT_LINE_SIZE) || !std::memchr(g.message_line2, 0, TEXT_LINE_SIZE))
        fail(w, "a message line without its end", g.message_ticks);
    if ((g.mode == MODE_CAUGHT_ANIMATION || g.mode == MODE_CAUGHT) && !g.caught_text)
        fail(w, "caught without a caught text", g.mode);
}

// The pursuer awake and chasing on the player's floor, one to four tiles away.
void start_chase(Dice& dice, Watch& w) {
    const int32_t px = Game.player_x >> 12, py = Game.player_y >> 12;
    for (int attempt = 0; attempt < 40; ++attempt) {
        const int32_t x = px + static_cast<int32_t>(dice.below(9)) - 4;
        const int32_t y = py + static_cast<int32_t>(dice.below(9)) - 4;
        if ((x == px && y == py) || !is_route_passable(tile_at(x, y))) continue;
        NpcSlot& pursuer = Game.npcs[NPC_PURSUER];
        pursuer.npc_floor = Game.current_floor;
        pursuer.npc_present = 1;
        scene_place_npc(NPC_PURSUER, x, y);
        pursuer.npc_state = PURSUER_CHASE;
        pursuer.npc_state_ticks = 0;
        pursuer.npc_stun_ticks = 0;
        pursuer.npc_target = px + MAP_W * py;
        pursuer.npc_last_seen = pursuer.npc_target;
        pursuer.npc_flow_source = -1;
        w.chases += 1;
        return;
    }
}

// Every task done but the last, all floors open, the player in the entrance
// hall just below the main door.
void start_ending(Watch& w) {
    while (Game.task < 9) advance_task();
    for (int32_t& open : Game.floor_open) open = 1;
    if (Game.current_floor != 5) change_floor(5, 1);
    Game.player_x = tile_anchor_x(15);
    Game.player_y = tile_anchor_y(2);
    snap_camera();
    w.endings += 1;
}

uint32_t play_bits(Dice& dice) {
    static const uint32_t Moves[] = {
        0, INPUT_UP, INPUT_DOWN, INPUT_LEFT, INPUT_RIGHT, INPUT_UP | INPUT_LEFT, INPUT_UP | INPUT_RIGHT,
        INPUT_DOWN | INPUT_LEFT, INPUT_DOWN | INPUT_RIGHT, INPUT_LEFT | INPUT_RIGHT, INPUT_UP | INPUT_DOWN,
    };
    uint32_t bits = Moves[dice.below(sizeof Moves / sizeof Moves[0])];
    if (dice.one_in(3)) bits |= INPUT_RUN;
    if (dice.one_in(6)) bits |= INPUT_ACTION;
    if (dice.one_in(12)) bits |= INPUT_PHONE;
    if (dice.one_in(20)) bits |= INPUT_CONFIRM;
    if (dice.one_in(400)) bits |= INPUT_BACK;  // back to the title now and then
    return bits;
}

// Input for the next stretch of passes, by what the screen wants.
uint32_t next_bits(Dice& dice) {
    switch (Game.mode) {
    case MODE_TITLE:
        if (dice.one_in(80)) return INPUT_BACK;  // asks to quit; the game stays on the title
        return dice.one_in(2) ? uint32_t(dice.one_in(2) ? INPUT_CONFIRM : INPUT_ACTION) : 0u;
    case MODE_PLAYING: return play_bits(dice);
    case MODE_CAUGHT:
        if (dice.one_in(10)) return INPUT_BACK;
        return dice.one_in(2) ? uint32_t(INPUT_CONFIRM) : 0u;
    default: return dice.one_in(3) ? dice.below(REPLAY_MAX_BITS + 1) : 0;
    }
}

// 1..4 alike: far more catching-up than a real machine does, and fewer
// frames to draw for the same number of Ticks.
uint32_t pass_ticks(Dice& dice) {
    return 1 + dice.below(REPLAY_MAX_TICKS);
}

}  // namespace

int main(int argc, char** argv) {
    uint64_t ticks = 200000;
    uint32_t seed = 1;
    if (const char* env = std::getenv("STIVRA_SOAK_TICKS")) ticks = std::strtoull(env, nullptr, 10);
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--long") == 0) ticks = 1000000;
        else if (std::strcmp(argv[i], "--ticks") == 0 && i + 1 < argc) ticks = std::strtoull(argv[++i], nullptr, 10);
        else if (std::strcmp(argv[i], "--seed") == 0 && i + 1 < argc) seed = static_cast<uint32_t>(std::strtoul(argv[++i], nullptr, 10));
        else {
            std::fprintf(stderr, "usage: stivra_soak [--ticks N] [--long] [--seed S]\n");
            return 2;
        }
    }

    const auto start = std::chrono::steady_clock::now();
    Dice dice{seed * 2654435761ull + 1};
    Watch w;
    replay_start(seed);
    check(w, MODE_TITLE);
    uint64_t passes = 0;
    while (w.tick < ticks) {
        const uint32_t bits = next_bits(dice);
        const uint32_t span = 1 + dice.below(dice.one_in(4) ? 90 : 20);
        for (uint32_t p = 0; p < span && w.tick < ticks; ++p) {
            if (Game.mode == MODE_PLAYING && dice.one_in(1500)) start_chase(dice, w);
            if (Game.mode == MODE_PLAYING && dice.one_in(9000)) start_ending(w);
            uint32_t n = pass_ticks(dice);
            if (n > ticks - w.tick) n = static_cast<uint32_t>(ticks - w.tick);
            for (uint32_t t = 0; t < n; ++t) {
                const int32_t before = Game.mode;
                game_tick(bits);
                w.tick += 1;
                check(w, before);
            }
            draw_screen();
            passes += 1;
        }
    }

    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("soak: %llu Ticks in %llu passes, %.1f s; seed %u\n", static_cast<unsigned long long>(w.tick),
                static_cast<unsigned long long>(passes), seconds, seed);
    std::printf("soak: Ticks per mode: title %llu, intro %llu, play %llu, caught %llu + %llu, escaped %llu\n",
                static_cast<unsigned long long>(w.mode_ticks[0]), static_cast<unsigned long long>(w.mode_ticks[1]),
                static_cast<unsigned long long>(w.mode_ticks[2]), static_cast<unsigned long long>(w.mode_ticks[3]),
                static_cast<unsigned long long>(w.mode_ticks[4]), static_cast<unsigned long long>(w.mode_ticks[5]));
    std::printf("soak: %llu games, %llu chases set up, %llu captures, %llu endings set up, %llu escapes, floors seen 0x%02x\n",
                static_cast<unsigned long long>(w.games), static_cast<unsigned long long>(w.chases),
                static_cast<unsigned long long>(w.captures), static_cast<unsigned long long>(w.endings),
                static_cast<unsigned long long>(w.escapes), static_cast<unsigned int>(w.floors_seen));
    // Every screen must have been played through: the chases set up end in
    // captures, the endings set up in escapes.
    for (int m = 0; m <= 5; ++m) {
        if (!w.mode_ticks[m]) {
            std::fprintf(stderr, "soak: mode %d was never reached\n", m);
            return 1;
        }
    }
    return 0;
}
