// Reading and writing the text of a recorded run. Nothing here touches the
// game, so a browser build or a fuzzer can link it on its own.
#include <cstring>

#include "data/text_reader.h"
#include "data/text_writer.h"
#include "platform/replay.h"

namespace {

constexpr int MAX_FIELDS = 4;  // one more than a line may have, to name the extra one

struct Fields {
    const char* text[MAX_FIELDS];
    size_t length[MAX_FIELDS];
    int count;  // all fields of the line, also those beyond MAX_FIELDS
};

ReplayRefusal LastRefusal{};

const char* const FieldsInEnglish[FIELD_NAME_COUNT] = {"", "the version", "the seed", "COUNT", "BITS", "TICKS"};

// The refusal's English line, as the native tools print it.
void refusal_line(const ReplayRefusal& r, char* out) {
    TextWriter m(out, REPLAY_ERROR_SIZE);
    const uint64_t n = r.numbers[0];
    if (r.line > 0) {
        m.text("line ");
        m.number(r.line);
        m.text(": ");
    }
    const auto quoted = [&](const char* field) {
        m.text("'");
        m.text(field);
        m.text("'");
    };
    switch (r.code) {
    case REFUSAL_NONE: break;
    case REFUSAL_CUT_LINE: m.text("the text ends in the middle of a line (no newline at its end)"); break;
    case REFUSAL_NO_HEADER: m.text("missing header: the first line must be 'stivra-replay 1'"); break;
    case REFUSAL_NO_VERSION: m.text("missing version after 'stivra-replay'"); break;
    case REFUSAL_BAD_NUMBER:
        m.text("bad number ");
        quoted(r.field);
        m.text(" for ");
        m.text(FieldsInEnglish[r.what]);
        m.text(" (digits only, at most 4294967295)");
        break;
    case REFUSAL_UNKNOWN_VERSION:
        m.text("unknown version ");
        m.number(n);
        m.text(" (this build reads version 1)");
        break;
    case REFUSAL_UNEXPECTED_FIELD:
        m.text("unexpected ");
        quoted(r.field);
        m.text(" after ");
        m.text(FieldsInEnglish[r.what]);
        break;
    case REFUSAL_NO_SEED_LINE: m.text("missing seed line 'seed N'"); break;
    case REFUSAL_NOT_SEED_LINE: m.text("expected the seed line 'seed N'"); break;
    case REFUSAL_NOT_A_RUN: m.text("expected 'COUNT BITS [TICKS]'"); break;
    case REFUSAL_COUNT_ZERO: m.text("COUNT must be at least 1"); break;
    case REFUSAL_BITS_RANGE:
        m.text("BITS ");
        m.number(n);
        m.text(" is not an InputBits mask (0..511)");
        break;
    case REFUSAL_TICKS_RANGE:
        m.text("TICKS ");
        m.number(n);
        m.text(" is outside 1..4");
        break;
    case REFUSAL_TOO_LONG:
        m.text("the record runs longer than a day of play (more than ");
        m.number(n);
        m.text(" Ticks)");
        break;
    case REFUSAL_TOO_LARGE:
        m.text("the record is larger than ");
        m.number(n);
        m.text(" bytes (4 MiB), far more than any recorded run");
        break;
    case REFUSAL_SHORTER:
        m.text("the record holds ");
        m.number(n);
        m.text(" passes, fewer than the ");
        m.number(r.numbers[1]);
        m.text(" to continue to");
        break;
    case REFUSAL_CODE_COUNT: break;
    }
}

// Notes a refusal and writes its line. line 0: of the whole text.
void refuse(char* out, ReplayRefusalCode code, uint64_t line, uint64_t n0 = 0, uint64_t n1 = 0,
            ReplayFieldName what = FIELD_NONE, const char* field = nullptr, size_t field_length = 0) {
    ReplayRefusal& r = LastRefusal;
    r = ReplayRefusal{};
    r.code = code;
    r.line = line;
    r.numbers[0] = n0;
    r.numbers[1] = n1;
    r.what = what;
    // A field at most 24 characters of it, unprintable bytes as '?'.
    size_t used = 0;
    for (size_t i = 0; i < field_length && i < 24; ++i) {
        const unsigned char c = static_cast<unsigned char>(field[i]);
        r.field[used++] = (c >= 32 && c < 127) ? static_cast<char>(c) : '?';
    }
    if (field_length > 24) {
        std::memcpy(r.field + used, "...", 3);
        used += 3;
    }
    r.field[used] = 0;
    refusal_line(r, out);
}

// A refusal of the line the reader read last (line 1 before any).
void refuse_line(ReplayReader& reader, ReplayRefusalCode code, uint64_t n0 = 0, ReplayFieldName what = FIELD_NONE,
                 const char* field = nullptr, size_t field_length = 0) {
    refuse(reader.error, code, reader.line == 0 ? 1 : reader.line, n0, 0, what, field, field_length);
}

bool is_space(char c) {
    return c == ' ' || c == '\t' || c == '\r';
}

// The fields of the next line that has any: 1 found, 0 the end of the text,
// -1 the text ends in the middle of a line. A last line without its newline
// is taken when it holds no fields (a comment, blanks); one with fields is
// refused, since a record cut off while it was written ends that way and its
// last number may be cut too.
int next_fields(ReplayReader& reader, Fields& fields) {
    while (reader.pos < reader.size) {
        const char* line = reader.data + reader.pos;
        const size_t rest = reader.size - reader.pos;
        const void* newline = std::memchr(line, '\n', rest);
        reader.line += 1;
        const size_t length = newline ? static_cast<size_t>(static_cast<const char*>(newline) - line) : rest;
        reader.pos += newline ? length + 1 : length;

        fields.count = 0;
        size_t i = 0;
        while (i < length && line[i] != '#') {
            if (is_space(line[i])) {
                ++i;
                continue;
            }
            const size_t start = i;
            while (i < length && line[i] != '#' && !is_space(line[i])) ++i;
            if (fields.count < MAX_FIELDS) {
                fields.text[fields.count] = line + start;
                fields.length[fields.count] = i - start;
            }
            fields.count += 1;
        }
        if (fields.count > 0 && !newline) {
            refuse_line(reader, REFUSAL_CUT_LINE);
            return -1;
        }
        if (fields.count > 0) return 1;
    }
    return 0;
}

bool field_is(const Fields& fields, int i, const char* word) {
    const size_t n = std::strlen(word);
    return fields.length[i] == n && std::memcmp(fields.text[i], word, n) == 0;
}

// A decimal number of 0..4294967295, digits only.
bool parse_number(ReplayReader& reader, const Fields& fields, int i, ReplayFieldName what, uint32_t& value) {
    const char* s = fields.text[i];
    const size_t length = fields.length[i];
    uint64_t v = 0;
    if (!whole_number(s, length, 0xFFFFFFFFu, v)) {
        refuse_line(reader, REFUSAL_BAD_NUMBER, 0, what, s, length);
        return false;
    }
    value = static_cast<uint32_t>(v);
    return true;
}

void unexpected_field(ReplayReader& reader, const Fields& fields, int i, ReplayFieldName after) {
    refuse_line(reader, REFUSAL_UNEXPECTED_FIELD, 0, after, fields.text[i], fields.length[i]);
}

}  // namespace

