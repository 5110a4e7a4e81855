// Texts of the tasks and items that several parts of the game show.
#pragma once

// Per task 0..9.
extern const char* const TaskObjectives[10];     // the objective line
extern const char* const TaskLocationHints[10];  // second objective line, "" for none
extern const char* const TaskTeacherHints[10];   // what the quest teacher says
extern const char* const TaskSecondHints[10];    // his second line, "" for none

// Per ItemType 0..11.
extern const char* const ItemNames[12];
extern const char* const ItemDescriptions[12];  // "" where the line is built or empty

// The caught screen's line when Herr Mürzel catches the player in the open.
extern const char* const CaughtInTheOpen;
