// Replaying a recorded run, the GameState hash, and the recorder that the
// main loop feeds.
#include "platform/replay.h"

#include <cstring>

#include "data/text_writer.h"
#include "game/game_flow.h"
#include "game/game_state.h"
#include "gfx/framebuffer.h"
#include "platform/state_fields.h"
#include "screens/draw_screen.h"

namespace {

struct StateHasher {
    uint64_t h = 14695981039346656037ull;

    void byte(uint8_t b) {
        h ^= b;
        h *= 1099511628211ull;
    }
    void u32(uint32_t v) {
        for (int i = 0; i < 4; ++i) byte(static_cast<uint8_t>(v >> (8 * i)));
    }
    void value(const char*, int32_t v) { u32(static_cast<uint32_t>(v)); }
    void value(const char*, uint32_t v) { u32(v); }
    void values(const char*, const int32_t* v, int n) {
        for (int i = 0; i < n; ++i) u32(static_cast<uint32_t>(v[i]));
    }
    void flags(const char* name, const int32_t* v, int n) { values(name, v, n); }
    void text(const char*, const char* buffer, int size) {
        for (int i = 0; i < size; ++i) byte(static_cast<uint8_t>(buffer[i]));
    }
    void text_pointer(const char*, const char* p) {
        // Null and the empty text differ; a text ends with its zero.
        byte(p ? 1 : 0);
        if (p)
            for (;; ++p) {
                byte(static_cast<uint8_t>(*p));
                if (!*p) break;
            }
    }
    void items(const char*, const ItemSlot* items, int n) {
        for (int i = 0; i < n; ++i) {
            u32(static_cast<uint32_t>(items[i].floor));
            u32(static_cast<uint32_t>(items[i].x));
            u32(static_cast<uint32_t>(items[i].y));
            u32(static_cast<uint32_t>(items[i].type));
            u32(static_cast<uint32_t>(items[i].taken));
        }
    }
    void flow_fields(const char*, const int16_t* v, int n) {
        for (int i = 0; i < n; ++i) {
            const uint16_t u = static_cast<uint16_t>(v[i]);
            byte(static_cast<uint8_t>(u));
            byte(static_cast<uint8_t>(u >> 8));
        }
    }
    void begin_list(const char*) {}
    void end_list() {}
    void begin_object() {}
    void end_object() {}
};

// The record being written: to each file, and to memory.
struct Recorder {
    const char* names[RECORD_FILES_MAX] = {};
    std::FILE* files[RECORD_FILES_MAX] = {};
    bool on = false;
    uint32_t failed = 0;  // bit i: a write to files[i] failed
    uint32_t failures_said = 0;
    ReplayRun pending = {0, 0, 1};  // count 0: nothing pending
    bool clock_started = false;
    uint32_t last_flush_ms = 0;
    uint64_t passes = 0;
    uint64_t ticks = 0;
    RunChains chains{};
    GameWatch watch{};
    uint32_t seed = 0;
    size_t text_size = 0;
    bool text_overflow = false;
};
Recorder Record;
char RecordText[REPLAY_MAX_BYTES];

void record_write(const char* text) {
    const size_t n = std::strlen(text);
    for (int i = 0; i < RECORD_FILES_MAX; ++i)
        if (Record.files[i] && std::fputs(text, Record.files[i]) < 0) Record.failed |= 1u << i;
    if (Record.text_overflow || n > REPLAY_MAX_BYTES - Record.text_size) {
        Record.text_overflow = true;
        return;
    }
    std::memcpy(RecordText + Record.text_size, text, n);
    Record.text_size += n;
}

void record_write_pending() {
    if (Record.pending.count == 0) return;
    char line[40];
    replay_format_run(Record.pending, line);
    record_write(line);
    Record.pending.count = 0;
}

void record_flush_files() {
    for (int i = 0; i < RECORD_FILES_MAX; ++i)
        if (Record.files[i] && std::fflush(Record.files[i]) != 0) Record.failed |= 1u << i;
}

}  // namespace

void replay_start(uint32_t seed) {
    Game = GameState{};
    program_init(seed);
}

bool replay_pass(uint32_t bits, uint32_t ticks) {
    bool go_on = true;
    for (uint32_t t = 0; t < ticks; ++t)
        if (game_tick(bits) == 0) go_on = false;
    draw_screen();
    return go_on;
}

