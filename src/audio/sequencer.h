// Music and jingles: the songs of the screens, the phone's ring melody, and
// play_sound, the one way to start a sound effect.
#pragma once
#include <cstdint>

#include "data/songs.h"

enum SoundEffect : int32_t {
    SFX_HEARTBEAT = 1,
    SFX_NOTICED = 2,
    SFX_KEY = 3,
    SFX_CAUGHT = 4,
    SFX_ESCAPE = 5,
    SFX_LOCKER = 6,
    SFX_LOCKED = 7,
    SFX_FOOTSTEPS = 8,
    SFX_CALL = 9,
    SFX_BRAWL = 10,
    SFX_TALK = 11,
    SFX_CONFISCATE = 12,
    SFX_FLOOR_CHANGE = 13,
    SFX_ITEM = 14,
    SFX_PIANO = 15,
    SFX_UNLOCK = 16,
    SFX_FUSE_BOX = 17,
    SFX_STINK_BOMB = 18,
    SFX_ENERGY_DRINK = 19,
};


struct SequencerState {
    int32_t song;
    int32_t step;
    int32_t tick_in_step;
};
extern SequencerState Sequencer;

void play_sound(int32_t effect);
// Once per Tick with the song of the current mode.
void sequencer_step(int32_t song);
// Once per Tick: the ring melody on voice 3 while the phone rings.
void ring_melody_step(int32_t ring_ticks, int32_t ring_count);