bool replay_begin(ReplayReader& reader, const char* data, size_t size) {
    reader.data = data;
    reader.size = data ? size : 0;
    reader.pos = 0;
    reader.line = 0;
    reader.seed = 0;
    reader.error[0] = 0;
    LastRefusal = ReplayRefusal{};
    // A UTF-8 byte-order mark, as some editors write one, is no part of the text.
    if (reader.size >= 3 && std::memcmp(data, "\xEF\xBB\xBF", 3) == 0) reader.pos = 3;

    Fields fields;
    int found = next_fields(reader, fields);
    if (found < 0) return false;
    if (found == 0 || !field_is(fields, 0, "stivra-replay")) {
        refuse_line(reader, REFUSAL_NO_HEADER);
        return false;
    }
    if (fields.count < 2) {
        refuse_line(reader, REFUSAL_NO_VERSION);
        return false;
    }
    uint32_t version = 0;
    if (!parse_number(reader, fields, 1, FIELD_VERSION, version)) return false;
    if (version != REPLAY_VERSION) {
        refuse_line(reader, REFUSAL_UNKNOWN_VERSION, version);
        return false;
    }
    if (fields.count > 2) {
        unexpected_field(reader, fields, 2, FIELD_VERSION);
        return false;
    }

    found = next_fields(reader, fields);
    if (found < 0) return false;
    if (found == 0) {
        reader.line += 1;
        refuse_line(reader, REFUSAL_NO_SEED_LINE);
        return false;
    }
    if (!field_is(fields, 0, "seed") || fields.count < 2) {
        refuse_line(reader, REFUSAL_NOT_SEED_LINE);
        return false;
    }
    if (!parse_number(reader, fields, 1, FIELD_SEED, reader.seed)) return false;
    if (fields.count > 2) {
        unexpected_field(reader, fields, 2, FIELD_SEED);
        return false;
    }
    return true;
}