uint64_t game_state_hash(const GameState& state) {
    StateHasher hasher;
    visit_game_state(hasher, state);
    return hasher.h;
}

uint64_t frame_hash(const uint8_t* pixels) {
    static_assert(SCREEN_W * SCREEN_H % 8 == 0, "a frame is whole 64-bit words");
    return pixels_hash(pixels, SCREEN_W * SCREEN_H);
}

uint64_t pixels_hash(const uint8_t* pixels, size_t count) {
    uint64_t h = 14695981039346656037ull;
    for (size_t i = 0; i + 8 <= count; i += 8) {
        uint64_t word = 0;
        for (int b = 7; b >= 0; --b) word = word << 8 | pixels[i + b];
        h ^= word;
        h *= 1099511628211ull;
    }
    return h;
}

PassHashes pass_hashes() {
    return PassHashes{game_state_hash(Game), frame_hash(Framebuffer)};
}

namespace {
uint64_t fold_hash(uint64_t chain, uint64_t value) {
    for (int i = 0; i < 8; ++i) {
        chain ^= static_cast<uint8_t>(value >> (8 * i));
        chain *= 1099511628211ull;
    }
    return chain;
}
}  // namespace

void chains_fold(RunChains& chains, const PassHashes& pass) {
    chains.states = fold_hash(chains.states, pass.state);
    chains.frames = fold_hash(chains.frames, pass.frame);
}

bool replay_player_start(ReplayPlayer& player, const char* data, size_t size,
                         char (&error)[REPLAY_ERROR_SIZE]) {
    player = ReplayPlayer{};
    ReplayTotals totals;
    // The whole text is checked first: a bad line anywhere replays nothing.
    if (!replay_check(data, size, totals, error)) return false;
    replay_begin(player.reader, data, size);
    player.total_passes = totals.passes;
    player.result.seed = player.reader.seed;
    replay_start(player.reader.seed);
    return true;
}

bool replay_player_pass(ReplayPlayer& player) {
    // The text was checked whole, so the reader ends (0) and never fails here.
    while (player.left == 0) {
        if (replay_next(player.reader, player.run) != 1) return false;
        player.left = player.run.count;
    }
    if (!replay_pass(player.run.bits, player.run.ticks)) player.result.quit = true;
    player.last = pass_hashes();
    chains_fold(player.result.chains, player.last);
    player.left -= 1;
    player.result.passes += 1;
    player.result.ticks += player.run.ticks;
    return true;
}

void replay_player_end(ReplayPlayer& player) {
    player.result.mode = Game.mode;
    player.result.task = Game.task;
    player.result.catches = Game.catch_count;
    player.result.hash = game_state_hash(Game);
}

ReplayOutcome replay_text(const char* data, size_t size, ReplayResult& result,
                          char (&error)[REPLAY_ERROR_SIZE],
                          bool (*after_pass)(uint64_t pass, const PassHashes& hashes, void* context),
                          void* context) {
    result = ReplayResult{};
    ReplayPlayer player;
    if (!replay_player_start(player, data, size, error)) return REPLAY_BAD_TEXT;
    ReplayOutcome outcome = REPLAY_DONE;
    while (replay_player_pass(player))
        if (after_pass && !after_pass(player.result.passes, player.last, context)) {
            outcome = REPLAY_STOPPED;
            break;
        }
    replay_player_end(player);
    result = player.result;
    return outcome;
}

uint32_t record_open_files(const char* const* names, int count, uint32_t seed) {
    if (Record.on) record_close();
    Record = Recorder();
    for (int i = 0; i < count && i < RECORD_FILES_MAX; ++i) Record.names[i] = names[i];
    return record_restart(seed);
}

bool record_open(const char* file_name, uint32_t seed) {
    if (record_open_files(&file_name, 1, seed) == 0) {
        Record = Recorder();
        return false;
    }
    return true;
}

