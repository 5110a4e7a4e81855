#include "tools/replay_record.h"

namespace {

void write_run(ReplayRecord& record) {
    if (record.count == 0) return;
    const int written = record.ticks == 1
                            ? std::fprintf(record.file, "%u %u\n", record.count, record.bits)
                            : std::fprintf(record.file, "%u %u %u\n", record.count, record.bits, record.ticks);
    if (written < 0) record.failed = true;
}

}  // namespace

bool replay_record_open(ReplayRecord& record, const char* path, uint32_t seed) {
    record = ReplayRecord{};
    record.file = std::fopen(path, "w");
    if (!record.file) return false;
    if (std::fprintf(record.file, "stivra-replay 1\nseed %u\n", seed) < 0) record.failed = true;
    return true;
}

void replay_record_pass(ReplayRecord& record, uint32_t bits, uint32_t ticks) {
    if (!record.file) return;
    if (record.count > 0 && bits == record.bits && ticks == record.ticks) {
        record.count += 1;
        return;
    }
    write_run(record);
    record.bits = bits;
    record.ticks = ticks;
    record.count = 1;
}

bool replay_record_close(ReplayRecord& record) {
    if (!record.file) return false;
    write_run(record);
    if (std::fclose(record.file) != 0) record.failed = true;
    record.file = nullptr;
    return !record.failed;
}
