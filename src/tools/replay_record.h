// Writes a run in the replay text format: "stivra-replay 1", "seed N", then
// one line "COUNT BITS" per run of equal passes (each pass one Tick with
// InputBits BITS and one frame), "COUNT BITS TICKS" when a pass ran more
// than one Tick.
#pragma once
#include <cstdint>
#include <cstdio>

struct ReplayRecord {
    std::FILE* file;
    uint32_t bits;    // the run being counted
    uint32_t ticks;
    uint32_t count;   // 0 before the first pass
    bool failed;      // a write went wrong
};

// Opens the file and writes the header; false if it cannot be created.
bool replay_record_open(ReplayRecord& record, const char* path, uint32_t seed);
// One main-loop pass that ran `ticks` Ticks (1..4) with these bits.
void replay_record_pass(ReplayRecord& record, uint32_t bits, uint32_t ticks);
// Writes the last run and closes; false if anything could not be written.
bool replay_record_close(ReplayRecord& record);
