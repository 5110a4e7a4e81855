// Recorded runs: a small text format that replays a game exactly.
//
//   stivra-replay 1
//   seed N
//   COUNT BITS [TICKS]      COUNT main-loop passes, each running TICKS (1..4,
//   ...                     default 1) Ticks with InputBits BITS, then one frame
//
// '#' starts a comment that runs to the end of the line. A frame is part of
// every pass because drawing advances the shared random generator. The
// recorder closes a record with
//   # end: N passes, N ticks, hash H, states S, frames F
// the end's GameState hash and the run's chains (see RunChains); records of
// older builds end after the hash.
//
// The reader works on a text in memory and never allocates; the recorder
// writes what the main loop does, pass by pass. Replaying starts from
// program initialisation with the recorded seed, so the same text gives the
// same GameState, and the same hash, on every build.
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstdio>

#include "platform/game_watch.h"

struct GameState;

constexpr uint32_t REPLAY_VERSION = 1;
constexpr uint32_t REPLAY_MAX_BITS = 511;  // UP..PHONE
// The main loop's catch-up limit: a pass runs at most this many Ticks before
// it draws a frame, so a recorded pass holds at most this many.
constexpr uint32_t REPLAY_MAX_TICKS = 4;
constexpr int REPLAY_ERROR_SIZE = 160;
// Limits that keep a replay bounded whatever file it is handed. A won game
// is about 8 KB and half an hour of play; a record beyond these is refused
// before it is read whole or played.
constexpr size_t REPLAY_MAX_BYTES = size_t(4) << 20;  // 4 MiB
constexpr uint64_t REPLAY_MAX_PLAY_TICKS = 2592000;   // a day of play at 30 Ticks a second

// COUNT passes with the same InputBits and Ticks.
struct ReplayRun {
    uint32_t count;  // 1..4294967295
    uint32_t bits;   // 0..511
    uint32_t ticks;  // 1..4
};

struct ReplayReader {
    const char* data;
    size_t size;
    size_t pos;        // start of the next line
    uint64_t line;     // number of the line read last (1 is the first)
    uint32_t seed;
    char error[REPLAY_ERROR_SIZE];  // "line N: what is wrong", empty while all is well (see replay_refusal)
};

// Reads the header and the seed line. False with reader.error set.
bool replay_begin(ReplayReader& reader, const char* data, size_t size);
// The next run: 1 a run, 0 the end of the text, -1 an error (reader.error).
int replay_next(ReplayReader& reader, ReplayRun& run);

// The whole text checked, nothing replayed. Besides every line, it refuses a
// text longer than REPLAY_MAX_BYTES and one whose passes add up to more
// than REPLAY_MAX_PLAY_TICKS.
struct ReplayTotals {
    uint32_t seed;
    uint64_t passes;
    uint64_t ticks;
};
bool replay_check(const char* data, size_t size, ReplayTotals& totals, char (&error)[REPLAY_ERROR_SIZE]);
// The one line that refuses a text larger than REPLAY_MAX_BYTES.
void replay_size_error(char (&error)[REPLAY_ERROR_SIZE]);
// The line that refuses to continue a game at a pass the record does not reach.
void replay_shorter_error(uint64_t passes, uint64_t pass, char (&error)[REPLAY_ERROR_SIZE]);

