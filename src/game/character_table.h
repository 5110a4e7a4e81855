// How fast everyone moves (Fixed units a Tick) and how far the grown-ups see
// and hear the player (squared tiles). The rules that move the characters
// read these, and so does anything that plays against them.
#pragma once
#include <cstdint>

#include "game/game_state.h"

// The player: walking and running, with and without the sneakers.
struct PlayerPace {
    int32_t walk_speed;
    int32_t run_speed;
};
extern const PlayerPace PlayerTable[2];  // [0] without, [1] with the sneakers

// The player's breath (Game.stamina): running spends it, any other Tick
// brings it back, faster in a locker. Run dry he is exhausted until it is
// back above `recovered`, unless an energy drink fills it at once and keeps
// it from being spent for `drink_ticks`.
struct BreathRule {
    int32_t most;         // full breath, and what a drink gives
    int32_t run_cost;     // a running Tick
    int32_t rest_gain;    // a Tick not running
    int32_t hidden_gain;  // a Tick not running, in a locker
    int32_t recovered;
    int32_t drink_ticks;
};
extern const BreathRule PlayerBreath;

struct CharacterPace {
    int32_t patrol_speed;   // on his rounds; Brazzik: keeping up with the player
    int32_t search_speed;   // looking where the player was last seen
    int32_t hunt_speed;     // Herr Haselbrink after the phone, Brazzik running;
                            // Herr Mürzel coming for a locker: this on top of
                            // his chase speed (pursuer_base_speed)
    int32_t sight_radius2;  // sees the player within this (0: does not look)
    int32_t notice_radius2; // Herr Mürzel hears running within this; Herr
                            // Haselbrink sees a call being made within this
    // Herr Mürzel's chase: chase_speed at the start of play, one more for
    // every chase_ticks_a_step Ticks played, at most chase_speed_most
    // (pursuer_base_speed). 0 for the others.
    int32_t chase_speed;
    int32_t chase_ticks_a_step;
    int32_t chase_speed_most;
};
extern const CharacterPace CharacterTable[3];  // by NpcSlotIndex
