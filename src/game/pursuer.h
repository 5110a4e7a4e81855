// HERR MÜRZEL: asleep, chasing, searching, patrolling, coming for the
// locker; catching the player; following through the stairwell.
#pragma once
#include <cstdint>

// His Tick while he walks about on the player's floor.
void pursuer_update();
// His Tick while he is elsewhere, and his arrival on the player's floor.
void pursuer_offfloor_update();
void pursuer_arrive();
// The mark over his head, the shake and the sound when he notices the player.
void pursuer_alert();
// Capture, unless a stink bomb saves the player.
void caught(const char* text);

// Loud things call him: the piano and the janitor's key.
enum PursuerAlarm { ALARM_PIANO, ALARM_JANITOR_KEY };
void pursuer_alarm(PursuerAlarm alarm);

// The heartbeat while he is close (after the light radius each Tick).
void heartbeat_step();
// Chase speed: rises with play time (CharacterTable's chase_* fields).
int32_t pursuer_base_speed();
