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

// A message assembled in the reader's fixed buffer, cut to fit.
struct Message : TextWriter {
    explicit Message(char* buffer, size_t = 0) : TextWriter(buffer, REPLAY_ERROR_SIZE) {}

    // A field in quotes, at most 24 characters of it, unprintable bytes as '?'.
    void field(const char* s, size_t length) {
        text("'");
        for (size_t i = 0; i < length && i < 24 && used + 1 < size; ++i) {
            const unsigned char c = static_cast<unsigned char>(s[i]);
            out[used++] = (c >= 32 && c < 127) ? static_cast<char>(c) : '?';
        }
        out[used] = 0;
        if (length > 24) text("...");
        text("'");
    }
};

Message start_error(ReplayReader& reader) {
    Message m{reader.error, 0};
    m.text("line ");
    m.number(reader.line == 0 ? 1 : reader.line);
    m.text(": ");
    return m;
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
            start_error(reader).text("the text ends in the middle of a line (no newline at its end)");
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
bool parse_number(ReplayReader& reader, const Fields& fields, int i, const char* what, uint32_t& value) {
    const char* s = fields.text[i];
    const size_t length = fields.length[i];
    uint64_t v = 0;
    bool good = length > 0;
    for (size_t k = 0; k < length && good; ++k) {
        if (s[k] < '0' || s[k] > '9') good = false;
        else v = v * 10 + static_cast<uint64_t>(s[k] - '0');
        if (v > 0xFFFFFFFFu) good = false;
    }
    if (!good) {
        Message m = start_error(reader);
        m.text("bad number ");
        m.field(s, length);
        m.text(" for ");
        m.text(what);
        m.text(" (digits only, at most 4294967295)");
        return false;
    }
    value = static_cast<uint32_t>(v);
    return true;
}

void unexpected_field(ReplayReader& reader, const Fields& fields, int i, const char* after) {
    Message m = start_error(reader);
    m.text("unexpected ");
    m.field(fields.text[i], fields.length[i]);
    m.text(" after ");
    m.text(after);
}

}  // namespace

bool replay_begin(ReplayReader& reader, const char* data, size_t size) {
    reader.data = data;
    reader.size = data ? size : 0;
    reader.pos = 0;
    reader.line = 0;
    reader.seed = 0;
    reader.error[0] = 0;
    // A UTF-8 byte-order mark, as some editors write one, is no part of the text.
    if (reader.size >= 3 && std::memcmp(data, "\xEF\xBB\xBF", 3) == 0) reader.pos = 3;

    Fields fields;
    int found = next_fields(reader, fields);
    if (found < 0) return false;
    if (found == 0 || !field_is(fields, 0, "stivra-replay")) {
        start_error(reader).text("missing header: the first line must be 'stivra-replay 1'");
        return false;
    }
    if (fields.count < 2) {
        start_error(reader).text("missing version after 'stivra-replay'");
        return false;
    }
    uint32_t version = 0;
    if (!parse_number(reader, fields, 1, "the version", version)) return false;
    if (version != REPLAY_VERSION) {
        Message m = start_error(reader);
        m.text("unknown version ");
        m.number(version);
        m.text(" (this build reads version 1)");
        return false;
    }
    if (fields.count > 2) {
        unexpected_field(reader, fields, 2, "the version");
        return false;
    }

    found = next_fields(reader, fields);
    if (found < 0) return false;
    if (found == 0) {
        reader.line += 1;
        start_error(reader).text("missing seed line 'seed N'");
        return false;
    }
    if (!field_is(fields, 0, "seed") || fields.count < 2) {
        start_error(reader).text("expected the seed line 'seed N'");
        return false;
    }
    if (!parse_number(reader, fields, 1, "the seed", reader.seed)) return false;
    if (fields.count > 2) {
        unexpected_field(reader, fields, 2, "the seed");
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
        start_error(reader).text("expected 'COUNT BITS [TICKS]'");
        return -1;
    }
    if (fields.count > 3) {
        unexpected_field(reader, fields, 3, "TICKS");
        return -1;
    }
    run.ticks = 1;
    if (!parse_number(reader, fields, 0, "COUNT", run.count) ||
        !parse_number(reader, fields, 1, "BITS", run.bits) ||
        (fields.count == 3 && !parse_number(reader, fields, 2, "TICKS", run.ticks)))
        return -1;
    if (run.count == 0) {
        start_error(reader).text("COUNT must be at least 1");
        return -1;
    }
    if (run.bits > REPLAY_MAX_BITS) {
        Message m = start_error(reader);
        m.text("BITS ");
        m.number(run.bits);
        m.text(" is not an InputBits mask (0..511)");
        return -1;
    }
    if (run.ticks < 1 || run.ticks > REPLAY_MAX_TICKS) {
        Message m = start_error(reader);
        m.text("TICKS ");
        m.number(run.ticks);
        m.text(" is outside 1..4");
        return -1;
    }
    return 1;
}

void replay_size_error(char (&error)[REPLAY_ERROR_SIZE]) {
    Message m{error, 0};
    m.text("the record is larger than ");
    m.number(REPLAY_MAX_BYTES);
    m.text(" bytes (4 MiB), far more than any recorded run");
}

bool replay_check(const char* data, size_t size, ReplayTotals& totals, char (&error)[REPLAY_ERROR_SIZE]) {
    totals = ReplayTotals{0, 0, 0};
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
                Message m = start_error(reader);
                m.text("the record runs longer than a day of play (more than ");
                m.number(REPLAY_MAX_PLAY_TICKS);
                m.text(" Ticks)");
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
    Message m{out, 0};
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