// Every refusal above as a code and its arguments, besides its English line:
// the page says it in German from the code, the native tools print the line.
// The codes' names (ReplayRefusalNames) are what the page knows them by;
// they only ever gain new entries, at the end.
enum ReplayRefusalCode : int32_t {
    REFUSAL_NONE = 0,
    REFUSAL_CUT_LINE,          // the text ends in the middle of a line
    REFUSAL_NO_HEADER,         // the first line is not 'stivra-replay 1'
    REFUSAL_NO_VERSION,        // 'stivra-replay' without its version
    REFUSAL_BAD_NUMBER,        // field is no number for `what`
    REFUSAL_UNKNOWN_VERSION,   // numbers[0]: the version
    REFUSAL_UNEXPECTED_FIELD,  // field follows `what`
    REFUSAL_NO_SEED_LINE,      // the text ends before the seed line
    REFUSAL_NOT_SEED_LINE,     // the second line is not 'seed N'
    REFUSAL_NOT_A_RUN,         // a line of fewer than two numbers
    REFUSAL_COUNT_ZERO,        // a run of no passes
    REFUSAL_BITS_RANGE,        // numbers[0]: BITS beyond REPLAY_MAX_BITS
    REFUSAL_TICKS_RANGE,       // numbers[0]: TICKS outside 1..REPLAY_MAX_TICKS
    REFUSAL_TOO_LONG,          // numbers[0]: REPLAY_MAX_PLAY_TICKS
    REFUSAL_TOO_LARGE,         // numbers[0]: REPLAY_MAX_BYTES (no line)
    REFUSAL_SHORTER,           // numbers[0]: passes held, numbers[1]: the pass asked for (no line)
    REFUSAL_CODE_COUNT,
};
// The field a BAD_NUMBER or UNEXPECTED_FIELD refusal is about.
enum ReplayFieldName : int32_t { FIELD_NONE = 0, FIELD_VERSION, FIELD_SEED, FIELD_COUNT, FIELD_BITS, FIELD_TICKS, FIELD_NAME_COUNT };
extern const char* const ReplayRefusalNames[REFUSAL_CODE_COUNT];  // "cut-line", ...
extern const char* const ReplayFieldNames[FIELD_NAME_COUNT];      // "version", "seed", "COUNT", ...

struct ReplayRefusal {
    ReplayRefusalCode code;
    uint64_t line;         // 1 the first; 0 when the refusal is of the whole text
    uint64_t numbers[2];
    ReplayFieldName what;
    char field[32];        // the offending field as the line quotes it: at most 24 bytes, '?' for unprintable, "..." when cut
};
// The refusal the functions above made last (REFUSAL_NONE after
// replay_refusal_clear): a caller that shows it reads it right after the
// call that failed.
const ReplayRefusal& replay_refusal();
void replay_refusal_clear();

// One run as a line of the format, with its newline ("COUNT BITS" when TICKS is
// 1); returns its length. 40 bytes are always enough.
int replay_format_run(const ReplayRun& run, char* out);

// The game as a freshly started process has it: the GameState zeroed as
// static storage starts, then program_init (seed). Replays start here, so a
// process that replays several times gets the same result each time.
void replay_start(uint32_t seed);

// One main-loop pass: TICKS calls of game_tick (bits), then draw_screen. False
// when a Tick asked the program to quit (the pass still ran in full).
bool replay_pass(uint32_t bits, uint32_t ticks);

// FNV-1a over every GameState field, field by field in a fixed order, each
// number as its little-endian bytes, the caught text by its characters: the
// same on every compiler and platform, padding never included.
uint64_t game_state_hash(const GameState& state);
// 16 lower-case hex digits and a zero.
void format_hash(uint64_t hash, char out[17]);

// A frame's hash: FNV-1a's step applied to its 8,000 little-endian 64-bit
// words (SCREEN_W * SCREEN_H palette indices) in order. Any one changed
// pixel changes it, and it costs an eighth of hashing byte by byte, which
// matters since every pass of every run and replay is hashed.
uint64_t frame_hash(const uint8_t* pixels);
// The same over any picture whose size is a multiple of 8 bytes.
uint64_t pixels_hash(const uint8_t* pixels, size_t count);

// What one pass left: the GameState's hash and the frame's.
struct PassHashes {
    uint64_t state;
    uint64_t frame;
};
// The hashes of the GameState and the Framebuffer as they stand.
PassHashes pass_hashes();

// A run's chains: running hashes over what every pass left, so that two
// runs agree on them only if they agree pass by pass, not just at the end.
// `states` folds in the GameState hash after every pass, `frames` every
// frame's hash; each is FNV-1a continued over the 8 little-endian bytes of
// each pass's hash.
struct RunChains {
    uint64_t states = 14695981039346656037ull;
    uint64_t frames = 14695981039346656037ull;
};
void chains_fold(RunChains& chains, const PassHashes& pass);

// A record's closing line as it was stored: the last "# end: ..." line of
// the text. False when there is none or it does not read; has_chains is
// false for the short form of older builds.
struct StoredEnd {
    uint64_t passes;
    uint64_t ticks;
    uint64_t hash;
    bool has_chains;
    RunChains chains;
};
bool replay_stored_end(const char* data, size_t size, StoredEnd& end);

