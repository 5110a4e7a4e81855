// Program entry: the argument buffer, splitting, the options and their exit codes.
#pragma once
#include <cstdint>

constexpr int ARGUMENT_BUFFER_SIZE = 512;  // 511 characters and a zero
constexpr int MAX_ARGUMENTS = 256;

extern char ArgumentBuffer[ARGUMENT_BUFFER_SIZE];

// Set when the last copy_command_line or collect_arguments had to cut the
// line: the arguments seen are then not the ones given, and no tool may
// run on them.
extern uint32_t CommandLineCut;
// Set when the first argument after the program's name, as given before any
// cut, is one of the tools' options (-shot, -icon, -world, -autoplay).
extern uint32_t CommandLineAsksForTool;

// Copies a raw command line into the buffer, cut after 511 characters.
void copy_command_line(const char* line);
// Next argument from the cursor (quotes group, no escapes); nullptr at the end.
char* split_argument(char** cursor);
// Splits the whole buffer; returns the number of arguments (program name first).
int split_command_line(char** arguments, int max_arguments);
// For an argument vector already split by a shell: the same 511-character cut
// of the line the arguments make when joined by single spaces.
int collect_arguments(int argc, char** argv, char** arguments, int max_arguments);

// Leading decimal digits as 32-bit arithmetic would accumulate them
// (wrapping), 0 for none: the tools' N and F take whatever digits lead and
// their range rules do the rest. Every other number the program is handed
// (seeds, records, the tools' options) is whole and bounded: whole_number.
int32_t parse_decimal(const char* text);

// What the first argument after the program name asks for.
enum ProgramAction : int32_t {
    PROGRAM_GAME = 0,
    PROGRAM_SHOT = 1,
    PROGRAM_ICON = 2,
    PROGRAM_WORLD = 3,
    PROGRAM_AUTOPLAY = 4,  // the game with the smoke run's script; file is never null
    PROGRAM_RESUME = 5,    // the game, continuing the last game of the record file
    PROGRAM_DROPPED = 6,   // the game; file, a plain first argument, may be a record to continue
};
struct ProgramOptions {
    int32_t action;    // ProgramAction
    int32_t number;    // N of -shot (unchecked), of -icon (1..8), F of -world (1..6)
    const char* file;  // FILE, or null when it is missing
};
// The options of split arguments (program name first), range rules applied:
// -icon outside 1..8 becomes 1, -world outside 1..6 becomes 4, -autoplay
// and -resume without a file are the plain game. A first argument that is no
// option is handed on as a file that may be a record (a file dropped on the
// program's icon). Options are whole, case-sensitive words.
ProgramOptions parse_options(int count, char** arguments);

// Runs the program with split arguments (program name first): initialises the
// game with the seed, then runs a tool or the game. Returns the exit code: a
// tool whose command line was cut writes nothing and returns 1.
int program_main(int count, char** arguments, uint32_t seed);