int replay_next(ReplayReader& reader, ReplayRun& run) {
    if (reader.error[0]) return -1;  // an error stays an error
    Fields fields;
    const int found = next_fields(reader, fields);
    if (found <= 0) return found;
    if (fields.count < 2) {
        refuse_line(reader, REFUSAL_NOT_A_RUN);
        return -1;
    }
    if (fields.count > 3) {
        unexpected_field(reader, fields, 3, FIELD_TICKS);
        return -1;
    }
    run.ticks = 1;
    if (!parse_number(reader, fields, 0, FIELD_COUNT, run.count) ||
        !parse_number(reader, fields, 1, FIELD_BITS, run.bits) ||
        (fields.count == 3 && !parse_number(reader, fields, 2, FIELD_TICKS, run.ticks)))
        return -1;
    if (run.count == 0) {
        refuse_line(reader, REFUSAL_COUNT_ZERO);
        return -1;
    }
    if (run.bits > REPLAY_MAX_BITS) {
        refuse_line(reader, REFUSAL_BITS_RANGE, run.bits);
        return -1;
    }
    if (run.ticks < 1 || run.ticks > REPLAY_MAX_TICKS) {
        refuse_line(reader, REFUSAL_TICKS_RANGE, run.ticks);
        return -1;
    }
    return 1;
}

void replay_size_error(char (&error)[REPLAY_ERROR_SIZE]) {
    refuse(error, REFUSAL_TOO_LARGE, 0, REPLAY_MAX_BYTES);
}

void replay_shorter_error(uint64_t passes, uint64_t pass, char (&error)[REPLAY_ERROR_SIZE]) {
    refuse(error, REFUSAL_SHORTER, 0, passes, pass);
}

const char* const ReplayRefusalNames[REFUSAL_CODE_COUNT] = {
    "none", "cut-line", "no-header", "no-version", "bad-number", "unknown-version", "unexpected-field",
    "no-seed-line", "not-seed-line", "not-a-run", "count-zero", "bits-range", "ticks-range", "too-long",
    "too-large", "shorter",
};
const char* const ReplayFieldNames[FIELD_NAME_COUNT] = {"", "version", "seed", "COUNT", "BITS", "TICKS"};

const ReplayRefusal& replay_refusal() {
    return LastRefusal;
}

void replay_refusal_clear() {
    LastRefusal = ReplayRefusal{};
}

bool replay_check(const char* data, size_t size, ReplayTotals& totals, char (&error)[REPLAY_ERROR_SIZE]) {
    totals = ReplayTotals{0, 0, 0};
    LastRefusal = ReplayRefusal{};
    if (size > REPLAY_MAX_BYTES) {
        replay_size_error(error);
        return false;
    }
    ReplayReader reader;
    bool good = replay_begin(reader, data, size);
    if (good) {
        totals.seed = reader.seed;
        ReplayRun run;
        int step;
        while ((step = replay_next(reader, run)) == 1) {
            totals.passes += run.count;
            totals.ticks += uint64_t(run.count) * run.ticks;
            if (totals.ticks > REPLAY_MAX_PLAY_TICKS) {
                refuse_line(reader, REFUSAL_TOO_LONG, REPLAY_MAX_PLAY_TICKS);
                step = -1;
                break;
            }
        }
        good = step == 0;
    }
    std::memcpy(error, reader.error, REPLAY_ERROR_SIZE);
    return good;
}

int replay_format_run(const ReplayRun& run, char* out) {
    TextWriter m(out, 40);
    m.number(run.count);
    m.text(" ");
    m.number(run.bits);
    if (run.ticks != 1) {
        m.text(" ");
        m.number(run.ticks);
    }
    m.text("\n");
    return static_cast<int>(m.used);
}

void format_hash(uint64_t hash, char out[17]) {
    static const char Hex[] = "0123456789abcdef";
    for (int i = 0; i < 16; ++i) out[i] = Hex[(hash >> (60 - 4 * i)) & 15];
    out[16] = 0;
}

namespace {

bool read_end_line(const char* line, const char* end, StoredEnd& out) {
    TextCursor e{line, end};
    StoredEnd s{};
    if (!(e.word("# end: ") && e.number(s.passes, UINT64_MAX) && e.word(" passes, ") &&
          e.number(s.ticks, UINT64_MAX) && e.word(" ticks, hash ") && e.hex64(s.hash)))
        return false;
    s.has_chains = e.word(", states ") && e.hex64(s.chains.states) && e.word(", frames ") && e.hex64(s.chains.frames);
    if (!s.has_chains) s.chains = RunChains{};
    out = s;
    return true;
}

}  // namespace

bool replay_stored_end(const char* data, size_t size, StoredEnd& end) {
    bool found = false;
    for_each_line(data, size, [&](const char* line, size_t length) {
        StoredEnd candidate;
        if (read_end_line(line, line + length, candidate)) {
            end = candidate;
            found = true;
        }
    });
    return found;
}