struct ReplayResult {
    uint32_t seed;
    uint64_t passes;
    uint64_t ticks;
    int32_t mode;
    int32_t task;
    int32_t catches;
    bool quit;  // a Tick asked the program to quit (BACK on the title)
    uint64_t hash;
    RunChains chains;  // over every pass played so far
};

enum ReplayOutcome {
    REPLAY_DONE = 0,
    REPLAY_BAD_TEXT = 2,  // error says why; nothing was replayed
    REPLAY_STOPPED = 1,   // after_pass returned false
};

// A recorded run played one pass at a time, for a caller that has to return
// between passes (the browser page shows the canvas in between).
// replay_text is these three calls in a loop.
struct ReplayPlayer {
    ReplayReader reader;
    ReplayRun run;          // the run being played, or the last one
    uint32_t left;          // passes of run still to play
    uint64_t total_passes;  // of the whole text
    ReplayResult result;    // seed, passes, ticks, quit and chains so far; the rest at the end
    PassHashes last;        // what the pass played last left
};
// Checks the whole text, then replay_start (its seed). False with error set
// when any line is bad; the game is then left as it was.
bool replay_player_start(ReplayPlayer& player, const char* data, size_t size,
                         char (&error)[REPLAY_ERROR_SIZE]);
// Plays the next pass; false once there is none left.
bool replay_player_pass(ReplayPlayer& player);
// Fills in the mode, task, catches and hash of the game as it stands.
void replay_player_end(ReplayPlayer& player);

// Checks the whole text, then program_init (seed) and every pass. after_pass
// (may be null) runs after each pass with its number counted from 1 and the
// hashes it left.
ReplayOutcome replay_text(const char* data, size_t size, ReplayResult& result,
                          char (&error)[REPLAY_ERROR_SIZE],
                          bool (*after_pass)(uint64_t pass, const PassHashes& hashes, void* context) = nullptr,
                          void* context = nullptr);

// The recorder behind STIVRA_RECORD and the kept runs. Runs of equal passes
// are merged into one line; whatever is pending is written and flushed at
// least once a second of the clock handed in, so a crash leaves a record that
// ends on a whole line. The record also notes each game it holds (where it
// began and ended, see game_watch.h) in comment lines, and the text is kept
// in memory as well, so that a game of this run can be continued without
// reading a file back. Closing writes the rest and a comment with the
// passes, Ticks and hash.
constexpr int RECORD_FILES_MAX = 2;
// One file. False when it cannot be made (nothing is recorded then).
bool record_open(const char* file_name, uint32_t seed);
// Up to RECORD_FILES_MAX files (null names are left out), and the text in
// memory even when no file could be made. Returns a mask of the files that
// were made (bit i for names[i]). The names must outlive the record.
uint32_t record_open_files(const char* const* names, int count, uint32_t seed);
// The same files begun anew from start-up with this seed (continuing a game
// replays its record into them). Returns the mask of the files made.
uint32_t record_restart(uint32_t seed);
bool recording();
// After a pass (its Ticks and its frame): the pass and its hashes, which the
// caller hands in when it has them already (a replay being recorded).
void record_pass(uint32_t bits, uint32_t ticks, uint32_t now_ms);
void record_pass(uint32_t bits, uint32_t ticks, uint32_t now_ms, const PassHashes& hashes);
// False if any write failed (the record is then incomplete).
bool record_close();
// Bit i set: a write to the i-th file failed.
uint32_t record_failed_files();
// Names each file a write to has failed, in one line on standard error,
// once: the game calls it as it goes, so that a full disk is said at once.
void record_say_failures();
// Writes the pending run and flushes, so that the file holds every pass so
// far; false when nothing is recorded or a write failed.
bool record_flush();
// The closing line as the recorder writes it for the game as it stands:
// "# end: N passes, N ticks, hash H, states S, frames F" and a newline.
constexpr int RECORD_END_LINE_SIZE = 160;
void format_end_line(uint64_t passes, uint64_t ticks, uint64_t hash, const RunChains& chains,
                     char (&out)[RECORD_END_LINE_SIZE]);
void record_end_line(char (&out)[RECORD_END_LINE_SIZE]);
// The record so far as text in memory (pending passes included, no closing
// line), or null when nothing is recorded or it outgrew REPLAY_MAX_BYTES.
const char* record_text(size_t& size);
// The seed the record began with.
uint32_t record_seed();
// The run's last game as the record notes it (GAME_NONE before the first).
const GameMark& record_last_game();