uint32_t record_restart(uint32_t seed) {
    for (std::FILE*& f : Record.files)
        if (f) {
            std::fclose(f);
            f = nullptr;
        }
    const Recorder kept = Record;
    Record = Recorder();
    Record.failures_said = kept.failures_said;
    uint32_t made = 0;
    for (int i = 0; i < RECORD_FILES_MAX; ++i) {
        Record.names[i] = kept.names[i];
        if (!kept.names[i]) continue;
        Record.files[i] = std::fopen(kept.names[i], "wb");
        if (Record.files[i]) made |= 1u << i;
    }
    Record.on = true;
    Record.seed = seed;
    game_watch_reset(Record.watch);
    char text[48];
    TextWriter w(text, sizeof text);
    w.text("stivra-replay 1\nseed ");
    w.number(seed);
    w.text("\n");
    record_write(text);
    record_flush_files();
    return made;
}

bool recording() {
    return Record.on;
}

void record_pass(uint32_t bits, uint32_t ticks, uint32_t now_ms) {
    if (Record.on) record_pass(bits, ticks, now_ms, pass_hashes());
}

void record_pass(uint32_t bits, uint32_t ticks, uint32_t now_ms, const PassHashes& hashes) {
    if (!Record.on) return;
    chains_fold(Record.chains, hashes);
    if (!Record.clock_started) {
        Record.clock_started = true;
        Record.last_flush_ms = now_ms;
    }
    ReplayRun& run = Record.pending;
    if (run.count != 0 && (run.bits != bits || run.ticks != ticks || run.count == 0xFFFFFFFFu))
        record_write_pending();
    if (run.count == 0) run = ReplayRun{0, bits, ticks};
    run.count += 1;
    Record.passes += 1;
    Record.ticks += ticks;
    // A game begun, ended or changed is noted after the pass that did it.
    if (game_watch_pass(Record.watch, Record.passes)) {
        record_write_pending();
        char note[GAME_MARK_LINE_SIZE];
        game_mark_format(Record.watch.last, note);
        record_write(note);
    }
    // Once a second the pending run goes out as it stands and the file is
    // flushed: a crash loses at most the last second.
    if (now_ms - Record.last_flush_ms >= 1000u) {
        record_write_pending();
        record_flush_files();
        Record.last_flush_ms = now_ms;
    }
}

void format_end_line(uint64_t passes, uint64_t ticks, uint64_t hash, const RunChains& chains,
                     char (&out)[RECORD_END_LINE_SIZE]) {
    char hex[17];
    TextWriter w(out, sizeof out);
    w.text("# end: ");
    w.number(passes);
    w.text(" passes, ");
    w.number(ticks);
    w.text(" ticks, hash ");
    format_hash(hash, hex);
    w.text(hex);
    w.text(", states ");
    format_hash(chains.states, hex);
    w.text(hex);
    w.text(", frames ");
    format_hash(chains.frames, hex);
    w.text(hex);
    w.text("\n");
}

void record_end_line(char (&out)[RECORD_END_LINE_SIZE]) {
    format_end_line(Record.passes, Record.ticks, game_state_hash(Game), Record.chains, out);
}

bool record_flush() {
    if (!Record.on) return false;
    record_write_pending();
    record_flush_files();
    return Record.failed == 0;
}

bool record_close() {
    if (!Record.on) return Record.failed == 0;
    record_write_pending();
    char text[RECORD_END_LINE_SIZE];
    record_end_line(text);
    record_write(text);
    for (int i = 0; i < RECORD_FILES_MAX; ++i)
        if (Record.files[i]) {
            if (std::fclose(Record.files[i]) != 0) Record.failed |= 1u << i;
            Record.files[i] = nullptr;
        }
    Record.on = false;
    return Record.failed == 0;
}

const char* record_text(size_t& size) {
    size = 0;
    if (!Record.on || Record.text_overflow) return nullptr;
    record_write_pending();
    size = Record.text_size;
    return Record.text_overflow ? nullptr : RecordText;
}

void record_say_failures() {
    const uint32_t news = Record.failed & ~Record.failures_said;
    for (int i = 0; i < RECORD_FILES_MAX; ++i)
        if ((news & (1u << i)) && Record.names[i])
            std::fprintf(stderr, "stivra: a write to %s failed; the record there is incomplete\n",
                         Record.names[i]);
    Record.failures_said |= news;
}

uint32_t record_seed() {
    return Record.seed;
}

uint32_t record_failed_files() {
    return Record.failed;
}

const GameMark& record_last_game() {
    return Record.watch.last;
}
