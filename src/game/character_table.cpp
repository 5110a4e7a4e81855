#include "game/character_table.h"

const PlayerPace PlayerTable[2] = {
    {300, 540},
    {335, 590},
};

const BreathRule PlayerBreath = {1000, 10, 4, 7, 350, 240};

const CharacterPace CharacterTable[3] = {
    {190, 230, 40, 82, 50, 265, 110, 335},  // NPC_PURSUER, Herr Mürzel
    {160, 200, 400, 50, 64, 0, 0, 0},       // NPC_PHONE_TEACHER, Herr Haselbrink
    {420, 0, 520, 0, 0, 0, 0, 0},           // NPC_FRIEND, Brazzik
};
